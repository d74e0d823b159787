// The byte routines: everything that touches the colour and depth buffers
// walks a coverage mask row by row and byte by byte, and treats a byte as
// empty (8 pixels skipped), full (8 pixels at once) or mixed (bit by bit);
// or, for a face given as spans, walks each row's span 8 pixels at a time.
#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "RasterCore.h"

namespace rastel {
namespace {

// float -> 16.16 fixed point, truncated; arithmetic on the result wraps
// modulo 2^32. Values beyond any picture are clamped first so that the
// conversion stays defined; the conversion itself truncates (beyond the
// clamp every double is whole, so clamping first changes nothing).
std::uint32_t ToFixed(float value) {
  const double scaled = static_cast<double>(value) * 65536.0;
  if (!(scaled == scaled)) return 0;
  const double limit = 4611686018427387904.0;  // 2^62
  const double clamped = scaled > limit ? limit : scaled < -limit ? -limit : scaled;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(clamped));
}

std::uint16_t* ColourRow(RasterCore& core, int y) {
  return core.colour + static_cast<std::ptrdiff_t>(y) * core.stride;
}
std::uint16_t* DepthRow(RasterCore& core, int y) {
  return core.depth + static_cast<std::ptrdiff_t>(y) * core.stride;
}

}  // namespace

// Calls run(y, x, count) for every stretch of whole covered bytes and
// part(y, x, bits) for every mixed byte, so that wide spans of a row are
// written in one go.
template <class Run, class Part>
void ForEachSpan(const CoverageMask& mask, Run run, Part part) {
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  for (int y = mask.y0; y < mask.y1; ++y) {
    const std::uint8_t* bytes = mask.RowBytes(y);
    for (int b = b0; b <= b1;) {
      const std::uint8_t m = bytes[b];
      if (m == 0xFF) {
        int end = b + 1;
        while (end <= b1 && bytes[end] == 0xFF) ++end;
        run(y, 8 * b, 8 * (end - b));
        b = end;
        continue;
      }
      if (m) part(y, 8 * b, m);
      ++b;
    }
  }
}

void FillMask(RasterCore& core, CoverageMask& mask, std::uint16_t colour) {
  ForEachSpan(
      mask, [&](int y, int x, int count) { std::fill_n(ColourRow(core, y) + x, count, colour); },
      [&](int y, int x, std::uint8_t m) {
        std::uint16_t* px = ColourRow(core, y) + x;
        for (int i = 0; i < 8; ++i)
          if (m >> i & 1) px[i] = colour;
      });
}

namespace {

// `count` pixels from `out` on, a multiple of 8 pixels from a 16-byte
// boundary (the buffer comes from calloc, rows are whole mask bytes wide).
void FillColour(std::uint16_t* out, std::size_t count, std::uint16_t colour) {
#if defined(__SSE2__)
  const __m128i fill = _mm_set1_epi16(static_cast<short>(colour));
  auto* cells = reinterpret_cast<__m128i*>(out);
  std::size_t i = 0;
  for (; i + 32 <= count; i += 32, cells += 4) {
    _mm_store_si128(cells, fill);
    _mm_store_si128(cells + 1, fill);
    _mm_store_si128(cells + 2, fill);
    _mm_store_si128(cells + 3, fill);
  }
  std::fill_n(out + i, count - i, colour);
#else
  std::fill_n(out, count, colour);
#endif
}

}  // namespace

// The whole frame: the colour buffer in one pass, the depth buffer only
// over the rows drawn since it was last cleared (the rest already holds 0).
// Those rows are likely to be drawn again, so their colour and depth are
// cleared last and are still in the cache when the faces come.
void ClearBuffers(RasterCore& core, std::size_t pixels, std::uint16_t colour) {
  const auto stride = static_cast<std::size_t>(core.stride);
  std::size_t from = pixels, to = pixels;  // the drawn rows as pixels
  if (core.depthRowsFrom < core.depthRowsTo) {
    from = stride * static_cast<std::size_t>(core.depthRowsFrom);
    to = stride * static_cast<std::size_t>(core.depthRowsTo);
  }
  FillColour(core.colour, from, colour);
  FillColour(core.colour + to, pixels - to, colour);
  std::memset(core.depth + from, 0, (to - from) * sizeof(std::uint16_t));
  FillColour(core.colour + from, to - from, colour);
  core.depthRowsFrom = core.depthRowsTo = 0;
}

