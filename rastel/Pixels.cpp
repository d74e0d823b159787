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

namespace {

// Walks the covered pixels with their depth in fixed point, stepping along
// each row; keep(cell, z) decides whether a pixel stays in the mask.
template <class Keep>
void ForEachDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane, Keep keep) {
  const int b0 = mask.x0 / 8, b1 = mask.x1 / 8;
  const std::uint32_t byteStep = 8 * plane.columnStep;
  for (int y = mask.y0; y < mask.y1; ++y) {
    std::uint8_t* bytes = mask.RowBytes(y);
    std::uint16_t* row = DepthRow(core, y);
    std::uint32_t value = plane.At(8 * b0, y);
    for (int b = b0; b <= b1; ++b, value += byteStep) {
      const std::uint8_t m = bytes[b];
      if (m == 0) continue;
      std::uint16_t* cells = row + 8 * b;
      std::uint32_t v = value;
      std::uint8_t kept = m;
      for (int bit = 0; bit < 8; ++bit, v += plane.columnStep)
        if ((m >> bit & 1) && !keep(cells[bit], static_cast<std::uint16_t>(v >> 16)))
          kept = static_cast<std::uint8_t>(kept & ~(1u << bit));
      bytes[b] = kept;
    }
  }
}

}  // namespace

void WriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachDepth(core, mask, plane, [](std::uint16_t& cell, std::uint16_t z) {
    cell = z;
    return true;
  });
}

// Strictly nearer wins: of two faces at the same depth the first one drawn
// keeps the pixel.
void TestAndWriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachDepth(core, mask, plane, [](std::uint16_t& cell, std::uint16_t z) {
    if (z <= cell) return false;
    cell = z;
    return true;
  });
}

void TestDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane) {
  ForEachDepth(core, mask, plane, [](std::uint16_t& cell, std::uint16_t z) { return z > cell; });
}

}  // namespace rastel
