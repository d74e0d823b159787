// Placing and converting the renderer's frame for the window. The placement
// in a 1000 x 700 and a 640 x 480 window is checked on the painted view in
// TestBlitInView.cpp.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

#include "FrameBlit.h"

namespace {

TEST(BlitPlacement, EachAxisIsCentredOnItsOwnWhenTheWindowIsLarger) {
  struct Case {
    int windowWidth, windowHeight, frameWidth, frameHeight;
    QPoint origin;
  };
  for (const Case& c : {Case{800, 600, 800, 600, QPoint(0, 0)},
                        Case{1001, 300, 800, 296, QPoint(100, 0)},    // wide but low: across only
                        Case{400, 900, 400, 600, QPoint(0, 150)}}) {  // narrow but tall: down only
    EXPECT_EQ(BlitOrigin(c.windowWidth, c.windowHeight, c.frameWidth, c.frameHeight), c.origin)
        << c.windowWidth << "x" << c.windowHeight;
  }
}

TEST(BlitConversion, SixteenBitFrameIsShownTheRightWayUpWithItsChannelsInPlace) {
  // Rows bottom-up in memory: red, green, blue.
  const int width = 4;
  std::vector<unsigned short> pixels;
  for (unsigned short colour : {0xF800, 0x07E0, 0x001F}) pixels.insert(pixels.end(), width, colour);
  const QImage image = ImageFrom565(pixels.data(), width, 3);
  ASSERT_EQ(image.size(), QSize(width, 3));
  EXPECT_EQ(image.pixelColor(0, 0).toRgb(), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(3, 1).toRgb(), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(3, 2).toRgb(), QColor(255, 0, 0));
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
