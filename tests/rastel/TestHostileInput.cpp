// Input no caller should send but one might: vertices that are not numbers
// or infinite, a singular camera, a front plane at the eye, faces reaching
// far outside the view. Nothing may be written outside the buffers and the
// faces that make sense still draw.
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
