// Real glyphs from the fonts the set-up installs, opened by file path so the
// results do not depend on fontconfig's choices. The expected advances are
// the published widths of the metric-compatible sans face (1000 units/em).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "FontEngine.h"

namespace {

std::unique_ptr<Font> OpenOrFail(const char* path) {
  std::string error;
  auto font = Font::OpenFile(path, 0, &error);
  EXPECT_NE(font, nullptr) << path << ": " << error << " (is the font package installed?)";
  return font;
}

double Units(std::int32_t fixed) { return fixed / 65536.0; }

bool SamePolygons(const std::vector<GlyphPolygon>& a, const std::vector<GlyphPolygon>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].start.x != b[k].start.x || a[k].start.y != b[k].start.y) return false;
    if (a[k].curves.size() != b[k].curves.size()) return false;
    for (std::size_t c = 0; c < a[k].curves.size(); ++c) {
      const auto& pa = a[k].curves[c].points;
      const auto& pb = b[k].curves[c].points;
      if (pa.size() != pb.size()) return false;
      for (std::size_t p = 0; p < pa.size(); ++p) {
        if (pa[p].x != pb[p].x || pa[p].y != pb[p].y) return false;
      }
    }
  }
  return true;
}

}  // namespace

TEST(FontEngineGlyphs, AdvancesAreTheFacesWidthsAtAThousandUnitsPerEm) {
  auto font = OpenOrFail(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->AdvanceWidth(' '), 278);
  EXPECT_EQ(font->AdvanceWidth('a'), 556);
  EXPECT_EQ(font->AdvanceWidth('i'), 222);
  EXPECT_EQ(font->AdvanceWidth('m'), 833);
  EXPECT_EQ(font->AdvanceWidth('W'), 944);
  EXPECT_EQ(font->AdvanceWidth('G'), 778);
}

TEST(FontEngineGlyphs, SpaceHasNoPolygonsButAnAdvance) {
  auto font = OpenOrFail(GLYPHKILN_DEJAVU_SANS);
  ASSERT_NE(font, nullptr);
  const auto outline = font->GlyphOutline(' ');
  ASSERT_TRUE(outline.has_value());
  EXPECT_TRUE(outline->empty());
  EXPECT_GT(font->AdvanceWidth(' '), 0);
}

TEST(FontEngineGlyphs, PointsAreWholeFontUnitsScaledUnhinted) {
  // Both faces have 2048 units per em and integer coordinates, so every
  // point times 2.048 must be a whole number: no hinting moved them.
  for (const char* path : {GLYPHKILN_LIBERATION_SANS, GLYPHKILN_DEJAVU_SANS}) {
    auto font = OpenOrFail(path);
    ASSERT_NE(font, nullptr);
    for (unsigned char c : std::string("Glyphkiln08%&@")) {
      const auto outline = font->GlyphOutline(c);
      ASSERT_TRUE(outline.has_value()) << c;
      ASSERT_FALSE(outline->empty()) << c;
      auto check = [&](const FixedPoint& p) {
        for (double v : {Units(p.x), Units(p.y)}) {
          EXPECT_NEAR(v * 2.048, std::round(v * 2.048), 1e-3) << path << " '" << c << "'";
          EXPECT_LT(std::fabs(v), 2000.0);
        }
      };
      for (const GlyphPolygon& polygon : *outline) {
        check(polygon.start);
        for (const GlyphCurve& curve : polygon.curves) {
          for (const FixedPoint& p : curve.points) check(p);
        }
      }
    }
  }
}

TEST(FontEngineGlyphs, EveryRecordIsALineOrAQuadraticSplineWithItsEndPoint) {
  auto font = OpenOrFail(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  for (int c = 0x21; c <= 0xFF; ++c) {
    const auto outline = font->GlyphOutline(static_cast<unsigned char>(c));
    ASSERT_TRUE(outline.has_value()) << c;
    for (const GlyphPolygon& polygon : *outline) {
      ASSERT_FALSE(polygon.curves.empty()) << c;
      for (const GlyphCurve& curve : polygon.curves) {
        ASSERT_TRUE(curve.type == kCurveLine || curve.type == kCurveQuadSpline) << c;
        ASSERT_GE(curve.points.size(), curve.type == kCurveLine ? 1u : 2u) << c;
      }
    }
  }
}

TEST(FontEngineGlyphs, MissingCharacterGivesTheMissingGlyphOutline) {
  auto font = OpenOrFail(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  // 0x81 and 0x8D are undefined in the code page; the face has neither.
  const auto missing1 = font->GlyphOutline(0x81);
  const auto missing2 = font->GlyphOutline(0x8D);
  ASSERT_TRUE(missing1.has_value());
  ASSERT_TRUE(missing2.has_value());
  EXPECT_FALSE(missing1->empty()) << "the missing-glyph box has an outline";
  EXPECT_TRUE(SamePolygons(*missing1, *missing2));
  EXPECT_EQ(font->AdvanceWidth(0x81), font->AdvanceWidth(0x8D));
}

TEST(FontEngineGlyphs, BytesAreReadAsWindows1252) {
  auto font = OpenOrFail(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  const auto missing = font->GlyphOutline(0x81);
  // 0x80 is the euro sign and 0x99 the trade mark sign in this code page,
  // not C1 controls: the face has real glyphs for them.
  for (unsigned char byte : {0x80, 0x99, 0x8C}) {
    const auto outline = font->GlyphOutline(byte);
    ASSERT_TRUE(outline.has_value());
    EXPECT_FALSE(SamePolygons(*outline, *missing)) << int(byte);
  }
  // 0xE9 is e acute: the e with an accent on top has one polygon more than e.
  EXPECT_EQ(font->GlyphOutline(0xE9)->size(), font->GlyphOutline('e')->size() + 1);
}

TEST(FontEngineGlyphs, UnreadableFilesAreRefusedWithAReason) {
  std::string error;
  EXPECT_EQ(Font::OpenFile("/nonexistent/font.ttf", 0, &error), nullptr);
  EXPECT_FALSE(error.empty());
  error.clear();
  // A file that exists but is no font.
  EXPECT_EQ(Font::OpenFile(std::filesystem::path(GLYPHKILN_TEST_DATA_DIR) / "CMakeLists.txt", 0, &error),
            nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 5, &error), nullptr);
  EXPECT_EQ(Font::OpenFile(GLYPHKILN_LIBERATION_SANS, -1, &error), nullptr);
}
