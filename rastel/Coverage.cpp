// Coverage masks: scan conversion of a projected contour, holes,
// compaction and stipple.
//
// A pixel is covered when its corner point (16x, 16y) in sixteenths lies
// inside the contour by the even-odd rule, with left and bottom edges
// inclusive and right and top edges exclusive. Each edge reports, for every
// row whose corner line it crosses, the first column at or right of the
// crossing. A closed contour crosses every corner line an even number of
// times, and the pixels of a row covered by the even-odd rule are those
// with an odd number of crossings at or left of them; so every crossing
// simply inverts its row from its column to the mask's right end, in
// whatever order the edges come. A contour that rises and falls only once
// has exactly two crossings in each row, and the pixels between them are
// the covered ones: such faces are given as spans instead of a mask.
#include "RasterCore.h"

namespace rastel {
namespace {

// Ceiling of num / den for den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return q * den < num ? q + 1 : q;
}

// Inverts columns from `column` to the end of word w1.
inline void InvertFrom(std::uint32_t* words, int column, int w1) {
  int w = column >> 5;
  if (w > w1) return;
  words[w] ^= ~0u << (column & 31);
  for (++w; w <= w1; ++w) words[w] = ~words[w];
}

// floor(num / den) for den > 0.
std::int64_t FloorDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return q * den > num ? q - 1 : q;
}

// Walks one edge from its lower to its upper end, one corner row at a time,
// and calls visit(row, column) with the first column at or right of the
// crossing, ceil(num / den) with num = 16 * x(16 row) * dy and den = 16 dy.
//
// The crossing is stepped in fixed point with 40 fraction bits, both its
// start and its step rounded down, so that the kept value a never exceeds
// the exact one v and falls short of it by less than one unit per row
// walked, under 2^13 units in all (a view is at most 4096 rows high). A
// crossing that is not a whole column lies at least 2^40 / den >= 2^20
// units above the whole column below it (den is at most 2^20: 16 times the
// view's height in sixteenths), so a lies within the same column interval
// (n - 1, n] as v and ceil(a) is exactly ceil(v).
//
// Sizes: projected points lie in [0, 2^16], so the start's part beyond the
// whole pixel of lower.sx, (sx % 16) dy + dx (16 row - sy), is below 2^21
// in size and the step 16 dx at most 2^20; shifted by 40 bits they stay
// below 2^61, and so do the columns and slope in fixed point.
template <class Visit>
void WalkRows(ScreenPoint lower, ScreenPoint upper, Visit visit) {
  const std::int64_t dy = upper.sy - lower.sy;
  const std::int64_t dx = upper.sx - lower.sx;
  const std::int64_t den = kSubPixel * dy;
  int row = static_cast<int>(CeilDiv(lower.sy, kSubPixel));
  const int endRow = static_cast<int>(CeilDiv(upper.sy, kSubPixel));
  if (row >= endRow) return;  // between two corner rows: crosses none
  static_assert(kSubPixel == 16, "a pixel's sixteenths are split off by shift and mask");
  constexpr int kFraction = 40;
  constexpr std::int64_t kOne = std::int64_t{1} << kFraction;
  // num = 16 (sx / 16) dy + part, the first term a whole number of columns
  const std::int64_t pixel = lower.sx >> 4, part = (lower.sx & 15) * dy + dx * (kSubPixel * row - lower.sy);
  std::int64_t at = pixel * kOne + FloorDiv(part * kOne, den);
  const std::int64_t slope = FloorDiv(dx * kSubPixel * kOne, den);
  for (; row < endRow; ++row, at += slope) visit(row, static_cast<int>((at + (kOne - 1)) >> kFraction));
}

void WalkEdge(CoverageMask& mask, const ClipVertex& a, const ClipVertex& b) {
  if (a.sy == b.sy) return;
  const int w1 = mask.w1;
  const ScreenPoint p{a.sx, a.sy}, q{b.sx, b.sy};
  WalkRows(a.sy < b.sy ? p : q, a.sy < b.sy ? q : p,
           [&mask, w1](int row, int column) { InvertFrom(mask.Row(row), column, w1); });
}

// The mask's bounding box of a projected contour: x1 < x0 or y1 <= y0 when
// no corner point can be inside.
struct Bounds {
  int x0, x1, y0, y1;
};

