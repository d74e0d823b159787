// Synthetic bold and slant exactly where fontconfig asks for them: a family
// without the wanted weight or slant is emboldened or sheared, one with it
// is left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "FontEngine.h"

namespace {

FontDescription Describe(const std::string& family, bool bold, bool italic) {
  FontDescription d;
  d.faceName = family;
  d.weight = bold ? FontDescription::kWeightBold : FontDescription::kWeightNormal;
  d.italic = italic;
  return d;
}

struct Extent {
  double left = std::numeric_limits<double>::max();
  double right = std::numeric_limits<double>::lowest();
  double top = std::numeric_limits<double>::lowest();
  double xAtTop = 0.0;  // x of the highest point
};

Extent ExtentOf(const std::vector<GlyphPolygon>& polygons) {
  Extent e;
  auto take = [&](const FixedPoint& p) {
    const double x = p.x / 65536.0, y = p.y / 65536.0;
    e.left = std::min(e.left, x);
    e.right = std::max(e.right, x);
    if (y > e.top) e.top = y, e.xAtTop = x;
  };
  for (const GlyphPolygon& polygon : polygons) {
    take(polygon.start);
    for (const GlyphCurve& curve : polygon.curves) {
      for (const FixedPoint& p : curve.points) take(p);
    }
  }
  return e;
}

}  // namespace

TEST(FontSyntheticStyle, OnlyAMissingWeightOrSlantIsMadeUp) {
  struct Case {
    const char* family;
    bool bold, italic;
    bool embolden, shear;
  };
  const Case cases[] = {
      {"Liberation Sans", true, true, false, false},  // has a bold italic face
      {"Nimbus Sans", true, false, false, false},     // has a bold face
      {"Z003", true, false, true, false},             // one medium italic face only
      {"D050000L", false, true, false, true},         // one upright face only
      {"D050000L", true, true, true, true},
  };
  for (const Case& c : cases) {
    const auto resolved = ResolveFont(Describe(c.family, c.bold, c.italic));
    ASSERT_TRUE(resolved.has_value()) << c.family;
    EXPECT_EQ(resolved->synthetic.embolden, c.embolden) << c.family;
    EXPECT_EQ(resolved->synthetic.Transforms(), c.shear) << c.family;
    if (c.shear) {
      EXPECT_GT(resolved->synthetic.matrix[1], 0.0) << "leans right";
    }
  }
}

TEST(FontSyntheticStyle, EmboldenedLettersAreWiderAndShearedOnesLean) {
  auto regular = Font::Open(Describe("Z003", false, false), true);
  auto bold = Font::Open(Describe("Z003", true, false), true);
  ASSERT_TRUE(regular && bold);
  for (unsigned char c : {'l', 'o', 'H'}) {
    const Extent r = ExtentOf(*regular->GlyphOutline(c));
    const Extent b = ExtentOf(*bold->GlyphOutline(c));
    EXPECT_GT(b.right - b.left, r.right - r.left + 20.0) << c;
    EXPECT_GT(bold->AdvanceWidth(c), regular->AdvanceWidth(c)) << c;
  }

  auto upright = Font::Open(Describe("Nimbus Sans", false, false), true);
  auto leaning = Font::Open(Describe("D050000L", false, true), true);
  auto plain = Font::Open(Describe("D050000L", false, false), true);
  ASSERT_TRUE(upright && leaning && plain);
  // The same glyph sheared: its highest point moves right by about a fifth
  // of its height, the advance stays.
  unsigned glyph = 1;
  while (glyph < 100 && plain->OutlineOfGlyph(glyph).value_or(std::vector<GlyphPolygon>{}).empty()) {
    ++glyph;
  }
  ASSERT_LT(glyph, 100u) << "the face has a glyph with an outline";
  const Extent p = ExtentOf(*plain->OutlineOfGlyph(glyph));
  const Extent l = ExtentOf(*leaning->OutlineOfGlyph(glyph));
  EXPECT_NEAR(l.xAtTop - p.xAtTop, 0.2 * p.top, 2.0);
  EXPECT_EQ(leaning->AdvanceOfGlyph(glyph), plain->AdvanceOfGlyph(glyph));
}
