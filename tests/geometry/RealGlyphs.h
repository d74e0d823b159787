// Letters built from a real font file through the whole front of the
// pipeline, for checks on glyph shapes the fonts really have.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"

inline std::unique_ptr<CText3D> BuildFromFont(const char* fontPath, const std::string& text,
                                              bool calculate = true) {
  std::string error;
  const auto font = Font::OpenFile(fontPath, 0, &error);
  EXPECT_NE(font, nullptr) << fontPath << ": " << error << " (is the font package installed?)";
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  auto letters = std::make_unique<CText3D>(text, outline, 255, 1.0, 0.2);
  letters->FindContours();
  if (calculate) letters->CalculateContours();
  return letters;
}
