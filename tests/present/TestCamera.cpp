// The examiner's camera: fitting to the letters, turning, zooming, resetting;
// and the binding drawing with it only when asked.
#include <algorithm>
#include <string>

#include "PresentTestSupport.h"

namespace {

// Letters reduced to what the camera reads: bounds and light.
std::unique_ptr<CText3D> TextWithBounds(double left, double bottom, double right, double top) {
  auto text = std::make_unique<CText3D>("", CGlyphOutline{}, 255, 1.0, 0.2);
  text->bounds.left = left;
  text->bounds.bottom = bottom;
  text->bounds.right = right;
  text->bounds.top = top;
  text->lightDir[0] = 0.75f;  // x, y, z
  text->lightDir[1] = 0.5f;
  text->lightDir[2] = 0.25f;
  return text;
}

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

class BindingCamera : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    m_binding = std::make_unique<RendererBinding>(Options({}));
    m_text = TextWithBounds(0.0, -0.2, 4.0, 0.8);
    m_binding->FitCamera(m_text.get());
  }
  Camera& Cam() { return m_binding->ViewCamera(); }
  CameraFrame Frame() const { return m_binding->ViewCamera().Frame(); }
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CText3D> m_text;
};

TEST_F(BindingCamera, FitLooksAtTheMiddleFromTheWiderExtent) {
  const CameraFrame camera = Frame();
  EXPECT_FLOAT_EQ(camera.origin[0], 2.0f);
  EXPECT_FLOAT_EQ(camera.origin[1], 0.3f);
  EXPECT_FLOAT_EQ(camera.origin[2], 4.0f);  // width 4 beats twice the height, 2
  EXPECT_FLOAT_EQ(camera.xAxis[0], 1.0f);
  EXPECT_FLOAT_EQ(camera.yAxis[1], 1.0f);
  EXPECT_FLOAT_EQ(camera.zAxis[2], 1.0f);
  EXPECT_FLOAT_EQ(Cam().Centre().z, 0.0f);
  EXPECT_FLOAT_EQ(Cam().FitDistance(), 4.0f);

  auto tall = TextWithBounds(-1.0, -3.0, 1.0, 2.0);  // width 2, height 5
  m_binding->FitCamera(tall.get());
  EXPECT_FLOAT_EQ(Frame().origin[0], 0.0f);
  EXPECT_FLOAT_EQ(Frame().origin[1], -0.5f);
  EXPECT_FLOAT_EQ(Frame().origin[2], 10.0f);
}

TEST_F(BindingCamera, FitTakesTheTextsLightNegated) {
  // The renderer's light points the other way.
  EXPECT_FLOAT_EQ(m_binding->Light()[0], -0.75f);
  EXPECT_FLOAT_EQ(m_binding->Light()[1], -0.5f);
  EXPECT_FLOAT_EQ(m_binding->Light()[2], -0.25f);
}

TEST_F(BindingCamera, NeutralZoomAndRotationLeaveTheCameraAlone) {
  Cam().Rotate(0.4f, -0.2f);  // somewhere off-axis first
  const CameraFrame before = Frame();
  Cam().Zoom(1.0f);
  EXPECT_TRUE(SameCamera(Frame(), before));
  Cam().Rotate(0.0f, 0.0f);
  EXPECT_TRUE(SameCamera(Frame(), before));
}

TEST_F(BindingCamera, ZoomScalesTheEyesDistanceFromTheCentre) {
  Cam().Rotate(0.3f, 0.2f);
  const CameraFrame before = Frame();
  Cam().Zoom(0.5f);
  const Vec3 c = Cam().Centre();
  const float centre[3] = {c.x, c.y, c.z};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(Frame().origin[i] - centre[i], 0.5f * (before.origin[i] - centre[i]), 1e-5f);
    EXPECT_FLOAT_EQ(Frame().zAxis[i], before.zAxis[i]);
  }
}

TEST_F(BindingCamera, RotationOrbitsTheCentreAndKeepsLookingAtIt) {
  const Vec3 middle = Cam().Centre();
  const float centre[3] = {middle.x, middle.y, middle.z};
  for (int step = 0; step < 20; ++step) {
    Cam().Rotate(0.37f, step % 2 ? 0.21f : -0.13f);
    const CameraFrame c = Frame();
    const float offset[3] = {c.origin[0] - centre[0], c.origin[1] - centre[1], c.origin[2] - centre[2]};
    // Same distance, axes still orthonormal, and the camera's z axis along
    // the line from the centre to the eye: it still looks at the centre.
    EXPECT_NEAR(std::sqrt(Dot(offset, offset)), 4.0f, 1e-4f);
    EXPECT_NEAR(Dot(c.xAxis, c.xAxis), 1.0f, 1e-4f);
    EXPECT_NEAR(Dot(c.yAxis, c.yAxis), 1.0f, 1e-4f);
    EXPECT_NEAR(Dot(c.xAxis, c.yAxis), 0.0f, 1e-4f);
    EXPECT_NEAR(Dot(c.yAxis, c.zAxis), 0.0f, 1e-4f);
    EXPECT_NEAR(Dot(offset, c.zAxis), 4.0f, 1e-3f);
  }
}

TEST_F(BindingCamera, PositiveYawSwingsTheEyeToTheLeft) {
  Cam().Rotate(static_cast<float>(M_PI / 2), 0.0f);
  const CameraFrame c = Frame();
  EXPECT_NEAR(c.origin[0], 2.0f - 4.0f, 1e-5f);
  EXPECT_NEAR(c.origin[2], 0.0f, 1e-5f);
  EXPECT_NEAR(c.zAxis[0], -1.0f, 1e-6f);
}

