// The 256-entry palette and the colour conversions for the two libraries.
#include <gtest/gtest.h>

#include "CubePalette.h"

namespace {

TEST(CubePaletteLayout, StaticColoursAtBothEndsWithoutFlags) {
  const CubePalette palette(16);
  const auto& statics = StaticColours();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(palette[i].red, statics[i].red) << i;
    EXPECT_EQ(palette[i].flags, 0) << i;
    EXPECT_EQ(palette[246 + i].blue, statics[10 + i].blue) << i;
    EXPECT_EQ(palette[246 + i].flags, 0) << i;
  }
  // The well-known ends of the static set: black first, white last.
  EXPECT_EQ(palette[0].red + palette[0].green + palette[0].blue, 0);
  EXPECT_EQ(palette[255].red & palette[255].green & palette[255].blue, 255);
  EXPECT_EQ(palette[249].red, 255);  // pure red among the upper ten
  EXPECT_EQ(palette[249].green, 0);
}

TEST(CubePaletteLayout, CubeOfFiftyStepsThenBlack) {
  const CubePalette palette(16);
  for (int j = 0; j < 6; ++j) {
    for (int k = 0; k < 6; ++k) {
      for (int l = 0; l < 6; ++l) {
        const int index = 10 + 36 * j + 6 * k + l;
        EXPECT_EQ(palette[index].red, 50 * j) << index;
        EXPECT_EQ(palette[index].green, 50 * k) << index;
        EXPECT_EQ(palette[index].blue, 50 * l) << index;
        EXPECT_EQ(palette[index].flags, kPaletteNoCollapse) << index;
      }
    }
  }
  EXPECT_EQ(CubePalette::CubeIndex(5, 5, 5), 225);
  for (int i = 226; i <= 245; ++i) {
    EXPECT_EQ(palette[i].red + palette[i].green + palette[i].blue, 0) << i;
  }
}

TEST(CubePaletteLayout, EightBitLibraryShowsItsOwnTable) {
  const CubePalette palette(8);
  const auto& table = EightBitColourTable();
  EXPECT_EQ(table[0].red + table[0].green + table[0].blue, 0);  // black first
  for (int i = 10; i <= 244; ++i) {
    EXPECT_EQ(palette[i].red, table[static_cast<std::size_t>(i - 10)].red) << i;
    EXPECT_EQ(palette[i].green, table[static_cast<std::size_t>(i - 10)].green) << i;
    EXPECT_EQ(palette[i].flags, kPaletteNoCollapse) << i;
  }
  EXPECT_EQ(palette[245].flags, kPaletteNoCollapse);
  EXPECT_EQ(palette[246].flags, 0);
}

TEST(ColourConversion, PixelFormat565KeepsTheTopBitsOfEachChannel) {
  EXPECT_EQ(PixelFormat565(0xFFFF00), 0x07FF);  // cyan: green and blue full
  EXPECT_EQ(PixelFormat565(0x0000FF), 0xF800);  // red
  EXPECT_EQ(PixelFormat565(0x00FF00), 0x07E0);  // green
  EXPECT_EQ(PixelFormat565(0xFF0000), 0x001F);  // blue
  EXPECT_EQ(PixelFormat565(0xFFFFFF), 0xFFFF);
  EXPECT_EQ(PixelFormat565(0x070307), 0x0000);  // below one step in every channel
  EXPECT_EQ(PixelFormat565(0xFF000000), 0x0000);  // the top byte is not a colour
}

TEST(ColourConversion, ShadeBaseHalvesAndLifts) {
  EXPECT_EQ(ShadeBaseColour(0x0000FF), 0x20209Fu);  // red 255 -> 159, others 32
  EXPECT_EQ(ShadeBaseColour(0x000000), 0x202020u);
  EXPECT_EQ(ShadeBaseColour(0xFFFFFF), 0x9F9F9Fu);
  // The material colour of the default red letters for the 16-bit library.
  EXPECT_EQ(PixelFormat565(ShadeBaseColour(255)), 0x9904);
}

TEST(ColourConversion, Expand565ReachesFullIntensity) {
  const RgbColour white = Expand565(0xFFFF);
  EXPECT_EQ(white.red, 255);
  EXPECT_EQ(white.green, 255);
  EXPECT_EQ(white.blue, 255);
  const RgbColour cyan = Expand565(0x07FF);
  EXPECT_EQ(cyan.red, 0);
  EXPECT_EQ(cyan.green, 255);
  EXPECT_EQ(cyan.blue, 255);
  EXPECT_EQ(Expand565(0x8000).red, 132);  // 10000b -> 10000100b
}

TEST(ColourConversion, NearestColourOfTheEightBitTable) {
  const auto& table = EightBitColourTable();
  // Every table colour finds itself, or an earlier entry of the same colour.
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::uint32_t colour = table[i].red | (table[i].green << 8) | (table[i].blue << 16);
    const int index = NearestColourIndex(colour) - 10;
    ASSERT_GE(index, 0);
    ASSERT_LE(static_cast<std::size_t>(index), i);
    EXPECT_EQ(table[static_cast<std::size_t>(index)].red, table[i].red);
    EXPECT_EQ(table[static_cast<std::size_t>(index)].blue, table[i].blue);
  }
  EXPECT_EQ(NearestColourIndex(0x000000), 10);
  // Off-table colours land on a neighbour no farther than any other entry.
  for (std::uint32_t colour : {0x123456u, 0xFEFEFDu, 0x808080u, 0x0000F0u}) {
    const int index = NearestColourIndex(colour) - 10;
    const auto distance = [&](const RgbColour& c) {
      const int dr = static_cast<int>(colour & 0xFF) - c.red;
      const int dg = static_cast<int>((colour >> 8) & 0xFF) - c.green;
      const int db = static_cast<int>((colour >> 16) & 0xFF) - c.blue;
      return dr * dr + dg * dg + db * db;
    };
    const int found = distance(table[static_cast<std::size_t>(index)]);
    for (std::size_t i = 0; i < table.size(); ++i) {
      EXPECT_LE(found, distance(table[i])) << std::hex << colour << " entry " << std::dec << i;
      if (static_cast<int>(i) < index) {
        EXPECT_LT(found, distance(table[i]));  // the first of equals wins
      }
    }
  }
  // Palette entry 245 keeps the display's colour, so nothing converts to it.
  for (std::uint32_t grey = 0; grey < 256; grey += 5) {
    EXPECT_LT(NearestColourIndex(grey | (grey << 8) | (grey << 16)), 245) << grey;
  }
}

}  // namespace
