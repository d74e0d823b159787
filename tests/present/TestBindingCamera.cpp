// The examiner's camera: fitting to the letters, turning, zooming, resetting.
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
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CText3D> m_text;
};

TEST_F(BindingCamera, FitLooksAtTheMiddleFromTheWiderExtent) {
  const CameraFrame& camera = m_binding->Camera();
  EXPECT_FLOAT_EQ(camera.origin[0], 2.0f);
  EXPECT_FLOAT_EQ(camera.origin[1], 0.3f);
  EXPECT_FLOAT_EQ(camera.origin[2], 4.0f);  // width 4 beats twice the height, 2
  EXPECT_FLOAT_EQ(camera.xAxis[0], 1.0f);
  EXPECT_FLOAT_EQ(camera.yAxis[1], 1.0f);
  EXPECT_FLOAT_EQ(camera.zAxis[2], 1.0f);
  EXPECT_FLOAT_EQ(m_binding->Centre()[2], 0.0f);
  EXPECT_FLOAT_EQ(m_binding->Distance(), 4.0f);

  auto tall = TextWithBounds(-1.0, -3.0, 1.0, 2.0);  // width 2, height 5
  m_binding->FitCamera(tall.get());
  EXPECT_FLOAT_EQ(m_binding->Camera().origin[0], 0.0f);
  EXPECT_FLOAT_EQ(m_binding->Camera().origin[1], -0.5f);
  EXPECT_FLOAT_EQ(m_binding->Camera().origin[2], 10.0f);
}

TEST_F(BindingCamera, FitTakesTheTextsLightNegated) {
  // The renderer's light points the other way.
  EXPECT_FLOAT_EQ(m_binding->Light()[0], -0.75f);
  EXPECT_FLOAT_EQ(m_binding->Light()[1], -0.5f);
  EXPECT_FLOAT_EQ(m_binding->Light()[2], -0.25f);
}

TEST_F(BindingCamera, NeutralZoomAndRotationLeaveTheCameraAlone) {
  m_binding->Rotate(0.4f, -0.2f);  // somewhere off-axis first
  const CameraFrame before = m_binding->Camera();
  m_binding->Zoom(1.0f);
  EXPECT_TRUE(SameCamera(m_binding->Camera(), before));
  m_binding->Rotate(0.0f, 0.0f);
  EXPECT_TRUE(SameCamera(m_binding->Camera(), before));
}

TEST_F(BindingCamera, ZoomScalesTheEyesDistanceFromTheCentre) {
  m_binding->Rotate(0.3f, 0.2f);
  const CameraFrame before = m_binding->Camera();
  m_binding->Zoom(0.5f);
  const float* centre = m_binding->Centre();
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(m_binding->Camera().origin[i] - centre[i], 0.5f * (before.origin[i] - centre[i]), 1e-5f);
    EXPECT_FLOAT_EQ(m_binding->Camera().zAxis[i], before.zAxis[i]);
  }
}

TEST_F(BindingCamera, RotationOrbitsTheCentreAndKeepsLookingAtIt) {
  const float* centre = m_binding->Centre();
  for (int step = 0; step < 20; ++step) {
    m_binding->Rotate(0.37f, step % 2 ? 0.21f : -0.13f);
    const CameraFrame& c = m_binding->Camera();
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
  m_binding->Rotate(static_cast<float>(M_PI / 2), 0.0f);
  const CameraFrame& c = m_binding->Camera();
  EXPECT_NEAR(c.origin[0], 2.0f - 4.0f, 1e-5f);
  EXPECT_NEAR(c.origin[2], 0.0f, 1e-5f);
  EXPECT_NEAR(c.zAxis[0], -1.0f, 1e-6f);
}

TEST_F(BindingCamera, ResetGivesTheFittedCameraButKeepsTheLight) {
  const CameraFrame fitted = m_binding->Camera();
  m_binding->Rotate(1.1f, 0.7f);
  m_binding->Zoom(0.3f);
  m_binding->Rotate(-0.2f, 2.0f);
  auto other = TextWithBounds(0, 0, 1, 1);
  m_binding->SetLightFromText(*other);  // light changes are not undone
  other->lightDir[0] = 1.0f;
  m_binding->SetLightFromText(*other);
  const float light[3] = {m_binding->Light()[0], m_binding->Light()[1], m_binding->Light()[2]};
  m_binding->ResetCamera();
  EXPECT_TRUE(SameCamera(m_binding->Camera(), fitted));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(m_binding->Light()[i], light[i]);
}

TEST_F(BindingCamera, CameraOperationsRedrawTheProvidersText) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  ASSERT_TRUE(fake.Loaded());
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  binding.SetViewSize(320, 200);
  auto letters = BuildLetters("o");
  binding.FitCamera(letters.get());
  const int frames = fake->startCount;
  binding.Redraw();  // no provider yet: nothing
  EXPECT_EQ(fake->startCount, frames);
  FixedTextProvider none(nullptr);
  binding.SetTextProvider(&none);
  binding.Redraw();
  EXPECT_EQ(fake->startCount, frames);
  FixedTextProvider provider(letters.get());
  binding.SetTextProvider(&provider);
  binding.Rotate(0.1f, 0.0f);
  binding.Zoom(0.9f);
  binding.ResetCamera();
  binding.Redraw();
  EXPECT_EQ(fake->startCount, frames + 4);
  EXPECT_TRUE(SameCamera(fake->camera, binding.Camera()));
}

}  // namespace
