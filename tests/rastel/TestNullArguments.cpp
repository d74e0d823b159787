// Every entry point tolerates a null view, and the pointer arguments a
// caller could get wrong (vertices, indices, size outputs) do nothing.
#include "RastelFixture.h"

TEST(NullArguments, EveryFunctionIgnoresANullView) {
  const RastelLibrary& r = Rastel();
  ASSERT_TRUE(r.Complete()) << dlerror();
  const CameraFrame camera = IdentityCamera();
  const float light[3] = {0, 0, 1};
  const float vertices[9] = {0, 0, -5, 1, 0, -5, 0, 1, -5};
  const int indices[4] = {0, 1, 2, -1};
  const FaceMaterial material = FlatMaterial(kRed);

  r.DestroyView(nullptr);
  r.ResizeView(nullptr, 64, 64);
  int w = 7, h = 9;
  r.GetViewSize(nullptr, &w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(r.GetBuf(nullptr), nullptr);
  r.SetCameraPos(nullptr, &camera);
  r.SetTransform(nullptr, &camera);
  r.SetBgColor(nullptr, kRed);
  r.SetViewTan(nullptr, 1.0f);
  r.SetFrontClipPlane(nullptr, 1.0f);
  r.SetDLight(nullptr, light, 1);
  r.TargetMode(nullptr, 1, 0, 0);
  r.StartFrame(nullptr);
  r.EndFrame(nullptr);
  EXPECT_EQ(r.FaceList(nullptr, 1, 3, vertices, indices, nullptr, &material), 0);
}

TEST_F(RastelTest, NullVerticesOrIndicesDrawNothingAndReturnZero) {
  Open(32, 32);
  const std::vector<Point3> tri = {At(2, 2), At(20, 2), At(2, 20)};
  const int indices[4] = {0, 1, 2, -1};
  const FaceMaterial material = FlatMaterial(kRed);
  EXPECT_EQ(Rastel().FaceList(view, 1, 3, nullptr, indices, nullptr, &material), 0);
  EXPECT_EQ(Rastel().FaceList(view, 1, 3, reinterpret_cast<const float*>(tri.data()), nullptr,
                              nullptr, &material),
            0);
  EXPECT_EQ(Count(kBackground), 32 * 32);
}

TEST_F(RastelTest, NullSizeOutputsAreSkipped) {
  Open(40, 30);
  int h = 0;
  Rastel().GetViewSize(view, nullptr, &h);
  EXPECT_EQ(h, 30);
  int w = 0;
  Rastel().GetViewSize(view, &w, nullptr);
  EXPECT_EQ(w, 40);
}

TEST_F(RastelTest, FramesWithoutBuffersDrawNothing) {
  // A fresh view has no size: starting a frame and drawing must not touch
  // any buffer.
  const float vertices[9] = {0, 0, -5, 1, 0, -5, 0, 1, -5};
  const int indices[4] = {0, 1, 2, -1};
  const FaceMaterial material = FlatMaterial(kRed);
  Rastel().StartFrame(view);
  EXPECT_EQ(Rastel().GetBuf(view), nullptr);
  EXPECT_EQ(Rastel().FaceList(view, 1, 3, vertices, indices, nullptr, &material), -1);
  Rastel().EndFrame(view);
}

TEST_F(RastelTest, FacesReferringToMissingVerticesAreSkipped) {
  Open(32, 32);
  const std::vector<Point3> square = {At(2, 2), At(10, 2), At(10, 10), At(2, 10)};
  // index 4 is past the end of a four-vertex list
  EXPECT_EQ(Draw(square, {0, 1, 2, 4, -1}, kRed), -1);
  EXPECT_EQ(Draw(square, {0, 1, 2, 3, -2, 0, 99, 1, -1}, kRed), -1);
  EXPECT_EQ(Count(kRed), 0);
  // the faces after a bad one still draw
  EXPECT_EQ(Draw(square, {0, 1, 2, 7, -1, 0, 1, 2, 3, -1}, kRed), -1);
  EXPECT_EQ(Count(kRed), 64);
}
