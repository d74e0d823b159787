// The outline stream made from glyph records and from a real font: kinds,
// implied midpoints, fixed-point conversion and pen placement.
#include <gtest/gtest.h>

#include "ExtractGlyphOutlines.h"
#include "RealGlyphs.h"

namespace {

FixedPoint Fx(double x, double y) {
  return FixedPoint{static_cast<std::int32_t>(x * 65536.0), static_cast<std::int32_t>(y * 65536.0)};
}

std::vector<int> Kinds(const CGlyphOutline& outline) {
  std::vector<int> kinds;
  for (const COutlineItem& item : outline.items) kinds.push_back(item.kind);
  return kinds;
}

std::unique_ptr<Font> Liberation() { return OpenFont(GLYPHKILN_LIBERATION_SANS); }

}  // namespace

TEST(OutlineStream, SplineRecordGetsImpliedMidpointsBetweenControlPoints) {
  GlyphPolygon polygon;
  polygon.start = Fx(0, 0);
  polygon.curves.push_back({kCurveLine, {Fx(0, 100)}});
  polygon.curves.push_back({kCurveQuadSpline, {Fx(50, 150), Fx(150, 150), Fx(200, 100)}});
  CGlyphOutline outline;
  AppendGlyphPolygons(outline, {polygon}, 1000);
  EXPECT_EQ(Kinds(outline), (std::vector<int>{1, 2, 13, 4, 13, 4, -1}));
  // Pen added to every x, once to the midpoint; y as it is.
  EXPECT_DOUBLE_EQ(outline.items[0].x, 1000.0);
  EXPECT_DOUBLE_EQ(outline.items[2].x, 1050.0);
  EXPECT_DOUBLE_EQ(outline.items[3].x, 1100.0);
  EXPECT_DOUBLE_EQ(outline.items[3].y, 150.0);
  EXPECT_DOUBLE_EQ(outline.items[5].x, 1200.0);
}

TEST(OutlineStream, TwoPointSplineIsControlThenEnd) {
  GlyphPolygon polygon;
  polygon.start = Fx(0, 0);
  polygon.curves.push_back({kCurveQuadSpline, {Fx(50, 50), Fx(100, 0)}});
  CGlyphOutline outline;
  AppendGlyphPolygons(outline, {polygon}, 0);
  EXPECT_EQ(Kinds(outline), (std::vector<int>{1, 13, 4, -1}));
}

TEST(OutlineStream, NegativeFixedValuesKeepTheirFraction) {
  GlyphPolygon polygon;
  polygon.start = FixedPoint{-98304, -1};  // -1.5 and -1/65536
  CGlyphOutline outline;
  AppendGlyphPolygons(outline, {polygon}, 0);
  EXPECT_DOUBLE_EQ(outline.items[0].x, -1.5);
  EXPECT_DOUBLE_EQ(outline.items[0].y, -1.0 / 65536.0);
  // Bounds take every item, the 0,0 of the end item included.
  EXPECT_DOUBLE_EQ(outline.bounds.top, 0.0);
  EXPECT_DOUBLE_EQ(outline.bounds.left, -1.5);
}

TEST(OutlineStream, CharactersFollowAtTheirAdvanceWidths) {
  const auto font = Liberation();
  ASSERT_NE(font, nullptr);
  CGlyphOutline single, triple;
  ExtractGlyphOutlines(single, "l", *font);
  ExtractGlyphOutlines(triple, "l l", *font);
  const std::size_t n = single.items.size() - 1;  // without the end item
  ASSERT_EQ(triple.items.size(), 2 * n + 3);
  // The second 'l' is the first moved by the widths of 'l' and space.
  const double shift = 222 + 278;
  for (std::size_t k = 0; k < n; ++k) {
    const COutlineItem& a = single.items[k];
    const COutlineItem& b = triple.items[n + 2 + k];
    EXPECT_EQ(a.kind, b.kind);
    if (a.kind > 0) {
      EXPECT_DOUBLE_EQ(b.x, a.x + shift) << k;
      EXPECT_DOUBLE_EQ(b.y, a.y) << k;
    }
  }
}

TEST(OutlineStream, RealGlyphStreamIsWellFormed) {
  const auto font = Liberation();
  ASSERT_NE(font, nullptr);
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, "Glyph kiln", *font);
  // Every contour opens with a start item and closes with an end item, a
  // control point always sits between two on-curve points, every point
  // lies within the em box around its character, and every character, the
  // blank too, ends with one end item.
  bool open = false;
  int characters = 0;
  for (std::size_t k = 0; k < outline.items.size(); ++k) {
    const COutlineItem& item = outline.items[k];
    switch (item.kind) {
      case kContourStart: EXPECT_FALSE(open) << k; open = true; break;
      case kContourEnd: EXPECT_TRUE(open) << k; open = false; break;
      case kCharacterEnd: EXPECT_FALSE(open) << k; ++characters; break;
      case kSplineControl: {
        ASSERT_GT(k, 0u);
        ASSERT_LT(k + 1, outline.items.size());
        const int before = outline.items[k - 1].kind;
        EXPECT_TRUE(before == kContourStart || before == kLinePoint || before == kSplineOnCurve) << k;
        EXPECT_EQ(outline.items[k + 1].kind, kSplineOnCurve) << k;
        break;
      }
      default: EXPECT_TRUE(item.kind == kLinePoint || item.kind == kSplineOnCurve) << k; break;
    }
    if (item.kind > 0) {
      EXPECT_GT(item.y, -300.0);
      EXPECT_LT(item.y, 1000.0);
    }
  }
  EXPECT_EQ(characters, 10);
  EXPECT_EQ(outline.items.back().kind, kCharacterEnd);
  // Refilling clears what was there.
  ExtractGlyphOutlines(outline, " ", *font);
  ASSERT_EQ(outline.items.size(), 1u);
  EXPECT_EQ(outline.items[0].kind, kCharacterEnd);
  EXPECT_EQ(outline.bounds.top - outline.bounds.bottom, 0.0);
}
