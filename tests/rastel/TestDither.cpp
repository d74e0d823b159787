// 16-bit pictures to colour-cube indices with the 4 x 4 ordered dither.
#include <cstring>

#include "RastelFixture.h"

namespace {

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// The index of one pixel, straight from its definition.
int CubeIndex(std::uint16_t pixel, int x, int y) {
  const int r = pixel >> 11, g = pixel >> 5 & 63, b = pixel & 31;
  const int R = (5 * r + 2 * kBayer[y % 4][x % 4]) / 32;
  const int G = (5 * g + 4 * kBayer[(y + 1) % 4][x % 4]) / 64;
  const int B = (5 * b + 2 * kBayer[y % 4][(x + 1) % 4]) / 64;
  return 10 + 36 * R + 6 * G + 2 * B;
}

std::vector<std::uint8_t> Dither(const std::vector<std::uint16_t>& picture, int w, int h) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h);
  Rastel().Dither(out.data(), picture.data(), w, h);
  return out;
}

void ExpectFollowsTheFormula(const std::vector<std::uint16_t>& picture, int w, int h) {
  const std::vector<std::uint8_t> out = Dither(picture, w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(out[y * w + x], CubeIndex(picture[y * w + x], x, y))
          << w << "x" << h << ": pixel 0x" << std::hex << picture[y * w + x] << std::dec << " at " << x << ","
          << y;
}

}  // namespace

TEST(Dither, EveryPixelValueAtEveryPositionFollowsTheFormula) {
  ASSERT_TRUE(Rastel().Complete());
  // 65536 values in a picture 256 wide, so that each value meets every
  // column phase; shifted rows put each at every row phase too.
  const int w = 256, h = 256;
  for (int shift = 0; shift < 4; ++shift) {
    std::vector<std::uint16_t> picture(w * h);
    for (int i = 0; i < w * h; ++i) picture[i] = static_cast<std::uint16_t>(i + shift * w);
    ExpectFollowsTheFormula(picture, w, h);
  }
}

TEST(Dither, WidthsNotAMultipleOfFourAreConvertedWhole) {
  for (const auto& [w, h] : {std::pair{6, 3}, std::pair{1, 5}, std::pair{13, 2}}) {
    std::vector<std::uint16_t> picture(w * h);
    for (int i = 0; i < w * h; ++i) picture[i] = static_cast<std::uint16_t>(0x1111 * (i + 1));
    ExpectFollowsTheFormula(picture, w, h);
  }
}

TEST(Dither, KnownColours) {
  const int w = 8, h = 4;
  auto fill = [&](std::uint16_t c) { return Dither(std::vector<std::uint16_t>(w * h, c), w, h); };
  for (std::uint8_t index : fill(0x0000)) EXPECT_EQ(index, 10);
  for (std::uint8_t index : fill(0x001F)) EXPECT_EQ(index, 14);  // blue never reaches full
  const std::vector<std::uint8_t> white = fill(0xFFFF);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool redDown = (y == 0 && (x % 4 == 0 || x % 4 == 2)) || (y == 2 && x % 4 == 2);
      const bool greenDown = (y == 1 && x % 4 == 2) || (y == 3 && x % 4 == 0);
      EXPECT_EQ(white[y * w + x], redDown ? 188 : greenDown ? 218 : 224) << x << "," << y;
    }
  const std::vector<std::uint8_t> red = fill(0xF800);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      EXPECT_EQ(red[y * w + x], kBayer[y][x % 4] <= 2 ? 154 : 190) << x << "," << y;
}

TEST(Dither, InPlaceGivesTheSameBytes) {
  const int w = 24, h = 7;
  std::vector<std::uint16_t> picture(w * h);
  for (int i = 0; i < w * h; ++i) picture[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
  const std::vector<std::uint8_t> separate = Dither(picture, w, h);
  std::vector<std::uint16_t> buffer = picture;
  Rastel().Dither(buffer.data(), buffer.data(), w, h);
  EXPECT_EQ(std::memcmp(buffer.data(), separate.data(), separate.size()), 0);
}

TEST(Dither, NothingHappensWithoutAPicture) {
  std::uint8_t out[4] = {1, 2, 3, 4};
  const std::uint16_t in[4] = {0, 0, 0, 0};
  Rastel().Dither(nullptr, in, 4, 1);
  Rastel().Dither(out, nullptr, 4, 1);
  Rastel().Dither(out, in, 0, 1);
  Rastel().Dither(out, in, 4, -1);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[3], 4);
}

// Rows are converted many pixels at a time with the rest one by one; every
// width splits them differently, and converting in place must give the same
// bytes whatever the split.
TEST(Dither, EveryWidthFollowsTheFormulaAlsoInPlace) {
  for (int w = 1; w <= 70; ++w) {
    const int h = 5;
    std::vector<std::uint16_t> picture(w * h);
    for (int i = 0; i < w * h; ++i) picture[i] = static_cast<std::uint16_t>((i + w) * 2654435761u >> 11);
    ExpectFollowsTheFormula(picture, w, h);
    std::vector<std::uint16_t> buffer = picture;
    Rastel().Dither(buffer.data(), buffer.data(), w, h);
    const std::vector<std::uint8_t> separate = Dither(picture, w, h);
    ASSERT_EQ(std::memcmp(buffer.data(), separate.data(), separate.size()), 0) << "width " << w;
  }
}