DepthPlane MakeDepthPlane(const RasterCore& core, int x0, int y0, const float plane[3]) {
  DepthPlane depth;
  depth.column = x0 / 8 * 8;
  depth.row = y0;
  const float x = static_cast<float>(depth.column + core.left);
  const float y = static_cast<float>(depth.row + core.bottom);
  depth.columnStep = ToFixed(core.depthScale * plane[0]);
  depth.rowStep = ToFixed(core.depthScale * plane[1]);
  depth.start = ToFixed(core.depthScale * (plane[0] * x + plane[1] * y) - core.depthOffset * plane[2]);
  return depth;
}

namespace {

#if defined(__SSE2__)

// Eight pixels of a mask byte at a time. Depths are compared as signed
// 16-bit values offset by 0x8000 (SSE2 has no unsigned 16-bit compare). A
// 16.16 value v offset by 2^31 (modulo 2^32) and shifted right 16 places
// with its sign gives (v >> 16) - 0x8000, which packs into 16 bits exactly;
// the offset is folded into the lanes' first values.
struct EightPixels {
  __m128i bits = _mm_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128);
  __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
  __m128i lanes;  // 2^31 + columnStep * (0, 1, 2, 3), modulo 2^32
  __m128i four;   // columnStep * 4

  explicit EightPixels(std::uint32_t columnStep) {
    const std::uint32_t offset = 0x80000000u;
    lanes = _mm_setr_epi32(static_cast<int>(offset), static_cast<int>(offset + columnStep),
                           static_cast<int>(offset + 2 * columnStep), static_cast<int>(offset + 3 * columnStep));
    four = _mm_set1_epi32(static_cast<int>(4 * columnStep));
  }
  // All-ones lanes for the set bits of m.
  __m128i Lanes(std::uint8_t m) const {
    return _mm_cmpeq_epi16(_mm_and_si128(_mm_set1_epi16(m), bits), bits);
  }
  // The offset 16.16 values of the first four of 8 pixels from `value` on.
  __m128i Start(std::uint32_t value) const {
    return _mm_add_epi32(_mm_set1_epi32(static_cast<int>(value)), lanes);
  }
  // The depths of 8 pixels, offset by 0x8000, from Start's lanes.
  __m128i Depths(__m128i start) const {
    return _mm_packs_epi32(_mm_srai_epi32(start, 16), _mm_srai_epi32(_mm_add_epi32(start, four), 16));
  }
  __m128i Depths(std::uint32_t value) const { return Depths(Start(value)); }
  static std::uint8_t Bits(__m128i lanes16) {
    return static_cast<std::uint8_t>(_mm_movemask_epi8(_mm_packs_epi16(lanes16, _mm_setzero_si128())));
  }
  static __m128i Blend(__m128i keep, __m128i a, __m128i b) {  // keep ? a : b
    return _mm_or_si128(_mm_and_si128(keep, a), _mm_andnot_si128(keep, b));
  }
};

