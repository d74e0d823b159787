// The font and the long text the export benchmarks share, so that world and
// mesh-file figures describe the same letters.
#pragma once

#include <memory>
#include <string>

#include "FontEngine.h"

inline const Font& BenchFont() {
  static const std::unique_ptr<Font> font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  return *font;
}

inline std::string ThousandCharacters() {
  const std::string sentence =
      "Solid letters are cut from the outline of every glyph, extruded and bevelled; ";
  std::string text;
  while (text.size() < 1000) text += sentence;
  text.resize(1000);
  return text;
}
