// Bevel contours: for every contour of a piece an offset contour with the same
// number of points, lying the bevel size outside the letter's material. The
// mesh bulges the side wall toward it. Offsets of neighbouring vertices that
// would overrun each other are pulled back to where their rays cross, and the
// pull-back fades out along the contour so the bevel stays smooth.
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "BevelOffset.h"
#include "Letter.h"
#include "LetterPiece.h"
#include "Text3D.h"

namespace {

// The thresholds are the single-precision values of 0.0001, 0.001 and 0.8:
// offsets computed in double must fall on the same side of them as they
// always have.
constexpr double kShortEdge = static_cast<double>(0.0001f);
constexpr double kStraightJoin = static_cast<double>(0.001f);
constexpr double kSharpJoinMinimum = static_cast<double>(0.8f);
constexpr double kParallelRays = static_cast<double>(0.0001f);

// Factors outside this range are not spread to the neighbours: a factor near
// 1 hardly shortens anything, one near 0 would give a zero spread scale.
constexpr double kSpreadLowest = 0.01;
constexpr double kSpreadHighest = 0.99;

double Distance(const CPoint2D& a, const CPoint2D& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Lowers t[k] of each pair of vertices whose offset rays cross to the
// crossing's place along that vertex's ray.
void ClipCrossingRays(const CContour& contour, const CContour& bevel, std::vector<double>& t) {
  const std::size_t n = contour.points.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t next = (k + 1) % n;
    const RayCrossingFactors f = RayCrossing(contour.points[k], bevel.points[k],
                                             contour.points[next], bevel.points[next]);
    if (f.first < t[k]) t[k] = f.first;
    if (f.second < t[next]) t[next] = f.second;
  }
}

// Walks from vertex `from` in one direction (step +1 or n-1 modulo n), giving
// each vertex passed a factor that grows back toward 1 with the distance
// walked along the contour; stops at the first vertex that is already short
// enough. The walk never passes more than the whole contour.
void SpreadOneWay(const CContour& contour, std::vector<double>& t, std::size_t from,
                  std::size_t step, double scale) {
  const std::size_t n = contour.points.size();
  const double factor = t[from];
  double walked = 0.0;
  std::size_t previous = from;
  for (std::size_t visited = 0; visited < n; ++visited) {
    const std::size_t m = (previous + step) % n;
    walked += Distance(contour.points[previous], contour.points[m]);
    const double candidate = (walked / scale + 1.0) * factor;
    if (t[m] <= candidate) return;
    t[m] = candidate;
    previous = m;
  }
}

// Spreads every shortening found by the ray crossings to the neighbouring
// vertices, in proportion to the distance walked relative to the piece's
// height, so the bevel does not jump in and out at a single vertex.
void SpreadShortening(const CContour& contour, double pieceHeight, std::vector<double>& t) {
  const std::size_t n = contour.points.size();
  const std::vector<double> crossed = t;
  for (std::size_t l = 0; l < n; ++l) {
    if (crossed[l] >= 1.0) continue;
    const double factor = t[l];
    if (factor < kSpreadLowest || factor > kSpreadHighest) continue;
    const double scale = pieceHeight / (1.0 - factor) * factor * 0.2;
    // A piece without height (or hand-made bounds) gives no usable scale; the
    // walk would otherwise compare against NaN and never stop.
    if (!(scale > 0.0) || !std::isfinite(scale)) continue;
    SpreadOneWay(contour, t, l, 1, scale);
    SpreadOneWay(contour, t, l, n - 1, scale);
  }
}

// Moves each bevel point toward its contour point by its factor. The bevel
// contour's bounds stay those of the unshortened offsets.
void Shorten(const CContour& contour, CContour& bevel, const std::vector<double>& t) {
  for (std::size_t k = 0; k < t.size(); ++k) {
    if (t[k] == 1.0) continue;
    const CPoint2D& from = contour.points[k];
    CPoint2D& to = bevel.points[k];
    to.x = from.x + t[k] * (to.x - from.x);
    to.y = from.y + t[k] * (to.y - from.y);
  }
}

std::unique_ptr<CContour> BuildOneBevelContour(const CContour& contour, double size,
                                               double pieceHeight) {
  const std::size_t n = contour.points.size();
  auto bevel = std::make_unique<CContour>();
  bevel->points.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    const CPoint2D& prev = contour.points[k == 0 ? n - 1 : k - 1];
    const CPoint2D& next = contour.points[k + 1 == n ? 0 : k + 1];
    bevel->Add(MiterOffset(prev, contour.points[k], next, size));
  }
  std::vector<double> t(n, 1.0);
  ClipCrossingRays(contour, *bevel, t);
  SpreadShortening(contour, pieceHeight, t);
  Shorten(contour, *bevel, t);
  return bevel;
}

}  // namespace