TEST_F(BindingCamera, ResetGivesTheFittedCameraButKeepsTheLight) {
  const CameraFrame fitted = Frame();
  Cam().Rotate(1.1f, 0.7f);
  Cam().Zoom(0.3f);
  Cam().Rotate(-0.2f, 2.0f);
  auto other = TextWithBounds(0, 0, 1, 1);
  m_binding->SetLightFromText(*other);  // light changes are not undone
  other->lightDir[0] = 1.0f;
  m_binding->SetLightFromText(*other);
  const float light[3] = {m_binding->Light()[0], m_binding->Light()[1], m_binding->Light()[2]};
  Cam().Reset();
  EXPECT_TRUE(SameCamera(Frame(), fitted));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(m_binding->Light()[i], light[i]);
}

TEST_F(BindingCamera, TurningDrawsNothingTheDrawUsesTheTurnedCamera) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  ASSERT_TRUE(fake.Loaded());
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  binding.SetViewSize(320, 200);
  auto letters = BuildLetters("o");
  binding.FitCamera(letters.get());
  const int frames = fake->startCount;
  binding.ViewCamera().Rotate(0.1f, 0.0f);
  binding.ViewCamera().Zoom(0.9f);
  EXPECT_EQ(fake->startCount, frames);
  binding.DrawScene(letters.get());
  EXPECT_EQ(fake->startCount, frames + 1);
  EXPECT_TRUE(SameCamera(fake->camera, binding.ViewCamera().Frame()));
  binding.DrawScene(nullptr);  // no letters: no frame
  EXPECT_EQ(fake->startCount, frames + 1);
}

// Hours of auto rotation in small steps: rounding must neither shear nor
// grow the axes, nor let the eye leave its orbit or stop looking at the centre.
TEST_F(BindingCamera, LongSpinKeepsTheCameraRigid) {
  const Vec3 middle = Cam().Centre();
  const float centre[3] = {middle.x, middle.y, middle.z};
  for (int step = 0; step < 1000000; ++step) Cam().Rotate(0.0021f, step % 3 ? 0.0007f : -0.0011f);
  const CameraFrame c = Frame();
  const float offset[3] = {c.origin[0] - centre[0], c.origin[1] - centre[1], c.origin[2] - centre[2]};
  const float* axes[3] = {c.xAxis, c.yAxis, c.zAxis};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(Dot(axes[i], axes[j]), i == j ? 1.0f : 0.0f, 1e-5f) << i << j;
  }
  EXPECT_NEAR(std::sqrt(Dot(offset, offset)), 4.0f, 4e-5f);
  EXPECT_NEAR(Dot(offset, c.zAxis), 4.0f, 4e-5f);
}

// Texts from tiny to huge and very long: the front plane lies in front of
// every corner of the letters' box, fitted, zoomed in and turned, and the
// renderer's depth (65000 * front / distance) neither passes its front value
// nor falls to a handful of steps at the far side of the letters, and the
// front faces stay steps ahead of the backs.
TEST(CameraFrontPlane, FollowsTheTextsSize) {
  struct Case {
    const char* name;
    double height;      // of one em
    double widthInEms;  // about 0.55 em a letter
  };
  const Case cases[] = {
      {"height 0.001", 0.001, 5.0}, {"height 0.01", 0.01, 5.0}, {"height 1", 1.0, 5.0},
      {"height 1e6", 1e6, 5.0},     {"2000 letters", 1.0, 1100.0}, {"one narrow letter", 1.0, 0.3},
  };
  constexpr float kDepthRange = 65000.0f;
  for (const Case& k : cases) {
    const double h = k.height;
    CBoundRect bounds;
    bounds.left = 0.0;
    bounds.bottom = -0.25 * h;
    bounds.right = k.widthInEms * h;
    bounds.top = 0.9 * h;
    // The extrusion and a bevel standing out in front.
    const float zs[2] = {static_cast<float>(0.05 * h), static_cast<float>(-0.2 * h)};
    struct Turn {
      float yaw, pitch, zoom;
    };
    for (const Turn turn : {Turn{0, 0, 1}, Turn{0.5f, -0.3f, 0.8f}, Turn{-0.6f, 0.4f, 0.8f}}) {
      Camera camera;
      camera.Fit(bounds, 0.2 * h);
      camera.Rotate(turn.yaw, turn.pitch);
      camera.Zoom(turn.zoom);
      const float front = camera.FrontClipDistance();
      float nearest = INFINITY, farthest = 0.0f;
      for (double x : {bounds.left, bounds.right}) {
        for (double y : {bounds.bottom, bounds.top}) {
          for (float z : zs) {
            const Vec3 corner{static_cast<float>(x), static_cast<float>(y), z};
            const float distance = Dot(camera.Eye() - corner, camera.ZAxis());
            nearest = std::min(nearest, distance);
            farthest = std::max(farthest, distance);
          }
        }
      }
      SCOPED_TRACE(std::string(k.name) + " yaw " + std::to_string(turn.yaw));
      EXPECT_GT(front, 0.0f);
      EXPECT_LT(front, nearest);
      EXPECT_GE(kDepthRange * front / farthest, 150.0f);
      if (turn.zoom == 1) {
        // Seen straight on, a front face lies enough depth steps before the
        // back of its letter to hide it, at the centre of the longest text too.
        const double distance = camera.FitDistance();
        const double steps = kDepthRange * front * (1.0 / distance - 1.0 / (distance + 0.2 * h));
        EXPECT_GE(steps, 4.0);
      }
    }
  }
}

// A camera that has never been fitted hands the renderer all zeros.
TEST(Camera, UnfittedIsAllZero) {
  const CameraFrame frame = Camera().Frame();
  const CameraFrame zero{};
  EXPECT_TRUE(SameCamera(frame, zero));
}

}  // namespace