Bounds ContourBounds(Contour contour) {
  int minX = contour.head->sx, maxX = minX, minY = contour.head->sy, maxY = minY;
  const ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i, v = v->next) {
    minX = v->sx < minX ? v->sx : minX;
    maxX = v->sx > maxX ? v->sx : maxX;
    minY = v->sy < minY ? v->sy : minY;
    maxY = v->sy > maxY ? v->sy : maxY;
  }
  return {static_cast<int>(CeilDiv(minX, kSubPixel)), static_cast<int>(CeilDiv(maxX, kSubPixel)) - 1,
          static_cast<int>(CeilDiv(minY, kSubPixel)), static_cast<int>(CeilDiv(maxY, kSubPixel))};
}

}  // namespace

bool ScanConvert(Contour contour, CoverageMask& mask) {
  const Bounds box = ContourBounds(contour);
  mask.x0 = box.x0;
  mask.x1 = box.x1;
  mask.y0 = box.y0;
  mask.y1 = box.y1;
  // No corner column or no corner row inside: nothing can be covered.
  if (mask.x1 < mask.x0 || mask.y0 >= mask.y1) {
    mask.Clear();
    ReleaseContour(contour);
    return false;
  }
  mask.w0 = mask.x0 / 32;
  mask.w1 = mask.x1 / 32;

  const int w0 = mask.w0, w1 = mask.w1;
  for (int y = mask.y0; y < mask.y1; ++y) {
    std::uint32_t* words = mask.Row(y);
    for (int w = w0; w <= w1; ++w) words[w] = 0;
  }
  ClipVertex* a = contour.head;
  for (int i = 0; i < contour.count; ++i) {
    ClipVertex* b = a->next;
    WalkEdge(mask, *a, *b);
    a = b;
  }
  ReleaseContour(contour);
  return true;
}

// A contour whose edges, walked round, go up in one unbroken run and down in
// another (level edges aside) crosses every corner row between its lowest
// and highest point once going up and once going down: the edges going up
// share those rows out among themselves without overlap, and so do the
// edges going down. The two crossings of a row are the two inversions the
// mask would take, so the covered columns are the ones between them.
SpanScan ScanSpans(const ScreenPoint* points, int count, SpanRows& spans) {
  int turns = 0, firstRise = 0, lastRise = 0;
  int minX = points[0].sx, maxX = minX, minY = points[0].sy, maxY = minY;
  for (int i = 0; i < count; ++i) {
    const ScreenPoint p = points[i], q = points[i + 1 < count ? i + 1 : 0];
    minX = p.sx < minX ? p.sx : minX;
    maxX = p.sx > maxX ? p.sx : maxX;
    minY = p.sy < minY ? p.sy : minY;
    maxY = p.sy > maxY ? p.sy : maxY;
    const int rise = q.sy > p.sy ? 1 : q.sy < p.sy ? -1 : 0;
    if (rise == 0) continue;
    if (firstRise == 0) firstRise = rise;
    turns += lastRise != 0 && rise != lastRise;
    lastRise = rise;
  }
  turns += firstRise != lastRise;  // round from the last sloped edge to the first
  if (turns > 2) return SpanScan::kNotSpans;

  // the bounding box as ScanConvert finds it
  const int x0 = static_cast<int>(CeilDiv(minX, kSubPixel)), x1 = static_cast<int>(CeilDiv(maxX, kSubPixel)) - 1;
  const int y0 = static_cast<int>(CeilDiv(minY, kSubPixel)), y1 = static_cast<int>(CeilDiv(maxY, kSubPixel));
  if (x1 < x0 || y0 >= y1) return SpanScan::kEmpty;
  spans.x0 = x0;
  spans.y0 = y0;
  spans.y1 = y1;
  int* first = spans.first;
  int* second = spans.second;
  for (int i = 0; i < count; ++i) {
    const ScreenPoint p = points[i], q = points[i + 1 < count ? i + 1 : 0];
    if (p.sy < q.sy) WalkRows(p, q, [first](int row, int column) { first[row] = column; });
    else if (p.sy > q.sy) WalkRows(q, p, [second](int row, int column) { second[row] = column; });
  }
  return SpanScan::kDone;
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
