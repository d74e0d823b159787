// Sizing a view: rounding, limits, buffers and the picture across resizes.
#include <climits>
#include <cstdint>

#include "RastelFixture.h"

TEST_F(RastelTest, ResizeRoundsUpToWholeBlocksWithin4096By4096) {
  // width up to a multiple of 8, height up to an even number, at most 4096 x 4096
  struct Case {
    int w, h, width, height;
  };
  for (const Case c : {Case{101, 75, 104, 76}, Case{1, 1, 8, 2}, Case{1024, 768, 1024, 768},
                       Case{4095, 4093, 4096, 4094}, Case{4097, 5000, 4096, 4096},
                       Case{INT_MAX, INT_MAX, 4096, 4096}, Case{1, INT_MAX, 8, 4096}}) {
    Rastel().ResizeView(view, c.w, c.h);
    int w = 0, h = 0;
    Rastel().GetViewSize(view, &w, &h);
    EXPECT_EQ(w, c.width) << c.w << "x" << c.h;
    EXPECT_EQ(h, c.height) << c.w << "x" << c.h;
  }
  // the whole clamped buffer is usable
  Rastel().ResizeView(view, 1 << 20, 1 << 20);
  Rastel().SetBgColor(view, kGreen);
  Rastel().StartFrame(view);
  const unsigned short* buf = Rastel().GetBuf(view);
  ASSERT_NE(buf, nullptr);
  EXPECT_EQ(buf[0], kGreen);
  EXPECT_EQ(buf[4096 * 4096 - 1], kGreen);
}

TEST_F(RastelTest, ResizeToTheSameSizeKeepsThePicture) {
  Open(101, 75);
  DrawRect(10, 10, 30, 20, Focal(), kRed);
  const unsigned short* before = Rastel().GetBuf(view);
  const std::vector<std::uint16_t> picture = Picture();
  Rastel().ResizeView(view, 101, 75);
  Rastel().ResizeView(view, 104, 76);
  EXPECT_EQ(Rastel().GetBuf(view), before);
  EXPECT_EQ(Picture(), picture);
}

TEST_F(RastelTest, ResizeIgnoresSizesOfZeroOrLess) {
  Open(64, 48);
  const unsigned short* before = Rastel().GetBuf(view);
  for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-8, 10}, {10, -2}, {0, 0}}) {
    Rastel().ResizeView(view, w, h);
    int gw = 0, gh = 0;
    Rastel().GetViewSize(view, &gw, &gh);
    EXPECT_EQ(gw, 64);
    EXPECT_EQ(gh, 48);
  }
  EXPECT_EQ(Rastel().GetBuf(view), before);
}

TEST_F(RastelTest, BuffersStartOnEightByteBoundaries) {
  for (int h : {2, 3, 50, 77}) {
    Rastel().ResizeView(view, 8 * h + 1, h);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(Rastel().GetBuf(view)) % 8, 0u);
  }
}

TEST_F(RastelTest, StartFrameClearsColourAndDepth) {
  Open(48, 40);
  DrawRect(0, 0, 48, 40, Focal(), kRed);
  Rastel().SetBgColor(view, 0x12345);  // only the low 16 bits count
  Rastel().StartFrame(view);
  EXPECT_EQ(Count(0x2345), 48 * 40);
  // depth is cleared as well: a far face shows everywhere again
  DrawRect(0, 0, 48, 40, 4 * Focal(), kBlue);
  EXPECT_EQ(Count(kBlue), 48 * 40);
}

TEST_F(RastelTest, NewViewTangentChangesTheFocalLength) {
  Open(64, 64);
  // tangent 1: a 16-unit square at distance 64 covers 16 x 16 pixels
  DrawRect(24, 24, 40, 40, Focal(), kRed);
  EXPECT_EQ(Count(kRed), 256);
  // tangent 2 halves the focal length and the square's size on screen
  Rastel().SetViewTan(view, 2.0f);
  Rastel().StartFrame(view);
  const std::vector<Point3> square = {{-8, -8, -64}, {8, -8, -64}, {8, 8, -64}, {-8, 8, -64}};
  Draw(square, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 64);
  // a tangent of zero or less is no view angle and is ignored
  Rastel().SetViewTan(view, 0.0f);
  Rastel().SetViewTan(view, -1.0f);
  Rastel().StartFrame(view);
  Draw(square, {0, 1, 2, 3, -1}, kRed);
  EXPECT_EQ(Count(kRed), 64);
}
