// Depth: nearer faces win whatever the drawing order, equal depth keeps the
// first face, and a face that loses changes neither buffer.
#include "RastelFixture.h"

TEST_F(RastelTest, NearerFaceWinsInEitherOrder) {
  Open(32, 32);
  DrawRect(0, 0, 20, 20, 2 * Focal(), kBlue);
  DrawRect(10, 10, 30, 30, Focal(), kRed);
  const std::vector<std::uint16_t> farFirst = Picture();
  Rastel().StartFrame(view);
  DrawRect(10, 10, 30, 30, Focal(), kRed);
  DrawRect(0, 0, 20, 20, 2 * Focal(), kBlue);
  EXPECT_EQ(Picture(), farFirst);
  EXPECT_EQ(Pixel(15, 15), kRed);
  EXPECT_EQ(Pixel(5, 5), kBlue);
  EXPECT_EQ(Count(kRed), 400);
}

TEST_F(RastelTest, EqualDepthKeepsTheFirstFace) {
  Open(32, 32);
  DrawRect(4, 4, 20, 20, Focal(), kRed);
  DrawRect(4, 4, 20, 20, Focal(), kBlue);
  EXPECT_EQ(Count(kRed), 256);
  EXPECT_EQ(Count(kBlue), 0);
}

TEST_F(RastelTest, HiddenFaceChangesNeitherColourNorDepth) {
  Open(32, 32);
  DrawRect(0, 0, 16, 32, Focal(), kRed);  // near, left half
  const std::vector<std::uint16_t> before = Picture();
  // far face over the left half only: entirely hidden
  DrawRect(0, 0, 16, 32, 4 * Focal(), kBlue);
  EXPECT_EQ(Picture(), before);
  // Had the hidden face written its (farther) depth, a face between the
  // two would now show on the left.
  DrawRect(0, 0, 32, 32, 2 * Focal(), kGreen);
  EXPECT_EQ(Count(kRed), 16 * 32);
  EXPECT_EQ(Count(kGreen), 16 * 32);
}

TEST_F(RastelTest, SlopedFacesIntersectWhereTheirDepthsCross) {
  Open(64, 64);
  // Two faces over the whole picture, tilted in opposite directions: one
  // runs from distance f at the left edge to 2f at the right, the other the
  // other way round. Their depths cross at the middle column.
  auto tilted = [this](float nearX, float farX) {
    return std::vector<Point3>{At(nearX, 0, Focal()), At(farX, 0, 2 * Focal()),
                               At(farX, 64, 2 * Focal()), At(nearX, 64, Focal())};
  };
  std::vector<Point3> a = tilted(0, 64), b = tilted(64, 0);
  // each list holds both windings; the one facing the eye is drawn
  Draw(a, {0, 1, 2, 3, -1, 3, 2, 1, 0, -1}, kRed);
  Draw(b, {0, 1, 2, 3, -1, 3, 2, 1, 0, -1}, kBlue);
  for (int y = 0; y < 64; y += 9) {
    EXPECT_EQ(Pixel(10, y), kRed);
    EXPECT_EQ(Pixel(54, y), kBlue);
  }
}

TEST_F(RastelTest, TransparentFaceWritesDepthAfterItsPixels) {
  Open(32, 32);
  FaceMaterial glass = FlatMaterial(kGreen);
  glass.transparent = 1;
  Draw({At(4, 4), At(20, 4), At(20, 20), At(4, 20)}, {0, 1, 2, 3, -1}, &glass);
  EXPECT_EQ(Count(kGreen), 256);
  // its depth is in the buffer: a farther face stays behind it, a nearer
  // one covers it
  DrawRect(0, 0, 32, 32, 2 * Focal(), kBlue);
  EXPECT_EQ(Count(kGreen), 256);
  DrawRect(0, 0, 8, 32, 0.5f * Focal(), kRed);
  EXPECT_EQ(Count(kGreen), 256 - 4 * 16);
  // and it is itself hidden by what is nearer
  Draw({At(4, 4), At(20, 4), At(20, 20), At(4, 20)}, {0, 1, 2, 3, -1}, &glass);
  EXPECT_EQ(Count(kRed), 8 * 32);
}
