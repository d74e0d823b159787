// The LZW data: code widths, the full string table and its clear code, the
// sub-block size, and pictures read back by this suite's reader and by
// giflib, an independent decoder.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "GifStreamReader.h"

namespace {

std::unique_ptr<GifImage> GreyImage(int width, int height) {
  auto image = GifImageCreate(width, height);
  for (int i = 0; i < 256; ++i) GifImageSetColor(*image, i, i, i, i);
  return image;
}

std::unique_ptr<GifImage> NoiseImage(int width, int height, unsigned seed) {
  auto image = GreyImage(width, height);
  std::mt19937 random(seed);
  for (auto& p : image->pixels) p = static_cast<std::uint8_t>(random() & 0xFF);
  return image;
}

// 0, 1, 0, 2, 0, 3, ...: no two neighbouring pixels repeat a pair, so every
// pixel but the first adds a string and emits a code.
std::unique_ptr<GifImage> NoRepeatsImage(int pairs) {
  auto image = GreyImage(2 * pairs + 1, 1);
  for (int k = 1; k <= pairs; ++k) {
    image->SetPixel(2 * k - 1, 0, static_cast<std::uint8_t>(k));
    image->SetPixel(2 * k, 0, 0);
  }
  return image;
}

TEST(GifLzwWidth, GrowsRightAfterTheCodeEmittedAtFiveHundredTwelve) {
  auto image = NoRepeatsImage(255);
  const ParsedGif gif = ParseGif(GifBytes(*image));
  ASSERT_FALSE(gif.decodeError);
  EXPECT_EQ(gif.pixels, image->pixels);
  // codes[0] is the clear code; data code k (1-based) is emitted while the
  // next free code is 257 + k, so code 255 goes out at 512, still 9 bits.
  ASSERT_GT(gif.codes.size(), 300u);
  EXPECT_EQ(gif.codes[0].code, 256);
  EXPECT_EQ(gif.codes[255].bits, 9);
  EXPECT_EQ(gif.codes[256].bits, 10);
  EXPECT_EQ(gif.codes.back().code, 257);
}

TEST(GifLzwTable, OneColourPictureFillsTheTableAndClears) {
  // Runs of 1, 2, 3, ... pixels: 3838 new strings take 3838 * 3839 / 2 pixels.
  const long filling = 3838L * 3839L / 2L;
  auto image = GreyImage(3000, static_cast<int>(filling / 3000 + 4));
  std::fill(image->pixels.begin(), image->pixels.end(), 9);
  const ParsedGif gif = ParseGif(GifBytes(*image));
  ASSERT_FALSE(gif.decodeError);
  EXPECT_EQ(gif.pixels.size(), image->pixels.size());
  EXPECT_EQ(gif.pixels, image->pixels);

  // The first clear after the opening one: it and the code before it are 12
  // bits wide, the code after it 9 bits again.
  std::size_t clearAt = 0;
  for (std::size_t i = 1; i < gif.codes.size(); ++i) {
    if (gif.codes[i].code == 256) {
      clearAt = i;
      break;
    }
  }
  ASSERT_GT(clearAt, 0u);
  // The opening clear, 3838 codes that each added a string, then the code of
  // the first string that found the table full.
  EXPECT_EQ(clearAt, 3840u);
  EXPECT_EQ(gif.codes[clearAt - 1].bits, 12);
  EXPECT_EQ(gif.codes[clearAt].bits, 12);
  ASSERT_LT(clearAt + 1, gif.codes.size());
  EXPECT_EQ(gif.codes[clearAt + 1].bits, 9);
}

TEST(GifLzwPackets, DataGoesOutInSubBlocksOfTwoHundredFiftyFourBytes) {
  auto image = NoiseImage(100, 100, 7);
  const ParsedGif gif = ParseGif(GifBytes(*image));
  ASSERT_GT(gif.blockLengths.size(), 2u);
  for (std::size_t i = 0; i + 1 < gif.blockLengths.size(); ++i) EXPECT_EQ(gif.blockLengths[i], 254) << i;
  EXPECT_GT(gif.blockLengths.back(), 0);
  EXPECT_LE(gif.blockLengths.back(), 254);
  EXPECT_TRUE(gif.terminated);
  EXPECT_EQ(gif.pixels, image->pixels);
}

TEST(GifLzwState, EveryWriteStartsFromAFreshEncoder) {
  auto first = NoiseImage(64, 48, 1);
  auto other = NoiseImage(333, 17, 2);
  const std::string before = GifBytes(*first);
  GifBytes(*other);
  EXPECT_EQ(GifBytes(*first), before);
}

// giflib reads from memory through this callback.
struct MemoryReader {
  const std::string* bytes;
  std::size_t position;
};

int ReadFromMemory(GifFileType* file, GifByteType* buffer, int length) {
  auto* reader = static_cast<MemoryReader*>(file->UserData);
  const std::size_t left = reader->bytes->size() - reader->position;
  const std::size_t n = std::min(left, static_cast<std::size_t>(length));
  std::memcpy(buffer, reader->bytes->data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

void ExpectGiflibReadsBack(const GifImage& image) {
  const std::string bytes = GifBytes(image);
  MemoryReader reader{&bytes, 0};
  int error = 0;
  GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
  ASSERT_NE(file, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(file), GIF_OK) << GifErrorString(file->Error);
  EXPECT_EQ(file->SWidth, image.width);
  EXPECT_EQ(file->SHeight, image.height);
  ASSERT_EQ(file->ImageCount, 1);
  const SavedImage& saved = file->SavedImages[0];
  EXPECT_EQ(saved.ImageDesc.Width, image.width);
  EXPECT_EQ(saved.ImageDesc.Height, image.height);
  EXPECT_FALSE(saved.ImageDesc.Interlace);
  ASSERT_NE(file->SColorMap, nullptr);
  ASSERT_GT(file->SColorMap->ColorCount, image.highestColourIndex);
  for (int i = 0; i <= image.highestColourIndex; ++i) {
    EXPECT_EQ(file->SColorMap->Colors[i].Red, image.red[static_cast<std::size_t>(i)] & 0xFF);
    EXPECT_EQ(file->SColorMap->Colors[i].Green, image.green[static_cast<std::size_t>(i)] & 0xFF);
    EXPECT_EQ(file->SColorMap->Colors[i].Blue, image.blue[static_cast<std::size_t>(i)] & 0xFF);
  }
  const std::vector<std::uint8_t> decoded(saved.RasterBits, saved.RasterBits + image.pixels.size());
  EXPECT_EQ(decoded, image.pixels);
  DGifCloseFile(file, &error);
}

TEST(GifIndependentDecoder, GiflibReadsBackTheSameIndices) {
  ExpectGiflibReadsBack(*NoiseImage(800, 600, 3));
  ExpectGiflibReadsBack(*NoiseImage(1, 1, 4));
  ExpectGiflibReadsBack(*NoRepeatsImage(255));
  // Large flat areas and gradients, like a rendered frame.
  auto bands = GreyImage(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) bands->SetPixel(x, y, static_cast<std::uint8_t>(x < 320 ? 10 : (y / 40) + 100));
  ExpectGiflibReadsBack(*bands);
  // Three colours: a four-entry table and the code size of 2.
  auto small = GifImageCreate(37, 11);
  GifImageSetColor(*small, 2, 255, 0, 0);
  for (std::size_t i = 0; i < small->pixels.size(); ++i) small->pixels[i] = static_cast<std::uint8_t>(i % 3);
  ExpectGiflibReadsBack(*small);
}

}  // namespace
