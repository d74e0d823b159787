// Views beyond 800 x 600: the same scene at twice the size is the same
// picture at twice the scale, faces reach every pixel of the largest view,
// and textured faces draw at its far edges.
#include <map>

#include "RastelFixture.h"

namespace {

// A scene in view-independent terms: corners in fractions of the picture,
// so that a view twice as large sees it twice as large. Overlapping faces
// at different depths, a hole, slanted edges of every direction.
struct Shape {
  std::vector<std::pair<float, float>> outline, hole;
  float distance;
  std::uint16_t colour;
};

const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = {
      {{{0.05f, 0.07f}, {0.93f, 0.11f}, {0.61f, 0.88f}}, {}, 1.0f, kRed},
      {{{0.20f, 0.30f}, {0.80f, 0.25f}, {0.85f, 0.70f}, {0.15f, 0.77f}},
       {{0.40f, 0.40f}, {0.40f, 0.60f}, {0.55f, 0.60f}, {0.60f, 0.41f}}, 0.8f, kGreen},
      {{{0.50f, 0.02f}, {0.98f, 0.52f}, {0.47f, 0.97f}, {0.03f, 0.49f}}, {}, 1.3f, kBlue},
      {{{0.33f, 0.13f}, {0.71f, 0.57f}, {0.12f, 0.91f}}, {}, 0.9f, kGrey},
  };
  return shapes;
}

}  // namespace

class LargeViewTest : public RastelTest {
 protected:
  // Draws the shapes into a view of w x h; the view tangent is fixed, so
  // the focal length grows with the height and the scene scales with it.
  std::vector<std::uint16_t> DrawShapes(int w, int h) {
    Open(w, h);
    for (const Shape& s : Shapes()) {
      std::vector<Point3> points;
      std::vector<int> indices;
      const float d = s.distance * Focal();
      for (auto [fx, fy] : s.outline) {
        indices.push_back(static_cast<int>(points.size()));
        points.push_back(At(fx * width, fy * height, d));
      }
      if (!s.hole.empty()) indices.push_back(-2);
      for (auto [fx, fy] : s.hole) {
        indices.push_back(static_cast<int>(points.size()));
        points.push_back(At(fx * width, fy * height, d));
      }
      indices.push_back(-1);
      Draw(points, indices, s.colour);
    }
    return Picture();
  }
};

TEST_F(LargeViewTest, TwiceTheSizeIsTheSamePictureAtTwiceTheScale) {
  for (auto [w, h] : {std::pair{400, 300}, std::pair{800, 600}, std::pair{1024, 512}}) {
    const std::vector<std::uint16_t> small = DrawShapes(w, h);
    const std::vector<std::uint16_t> large = DrawShapes(2 * w, 2 * h);
    ASSERT_EQ(width, 2 * w);
    ASSERT_EQ(height, 2 * h);
    // The large pixel at (2x, 2y) samples the same scene point as the small
    // pixel (x, y); they differ only where an edge passes within the
    // rounding of a sub-pixel.
    int differ = 0;
    std::map<std::uint16_t, long> smallCount, largeCount;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint16_t s = small[y * w + x];
        differ += s != large[2 * y * 2 * w + 2 * x];
        ++smallCount[s];
      }
    for (std::uint16_t px : large) ++largeCount[px];
    EXPECT_LT(differ, w * h / 200) << w << "x" << h;
    // Every colour covers four times the area, up to the pixels along the
    // edges.
    EXPECT_EQ(smallCount.size(), 5u);
    for (auto [colour, count] : smallCount)
      EXPECT_NEAR(static_cast<double>(largeCount[colour]), 4.0 * count, 0.01 * 4 * count + 8 * (w + h))
          << w << "x" << h << " colour " << colour;
  }
}

TEST_F(LargeViewTest, FacesReachEveryEdgeOfTheLargestView) {
  Open(4096, 4096);
  ASSERT_EQ(width, 4096);
  DrawRect(-10, -10, 4106, 4106, Focal(), kRed);
  EXPECT_EQ(Count(kRed), 4096 * 4096);
  // a thin sliver along the right and the top edge
  Rastel().StartFrame(view);
  DrawRect(4090, 0, 4096, 4096, Focal(), kBlue);
  DrawRect(0, 4093, 4096, 4096, Focal() / 2, kGreen);
  EXPECT_EQ(Count(kBlue), 6 * 4093);
  EXPECT_EQ(Count(kGreen), 3 * 4096);
  EXPECT_EQ(Pixel(4095, 0), kBlue);
  EXPECT_EQ(Pixel(4095, 4095), kGreen);
}

TEST_F(LargeViewTest, TexturedFacesDrawAcrossTheLargestView) {
  std::vector<std::uint16_t> texture(256 * 256);
  for (int i = 0; i < 256 * 256; ++i) texture[i] = static_cast<std::uint16_t>(0x0100 | (i & 0xFF));
  Open(4096, 2050);  // the height not a multiple of the 8-pixel blocks
  FaceMaterial m = FlatMaterial(kRed);
  m.texture = texture.data();
  m.texelsU = m.texelsV = 256;
  FaceTexMap map{};
  map.on = 1;
  map.vertex[0] = 0, map.vertex[1] = 1, map.vertex[2] = 3;
  const float uv[6] = {0, 0, 1, 0, 0, 1};
  std::copy(uv, uv + 6, map.uv);
  Draw({At(-3, -3), At(4099, -3), At(4099, 2053), At(-3, 2053)}, {0, 1, 2, 3, -1}, &m, &map);
  EXPECT_EQ(Count(kBackground), 0);
  EXPECT_EQ(Pixel(4095, 2049) >> 8, 1);
  EXPECT_EQ(Pixel(0, 0) >> 8, 1);
}
