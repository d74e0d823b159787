// Input no caller should send but one might: vertices that are not numbers
// or infinite, a singular camera, a front plane at the eye, faces reaching
// far outside the view. Nothing may be written outside the buffers and the
// faces that make sense still draw.
#include <climits>
#include <cmath>
#include <limits>

#include "RastelFixture.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST_F(RastelTest, VerticesThatAreNotNumbersAreSkipped) {
  Open(32, 32);
  std::vector<Point3> points = {At(2, 2), At(20, 2), At(20, 20), At(2, 20), {kNaN, 0, -5}, {0, kInf, -5},
                                {-kInf, kInf, kNaN}, {1e30f, -1e30f, -1e-30f}};
  Draw(points, {0, 1, 4, -1, 4, 5, 6, -1, 0, 5, 6, 7, -1, 7, 6, 5, 0, -1, 0, 1, 7, 3, -1, 3, 7, 1, 0, -1}, kRed);
  // whatever was drawn lies inside the picture; the square still draws
  Rastel().StartFrame(view);
  Draw(points, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 18 * 18);
}

TEST_F(RastelTest, SingularCameraDrawsNothing) {
  Open(32, 32);
  const CameraFrame flat = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}};
  Rastel().SetCameraPos(view, &flat);
  const float light[3] = {0, 0, 1};
  Rastel().SetDLight(view, light, 1);
  Rastel().StartFrame(view);
  FaceMaterial m = FlatMaterial(kRed);
  m.lit = 1;
  Draw({{-5, -5, -10}, {5, -5, -10}, {5, 5, -10}, {-5, 5, -10}}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Count(kBackground), 32 * 32);
}

TEST_F(RastelTest, FrontPlaneAtTheEyeKeepsProjectionInsideTheView) {
  Open(32, 32);
  Rastel().SetFrontClipPlane(view, 0.0f);
  // a face through the eye and one just in front of it
  Draw({{-1, -1, 0}, {1, -1, 0}, {0, 1, -1e-20f}}, {0, 1, 2, -1}, kRed);
  Draw({{-1, -1, -1e-30f}, {1, -1, -1e-30f}, {1, 1, -1e-30f}, {-1, 1, -1e-30f}}, {0, 1, 2, 3, -1}, kGreen);
  EXPECT_LE(Count(kBackground) + Count(kRed) + Count(kGreen), 32 * 32);
}

TEST_F(RastelTest, HugeFacesAreClippedToTheView) {
  Open(800, 600);
  Draw({{-1e8f, -1e8f, -50}, {1e8f, -1e8f, -50}, {0, 1e8f, -1e4f}}, {0, 1, 2, -1}, kRed);
  EXPECT_GT(Count(kRed), 0);
  // a face much nearer than the front plane through the whole picture
  Rastel().StartFrame(view);
  Rastel().SetFrontClipPlane(view, 1e-3f);
  DrawRect(-1e6f, -1e6f, 1e6f, 1e6f, 2e-3f, kGreen);
  EXPECT_EQ(Count(kGreen), 800 * 600);
}

// Counts the library cannot hold are refused before anything is read: the
// vertex array here is far shorter than the counts claim.
TEST_F(RastelTest, VertexCountsBeyondTheLimitAreRefused) {
  Open(32, 32);
  const std::vector<Point3> points = {At(2, 2), At(20, 2), At(20, 20)};
  const FaceMaterial m = FlatMaterial(kRed);
  const std::vector<int> indices = {0, 1, 2, -1};
  for (int count : {(1 << 24) + 1, 1 << 30, (1 << 30) + 1, INT_MAX}) {
    EXPECT_EQ(Rastel().FaceList(view, 1, count, &points[0].x, indices.data(), nullptr, &m), -1) << count;
    EXPECT_EQ(Count(kRed), 0) << count;
  }
  // negative counts: no vertices, so the face refers outside the list; no faces
  EXPECT_EQ(Rastel().FaceList(view, 1, INT_MIN, &points[0].x, indices.data(), nullptr, &m), -1);
  EXPECT_EQ(Rastel().FaceList(view, INT_MIN, 3, &points[0].x, indices.data(), nullptr, &m), -1);
  EXPECT_EQ(Count(kRed), 0);
  // and the view still draws
  EXPECT_EQ(Rastel().FaceList(view, 1, 3, &points[0].x, indices.data(), nullptr, &m), -1);
  EXPECT_EQ(Count(kRed), 18 * 18 / 2 + 9);
}

// Every int is a valid shade value: the arithmetic is wide enough (the
// sanitizer build reports any overflow) and extreme values saturate.
TEST_F(RastelTest, ExtremeShadeValuesSaturate) {
  std::vector<std::uint16_t> texture(256 * 256, 0x0841);
  const int extremes[] = {INT_MIN, INT_MIN + 1, -17, -16, 0, 16, INT_MAX - 16, INT_MAX};
  for (int low : extremes)
    for (int high : extremes)
      for (int lit : {0, 1})
        for (bool textured : {false, true}) {
          Open(16, 16);
          const float light[3] = {0.3f, -0.2f, 1.0f};
          Rastel().SetDLight(view, light, 1);
          Rastel().StartFrame(view);
          FaceMaterial m = FlatMaterial(0x4208);  // every channel a quarter up
          m.lit = lit, m.shadeLow = low, m.shadeHigh = high;
          FaceTexMap map{};
          if (textured) {
            m.texture = texture.data();
            m.texelsU = m.texelsV = INT_MAX;
            map.on = 1, map.vertex[0] = 0, map.vertex[1] = 1, map.vertex[2] = 3;
            map.uv[2] = map.uv[5] = 1;
          }
          Draw({At(0, 0), At(16, 0), At(16, 16), At(0, 16)}, {0, 1, 2, 3, -1}, &m, textured ? &map : nullptr);
          const std::uint16_t px = Pixel(8, 8);
          SCOPED_TRACE(testing::Message() << low << ".." << high << " lit " << lit << " textured " << textured);
          if (textured && !lit) {
            EXPECT_EQ(px, 0x0841);  // unlit adds nothing
          } else if (textured) {
            // a blend between the two highlights
            EXPECT_TRUE(px >= 0x0841 + 0x18C3 && px <= 0x0841 + 0x6B4D) << std::hex << px;
          } else if (!lit) {
            // scaled by (low + 16) / 16: nothing at or below -16, double at
            // 16, saturated beyond; 0 leaves the colour
            const std::uint16_t expect = low == 0 ? 0x4208 : low <= -16 ? 0 : low == 16 ? 0x8410 : 0xFFFF;
            EXPECT_EQ(px, expect) << std::hex << px;
          } else {
            EXPECT_NE(px, kBackground);
          }
        }
}
