// An adaptive palette for full-colour pictures that must become indexed
// ones (GIF): the colours of every picture are counted together, median cut
// chooses at most 256 colours for all of them, and error diffusion maps each
// picture onto that one palette. Colours that fill a large share of the
// pictures (a plain background) get entries of their own, so they come out
// exactly as they went in and carry no dither noise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct Rgb8 {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// How often each colour occurs over any number of pictures.
class ColourHistogram {
 public:
  // `rgb` holds `pixels` red, green, blue triples.
  void Add(const std::uint8_t* rgb, std::size_t pixels);
  std::size_t DistinctColours() const { return m_counts.size(); }
  std::uint64_t Total() const { return m_total; }
  const std::unordered_map<std::uint32_t, std::uint64_t>& Counts() const { return m_counts; }

 private:
  std::unordered_map<std::uint32_t, std::uint64_t> m_counts;  // 0xRRGGBB -> pixels
  std::uint64_t m_total = 0;
};

// At most `maxColours` (1..256) colours for the counted pictures. Every
// colour when there are no more than that; otherwise each colour that covers
// at least 1/256 of all pixels keeps an exact entry (up to a quarter of the
// palette), and median cut divides the rest: the box with the most pixels
// and some spread is split at the pixel-weighted median of its longest
// side, and each box gives its weighted mean. Empty for an empty histogram.
std::vector<Rgb8> MedianCutPalette(const ColourHistogram& histogram, int maxColours);

// Maps full-colour pixels onto a fixed palette.
class PaletteMapper {
 public:
  explicit PaletteMapper(std::vector<Rgb8> palette);

  // The index of the palette colour nearest to the colour (squared RGB
  // distance); an exact palette colour always gives its own index.
  std::uint8_t Nearest(int red, int green, int blue);

  // Floyd-Steinberg error diffusion in serpentine order: `rgb` is width x
  // height triples, top row first; `indices` receives width x height bytes.
  // A pixel whose colour is in the palette and receives no error from its
  // neighbours maps to that colour exactly.
  void Diffuse(const std::uint8_t* rgb, int width, int height, std::uint8_t* indices);

  const std::vector<Rgb8>& Palette() const { return m_palette; }

 private:
  std::uint8_t Search(int red, int green, int blue) const;

  std::vector<Rgb8> m_palette;
  std::unordered_map<std::uint32_t, std::uint8_t> m_exact;
  // Nearest entry of each 6-6-6 colour cell, found when first asked; -1 not
  // yet known.
  std::vector<std::int16_t> m_cells;
};
