// Which pixels a face covers: a pixel is covered when its corner point lies
// inside the outline by the even-odd rule, left and bottom edges inclusive,
// right and top edges exclusive. Holes and stipple remove pixels again.
#include <cmath>
#include <cstdint>
#include <random>

#include "RastelFixture.h"

namespace {

// Screen positions in sixteenths of a pixel.
struct Sub {
  int x, y;
};

// Ray casting from each pixel corner to the left: the corner is inside when
// an odd number of edges cross its row at or left of it. Edges count for
// rows from their lower end inclusive to their upper end exclusive.
bool CornerInside(const std::vector<Sub>& poly, int px, int py) {
  const std::int64_t cx = 16 * px, cy = 16 * py;
  bool inside = false;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    Sub a = poly[i], b = poly[(i + 1) % poly.size()];
    if (a.y == b.y) continue;
    if (a.y > b.y) std::swap(a, b);
    if (cy < a.y || cy >= b.y) continue;
    // edge x at cy <= cx, kept exact: a.x + (b.x - a.x)(cy - a.y)/(b.y - a.y) <= cx
    const std::int64_t dy = b.y - a.y;
    if (a.x * dy + (b.x - a.x) * (cy - a.y) <= cx * dy) inside = !inside;
  }
  return inside;
}

// Twice the signed area; positive is counter-clockwise on the screen.
std::int64_t Area2(const std::vector<Sub>& poly) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Sub& a = poly[i];
    const Sub& b = poly[(i + 1) % poly.size()];
    sum += static_cast<std::int64_t>(a.x) * b.y - static_cast<std::int64_t>(b.x) * a.y;
  }
  return sum;
}

}  // namespace

class CoverageRule : public RastelTest {
 protected:
  std::vector<Point3> Points(const std::vector<Sub>& poly) const {
    std::vector<Point3> points;
    for (const Sub& s : poly) points.push_back(At(s.x / 16.0f, s.y / 16.0f));
    return points;
  }
  std::vector<int> Loop(int n) const {
    std::vector<int> indices;
    for (int i = 0; i < n; ++i) indices.push_back(i);
    indices.push_back(-1);
    return indices;
  }
};

TEST_F(CoverageRule, SquareOnPixelCornersCoversExactlySixteenPixels) {
  Open(64, 48);
  DrawRect(0, 0, 4, 4, Focal(), kRed);
  EXPECT_EQ(Count(kRed), 16);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(x, y), kRed) << x << "," << y;
  EXPECT_NE(Pixel(4, 0), kRed);
  EXPECT_NE(Pixel(0, 4), kRed);
}

TEST_F(CoverageRule, FaceTouchingNoCornerCoversNothing) {
  Open(32, 32);
  // a sliver between columns 5 and 6
  Draw(Points({{81, 16}, {95, 16}, {95, 300}, {81, 300}}), Loop(4), kRed);
  EXPECT_EQ(Count(kRed), 0);
}

TEST_F(CoverageRule, RandomPolygonsMatchTheCornerRule) {
  Open(64, 48);
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<int> xs(0, 64 * 16), ys(0, 48 * 16);
  int drawn = 0;
  for (int trial = 0; trial < 200; ++trial) {
    const int n = 3 + trial % 5;
    std::vector<Sub> poly;
    for (int i = 0; i < n; ++i) poly.push_back({xs(rng), ys(rng)});
    const std::int64_t area = Area2(poly);
    if (area == 0) continue;
    if (area < 0) std::reverse(poly.begin(), poly.end());
    // Random polygons may cross themselves; the face is drawn when its
    // Newell normal (a fan about the first vertex) faces the eye, which for
    // a flat polygon is the sign of its area.
    Rastel().StartFrame(view);
    Draw(Points(poly), Loop(n), kRed);
    ++drawn;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(Pixel(x, y) == kRed, CornerInside(poly, x, y))
            << "trial " << trial << " pixel " << x << "," << y;
  }
  EXPECT_GT(drawn, 150);
}

