// Stored contours turned into polygon records: where the polygon
// starts, how control points are grouped, and the fixed-point scaling.
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "OutlineRecords.h"

namespace {

// "start x,y; line x,y ...; spline x,y ...; cubic x,y ..." in 16.16 values
// printed exactly.
std::string Describe(const GlyphPolygon& polygon) {
  std::ostringstream out;
  out << std::setprecision(12);
  auto point = [&](const FixedPoint& p) { out << ' ' << p.x / 65536.0 << ',' << p.y / 65536.0; };
  out << "start";
  point(polygon.start);
  for (const GlyphCurve& curve : polygon.curves) {
    out << "; " << (curve.type == kCurveLine ? "line" : "spline");
    for (const FixedPoint& p : curve.points) point(p);
  }
  return out.str();
}

}  // namespace

TEST(FontEngineRecords, ContoursBecomeOneRecordPerRunOfOneKind) {
  struct Case {
    const char* what;
    std::vector<ContourPoint> points;
    std::string polygon;
  };
  const std::vector<Case> cases = {
      {"square of lines: starts at its first point, closing edge implied",
       {{0, 0, kOnCurve}, {0, 10, kOnCurve}, {10, 10, kOnCurve}, {10, 0, kOnCurve}},
       "start 0,0; line 0,10 10,10 10,0"},
      {"consecutive control points stay in one spline record, no midpoint made",
       {{0, 0, kOnCurve}, {0, 10, kQuadControl}, {10, 10, kQuadControl}, {10, 0, kOnCurve}},
       "start 0,0; spline 0,10 10,10 10,0"},
      {"spline closing the contour ends on the start point",
       {{0, 0, kOnCurve}, {10, 0, kOnCurve}, {5, 8, kQuadControl}},
       "start 0,0; line 10,0; spline 5,8 0,0"},
      {"contour starting off the curve starts at its last on-curve point",
       {{5, 10, kQuadControl}, {10, 5, kOnCurve}, {5, 0, kOnCurve}, {0, 5, kOnCurve}},
       "start 0,5; spline 5,10 10,5; line 5,0"},
      {"contour of control points only starts at an implied midpoint",
       {{0, 10, kQuadControl}, {10, 10, kQuadControl}, {10, 0, kQuadControl}, {0, 0, kQuadControl}},
       "start 0,5; spline 0,10 10,10 10,0 0,0 0,5"},
      {"a cubic that a quadratic matches exactly becomes that one quadratic",
       {{0, 0, kOnCurve}, {20, 40, kCubicControl}, {40, 40, kCubicControl}, {60, 0, kOnCurve}},
       "start 0,0; spline 30,60 60,0"},
      {"empty contour", {}, "start 0,0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(PolygonFromContour(c.points, 1.0)), c.polygon) << c.what;
  }
}

TEST(FontEngineRecords, FontUnitsAreScaledToThousandthsOfAnEmInFixedPoint) {
  // 2048 units per em: 1024 units are half an em, 500 thousandths; one unit
  // is 0.48828125, exactly representable in 16.16.
  const GlyphPolygon polygon =
      PolygonFromContour({{1024, -1, kOnCurve}, {1, 2048, kOnCurve}, {0, 0, kOnCurve}}, 1000.0 / 2048.0);
  EXPECT_EQ(Describe(polygon), "start 500,-0.48828125; line 0.48828125,1000 0,0");
}
