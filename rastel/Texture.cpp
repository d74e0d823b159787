// Textured faces, drawn in blocks of 8 x 8 pixels: texture coordinates are
// computed exactly (perspective-correct) at the block corners and
// interpolated bilinearly inside. Each view keeps a block grid sized for it,
// set up when it is resized.
#include <cmath>

#include "RasterCore.h"

namespace rastel {
namespace {

constexpr int kBlock = 8;
constexpr int kTextureSize = 256;  // texels per side, repeating

// Per block row: the first and last block column holding any covered pixel
// (-1 when none), and per block its 8 mask bytes plus the texture position
// (texels, 10 fractional bits) at its lower left corner. There is one more
// row and one more column of corners than of blocks.
struct GridCell {
  std::int32_t u, v;
  std::uint8_t mask[kBlock];
};
struct GridSpan {
  std::int32_t first, last;
};

int GridColumns(int width) { return width / kBlock + 1; }
int GridRows(int height) { return (height + kBlock - 1) / kBlock + 1; }

// The view's grid storage seen as its spans and its cells.
class TextureGrid {
 public:
  TextureGrid(std::uint8_t* storage, int width, int height)
      : m_columns(GridColumns(width)),
        m_spans(reinterpret_cast<GridSpan*>(storage)),
        m_cells(reinterpret_cast<GridCell*>(storage + sizeof(GridSpan) * static_cast<std::size_t>(GridRows(height)))) {}
  int Columns() const { return m_columns; }
  GridSpan& Span(int row) { return m_spans[row]; }
  GridCell* Row(int row) { return m_cells + static_cast<std::ptrdiff_t>(row) * m_columns; }

