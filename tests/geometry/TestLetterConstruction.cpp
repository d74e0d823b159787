// Building letters from the outline stream: letters per character, spline
// flattening, the closeness rule and the closing duplicate.
#include <gtest/gtest.h>

#include "GeometryFixtures.h"

namespace {

const CContour& OnlyContour(const CText3D& text) {
  return *text.letters.at(0).pieces.at(0)->contours.at(0);
}

CPoint2D Bezier(CPoint2D a, CPoint2D q, CPoint2D b, double t) {
  const double u = 1 - t;
  return {u * u * a.x + 2 * t * u * q.x + t * t * b.x, u * u * a.y + 2 * t * u * q.y + t * t * b.y};
}

}  // namespace

TEST(LetterConstruction, TextOfSpacesGivesNoLetters) {
  StreamBuilder stream;
  stream.EndCharacter().EndCharacter();
  const CText3D text("  ", stream.outline, 255, 1.0, 0.2);
  EXPECT_TRUE(text.letters.empty());
  EXPECT_EQ(text.text, "  ");
  EXPECT_TRUE(text.bounds.IsDegenerate());
  const CText3D empty("", CGlyphOutline{}, 255, 1.0, 0.2);
  EXPECT_TRUE(empty.letters.empty());
}

TEST(LetterConstruction, EveryCharacterGetsALetterAndABlankOneStaysEmpty) {
  StreamBuilder stream;
  stream.Contour(Rect(0, 0, 500, 500)).EndCharacter();
  stream.EndCharacter();  // the space
  stream.Contour(Rect(800, 0, 1300, 500)).EndCharacter();
  const CText3D text("\xE9 b", stream.outline, 0x00FF00, 1.0, 0.5);
  ASSERT_EQ(text.letters.size(), 3u);
  EXPECT_EQ(text.letters[0].code, -23);  // bytes from 128 up give negative codes
  EXPECT_EQ(text.letters[1].code, ' ');
  EXPECT_EQ(text.letters[2].code, 'b');
  ASSERT_EQ(text.letters[1].pieces.size(), 1u);
  EXPECT_TRUE(text.letters[1].pieces[0]->contours.empty());
  EXPECT_TRUE(text.letters[1].bounds.IsDegenerate());
  EXPECT_EQ(text.letters[2].pieces[0]->colour, 0x00FF00);
  EXPECT_EQ(text.letters[2].pieces[0]->depth, 0.5);
  // Model units: one em of 1000 font units is Height = 1.0.
  EXPECT_DOUBLE_EQ(text.bounds.left, 0.0);
  EXPECT_DOUBLE_EQ(text.bounds.right, 1.3);
  EXPECT_DOUBLE_EQ(text.bounds.top, 0.5);
}

TEST(LetterConstruction, ContourRepeatingItsStartHoldsItOnce) {
  const CText3D text = OneLetter({{{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}}});
  const CContour& c = OnlyContour(text);
  ASSERT_EQ(c.Size(), 4u);
  EXPECT_EQ(c.points.front(), (CPoint2D{0, 0}));
  EXPECT_EQ(c.points.back(), (CPoint2D{100, 0}));
}

TEST(LetterConstruction, SplineStepsGrowWithTheChord) {
  // End points 120 units apart in x and 30 in y: chord 150, four steps, so
  // the points at t = 1/4, 1/2, 3/4 and then the end point itself.
  const CPoint2D a{0, 0}, q{60, 300}, b{120, 30};
  StreamBuilder stream;
  stream.Item(a.x, a.y, kContourStart).Item(q.x, q.y, kSplineControl).Item(b.x, b.y, kSplineOnCurve);
  stream.Item(0, 0, kContourEnd).EndCharacter();
  const CText3D text("x", stream.outline, 255, 1000.0, 0.2);  // scale 1: font units
  const CContour& c = OnlyContour(text);
  ASSERT_EQ(c.Size(), 5u);
  for (int k = 1; k <= 3; ++k) {
    const CPoint2D expected = Bezier(a, q, b, k / 4.0);
    EXPECT_NEAR(c.points[k].x, expected.x, 1e-9) << k;
    EXPECT_NEAR(c.points[k].y, expected.y, 1e-9) << k;
  }
  EXPECT_EQ(c.points[4], b);
}

