// Placing and converting the renderer's frame for the window.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

#include "FrameBlit.h"

namespace {

TEST(BlitPlacement, LargeWindowCentresTheFullSizeFrame) {
  EXPECT_EQ(BlitOrigin(1000, 700, 800, 600), QPoint(100, 50));
}

TEST(BlitPlacement, WindowUpToFullSizeGetsTheFrameAtTopLeft) {
  EXPECT_EQ(BlitOrigin(640, 480, 640, 480), QPoint(0, 0));
  EXPECT_EQ(BlitOrigin(800, 600, 800, 600), QPoint(0, 0));
}

TEST(BlitPlacement, EachAxisIsCentredOnItsOwn) {
  // Wide but low: centred across, at the top.
  EXPECT_EQ(BlitOrigin(1001, 300, 800, 296), QPoint(100, 0));
  // Narrow but tall: at the left, centred down.
  EXPECT_EQ(BlitOrigin(400, 900, 400, 600), QPoint(0, 150));
}

// A 565 frame whose bottom row (first in memory) is red and top row blue.
std::vector<unsigned short> TwoRowFrame(int width) {
  std::vector<unsigned short> pixels(static_cast<std::size_t>(width) * 2);
  for (int x = 0; x < width; ++x) {
    pixels[x] = 0xF800;          // bottom row: red
    pixels[width + x] = 0x001F;  // top row: blue
  }
  return pixels;
}

TEST(BlitConversion, SixteenBitFrameIsShownTheRightWayUp) {
  const std::vector<unsigned short> pixels = TwoRowFrame(8);
  const QImage image = ImageFrom565(pixels.data(), 8, 2);
  ASSERT_EQ(image.size(), QSize(8, 2));
  EXPECT_EQ(image.pixelColor(0, 0).toRgb(), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(7, 1).toRgb(), QColor(255, 0, 0));
}

TEST(BlitConversion, SixteenBitChannelsKeepTheirPlaces) {
  const unsigned short green = 0x07E0;
  const QImage image = ImageFrom565(&green, 1, 1);
  EXPECT_EQ(image.pixelColor(0, 0).toRgb(), QColor(0, 255, 0));
}

TEST(BlitConversion, IndexedFrameIsFlippedAndUsesTheGivenColours) {
  const std::uint8_t indices[] = {1, 2, 2, 2,   // bottom row
                                  3, 3, 3, 1};  // top row
  QList<QRgb> colours(256, qRgb(0, 0, 0));
  colours[1] = qRgb(10, 20, 30);
  colours[2] = qRgb(200, 0, 0);
  colours[3] = qRgb(0, 0, 250);
  const QImage image = ImageFromIndices(indices, 4, 2, colours);
  ASSERT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 250));
  EXPECT_EQ(image.pixel(3, 0), qRgb(10, 20, 30));
  EXPECT_EQ(image.pixel(0, 1), qRgb(10, 20, 30));
  EXPECT_EQ(image.pixel(1, 1), qRgb(200, 0, 0));
}

TEST(BlitConversion, MissingOrEmptyFrameGivesNoImage) {
  const unsigned short pixel = 0;
  const std::uint8_t index = 0;
  EXPECT_TRUE(ImageFrom565(nullptr, 8, 8).isNull());
  EXPECT_TRUE(ImageFrom565(&pixel, 0, 1).isNull());
  EXPECT_TRUE(ImageFromIndices(&index, 1, 0, {}).isNull());
  // A short colour table still gives every index a colour.
  EXPECT_EQ(ImageFromIndices(&index, 1, 1, {}).colorCount(), 256);
}

}  // namespace
