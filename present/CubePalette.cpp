// The colour cube palette and the colour conversions for the renderer.
#include "CubePalette.h"

namespace {

constexpr std::array<RgbColour, 20> kStaticColours = {{
    // entries 0..9
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {192, 220, 192},
    {166, 202, 240},
    // entries 246..255
    {255, 251, 240},
    {160, 160, 164},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

// The 8-bit library's table: black first, then a 6 x 6 x 6 cube in steps of
// 51 (0..255, black already given) and nineteen greys between the cube's grey
// levels, so that neutral colours keep a fine ramp. The last entry is black
// again: palette entry 245, where it would be shown, keeps the display's own
// colour, so no colour may be converted to it; a repeated black never wins
// over the first.
std::array<RgbColour, CubePalette::kEightBitTableSize> MakeEightBitTable() {
  std::array<RgbColour, CubePalette::kEightBitTableSize> table{};
  std::size_t n = 0;
  table[n++] = {0, 0, 0};
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        if (r == 0 && g == 0 && b == 0) continue;
        table[n++] = {static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                      static_cast<std::uint8_t>(51 * b)};
      }
    }
  }
  for (int k = 0; k < 19; ++k) {
    const auto grey = static_cast<std::uint8_t>(8 + 13 * k);  // 8..242, none on a cube level
    table[n++] = {grey, grey, grey};
  }
  table[n++] = {0, 0, 0};
  return table;
}

}  // namespace

const std::array<RgbColour, 20>& StaticColours() { return kStaticColours; }

const std::array<RgbColour, CubePalette::kEightBitTableSize>& EightBitColourTable() {
  static const auto table = MakeEightBitTable();
  return table;
}

CubePalette::CubePalette(int bitsPerPixel) : m_bitsPerPixel(bitsPerPixel) {
  // Entries 10..245 start black; the static colours take both ends.
  for (int i = 0; i < 10; ++i) {
    const RgbColour low = kStaticColours[static_cast<std::size_t>(i)];
    const RgbColour high = kStaticColours[static_cast<std::size_t>(10 + i)];
    m_entries[static_cast<std::size_t>(i)] = {low.red, low.green, low.blue, 0};
    m_entries[static_cast<std::size_t>(246 + i)] = {high.red, high.green, high.blue, 0};
  }
  if (bitsPerPixel == 8) {
    // The table's colours in 10..244; entry 245 is reserved like the rest of
    // the range but keeps the display's colour (black here).
    const auto& table = EightBitColourTable();
    for (int i = kFirstOwnEntry; i <= 244; ++i) {
      const RgbColour c = table[static_cast<std::size_t>(i - kFirstOwnEntry)];
      m_entries[static_cast<std::size_t>(i)] = {c.red, c.green, c.blue, kPaletteNoCollapse};
    }
    m_entries[245].flags = kPaletteNoCollapse;
    return;
  }
  for (int j = 0; j < 6; ++j) {
    for (int k = 0; k < 6; ++k) {
      for (int l = 0; l < 6; ++l) {
        m_entries[static_cast<std::size_t>(CubeIndex(j, k, l))] = {
            static_cast<std::uint8_t>(50 * j), static_cast<std::uint8_t>(50 * k),
            static_cast<std::uint8_t>(50 * l), kPaletteNoCollapse};
      }
    }
  }
}

int NearestColourIndex(std::uint32_t colour) {
  const int r = static_cast<int>(colour & 0xFF);
  const int g = static_cast<int>((colour >> 8) & 0xFF);
  const int b = static_cast<int>((colour >> 16) & 0xFF);
  const auto& table = EightBitColourTable();
  int best = 0;
  int bestDistance = -1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const int dr = r - table[i].red;
    const int dg = g - table[i].green;
    const int db = b - table[i].blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return CubePalette::kFirstOwnEntry + best;
}
