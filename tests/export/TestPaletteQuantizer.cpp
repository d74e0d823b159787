// The adaptive palette: flat colours come out exactly, few colours are kept
// as they are, and error diffusion keeps the average colour of shaded areas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "PaletteQuantizer.h"

namespace {

// Top `flatRows` rows of one colour, then a smooth three-channel ramp with
// far more than 256 colours.
std::vector<std::uint8_t> FlatOverRamp(Rgb8 flat, int width, int height, int flatRows) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (y < flatRows) {
        rgb.insert(rgb.end(), {flat.red, flat.green, flat.blue});
      } else {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(x * 255 / (width - 1)),
                               static_cast<std::uint8_t>((y - flatRows) * 255 / (height - flatRows - 1)),
                               static_cast<std::uint8_t>((x + y) * 3 % 256)});
      }
    }
  return rgb;
}

}  // namespace

TEST(PaletteQuantizer, FlatColoursStayExactBesideManyOthers) {
  const int width = 160, height = 120, flatRows = 40;
  for (const Rgb8 flat : {Rgb8{0, 255, 255}, Rgb8{255, 255, 255}, Rgb8{128, 128, 128}, Rgb8{0, 0, 0},
                          Rgb8{32, 32, 32}}) {
    SCOPED_TRACE(testing::Message() << int(flat.red) << "," << int(flat.green) << "," << int(flat.blue));
    const auto rgb = FlatOverRamp(flat, width, height, flatRows);
    ColourHistogram histogram;
    histogram.Add(rgb.data(), static_cast<std::size_t>(width * height));
    ASSERT_GT(histogram.DistinctColours(), 1000u);
    const auto palette = MedianCutPalette(histogram, 255);
    EXPECT_LE(palette.size(), 255u);
    EXPECT_NE(std::find(palette.begin(), palette.end(), flat), palette.end());

    PaletteMapper mapper(palette);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width * height));
    mapper.Diffuse(rgb.data(), width, height, indices.data());
    for (int i = 0; i < width * flatRows; ++i) ASSERT_EQ(palette[indices[static_cast<std::size_t>(i)]], flat) << i;

    // The ramp keeps its average colour: the diffused error cancels out.
    for (int c = 0; c < 3; ++c) {
      double in = 0, out = 0;
      for (int i = width * flatRows; i < width * height; ++i) {
        in += rgb[static_cast<std::size_t>(3 * i + c)];
        const Rgb8& p = palette[indices[static_cast<std::size_t>(i)]];
        out += c == 0 ? p.red : c == 1 ? p.green : p.blue;
      }
      const double pixels = width * (height - flatRows);
      EXPECT_NEAR(out / pixels, in / pixels, 1.0) << "channel " << c;
    }
  }
}

TEST(PaletteQuantizer, FewColoursAreKeptExactly) {
  const std::vector<std::uint8_t> rgb = {10, 20, 30, 10, 20, 30, 200, 0, 5, 0, 255, 255, 1, 2, 3, 200, 0, 5};
  ColourHistogram histogram;
  histogram.Add(rgb.data(), rgb.size() / 3);
  EXPECT_EQ(histogram.Total(), rgb.size() / 3);
  for (int limit : {4, 16, 256}) {
    const auto palette = MedianCutPalette(histogram, limit);
    EXPECT_EQ(palette.size(), 4u);
    PaletteMapper mapper(palette);
    std::vector<std::uint8_t> indices(rgb.size() / 3);
    mapper.Diffuse(rgb.data(), static_cast<int>(indices.size()), 1, indices.data());
    for (std::size_t i = 0; i < indices.size(); ++i)
      EXPECT_EQ(palette[indices[i]], (Rgb8{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}));
  }
  // Fewer entries than colours: at most that many, each one a mean of some.
  const auto two = MedianCutPalette(histogram, 2);
  EXPECT_EQ(two.size(), 2u);
  EXPECT_TRUE(MedianCutPalette(ColourHistogram{}, 256).empty());
}

TEST(PaletteQuantizer, NearestIsWithinACellOfTheTrueNearest) {
  std::vector<Rgb8> palette;
  for (int i = 0; i < 200; ++i)
    palette.push_back({static_cast<std::uint8_t>(i * 37 % 256), static_cast<std::uint8_t>(i * 91 % 256),
                       static_cast<std::uint8_t>(i * 53 % 256)});
  PaletteMapper mapper(palette);
  auto distance = [](const Rgb8& p, int r, int g, int b) {
    return (p.red - r) * (p.red - r) + (p.green - g) * (p.green - g) + (p.blue - b) * (p.blue - b);
  };
  for (std::size_t i = 0; i < palette.size(); ++i)
    EXPECT_EQ(palette[mapper.Nearest(palette[i].red, palette[i].green, palette[i].blue)], palette[i]);
  std::srand(3);
  for (int n = 0; n < 2000; ++n) {
    const int r = std::rand() % 256, g = std::rand() % 256, b = std::rand() % 256;
    int best = 1 << 30;
    for (const Rgb8& p : palette) best = std::min(best, distance(p, r, g, b));
    // The cell's centre lies within 2 of the colour in each channel, so the
    // chosen entry is at most that much further than the nearest.
    const double chosen = std::sqrt(distance(palette[mapper.Nearest(r, g, b)], r, g, b));
    EXPECT_LE(chosen, std::sqrt(best) + 2 * std::sqrt(3.0) * 2 + 1e-9);
  }
}