 private:
  int m_columns;
  GridSpan* m_spans;
  GridCell* m_cells;
};

void Cross(const ClipVertex& a, const ClipVertex& b, float out[3]) {
  out[0] = a.y * b.z - a.z * b.y;
  out[1] = a.z * b.x - a.x * b.z;
  out[2] = a.x * b.y - a.y * b.x;
}

// Planes U, V, W such that for a camera-space point q of the face, U.q / W.q
// and V.q / W.q are its texture position in texels with 10 fractional bits.
struct TexturePlanes {
  float u[3], v[3], w[3];
};

TexturePlanes MakePlanes(const RasterCore& core) {
  const ClipVertex* list = core.vertices.Data() + core.listBase;
  const ClipVertex& p0 = list[core.texture.vertex[0]];
  const ClipVertex& p1 = list[core.texture.vertex[1]];
  const ClipVertex& p2 = list[core.texture.vertex[2]];
  float c0[3], c1[3], c2[3];  // opposite each vertex
  Cross(p2, p1, c0);
  Cross(p0, p2, c1);
  Cross(p1, p0, c2);
  const float* uv = core.texture.uv;
  const float su = static_cast<float>(core.material.texelsU);
  const float sv = static_cast<float>(core.material.texelsV);
  TexturePlanes planes;
  for (int i = 0; i < 3; ++i) {
    planes.u[i] = (uv[0] * c0[i] + uv[2] * c1[i] + uv[4] * c2[i]) * su;
    planes.v[i] = (uv[1] * c0[i] + uv[3] * c1[i] + uv[5] * c2[i]) * sv;
    planes.w[i] = (c0[i] + c1[i] + c2[i]) * (1.0f / 1024.0f);
  }
  return planes;
}

std::int32_t CornerValue(const float plane[3], const float w[3], float x, float y, float f) {
  const float den = w[0] * x + w[1] * y - f * w[2];
  if (den == 0) return 0;
  const float value = (plane[0] * x + plane[1] * y - f * plane[2]) / den;
  if (!(value == value)) return 0;
  if (value >= 2147483520.0f) return 2147483520;  // largest float below 2^31
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

// Bilinear interpolation in 32-bit fixed point: corner values are scaled by
// 2^14, so the texel index is bits 24..31, which also makes the texture
// repeat every 256 texels for free.
void DrawBlock(RasterCore& core, const GridCell& c00, const GridCell& c10, const GridCell& c01,
               const GridCell& c11, std::uint8_t* masks[kBlock], int bx, int by,
               std::uint16_t shade, bool transparent) {
  const std::uint16_t* texels = core.material.texture;
  auto u32 = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  for (int j = 0; j < kBlock; ++j) {
    std::uint8_t m = *masks[j];
    if (!m) continue;
    const std::uint32_t uj = (u32(c00.u) << 14) + u32(j) * ((u32(c01.u) - u32(c00.u)) << 11);
    const std::uint32_t vj = (u32(c00.v) << 14) + u32(j) * ((u32(c01.v) - u32(c00.v)) << 11);
    const std::uint32_t du = ((u32(c10.u) - u32(c00.u)) << 11) +
                             u32(j) * ((u32(c11.u) - u32(c10.u) - u32(c01.u) + u32(c00.u)) << 8);
    const std::uint32_t dv = ((u32(c10.v) - u32(c00.v)) << 11) +
                             u32(j) * ((u32(c11.v) - u32(c10.v) - u32(c01.v) + u32(c00.v)) << 8);
    std::uint16_t* px = core.colour + static_cast<std::ptrdiff_t>(kBlock * by + j) * core.stride + kBlock * bx;
    for (int i = 0; i < kBlock; ++i) {
      if (!(m >> i & 1)) continue;
      const std::uint32_t u = uj + u32(i) * du, v = vj + u32(i) * dv;
      const std::uint16_t texel = texels[(v >> 24) * kTextureSize + (u >> 24)];
      if (transparent && texel == 0) m = static_cast<std::uint8_t>(m & ~(1u << i));
      else px[i] = static_cast<std::uint16_t>(texel + shade);
    }
    *masks[j] = m;
  }
}

}  // namespace

std::size_t TextureGridBytes(int width, int height) {
  const auto rows = static_cast<std::size_t>(GridRows(height));
  return rows * sizeof(GridSpan) + rows * static_cast<std::size_t>(GridColumns(width)) * sizeof(GridCell);
}

bool TextureReady(const RasterCore& core) { return core.texture.on && core.textureGrid; }

void TextureFace(RasterCore& core, CoverageMask& mask, std::uint16_t shade, bool transparent) {
  // The view's width is its stride, its height the span of its rectangle.
  TextureGrid grid(core.textureGrid.get(), core.stride, core.top - core.bottom);
  const TexturePlanes planes = MakePlanes(core);
  const int by0 = mask.y0 / kBlock, by1 = (mask.y1 + kBlock - 1) / kBlock;
  const int bx0 = mask.x0 / kBlock, bx1 = mask.x1 / kBlock;

  // Whole blocks: the rows added below and above the mask hold nothing.
  for (int y = kBlock * by0; y < kBlock * by1; ++y) {
    if (y >= mask.y0 && y < mask.y1) continue;
    std::uint32_t* words = mask.Row(y);
    for (int w = mask.w0; w <= mask.w1; ++w) words[w] = 0;
  }

  for (int by = by0; by < by1; ++by) {
    GridSpan& span = grid.Span(by);
    GridCell* cells = grid.Row(by);
    span.first = span.last = -1;
    for (int bx = bx0; bx <= bx1; ++bx) {
      std::uint8_t any = 0;
      for (int j = 0; j < kBlock; ++j) any |= cells[bx].mask[j] = mask.RowBytes(kBlock * by + j)[bx];
      if (!any) continue;
      if (span.first < 0) span.first = bx;
      span.last = bx;
    }
  }

  // Corners: row cy serves the blocks of rows cy - 1 and cy.
  const float f = static_cast<float>(core.focal);
  for (int cy = by0; cy <= by1; ++cy) {
    int first = grid.Columns(), last = -1;
    for (int by = cy - 1; by <= cy; ++by) {
      if (by < by0 || by >= by1 || grid.Span(by).first < 0) continue;
      first = grid.Span(by).first < first ? grid.Span(by).first : first;
      last = grid.Span(by).last + 1 > last ? grid.Span(by).last + 1 : last;
    }
    const float y = static_cast<float>(core.bottom + kBlock * cy);
    GridCell* cells = grid.Row(cy);
    for (int cx = first; cx <= last; ++cx) {
      const float x = static_cast<float>(core.left + kBlock * cx);
      cells[cx].u = CornerValue(planes.u, planes.w, x, y, f);
      cells[cx].v = CornerValue(planes.v, planes.w, x, y, f);
    }
  }

  for (int by = by0; by < by1; ++by) {
    const GridSpan& span = grid.Span(by);
    if (span.first < 0) continue;
    const GridCell* row = grid.Row(by);
    const GridCell* above = grid.Row(by + 1);
    std::uint8_t* masks[kBlock];
    for (int bx = span.first; bx <= span.last; ++bx) {
      for (int j = 0; j < kBlock; ++j) masks[j] = mask.RowBytes(kBlock * by + j) + bx;
      DrawBlock(core, row[bx], row[bx + 1], above[bx], above[bx + 1], masks, bx, by, shade, transparent);
    }
  }
}

}  // namespace rastel
