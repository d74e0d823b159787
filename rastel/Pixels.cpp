// The byte routines: everything that touches the colour and depth buffers
// walks a coverage mask row by row and byte by byte, and treats a byte as
// empty (8 pixels skipped), full (8 pixels at once) or mixed (bit by bit).
#include <algorithm>
#include <cmath>

#include "RasterCore.h"

namespace rastel {
namespace {

// float -> 16.16 fixed point, truncated; arithmetic on the result wraps
// modulo 2^32. Values beyond any picture are clamped first so that the
// conversion stays defined.
std::uint32_t ToFixed(float value) {
  const double scaled = std::trunc(static_cast<double>(value) * 65536.0);
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

// Calls visit(x, bit) for every covered pixel; visit returns false to drop
// the pixel from the mask. Whole bytes skip or pass without testing bits.
template <class Visit>
void ForEachCovered(CoverageMask& mask, Visit visit) {
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  for (int y = mask.y0; y < mask.y1; ++y) {
    std::uint8_t* bytes = mask.RowBytes(y);
    for (int b = b0; b <= b1; ++b) {
      const std::uint8_t m = bytes[b];
      if (m == 0) continue;
      std::uint8_t kept = m;
      for (int bit = 0; bit < 8; ++bit)
        if ((m >> bit & 1) && !visit(y, 8 * b + bit)) kept &= static_cast<std::uint8_t>(~(1u << bit));
      bytes[b] = kept;
    }
  }
}

}  // namespace

// Calls run(y, x, count) for every stretch of whole covered bytes and
// part(y, x, bits) for every mixed byte, so that wide spans of a row are
// written in one go.
template <class Run, class Part>
void ForEachSpan(const CoverageMask& mask, Run run, Part part) {
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  for (int y = mask.y0; y < mask.y1; ++y) {
    const std::uint8_t* bytes = reinterpret_cast<const std::uint8_t*>(mask.rows + static_cast<std::ptrdiff_t>(y) * kMaskRowWords);
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

void ClearDepth(RasterCore& core, CoverageMask& mask) {
  ForEachSpan(
      mask, [&](int y, int x, int count) { std::memset(DepthRow(core, y) + x, 0, count * sizeof(std::uint16_t)); },
      [&](int y, int x, std::uint8_t m) {
        std::uint16_t* px = DepthRow(core, y) + x;
        for (int i = 0; i < 8; ++i)
          if (m >> i & 1) px[i] = 0;
      });
}

DepthPlane MakeDepthPlane(const RasterCore& core, const CoverageMask& mask, const float plane[3]) {
  DepthPlane depth;
  depth.column = mask.x0 / 8 * 8;
  depth.row = mask.y0;
  const float x = static_cast<float>(depth.column + core.left);
  const float y = static_cast<float>(depth.row + core.bottom);
  depth.columnStep = ToFixed(core.depthScale * plane[0]);
  depth.rowStep = ToFixed(core.depthScale * plane[1]);
  depth.start = ToFixed(core.depthScale * (plane[0] * x + plane[1] * y) - core.depthOffset * plane[2]);
  return depth;
}

void WriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachCovered(mask, [&](int y, int x) {
    DepthRow(core, y)[x] = static_cast<std::uint16_t>(plane.At(x, y) >> 16);
    return true;
  });
}

// Strictly nearer wins: of two faces at the same depth the first one drawn
// keeps the pixel.
void TestAndWriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachCovered(mask, [&](int y, int x) {
    const std::uint16_t z = static_cast<std::uint16_t>(plane.At(x, y) >> 16);
    std::uint16_t& stored = DepthRow(core, y)[x];
    if (z <= stored) return false;
    stored = z;
    return true;
  });
}

void TestDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachCovered(mask, [&](int y, int x) {
    return static_cast<std::uint16_t>(plane.At(x, y) >> 16) > DepthRow(core, y)[x];
  });
}

}  // namespace rastel