// Outlines of many points, round and star-shaped, short and long (the
// renderer takes long outlines another way): the same corner rule holds.
TEST_F(CoverageRule, OutlinesOfManyPointsMatchTheCornerRule) {
  Open(64, 48);
  for (int n : {8, 63, 64, 65, 66, 200}) {
    for (bool star : {false, true}) {
      std::vector<Sub> poly;
      for (int i = 0; i < n; ++i) {
        const double angle = 6.283185307179586 * i / n + 0.1;
        const double radius = star && i % 2 ? 9.3 : 21.7;
        poly.push_back({static_cast<int>(16 * (32.2 + radius * std::cos(angle))),
                        static_cast<int>(16 * (23.9 + radius * std::sin(angle)))});
      }
      ASSERT_GT(Area2(poly), 0);
      Rastel().StartFrame(view);
      Draw(Points(poly), Loop(n), kRed);
      int covered = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          ASSERT_EQ(Pixel(x, y) == kRed, CornerInside(poly, x, y))
              << n << (star ? " points, star" : " points") << ", pixel " << x << "," << y;
          covered += Pixel(x, y) == kRed;
        }
      EXPECT_GT(covered, 200) << n;
    }
  }
}

TEST_F(CoverageRule, HoleShowsWhatIsBehind) {
  Open(32, 32);
  DrawRect(0, 0, 32, 32, 4 * Focal(), kBlue);  // far wall
  // outline 4..20 square, hole 8..12 square given clockwise after a -2
  std::vector<Point3> points = {At(4, 4), At(20, 4), At(20, 20), At(4, 20),
                                At(8, 8), At(8, 12), At(12, 12), At(12, 8)};
  Draw(points, {0, 1, 2, 3, -2, 4, 5, 6, 7, -1}, kRed);
  EXPECT_EQ(Count(kRed), 16 * 16 - 4 * 4);
  EXPECT_EQ(Pixel(8, 8), kBlue);
  EXPECT_EQ(Pixel(11, 11), kBlue);
  EXPECT_EQ(Pixel(7, 8), kRed);
  EXPECT_EQ(Pixel(12, 11), kRed);
  // the hole left the far wall's depth alone: a face between the two shows
  // through the hole only
  DrawRect(0, 0, 32, 32, 2 * Focal(), kGreen);
  EXPECT_EQ(Count(kGreen), 32 * 32 - (16 * 16 - 4 * 4));
}

TEST_F(CoverageRule, HoleOrientationDoesNotMatter) {
  Open(32, 32);
  std::vector<Point3> points = {At(4, 4), At(20, 4), At(20, 20), At(4, 20),
                                At(8, 8), At(12, 8), At(12, 12), At(8, 12)};
  Draw(points, {0, 1, 2, 3, -5, 4, 5, 6, 7, -1}, kRed);
  EXPECT_EQ(Count(kRed), 16 * 16 - 4 * 4);
}

TEST_F(CoverageRule, StippleFiftyFiveKeepsEvenColumns) {
  Open(32, 32);
  const unsigned char pattern[8] = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
  FaceMaterial m = FlatMaterial(kRed);
  m.stipple = pattern;
  Draw({At(3, 2), At(19, 2), At(19, 12), At(3, 12)}, {0, 1, 2, 3, -1}, &m);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool covered = x >= 3 && x < 19 && y >= 2 && y < 12;
      EXPECT_EQ(Pixel(x, y) == kRed, covered && x % 2 == 0) << x << "," << y;
    }
}

TEST_F(CoverageRule, StipplePatternRowFollowsTheScreenRow) {
  Open(32, 32);
  // only rows with y % 8 == 3 keep anything, and there only column x % 8 == 0
  const unsigned char pattern[8] = {0, 0, 0, 0x01, 0, 0, 0, 0};
  FaceMaterial m = FlatMaterial(kRed);
  m.stipple = pattern;
  Draw({At(0, 0), At(32, 0), At(32, 32), At(0, 32)}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Count(kRed), 4 * 4);
  EXPECT_EQ(Pixel(8, 11), kRed);
  EXPECT_EQ(Pixel(24, 27), kRed);
}

TEST_F(CoverageRule, ContourUsingAVertexTwiceIsDrawnWhole) {
  Open(32, 32);
  // two squares meeting at the corner (8, 8), walked as one contour that
  // passes through that vertex twice
  std::vector<Point3> points = {At(4, 4), At(8, 4), At(8, 8), At(12, 8), At(12, 12), At(8, 12), At(4, 8)};
  Draw(points, {0, 1, 2, 3, 4, 5, 2, 6, -1}, kRed);
  EXPECT_EQ(Count(kRed), 32);
  EXPECT_EQ(Pixel(4, 4), kRed);
  EXPECT_EQ(Pixel(11, 11), kRed);
  EXPECT_NE(Pixel(8, 4), kRed);
}
