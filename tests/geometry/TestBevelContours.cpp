// Bevel contours: where each offset point lands, how crossing offsets are
// pulled back, and when the contours are (not) rebuilt.
#include <gtest/gtest.h>

#include <cmath>

#include "BevelOffset.h"
#include "Letter.h"
#include "GeometryFixtures.h"
#include "LetterPiece.h"

namespace {

constexpr double kTolerance = 1e-9;

void ExpectPoint(const CPoint2D& actual, double x, double y, double tolerance = kTolerance) {
  EXPECT_NEAR(actual.x, x, tolerance);
  EXPECT_NEAR(actual.y, y, tolerance);
}

// A clockwise unit square (y up) with its lower left corner at the origin.
const Polygon kUnitSquare = Rect(0, 0, 1, 1);

}  // namespace

TEST(BevelOffset, SquareGrowsByTheSizeOnEverySide) {
  auto piece = MakePiece({kUnitSquare});
  piece->SetBevel(7, 0.06);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  const CContour& bevel = *piece->bevelContours[0];
  ASSERT_EQ(bevel.points.size(), 4u);
  ExpectPoint(bevel.points[0], -0.06, -0.06);
  ExpectPoint(bevel.points[1], -0.06, 1.06);
  ExpectPoint(bevel.points[2], 1.06, 1.06);
  ExpectPoint(bevel.points[3], 1.06, -0.06);
}

TEST(BevelOffset, CornersWithoutAMiterGetThePerpendicularOfTheirEdge) {
  // Each vertex (1, 0) is travelled through in +x, the left side up.
  struct Case {
    const char* what;
    CPoint2D prev, next, expected;
  };
  for (const Case& c : {Case{"straight run", {0, 0}, {2, 0}, {1.0, 0.1}},
                        Case{"both edges leave in -x", {0, 0}, {0.5, 0}, {1.0, 0.1}},
                        Case{"prev on the vertex: outgoing edge", {1, 0}, {2, 0}, {1.0, 0.1}},
                        Case{"next on the vertex: incoming edge", {0, 0}, {1, 0}, {1.0, 0.1}},
                        Case{"both on the vertex: no offset", {1, 0}, {1, 0}, {1.0, 0.0}}}) {
    SCOPED_TRACE(c.what);
    ExpectPoint(MiterOffset(c.prev, {1, 0}, c.next, 0.1), c.expected.x, c.expected.y);
  }
}

TEST(BevelOffset, TurnOfAtLeastNinetyDegreesGetsTheTrueMiterPoint) {
  // A 45-degree turn: at distance 0.1 from both edge lines, y = 0.1 and the
  // line x - y = 1.
  const CPoint2D miter = MiterOffset({0, 0}, {1, 0}, {2, 1}, 0.1);
  EXPECT_NEAR(miter.y, 0.1, kTolerance);
  EXPECT_NEAR(std::fabs(miter.x - miter.y - 1.0) / std::sqrt(2.0), 0.1, kTolerance);
}

TEST(BevelOffset, SharpSpikeGetsAShortOffsetOnTheBisector) {
  // Tip at (10, 0) between edges about 5.7 degrees apart: the true miter
  // point would be some 20 sizes away; the offset stays at 1.25 size
  // divided by the cosine of half the angle, straight out along the axis.
  const double size = 0.06;
  const CPoint2D tip = MiterOffset({0, 0.5}, {10, 0}, {0, -0.5}, size);
  const double halfAngleCosine = 10.0 / std::hypot(10.0, 0.5);
  // (The limit on the sine is the single-precision 0.8, hence the tolerance.)
  ExpectPoint(tip, 10.0 + 1.25 * size / halfAngleCosine, 0.0, 1e-7);
  EXPECT_LT(tip.x - 10.0, 1.26 * size);
}

