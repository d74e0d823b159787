// 16-bit (5-6-5) pictures to 8-bit indices into the colour-cube palette
// with a 4 x 4 ordered (Bayer) dither:
//   index = 10 + 36 R + 6 G + 2 B, R and G in 0..5, B in 0..2,
//   R = (5 r + 2 M[y][x]) / 32, G = (5 g + 4 M[y+1][x]) / 64,
//   B = (5 b + 2 M[y][x+1]) / 64   (matrix indices mod 4).
// Blue has only three levels, so only the cube's even blue levels occur.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "RasterCore.h"

namespace rastel {
namespace {

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// The three channels of a pixel side by side in one word, far enough apart
// that scaling by 5 and adding the dither offsets cannot carry from one into
// the next: blue in bits 0-4, red in bits 11-15, green in bits 21-26.
constexpr std::uint32_t Spread(std::uint32_t pixel) {
  return (pixel & 0xF81Fu) | (pixel & 0x07E0u) << 16;
}

// Dither offsets of one position, in the same fields.
constexpr std::uint32_t Offsets(int y, int x) {
  return static_cast<std::uint32_t>(2 * kBayer[y % 4][(x + 1) % 4]) |
         static_cast<std::uint32_t>(2 * kBayer[y % 4][x % 4]) << 11 |
         static_cast<std::uint32_t>(4 * kBayer[(y + 1) % 4][x % 4]) << 21;
}

// Scaling by 5 and adding the offsets leaves each channel's level in the
// top bits of its field (blue at bit 6, red at 16, green at 27); one
// multiplication then gathers 2 B + 36 R + 6 G in bits 21..28, the other
// products landing below bit 21 or above bit 31.
std::uint32_t Index(std::uint32_t pixel, std::uint32_t offsets) {
  const std::uint64_t levels = ((Spread(pixel) * 5 + offsets) & 0x380701C0u) >> 6;
  constexpr std::uint64_t kWeights = (2ull << 21) + (36ull << 11) + 6ull;
  return 10 + static_cast<std::uint32_t>((levels * kWeights) >> 21 & 0xFF);
}

#if defined(__SSE2__)

// Sixteen pixels at a time in 16-bit lanes, straight from the formula: the
// dither offsets repeat every four columns, so one vector per channel
// serves a whole row.
struct RowOffsets {
  __m128i red, green, blue;
  explicit RowOffsets(int y) {
    alignas(16) std::int16_t r[8], g[8], b[8];
    for (int x = 0; x < 8; ++x) {
      r[x] = static_cast<std::int16_t>(2 * kBayer[y % 4][x % 4]);
      g[x] = static_cast<std::int16_t>(4 * kBayer[(y + 1) % 4][x % 4]);
      b[x] = static_cast<std::int16_t>(2 * kBayer[y % 4][(x + 1) % 4]);
    }
    red = _mm_load_si128(reinterpret_cast<const __m128i*>(r));
    green = _mm_load_si128(reinterpret_cast<const __m128i*>(g));
    blue = _mm_load_si128(reinterpret_cast<const __m128i*>(b));
  }
};

inline __m128i EightIndices(__m128i pixels, const RowOffsets& o) {
  const __m128i five = _mm_set1_epi16(5);
  const __m128i r = _mm_srli_epi16(pixels, 11);
  const __m128i g = _mm_and_si128(_mm_srli_epi16(pixels, 5), _mm_set1_epi16(63));
  const __m128i b = _mm_and_si128(pixels, _mm_set1_epi16(31));
  const __m128i R = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(r, five), o.red), 5);
  const __m128i G = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(g, five), o.green), 6);
  const __m128i B = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(b, five), o.blue), 6);
  __m128i index = _mm_add_epi16(_mm_mullo_epi16(R, _mm_set1_epi16(36)), _mm_mullo_epi16(G, _mm_set1_epi16(6)));
  index = _mm_add_epi16(index, _mm_add_epi16(B, B));
  return _mm_add_epi16(index, _mm_set1_epi16(10));
}

// Pixels [0, end) of a row, end a multiple of 16; both loads come before
// the store, so converting in place stays correct.
void DitherRow(unsigned char* target, const unsigned char* row, int end, int y) {
  const RowOffsets offsets(y);
  for (int x = 0; x < end; x += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * x + 16));
    const __m128i bytes = _mm_packus_epi16(EightIndices(a, offsets), EightIndices(b, offsets));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + x), bytes);
  }
}

#endif

}  // namespace
}  // namespace rastel

// Works forward through the picture; output byte i of a row never lies
// beyond input pixel i of that row, and every group of four pixels is read
// before its indices are written, so dst may equal src.
extern "C" RASTEL_API int MLDither(void* dst, const void* src, int width, int height) {
  using rastel::Index;
  if (!dst || !src || width <= 0 || height <= 0) return 0;
  auto* out = static_cast<unsigned char*>(dst);
  const auto* in = static_cast<const unsigned char*>(src);
#if defined(__SSE2__)
  const int wide = width / 16 * 16;
#else
  const int wide = 0;
#endif
  const int groups = width / 4;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t offsets[4] = {rastel::Offsets(y, 0), rastel::Offsets(y, 1),
                                      rastel::Offsets(y, 2), rastel::Offsets(y, 3)};
    const unsigned char* row = in + static_cast<std::ptrdiff_t>(y) * width * 2;
    unsigned char* target = out + static_cast<std::ptrdiff_t>(y) * width;
#if defined(__SSE2__)
    rastel::DitherRow(target, row, wide, y);
#endif
    for (int g = wide / 4; g < groups; ++g) {
      std::uint32_t pair[2];
      std::memcpy(pair, row + 8 * g, sizeof pair);
      const std::uint32_t word = Index(pair[0] & 0xFFFF, offsets[0]) |
                                 Index(pair[0] >> 16, offsets[1]) << 8 |
                                 Index(pair[1] & 0xFFFF, offsets[2]) << 16 |
                                 Index(pair[1] >> 16, offsets[3]) << 24;
      std::memcpy(target + 4 * g, &word, sizeof word);
    }
    // Views are multiples of 8 wide; any other width still gets its last
    // pixels converted rather than left as stale bytes.
    for (int x = 4 * groups; x < width; ++x) {
      std::uint16_t pixel;
      std::memcpy(&pixel, row + 2 * x, sizeof pixel);
      target[x] = static_cast<unsigned char>(Index(pixel, offsets[x % 4]));
    }
  }
  return 0;
}