// mode: 0 write, 1 test and write, 2 test only, 3 test and write then fill
template <int kMode>
void DepthPass(RasterCore& core, CoverageMask& mask, const DepthPlane& plane, std::uint16_t colour) {
  if constexpr (kMode != 2) core.MarkDepthRows(mask.y0, mask.y1);
  const EightPixels eight(plane.columnStep);
  const __m128i fill = _mm_set1_epi16(static_cast<short>(colour));
  const __m128i all = _mm_set1_epi32(-1);
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  const std::uint32_t byteStep = 8 * plane.columnStep;
  for (int y = mask.y0; y < mask.y1; ++y) {
    std::uint8_t* bytes = mask.RowBytes(y);
    std::uint16_t* row = DepthRow(core, y);
    std::uint16_t* colours = ColourRow(core, y);
    std::uint32_t value = plane.At(8 * b0, y);
    for (int b = b0; b <= b1; ++b, value += byteStep) {
      const std::uint8_t m = bytes[b];
      if (m == 0) continue;
      auto* cells = reinterpret_cast<__m128i*>(row + 8 * b);
      const __m128i z = eight.Depths(value);
      const __m128i covered = m == 0xFF ? all : eight.Lanes(m);
      if constexpr (kMode == 0) {
        _mm_storeu_si128(cells, EightPixels::Blend(covered, _mm_xor_si128(z, eight.bias), _mm_loadu_si128(cells)));
        continue;
      } else if constexpr (kMode == 3) {
        // the mask is not needed after this pass: it is left as it was
        const __m128i old = _mm_loadu_si128(cells);
        const __m128i keep = _mm_and_si128(covered, _mm_cmpgt_epi16(z, _mm_xor_si128(old, eight.bias)));
        const int kept = _mm_movemask_epi8(keep);
        if (kept == 0) continue;
        _mm_storeu_si128(cells, EightPixels::Blend(keep, _mm_xor_si128(z, eight.bias), old));
        auto* px = reinterpret_cast<__m128i*>(colours + 8 * b);
        if (kept == 0xFFFF) _mm_storeu_si128(px, fill);
        else _mm_storeu_si128(px, EightPixels::Blend(keep, fill, _mm_loadu_si128(px)));
      } else {
        const __m128i old = _mm_loadu_si128(cells);
        const __m128i keep = _mm_and_si128(covered, _mm_cmpgt_epi16(z, _mm_xor_si128(old, eight.bias)));
        const std::uint8_t kept = EightPixels::Bits(keep);
        bytes[b] = kept;
        if constexpr (kMode != 2) {
          if (kept) _mm_storeu_si128(cells, EightPixels::Blend(keep, _mm_xor_si128(z, eight.bias), old));
        }
      }
    }
  }
}

// Rows of spans, 8 pixels (one 8-aligned group) at a time, as DepthPass<3>
// treats a mask byte. A group's covered lanes come from comparing its
// columns with the span's ends, and both buffers are written back whether
// or not a pixel passed (an unchanged lane gets its old value), so that a
// short span costs no branches that depend on the picture.
void FillSpans(RasterCore& core, const SpanRows& spans, const DepthPlane& plane, std::uint16_t colour) {
  core.MarkDepthRows(spans.y0, spans.y1);
  const EightPixels eight(plane.columnStep);
  const __m128i fill = _mm_set1_epi16(static_cast<short>(colour));
  const __m128i lane = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
  const __m128i eightColumns = _mm_set1_epi16(8);
  const __m128i groupStep = _mm_set1_epi32(static_cast<int>(8 * plane.columnStep));
  // Everything the rows need in locals: the stores below may alias any of it.
  const int* const first = spans.first;
  const int* const second = spans.second;
  const int y1 = spans.y1;
  const std::ptrdiff_t stride = core.stride;
  std::uint16_t* depthRow = DepthRow(core, spans.y0);
  std::uint16_t* colourRow = ColourRow(core, spans.y0);
  const std::uint32_t columnStep = plane.columnStep, rowStep = plane.rowStep;
  const int column0 = plane.column;
  std::uint32_t rowValue = plane.At(plane.column, spans.y0);  // at the anchor column
  for (int y = spans.y0; y < y1; ++y, depthRow += stride, colourRow += stride, rowValue += rowStep) {
    int begin = first[y], end = second[y];
    if (begin > end) std::swap(begin, end);
    if (begin == end) continue;
    const int g0 = begin >> 3, g1 = (end - 1) >> 3;
    std::uint16_t* cells = depthRow + 8 * g0;
    std::uint16_t* px = colourRow + 8 * g0;
    __m128i values = eight.Start(rowValue + static_cast<std::uint32_t>(8 * g0 - column0) * columnStep);
    // columns fit in 16 bits: the view is at most 4096 wide
    const __m128i low = _mm_set1_epi16(static_cast<short>(begin - 1));
    const __m128i high = _mm_set1_epi16(static_cast<short>(end));
    __m128i column = _mm_add_epi16(_mm_set1_epi16(static_cast<short>(8 * g0)), lane);
    for (int g = g0; g <= g1; ++g, cells += 8, px += 8) {
      const __m128i covered = _mm_and_si128(_mm_cmpgt_epi16(column, low), _mm_cmpgt_epi16(high, column));
      column = _mm_add_epi16(column, eightColumns);
      const __m128i z = eight.Depths(values);
      values = _mm_add_epi32(values, groupStep);
      auto* depthCells = reinterpret_cast<__m128i*>(cells);
      auto* colourCells = reinterpret_cast<__m128i*>(px);
      const __m128i old = _mm_loadu_si128(depthCells);
      const __m128i keep = _mm_and_si128(covered, _mm_cmpgt_epi16(z, _mm_xor_si128(old, eight.bias)));
      _mm_storeu_si128(depthCells, EightPixels::Blend(keep, _mm_xor_si128(z, eight.bias), old));
      _mm_storeu_si128(colourCells, EightPixels::Blend(keep, fill, _mm_loadu_si128(colourCells)));
    }
  }
}

