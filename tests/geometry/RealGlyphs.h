// Letters built from a real font file through the whole front of the
// pipeline, for checks on glyph shapes the fonts really have.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"

// Fails the test loudly when the font package is missing.
inline std::unique_ptr<Font> OpenFont(const char* fontPath) {
  std::string error;
  auto font = Font::OpenFile(fontPath, 0, &error);
  EXPECT_NE(font, nullptr) << fontPath << ": " << error << " (is the font package installed?)";
  return font;
}

inline std::unique_ptr<CText3D> BuildFromFont(const char* fontPath, const std::string& text,
                                              bool calculate = true) {
  const auto font = OpenFont(fontPath);
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  auto letters = std::make_unique<CText3D>(text, outline, 255, 1.0, 0.2);
  letters->FindContours();
  if (calculate) letters->CalculateContours();
  return letters;
}
