// The GIF stream around the pixel data: signature, screen and image
// descriptors, colour table size, terminator and trailer.
#include <gtest/gtest.h>

#include "GifStreamReader.h"

namespace {

std::unique_ptr<GifImage> FullPaletteImage(int width, int height) {
  auto image = GifImageCreate(width, height);
  for (int i = 0; i < 256; ++i) GifImageSetColor(*image, i, i, 255 - i, i / 2);
  return image;
}

TEST(GifStreamLayout, OnePixelOfIndexFiveByteForByte) {
  auto image = FullPaletteImage(1, 1);
  image->SetPixel(0, 0, 5);
  const std::string bytes = GifBytes(*image);

  std::string expected = "GIF87a";
  expected += std::string("\x01\x00\x01\x00\xF7\x00\x00", 7);
  for (int i = 0; i < 256; ++i) {
    expected += static_cast<char>(i);
    expected += static_cast<char>(255 - i);
    expected += static_cast<char>(i / 2);
  }
  expected += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
  // Code size 8, one sub-block holding the 9-bit codes 256, 5, 257.
  expected += std::string("\x08\x04\x00\x0B\x04\x04\x00\x3B", 8);
  EXPECT_EQ(bytes.size(), expected.size());
  EXPECT_EQ(bytes, expected);
}

// The table must hold every colour up to the highest index: h colours
// 0..h need more than h entries, so h = 2 needs two bits, not one.
TEST(GifStreamLayout, TableSizeCoversTheHighestColourIndex) {
  struct Case {
    int highest;
    int bits;
    int codeSize;
  };
  for (const Case c : {Case{0, 1, 2}, Case{1, 1, 2}, Case{2, 2, 2}, Case{3, 2, 2}, Case{4, 3, 3},
                       Case{15, 4, 4}, Case{16, 5, 5}, Case{128, 8, 8}, Case{127, 7, 7}, Case{255, 8, 8}}) {
    auto image = GifImageCreate(4, 4);
    GifImageSetColor(*image, c.highest, 1, 2, 3);
    image->SetPixel(3, 3, static_cast<std::uint8_t>(c.highest));
    const ParsedGif gif = ParseGif(GifBytes(*image));
    EXPECT_EQ(gif.packed, 0x80 | ((c.bits - 1) << 4) | (c.bits - 1)) << c.highest;
    EXPECT_EQ(gif.colourTable.size(), static_cast<std::size_t>(3 << c.bits)) << c.highest;
    EXPECT_EQ(gif.minimumCodeSize, c.codeSize) << c.highest;
    EXPECT_FALSE(gif.decodeError) << c.highest;
    EXPECT_EQ(gif.pixels, image->pixels) << c.highest;
  }
}

// A pixel value beyond the colour table would be read as the clear or end
// code; the table grows to cover it instead.
TEST(GifStreamLayout, PixelAboveTheColourTableWidensTheTable) {
  auto image = GifImageCreate(2, 1);
  GifImageSetColor(*image, 1, 255, 255, 255);
  image->SetPixel(1, 0, 4);
  const ParsedGif gif = ParseGif(GifBytes(*image));
  EXPECT_EQ(gif.minimumCodeSize, 3);
  EXPECT_FALSE(gif.decodeError);
  EXPECT_EQ(gif.pixels, image->pixels);
}

TEST(GifImageStore, SetColorAcceptsOnlyTableIndices) {
  auto image = GifImageCreate(2, 2);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->highestColourIndex, 0);
  EXPECT_EQ(GifImageSetColor(*image, 256, 1, 2, 3), 0);
  EXPECT_EQ(GifImageSetColor(*image, -1, 1, 2, 3), 0);
  EXPECT_EQ(image->highestColourIndex, 0);
  EXPECT_EQ(GifImageSetColor(*image, 7, 1, 2, 3), 1);
  EXPECT_EQ(GifImageSetColor(*image, 3, 4, 5, 6), 1);
  EXPECT_EQ(image->highestColourIndex, 7);  // only ever raised
  EXPECT_EQ(image->red[3], 4);
}

TEST(GifImageStore, SizesAGifCannotStateAreRefused) {
  EXPECT_EQ(GifImageCreate(0, 10), nullptr);
  EXPECT_EQ(GifImageCreate(10, -1), nullptr);
  EXPECT_EQ(GifImageCreate(65536, 1), nullptr);
  auto largest = GifImageCreate(65535, 1);
  ASSERT_NE(largest, nullptr);
  EXPECT_EQ(largest->pixels.size(), 65535u);
  GifImageFree(std::move(largest));
}

TEST(GifStreamErrors, FailingStreamIsReportedNotIgnored) {
  auto image = FullPaletteImage(16, 16);
  std::ostream broken(nullptr);  // every write fails
  EXPECT_FALSE(WriteGifStream(*image, broken));
}

}  // namespace
