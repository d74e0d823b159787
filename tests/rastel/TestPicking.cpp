// Picking: the face list reports the last face that changed the pick pixel.
#include "RastelFixture.h"

class Picking : public RastelTest {
 protected:
  // Three faces side by side in one list: columns 0-9, 10-19, 20-29.
  std::vector<Point3> Strips(float distance) const {
    std::vector<Point3> points;
    for (int i = 0; i <= 3; ++i) {
      points.push_back(At(10.0f * i, 0, distance));
      points.push_back(At(10.0f * i, 32, distance));
    }
    return points;
  }
  static std::vector<int> StripFaces() {
    return {0, 2, 3, 1, -1, 2, 4, 5, 3, -1, 4, 6, 7, 5, -1};
  }
  // The pick position is given from the top of the picture.
  void PickAt(int x, int yFromBottom) { Rastel().TargetMode(view, 1, x, height - 1 - yFromBottom); }
};

TEST_F(Picking, ReturnsTheIndexOfTheFaceUnderThePickPixel) {
  Open(32, 32);
  PickAt(15, 5);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), 1);
  EXPECT_EQ(Pixel(15, 5), kRed);
  Rastel().StartFrame(view);
  PickAt(25, 30);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), 2);
}

TEST_F(Picking, PickRowIsCountedFromTheTop) {
  Open(32, 32);
  // a face over the bottom rows only
  Rastel().TargetMode(view, 1, 5, 31);  // bottom row
  EXPECT_EQ(DrawRect(0, 0, 32, 4, Focal(), kRed), 0);
  Rastel().StartFrame(view);
  Rastel().TargetMode(view, 1, 5, 0);  // top row
  EXPECT_EQ(DrawRect(0, 0, 32, 4, Focal(), kRed), -1);
}

TEST_F(Picking, LaterFaceOverThePixelIsReported) {
  Open(32, 32);
  PickAt(12, 12);
  // far face first, then a nearer one over it: both changed the pixel
  const std::vector<Point3> points = {At(0, 0, 2 * Focal()), At(32, 0, 2 * Focal()), At(32, 32, 2 * Focal()),
                                      At(0, 32, 2 * Focal()), At(8, 8), At(16, 8), At(16, 16), At(8, 16)};
  EXPECT_EQ(Draw(points, {0, 1, 2, 3, -1, 4, 5, 6, 7, -1}, kRed), 1);
}

TEST_F(Picking, HiddenFaceIsNotReported) {
  Open(32, 32);
  PickAt(12, 12);
  const std::vector<Point3> points = {At(8, 8), At(16, 8), At(16, 16), At(8, 16),
                                      At(0, 0, 2 * Focal()), At(32, 0, 2 * Focal()),
                                      At(32, 32, 2 * Focal()), At(0, 32, 2 * Focal())};
  // near face first; the far face covers the pick pixel on screen but is
  // hidden there
  EXPECT_EQ(Draw(points, {0, 1, 2, 3, -1, 4, 5, 6, 7, -1}, kRed), 0);
  // and in a later list it is not reported either, nor does it disturb the
  // pixel
  EXPECT_EQ(Draw(points, {4, 5, 6, 7, -1}, kBlue), -1);
  EXPECT_EQ(Pixel(12, 12), kRed);
}

TEST_F(Picking, FaceNotCoveringThePixelLeavesItAlone) {
  Open(32, 32);
  DrawRect(0, 0, 32, 32, 3 * Focal(), kGreen);
  PickAt(30, 30);
  EXPECT_EQ(Draw(Strips(Focal()), {0, 2, 3, 1, -1}, kRed), -1);
  EXPECT_EQ(Pixel(30, 30), kGreen);
}

TEST_F(Picking, BlackFacesAreNeverReported) {
  Open(32, 32);
  PickAt(5, 5);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), std::uint16_t{0}), -1);
}

TEST_F(Picking, OffUnlessArmedForTheFrame) {
  Open(32, 32);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), -1);
  Rastel().StartFrame(view);
  PickAt(5, 5);
  Rastel().EndFrame(view);  // disarms
  Rastel().StartFrame(view);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), -1);
  Rastel().StartFrame(view);
  PickAt(5, 5);
  Rastel().TargetMode(view, 0, 0, 0);  // disarms too
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), -1);
}

TEST_F(Picking, PositionOutsideTheViewLeavesPickingAsItWas) {
  Open(32, 32);
  PickAt(5, 5);
  Rastel().TargetMode(view, 1, 32, 3);
  Rastel().TargetMode(view, 1, 3, 32);
  Rastel().TargetMode(view, 1, -1, 3);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), 0);
  Rastel().StartFrame(view);
  Rastel().EndFrame(view);
  Rastel().TargetMode(view, 1, 32, 0);
  EXPECT_EQ(Draw(Strips(Focal()), StripFaces(), kRed), -1);
}

TEST_F(Picking, EmptyListsAndDegenerateFacesReportNothing) {
  Open(32, 32);
  PickAt(5, 5);
  const std::vector<Point3> points = Strips(Focal());
  const int indices[] = {0, 2, 3, 1, -1};
  const FaceMaterial red = FlatMaterial(kRed);
  EXPECT_EQ(Rastel().FaceList(view, 0, 8, &points[0].x, indices, nullptr, &red), -1);
  // two-vertex outline, then one whose outline ends at a hole separator
  // after two vertices
  EXPECT_EQ(Draw(Strips(Focal()), {0, 2, -1, 0, 2, -2, 3, 1, -1}, kRed), -1);
  EXPECT_EQ(Count(kRed), 0);
}

TEST_F(Picking, ResizeDisarmsPicking) {
  Open(32, 32);
  PickAt(30, 30);
  Rastel().ResizeView(view, 16, 16);
  int w = 0, h = 0;
  Rastel().GetViewSize(view, &w, &h);
  width = w;
  height = h;
  Rastel().StartFrame(view);
  EXPECT_EQ(DrawRect(0, 0, 16, 16, Focal(), kRed), -1);
}
