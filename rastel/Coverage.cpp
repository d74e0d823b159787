// Coverage masks: the rectangle that clears a frame, scan conversion of a
// projected contour, holes, compaction and stipple.
//
// A pixel is covered when its corner point (16x, 16y) in sixteenths lies
// inside the contour by the even-odd rule, with left and bottom edges
// inclusive and right and top edges exclusive. Each edge reports, for every
// row whose corner line it crosses, the first column at or right of the
// crossing; the per-row edge table pairs the crossings of a row as they
// come and inverts the span between them. Since the pixels between two
// crossings are "x >= a xor x >= b", any pairing gives the even-odd result.
#include "RasterCore.h"

namespace rastel {
namespace {

enum EdgeEntry : std::uint32_t {
  kColumnBits = 0xFFFF,
  kPending = 1u << 16,  // a crossing waits for its partner
  kWritten = 1u << 17,  // the row's words hold this contour's spans
};

// Ceiling of num / den for den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return q * den < num ? q + 1 : q;
}

// Bits of word w that fall in columns [a, b).
std::uint32_t SpanBits(int w, int a, int b) {
  const int lo = a > 32 * w ? a - 32 * w : 0;
  const int hi = b < 32 * w + 32 ? b - 32 * w : 32;
  if (hi <= lo) return 0;
  const std::uint32_t upto = hi == 32 ? ~0u : (1u << hi) - 1;
  return upto & ~((1u << lo) - 1);
}

void Crossing(CoverageMask& mask, std::uint32_t& entry, int row, int column) {
  if (!(entry & kPending)) {
    entry = (entry & kWritten) | kPending | static_cast<std::uint32_t>(column);
    return;
  }
  const int pending = static_cast<int>(entry & kColumnBits);
  const int a = column < pending ? column : pending;
  const int b = column < pending ? pending : column;
  std::uint32_t* words = mask.Row(row);
  if (!(entry & kWritten)) {
    for (int w = mask.w0; w <= mask.w1; ++w) words[w] = SpanBits(w, a, b);
  } else if (a < b) {
    for (int w = a / 32; w <= (b - 1) / 32; ++w) words[w] ^= SpanBits(w, a, b);
  }
  entry = kWritten;
}

// Walks one edge from its lower to its upper end, one corner row at a time;
// the crossing's x is kept exact as a whole part and a remainder.
void WalkEdge(CoverageMask& mask, std::uint32_t* table, const ClipVertex& a, const ClipVertex& b) {
  if (a.sy == b.sy) return;
  const ClipVertex& lower = a.sy < b.sy ? a : b;
  const ClipVertex& upper = a.sy < b.sy ? b : a;
  const std::int64_t dy = upper.sy - lower.sy;
  const std::int64_t dx = upper.sx - lower.sx;
  const std::int64_t den = kSubPixel * dy;
  int row = static_cast<int>(CeilDiv(lower.sy, kSubPixel));
  // The crossing column is ceil(num / den) with num = 16 * x(16 row) * dy;
  // it is kept as column * den - remainder, 0 <= remainder < den, and each
  // row adds a whole step and a remainder step.
  const std::int64_t num = static_cast<std::int64_t>(lower.sx) * dy + dx * (kSubPixel * row - lower.sy);
  const std::int64_t step = dx * kSubPixel;
  std::int64_t column = CeilDiv(num, den), remainder = column * den - num;
  const std::int64_t columnStep = CeilDiv(step, den), remainderStep = columnStep * den - step;
  for (; kSubPixel * row < upper.sy; ++row) {
    Crossing(mask, table[row], row, static_cast<int>(column));
    column += columnStep;
    remainder += remainderStep;
    if (remainder >= den) {
      remainder -= den;
      --column;
    }
  }
}

}  // namespace

void SetRectangle(CoverageMask& mask, int x0, int y0, int x1, int y1) {
  mask.x0 = x0;
  mask.x1 = x1 - 1;
  mask.w0 = x0 / 32;
  mask.w1 = mask.x1 >= 0 ? mask.x1 / 32 : -1;
  mask.y0 = y0;
  mask.y1 = y1;
  if (mask.w1 < mask.w0 || y0 >= y1) {
    mask.Clear();
    return;
  }
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* words = mask.Row(y);
    for (int w = mask.w0; w <= mask.w1; ++w) words[w] = SpanBits(w, x0, x1);
  }
}

bool ScanConvert(Contour contour, CoverageMask& mask) {
  int minX = contour.head->sx, maxX = minX, minY = contour.head->sy, maxY = minY;
  const ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i, v = v->next) {
    minX = v->sx < minX ? v->sx : minX;
    maxX = v->sx > maxX ? v->sx : maxX;
    minY = v->sy < minY ? v->sy : minY;
    maxY = v->sy > maxY ? v->sy : maxY;
  }
  mask.x0 = static_cast<int>(CeilDiv(minX, kSubPixel));
  mask.x1 = static_cast<int>(CeilDiv(maxX, kSubPixel)) - 1;
  mask.y0 = static_cast<int>(CeilDiv(minY, kSubPixel));
  mask.y1 = static_cast<int>(CeilDiv(maxY, kSubPixel));
  // No corner column or no corner row inside: nothing can be covered.
  if (mask.x1 < mask.x0 || mask.y0 >= mask.y1) {
    mask.Clear();
    ReleaseContour(contour);
    return false;
  }
  mask.w0 = mask.x0 / 32;
  mask.w1 = mask.x1 / 32;

  std::uint32_t* table = EdgeTable();
  for (int y = mask.y0; y < mask.y1; ++y) table[y] = 0;
  ClipVertex* a = contour.head;
  for (int i = 0; i < contour.count; ++i) {
    ClipVertex* b = a->next;
    WalkEdge(mask, table, *a, *b);
    a = b;
  }
  ReleaseContour(contour);
  return true;
}

void CutHole(CoverageMask& face, CoverageMask& hole) {
  const int y0 = face.y0 > hole.y0 ? face.y0 : hole.y0;
  const int y1 = face.y1 < hole.y1 ? face.y1 : hole.y1;
  const int w0 = face.w0 > hole.w0 ? face.w0 : hole.w0;
  const int w1 = face.w1 < hole.w1 ? face.w1 : hole.w1;
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* f = face.Row(y);
    const std::uint32_t* h = hole.Row(y);
    for (int w = w0; w <= w1; ++w) f[w] &= ~h[w];
  }
}

bool Compact(CoverageMask& mask) {
  auto rowEmpty = [&mask](int y) {
    const std::uint32_t* words = mask.Row(y);
    for (int w = mask.w0; w <= mask.w1; ++w)
      if (words[w]) return false;
    return true;
  };
  while (mask.y0 < mask.y1 && rowEmpty(mask.y0)) ++mask.y0;
  while (mask.y1 > mask.y0 && rowEmpty(mask.y1 - 1)) --mask.y1;
  if (mask.y0 >= mask.y1) {
    mask.Clear();
    return false;
  }
  return true;
}

// The pattern's byte for a row repeats across the row: pixel x keeps its
// coverage when bit x % 8 is set.
void ApplyStipple(CoverageMask& mask, const unsigned char* pattern) {
  for (int y = mask.y0; y < mask.y1; ++y) {
    const std::uint32_t keep = pattern[y % 8] * 0x01010101u;
    std::uint32_t* words = mask.Row(y);
    for (int w = mask.w0; w <= mask.w1; ++w) words[w] &= keep;
  }
}

}  // namespace rastel