CPoint2D MiterOffset(const CPoint2D& prev, const CPoint2D& current, const CPoint2D& next,
                     double distance) {
  const double ax = prev.x - current.x, ay = prev.y - current.y;
  const double bx = next.x - current.x, by = next.y - current.y;
  const double aLength = std::hypot(ax, ay);
  const double bLength = std::hypot(bx, by);

  double ox = 0.0, oy = 0.0;
  if (aLength < kShortEdge && bLength < kShortEdge) {
    // Both neighbours coincide with the vertex: nothing to offset from.
  } else if (aLength < kShortEdge) {
    ox = -distance * by / bLength;
    oy = distance * bx / bLength;
  } else if (bLength < kShortEdge) {
    ox = distance * ay / aLength;
    oy = -distance * ax / aLength;
  } else {
    const double uax = ax / aLength, uay = ay / aLength;
    const double ubx = bx / bLength, uby = by / bLength;
    double c = uay * ubx - uax * uby;  // sine of the turn; its sign tells the side
    const double sx = uax + ubx, sy = uay + uby;  // along the bisector, into the join
    const double q = sx * sx + sy * sy;           // 2 at a right angle, 4 at a full spike
    if (q <= 2.0) {
      if (c >= kStraightJoin || c <= -kStraightJoin) {
        // The true miter point: `distance` from both edge lines.
        ox = distance / c * sx;
        oy = distance / c * sy;
      } else {
        // Nearly straight: the perpendicular of the incoming edge.
        ox = distance * uay;
        oy = -distance * uax;
      }
    } else if (c == 0.0) {
      // Both edges leave in exactly the same direction: the join has no side,
      // so take the perpendicular of the incoming edge as for a straight one.
      ox = distance * uay;
      oy = -distance * uax;
    } else {
      // Sharper than 90 degrees: limit the sine so the point stays on the
      // bisector at 1.25 to about 1.41 times the distance.
      if (c > 0.0 && c < kSharpJoinMinimum) c = kSharpJoinMinimum;
      if (c < 0.0 && c > -kSharpJoinMinimum) c = -kSharpJoinMinimum;
      ox = 2.0 * distance * sx / (c * q);
      oy = 2.0 * distance * sy / (c * q);
    }
  }
  return CPoint2D{current.x + ox, current.y + oy};
}

RayCrossingFactors RayCrossing(const CPoint2D& p1, const CPoint2D& p2, const CPoint2D& p3,
                               const CPoint2D& p4) {
  RayCrossingFactors result;
  const double d = (p4.y - p3.y) * (p2.x - p1.x) - (p4.x - p3.x) * (p2.y - p1.y);
  if (std::fabs(d) < kParallelRays) return result;
  const double u = ((p4.y - p3.y) * (p3.x - p1.x) + (p4.x - p3.x) * (p1.y - p3.y)) / d;
  const double v = ((p3.x - p1.x) * (p2.y - p1.y) + (p1.y - p3.y) * (p2.x - p1.x)) / d;
  if (u > 0.0 && u < 1.0) result.first = u;
  if (v > 0.0 && v < 1.0) result.second = v;
  return result;
}

void CLetterPiece::SetBevel(int steps, double size) {
  if (steps == bevelSteps && size == bevelSize) return;
  BuildBevelContours(steps != 0 ? size : 0.0);
  bevelSteps = steps;
  bevelSize = size;  // kept also for a straight side, so the shape can be switched back
}

void CLetterPiece::BuildBevelContours(double size) {
  bevelContours.clear();
  if (size == 0.0) return;
  const double pieceHeight = bounds.top - bounds.bottom;
  for (const auto& contour : contours) {
    // A contour without area ends the bevel of the whole piece; the mesh then
    // gives this piece a straight side.
    if (!contour || contour->points.size() < 3) break;
    bevelContours.push_back(BuildOneBevelContour(*contour, size, pieceHeight));
  }
}

void CLetter::SetBevel(int steps, double size) {
  for (auto& piece : pieces) piece->SetBevel(steps, size);
}

void CText3D::SetBevel(int steps, double size) {
  for (auto& letter : letters) letter.SetBevel(steps, size);
}