#else

void FillSpans(RasterCore& core, const SpanRows& spans, const DepthPlane& plane, std::uint16_t colour) {
  core.MarkDepthRows(spans.y0, spans.y1);
  for (int y = spans.y0; y < spans.y1; ++y) {
    int begin = spans.first[y], end = spans.second[y];
    if (begin > end) std::swap(begin, end);
    std::uint16_t* cells = DepthRow(core, y);
    std::uint16_t* px = ColourRow(core, y);
    std::uint32_t value = plane.At(begin, y);
    for (int x = begin; x < end; ++x, value += plane.columnStep) {
      const auto z = static_cast<std::uint16_t>(value >> 16);
      if (z <= cells[x]) continue;
      cells[x] = z;
      px[x] = colour;
    }
  }
}

template <int kMode>
void DepthPass(RasterCore& core, CoverageMask& mask, const DepthPlane& plane, std::uint16_t colour) {
  if constexpr (kMode != 2) core.MarkDepthRows(mask.y0, mask.y1);
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  const std::uint32_t byteStep = 8 * plane.columnStep;
  for (int y = mask.y0; y < mask.y1; ++y) {
    std::uint8_t* bytes = mask.RowBytes(y);
    std::uint16_t* row = DepthRow(core, y);
    std::uint16_t* colours = ColourRow(core, y);
    std::uint32_t value = plane.At(8 * b0, y);
    for (int b = b0; b <= b1; ++b, value += byteStep) {
      const std::uint8_t m = bytes[b];
      if (m == 0) continue;
      std::uint16_t* cells = row + 8 * b;
      std::uint32_t v = value;
      std::uint8_t kept = m;
      for (int bit = 0; bit < 8; ++bit, v += plane.columnStep) {
        if (!(m >> bit & 1)) continue;
        const auto z = static_cast<std::uint16_t>(v >> 16);
        if (kMode != 0 && z <= cells[bit]) kept = static_cast<std::uint8_t>(kept & ~(1u << bit));
        else if (kMode != 2) cells[bit] = z;
        if (kMode == 3 && (kept >> bit & 1)) colours[8 * b + bit] = colour;
      }
      bytes[b] = kept;
    }
  }
}

#endif

}  // namespace

void WriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  DepthPass<0>(core, mask, plane, 0);
}

// Strictly nearer wins: of two faces at the same depth the first one drawn
// keeps the pixel.
void TestAndWriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  DepthPass<1>(core, mask, plane, 0);
}

void TestDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  DepthPass<2>(core, mask, plane, 0);
}

// The common case in one pass: an opaque face of one colour. The mask is
// spent: what it holds afterwards is not to be read.
void TestWriteDepthAndFill(RasterCore& core, CoverageMask& mask, const DepthPlane& plane,
                           std::uint16_t colour) {
  DepthPass<3>(core, mask, plane, colour);
}

// The same for a face given as spans, which need not be laid down as a mask.
void TestWriteDepthAndFillSpans(RasterCore& core, const SpanRows& spans, const DepthPlane& plane,
                                std::uint16_t colour) {
  FillSpans(core, spans, plane, colour);
}

}  // namespace rastel