TEST(BevelShortening, SlotHoleRaysMeetOnItsMiddleLineAndThePullBackFades) {
  // A counter-clockwise hole 1 long and 0.05 high, with a point 0.1 along
  // its lower edge, inside a clockwise outer rectangle 0.7 high. The corner
  // offsets point into the slot and cross at 5/12 of their length, all on
  // the line y = 0.025. That factor gives a spread scale of
  // 0.7 / (7/12) * 5/12 * 0.2 = 0.1, so the point 0.1 away gets
  // (0.1 / 0.1 + 1) * 5/12 = 5/6 of its straight offset of 0.06; the corners
  // are not lowered further.
  auto piece = MakePiece({Rect(-0.2, -0.3, 1.2, 0.4), {{0, 0}, {0.1, 0}, {1, 0}, {1, 0.05}, {0, 0.05}}});
  ASSERT_DOUBLE_EQ(piece->bounds.top - piece->bounds.bottom, 0.7);
  piece->SetBevel(7, 0.06);
  ASSERT_EQ(piece->bevelContours.size(), 2u);
  const CContour& slot = *piece->bevelContours[1];
  ExpectPoint(slot.points[0], 0.025, 0.025);
  ExpectPoint(slot.points[1], 0.1, 0.05);
  ExpectPoint(slot.points[2], 0.975, 0.025);
  ExpectPoint(slot.points[3], 0.975, 0.025);
  ExpectPoint(slot.points[4], 0.025, 0.025);
}

TEST(BevelShortening, RaysCrossOnlyWithinTheirLength) {
  // Two rays toward each other meeting halfway.
  RayCrossingFactors f = RayCrossing({0, 0}, {1, 1}, {2, 0}, {1, 1});
  EXPECT_NEAR(f.first, 1.0, kTolerance);  // they meet exactly at the ends
  f = RayCrossing({0, 0}, {2, 2}, {2, 0}, {0, 2});
  EXPECT_NEAR(f.first, 0.5, kTolerance);
  EXPECT_NEAR(f.second, 0.5, kTolerance);
  // Diverging rays and parallel rays never shorten.
  f = RayCrossing({0, 0}, {-1, 1}, {1, 0}, {2, 1});
  EXPECT_EQ(f.first, 1.0);
  EXPECT_EQ(f.second, 1.0);
  f = RayCrossing({0, 0}, {0, 1}, {1, 0}, {1, 1});
  EXPECT_EQ(f.first, 1.0);
  EXPECT_EQ(f.second, 1.0);
}

TEST(BevelSettings, SameValuesTwiceLeaveTheContoursAlone) {
  auto piece = MakePiece({kUnitSquare});
  piece->SetBevel(2, 0.04);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  const CContour* first = piece->bevelContours[0].get();
  piece->bevelContours[0]->points[0] = CPoint2D{42, 42};  // a rebuild would undo this
  piece->SetBevel(2, 0.04);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  EXPECT_EQ(piece->bevelContours[0].get(), first);
  ExpectPoint(piece->bevelContours[0]->points[0], 42, 42);
  // A new size rebuilds.
  piece->SetBevel(2, 0.06);
  ExpectPoint(piece->bevelContours[0]->points[0], -0.06, -0.06);
}

TEST(BevelSettings, StraightSideDropsTheBevelContoursAndABevelledShapeBuildsThemAgain) {
  auto piece = MakePiece({kUnitSquare});
  piece->SetBevel(3, 0.04);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  piece->SetBevel(0, 0.06);
  EXPECT_TRUE(piece->bevelContours.empty());
  // Back to a bevelled shape of the size just set: built again all the same.
  piece->SetBevel(7, 0.06);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  ExpectPoint(piece->bevelContours[0]->points[2], 1.06, 1.06);
}

TEST(BevelSettings, ContourTooSmallToBevelEndsThePiecesBevel) {
  auto piece = MakePiece({Rect(-1, -1, 2, 2), {{0, 0}, {1, 0}},  // two points: no area
                          {{0, 0.5}, {1, 0.5}, {1, 1}}});
  piece->SetBevel(7, 0.02);
  EXPECT_EQ(piece->bevelContours.size(), 1u);
}

TEST(BevelSettings, LetterPassesTheBevelToEveryPiece) {
  CLetter letter;
  for (int i = 0; i < 2; ++i) letter.AddPiece(MakePiece({kUnitSquare}));
  letter.SetBevel(1, 0.02);
  for (const auto& piece : letter.pieces) {
    EXPECT_EQ(piece->bevelSteps, 1);
    EXPECT_EQ(piece->bevelContours.size(), 1u);
  }
}
