// Which faces reach the screen: back faces and edge-on faces are culled,
// everything is clipped to the view's sides and its front plane, and
// vertices made on a side land exactly on the picture's edge.
#include "RastelFixture.h"

TEST_F(RastelTest, ClockwiseFaceDrawsNothingAndReversedItDraws) {
  Open(32, 32);
  const std::vector<Point3> square = {At(4, 4), At(12, 4), At(12, 12), At(4, 12)};
  Draw(square, {3, 2, 1, 0, -1}, kRed);
  EXPECT_EQ(Count(kRed), 0);
  Draw(square, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 64);
}

TEST_F(RastelTest, EdgeOnFaceDrawsNothing) {
  Open(32, 32);
  // a face in the plane y = 0 of the camera, seen exactly along its plane
  const std::vector<Point3> points = {{-4, 0, -10}, {4, 0, -10}, {4, 0, -20}, {-4, 0, -20}};
  Draw(points, {0, 1, 2, 3, -1, 3, 2, 1, 0, -1}, kRed);
  EXPECT_EQ(Count(kRed), 0);
  // and a face whose outline is degenerate (all vertices on one line)
  Draw({At(2, 2), At(10, 10), At(20, 20)}, {0, 1, 2, -1, 2, 1, 0, -1}, kRed);
  EXPECT_EQ(Count(kRed), 0);
}

TEST_F(RastelTest, TriangleBehindTheFrontPlaneDrawsNothing) {
  Open(32, 32);
  Rastel().SetFrontClipPlane(view, 5.0f);
  // in front of the eye but nearer than the front plane
  Draw({{-1, -1, -4}, {1, -1, -4}, {0, 1, -4}}, {0, 1, 2, -1}, kRed);
  // behind the eye
  Draw({{-1, -1, 4}, {0, 1, 4}, {1, -1, 4}}, {0, 1, 2, -1, 0, 2, 1, -1}, kRed);
  EXPECT_EQ(Count(kRed), 0);
  // the same triangle moved beyond the front plane is drawn
  Draw({{-1, -1, -6}, {1, -1, -6}, {0, 1, -6}}, {0, 1, 2, -1}, kRed);
  EXPECT_GT(Count(kRed), 0);
}

TEST_F(RastelTest, FacePiercingTheFrontPlaneIsCutThere) {
  Open(64, 64);
  Rastel().SetFrontClipPlane(view, 32.0f);
  // A floor below the eye running from distance 16 to 128: only the part
  // beyond distance 32 is drawn, which ends at the row where the plane
  // z = -32 meets the floor: y = -8 * 64 / 32 = -16 pixels below centre.
  const std::vector<Point3> floor = {{-8, -8, -16}, {8, -8, -16}, {8, -8, -128}, {-8, -8, -128}};
  Draw(floor, {0, 1, 2, 3, -1, 3, 2, 1, 0, -1}, kRed);
  EXPECT_GT(Count(kRed), 0);
  for (int y = 0; y < 64; ++y) {
    bool any = false;
    for (int x = 0; x < 64; ++x) any |= Pixel(x, y) == kRed;
    EXPECT_EQ(any, y >= 16 && y < 28) << "row " << y;
  }
}

TEST_F(RastelTest, FaceCrossingTheLeftEdgeReachesColumnZero) {
  Open(32, 32);
  // Two vertices far outside the left edge. Clipping cuts the edges to
  // (12, 16) at y = 4 + 12 * 40 / 52 = 13.2 and y = 28 - 9.2 = 18.8 and makes
  // new vertices there; they must land at x = 0 exactly, so that column 0
  // is covered on the corner lines 14 to 18 and nowhere else.
  Draw({At(-40, 4), At(12, 16), At(-40, 28)}, {0, 1, 2, -1}, kRed);
  for (int y = 0; y < 32; ++y) EXPECT_EQ(Pixel(0, y) == kRed, y >= 14 && y <= 18) << "row " << y;
  // the same with the far vertices at other depths
  Rastel().StartFrame(view);
  Draw({At(-40, 4, 3 * Focal()), At(12, 16), At(-40, 28, 2 * Focal())}, {0, 1, 2, -1}, kRed);
  for (int y = 0; y < 32; ++y) EXPECT_EQ(Pixel(0, y) == kRed, y >= 14 && y <= 18) << "row " << y;
}

TEST_F(RastelTest, FaceLargerThanTheViewFillsItExactly) {
  Open(48, 32);
  Draw({At(-100, -100), At(200, -100), At(200, 200), At(-100, 200)}, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 48 * 32);
}

TEST_F(RastelTest, ModelTransformPlacesTheFaceList) {
  Open(32, 32);
  const std::vector<Point3> square = {At(0, 0), At(4, 0), At(4, 4), At(0, 4)};
  // origin moved 8 pixels right and 2 up
  const CameraFrame model = {{8, 2, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Rastel().SetTransform(view, &model);
  Draw(square, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 16);
  EXPECT_EQ(Pixel(8, 2), kRed);
  EXPECT_EQ(Pixel(11, 5), kRed);
  // a new frame starts from the camera alone again
  Rastel().StartFrame(view);
  Draw(square, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Pixel(0, 0), kRed);
}

TEST_F(RastelTest, CameraFrameIsInvertedInGeneral) {
  Open(32, 32);
  // A camera moved back by 32 along z, with axes twice as long: the world
  // point p is seen at (p - origin) / 2, so a square of side 8 at the
  // world's z = -96 lands at distance 64 / 2 = 32 with side 4.
  const CameraFrame camera = {{0, 0, 32}, {2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
  Rastel().SetCameraPos(view, &camera);
  Rastel().StartFrame(view);
  Draw({{0, 0, -32}, {8, 0, -32}, {8, 8, -32}, {0, 8, -32}}, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 16);
  EXPECT_EQ(Pixel(16, 16), kRed);
  EXPECT_EQ(Pixel(19, 19), kRed);
}
