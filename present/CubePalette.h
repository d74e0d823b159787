// The 256-colour palette of 8-bit pictures (dithered frames, saved GIFs, the
// 8-bit renderer library) and the conversions of a COLORREF into the
// renderer libraries' colour formats.
#pragma once

#include <array>
#include <cstdint>

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;  // kPaletteNoCollapse for the program's own entries
};

// The entry must get its own slot in a hardware palette and not be folded
// into an equal system colour.
constexpr std::uint8_t kPaletteNoCollapse = 0x04;

struct RgbColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

class CubePalette {
 public:
  static constexpr int kEntries = 256;
  // First index of the program's own colours; 0..9 and 246..255 are the
  // static colours every 256-colour display reserves.
  static constexpr int kFirstOwnEntry = 10;
  static constexpr int kEightBitTableSize = 236;

  // bitsPerPixel 16 (or 0): the 6 x 6 x 6 cube (50 j, 50 k, 50 l) in entries
  // 10..225, black in 226..245. bitsPerPixel 8: the 8-bit library's colour
  // table in entries 10..244, black in 245.
  explicit CubePalette(int bitsPerPixel = 16);

  const PaletteEntry& operator[](int index) const { return m_entries[static_cast<std::size_t>(index)]; }
  const std::array<PaletteEntry, kEntries>& Entries() const { return m_entries; }
  int BitsPerPixel() const { return m_bitsPerPixel; }

  // Palette index of a cube colour with levels 0..5 in red, green and blue.
  static constexpr int CubeIndex(int red, int green, int blue) {
    return kFirstOwnEntry + 36 * red + 6 * green + blue;
  }

 private:
  int m_bitsPerPixel;
  std::array<PaletteEntry, kEntries> m_entries{};
};

// The twenty static colours of a 256-colour display: [0..9] go to palette
// entries 0..9, [10..19] to entries 246..255.
const std::array<RgbColour, 20>& StaticColours();

// The colour table of the 8-bit renderer library: 236 colours, the first
// black, shown in palette entries 10 onward.
const std::array<RgbColour, CubePalette::kEightBitTableSize>& EightBitColourTable();

// COLORREF 0x00BBGGRR -> 5-6-5 pixel, the 16-bit library's colour format.
constexpr std::uint16_t PixelFormat565(std::uint32_t colour) {
  const std::uint32_t r = colour & 0xFF;
  const std::uint32_t g = (colour >> 8) & 0xFF;
  const std::uint32_t b = (colour >> 16) & 0xFF;
  return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// COLORREF -> palette index for the 8-bit library: 10 + the index of the
// nearest table colour by squared RGB distance; the first of equally near
// colours wins.
int NearestColourIndex(std::uint32_t colour);

// Each channel c of a COLORREF becomes c / 2 + 32: the darker, narrower range
// that leaves the renderer's shading room above and below a face colour.
constexpr std::uint32_t ShadeBaseColour(std::uint32_t colour) {
  const std::uint32_t r = (colour & 0xFF) / 2 + 32;
  const std::uint32_t g = ((colour >> 8) & 0xFF) / 2 + 32;
  const std::uint32_t b = ((colour >> 16) & 0xFF) / 2 + 32;
  return r | (g << 8) | (b << 16);
}

// 5-6-5 pixel -> 24-bit RGB, each channel widened by repeating its top bits
// so that full intensity stays 255.
constexpr RgbColour Expand565(std::uint16_t pixel) {
  const unsigned r = (pixel >> 11) & 0x1F;
  const unsigned g = (pixel >> 5) & 0x3F;
  const unsigned b = pixel & 0x1F;
  return {static_cast<std::uint8_t>((r << 3) | (r >> 2)), static_cast<std::uint8_t>((g << 2) | (g >> 4)),
          static_cast<std::uint8_t>((b << 3) | (b >> 2))};
}
