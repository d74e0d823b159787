// An indexed picture with its colour table, filled by the caller and written
// as a GIF file by WriteGifStream. One lives only for one save.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct GifImage {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // Largest index set in the colour table; decides the bits per pixel.
  int highestColourIndex = 0;
  std::array<int, 256> red{};
  std::array<int, 256> green{};
  std::array<int, 256> blue{};
  // Palette indices, the top row first, each row left to right.
  std::vector<std::uint8_t> pixels;

  std::uint8_t Pixel(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  void SetPixel(int x, int y, std::uint8_t index) {
    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x)] = index;
  }
};

// The largest width or height a GIF can state (16-bit fields).
constexpr int kGifMaxDimension = 65535;

// A new image, all pixels 0, highest colour index 0; null when the size is
// not a positive GIF size or the memory cannot be had.
std::unique_ptr<GifImage> GifImageCreate(int width, int height);

// Sets colour table entry `index` (below 256) and raises the highest colour
// index to it; returns 1. An index outside 0..255 changes nothing and
// returns 0.
int GifImageSetColor(GifImage& image, int index, int red, int green, int blue);

// Frees the image; the same as letting the pointer go out of scope.
void GifImageFree(std::unique_ptr<GifImage> image);