TEST(LetterConstruction, ShortSplineContributesOnlyItsEndPoint) {
  // Chord 49: a single step, no intermediate points.
  StreamBuilder stream;
  stream.Item(0, 0, kContourStart).Item(0, 400, kSplineControl).Item(40, 9, kSplineOnCurve);
  stream.Item(40, -300, kLinePoint).Item(0, 0, kContourEnd).EndCharacter();
  const CText3D text("x", stream.outline, 255, 1000.0, 0.2);
  EXPECT_EQ(OnlyContour(text).Size(), 3u);
  // The alternative control kind flattens the same way.
  StreamBuilder alt;
  alt.Item(0, 0, kContourStart).Item(60, 300, kSplineControlAlt).Item(120, 30, kSplineOnCurve);
  alt.Item(0, 0, kContourEnd).EndCharacter();
  EXPECT_EQ(OnlyContour(CText3D("x", alt.outline, 255, 1000.0, 0.2)).Size(), 5u);
}

TEST(LetterConstruction, PointsWithinFiveFontUnitsOfTheLastKeptOneAreDropped) {
  // Height 2: the threshold is 5 font units = 0.01 model units, measured
  // Manhattan against the last kept point and strictly.
  StreamBuilder stream;
  stream.Item(0, 0, kContourStart)
      .Item(3, 2, kLinePoint)      // 5 units from (0,0): dropped
      .Item(3, 2.5, kLinePoint)    // 5.5: kept
      .Item(6, 4.5, kLinePoint)    // 5 from (3,2.5): dropped
      .Item(6, 5, kLinePoint)      // 5.5 from (3,2.5): kept
      .Item(1000, 5, kLinePoint)
      .Item(0, 0, kContourEnd)
      .EndCharacter();
  const CText3D text("x", stream.outline, 255, 2.0, 0.2);
  const CContour& c = OnlyContour(text);
  ASSERT_EQ(c.Size(), 4u);
  EXPECT_DOUBLE_EQ(c.points[1].y, 0.005);
  EXPECT_DOUBLE_EQ(c.points[2].x, 0.012);
  for (std::size_t k = 1; k < c.Size(); ++k) {
    const double d = std::fabs(c.points[k].x - c.points[k - 1].x) +
                     std::fabs(c.points[k].y - c.points[k - 1].y);
    EXPECT_GT(d, 0.01) << k;
  }
}

TEST(LetterConstruction, ClosingEdgeIsExemptFromTheClosenessRule) {
  // The last point is 3 units from the start: kept, since only consecutive
  // points are compared.
  const CText3D text = OneLetter({{{0, 0}, {0, 100}, {100, 100}, {3, 0}}});
  EXPECT_EQ(OnlyContour(text).Size(), 4u);
}

TEST(LetterConstruction, ContourCollapsingOntoItsStartIsKeptEmpty) {
  const CText3D text = OneLetter({{{0, 0}, {1, 1}, {2, 0}, {0, 0}}, Rect(100, 100, 200, 200)});
  const auto& piece = *text.letters[0].pieces[0];
  ASSERT_EQ(piece.contours.size(), 2u);
  EXPECT_TRUE(piece.contours[0]->Empty());
}

TEST(LetterConstruction, MalformedStreamIsToleratedWithoutCrashing) {
  // Items the stream's kinds do not name are passed over, and points
  // outside any contour (a stream cut short) are ignored instead of
  // crashing.
  StreamBuilder stream;
  stream.Item(5, 5, kLinePoint).Item(7, 7, kSplineControl).Item(9, 9, 77);
  stream.Contour(Rect(0, 0, 500, 500)).Item(3, 3, kContourEnd).EndCharacter();
  stream.Item(0, 0, kContourStart).Item(500, 500, kLinePoint).EndCharacter();  // never ended
  stream.EndCharacter();  // one end more than the text has bytes
  const CText3D text("ab", stream.outline, 255, 1.0, 0.2);
  ASSERT_EQ(text.letters.size(), 3u);
  EXPECT_EQ(text.letters[0].pieces[0]->contours.size(), 1u);
  EXPECT_TRUE(text.letters[1].pieces[0]->contours.empty());
  EXPECT_EQ(text.letters[2].code, 0);
}
