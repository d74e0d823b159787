// Stored TrueType contours turned into polygon records: where the polygon
// starts, how control points are grouped, and the fixed-point scaling.
#include <gtest/gtest.h>

#include "FontEngine.h"

namespace {

constexpr double kOne = 1.0;  // font units map 1:1 in these fixtures

FixedPoint Fx(double x, double y) {
  return FixedPoint{static_cast<std::int32_t>(x * 65536.0), static_cast<std::int32_t>(y * 65536.0)};
}

void ExpectPoint(const FixedPoint& actual, double x, double y) {
  EXPECT_EQ(actual.x, Fx(x, y).x) << "x of (" << x << ", " << y << ")";
  EXPECT_EQ(actual.y, Fx(x, y).y) << "y of (" << x << ", " << y << ")";
}

}  // namespace

TEST(FontEngineRecords, SquareOfLinesStartsAtFirstPointAndLeavesClosingEdgeImplied) {
  const GlyphPolygon polygon = PolygonFromContour(
      {{0, 0, kOnCurve}, {0, 10, kOnCurve}, {10, 10, kOnCurve}, {10, 0, kOnCurve}}, kOne);
  ExpectPoint(polygon.start, 0, 0);
  ASSERT_EQ(polygon.curves.size(), 1u);
  EXPECT_EQ(polygon.curves[0].type, kCurveLine);
  ASSERT_EQ(polygon.curves[0].points.size(), 3u);
  ExpectPoint(polygon.curves[0].points[2], 10, 0);
}

TEST(FontEngineRecords, ConsecutiveControlPointsStayInOneSplineRecord) {
  // on, off, off, on, then a line back: the implied midpoint between the two
  // control points is not made here.
  const GlyphPolygon polygon = PolygonFromContour(
      {{0, 0, kOnCurve}, {0, 10, kQuadControl}, {10, 10, kQuadControl}, {10, 0, kOnCurve}}, kOne);
  ASSERT_EQ(polygon.curves.size(), 1u);
  EXPECT_EQ(polygon.curves[0].type, kCurveQuadSpline);
  ASSERT_EQ(polygon.curves[0].points.size(), 3u);
  ExpectPoint(polygon.curves[0].points[0], 0, 10);
  ExpectPoint(polygon.curves[0].points[1], 10, 10);
  ExpectPoint(polygon.curves[0].points[2], 10, 0);
}

TEST(FontEngineRecords, SplineThatClosesTheContourEndsOnTheStartPoint) {
  const GlyphPolygon polygon =
      PolygonFromContour({{0, 0, kOnCurve}, {10, 0, kOnCurve}, {5, 8, kQuadControl}}, kOne);
  ASSERT_EQ(polygon.curves.size(), 2u);
  EXPECT_EQ(polygon.curves[0].type, kCurveLine);
  EXPECT_EQ(polygon.curves[1].type, kCurveQuadSpline);
  ASSERT_EQ(polygon.curves[1].points.size(), 2u);
  ExpectPoint(polygon.curves[1].points[1], 0, 0);
}

TEST(FontEngineRecords, ContourStartingOffCurveStartsAtItsLastOnCurvePoint) {
  const GlyphPolygon polygon = PolygonFromContour(
      {{5, 10, kQuadControl}, {10, 5, kOnCurve}, {5, 0, kOnCurve}, {0, 5, kOnCurve}}, kOne);
  ExpectPoint(polygon.start, 0, 5);
  // From (0,5) the first record is the spline through (5,10) to (10,5).
  ASSERT_GE(polygon.curves.size(), 2u);
  EXPECT_EQ(polygon.curves[0].type, kCurveQuadSpline);
  ExpectPoint(polygon.curves[0].points[0], 5, 10);
  ExpectPoint(polygon.curves[0].points[1], 10, 5);
  EXPECT_EQ(polygon.curves[1].type, kCurveLine);
  ExpectPoint(polygon.curves[1].points.back(), 5, 0);
}

TEST(FontEngineRecords, ContourOfControlPointsOnlyStartsAtAnImpliedMidpoint) {
  // A circle stored as four control points: every on-curve point is implied.
  const GlyphPolygon polygon = PolygonFromContour(
      {{0, 10, kQuadControl}, {10, 10, kQuadControl}, {10, 0, kQuadControl}, {0, 0, kQuadControl}},
      kOne);
  ExpectPoint(polygon.start, 0, 5);
  ASSERT_EQ(polygon.curves.size(), 1u);
  ASSERT_EQ(polygon.curves[0].points.size(), 5u);
  ExpectPoint(polygon.curves[0].points[0], 0, 10);
  ExpectPoint(polygon.curves[0].points[4], 0, 5);
}

TEST(FontEngineRecords, CubicControlPointsComeOutAsTheirOwnRecordType) {
  const GlyphPolygon polygon = PolygonFromContour(
      {{0, 0, kOnCurve}, {0, 10, kCubicControl}, {10, 10, kCubicControl}, {10, 0, kOnCurve}}, kOne);
  ASSERT_EQ(polygon.curves.size(), 1u);
  EXPECT_EQ(polygon.curves[0].type, kCurveCubicSpline);
  EXPECT_EQ(polygon.curves[0].points.size(), 3u);
}

TEST(FontEngineRecords, FontUnitsAreScaledToThousandthsOfAnEmInFixedPoint) {
  // 2048 units per em: 1024 units are half an em, 500 thousandths; one unit
  // is 0.48828125, exactly representable in 16.16.
  const double scale = 1000.0 / 2048.0;
  const GlyphPolygon polygon =
      PolygonFromContour({{1024, -1, kOnCurve}, {1, 2048, kOnCurve}, {0, 0, kOnCurve}}, scale);
  ExpectPoint(polygon.start, 500.0, -0.48828125);
  ExpectPoint(polygon.curves[0].points[0], 0.48828125, 1000.0);
}

TEST(FontEngineRecords, EmptyContourGivesAnEmptyPolygon) {
  const GlyphPolygon polygon = PolygonFromContour({}, kOne);
  EXPECT_TRUE(polygon.curves.empty());
}
