// The font and the long text the export benchmarks share, so that world and
// mesh-file figures describe the same letters.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "FontEngine.h"

inline const Font& BenchFont() {
  static const std::unique_ptr<Font> font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  return *font;
}

// The sentence repeated to `count` characters.
inline std::string Characters(std::size_t count) {
  const std::string sentence =
      "Solid letters are cut from the outline of every glyph, extruded and bevelled; ";
  std::string text;
  while (text.size() < count) text += sentence;
  text.resize(count);
  return text;
}

inline std::string ThousandCharacters() { return Characters(1000); }
