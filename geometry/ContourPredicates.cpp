// Point-in-polygon, nesting relation, orientation and segment crossing.
#include "ContourPredicates.h"

#include <algorithm>
#include <utility>

namespace {

// A vertex on the ray's own height is nudged up by this much.
constexpr double kVertexNudge = 0.0001;

bool BoundsWithin(const CBoundRect& inner, const CBoundRect& outer) {
  return inner.top <= outer.top && inner.bottom >= outer.bottom && inner.left >= outer.left &&
         inner.right <= outer.right;
}

double Cross(double ux, double uy, double wx, double wy) { return ux * wy - uy * wx; }

}  // namespace

bool PointInContour(const CPoint2D& p, const CContour& contour) {
  const std::size_t n = contour.Size();
  if (n == 0) return false;
  bool inside = false;
  for (std::size_t k = 0; k < n; ++k) {
    CPoint2D v0 = contour.points[k];
    CPoint2D v1 = contour.points[(k + 1) % n];
    if (v0.y == p.y) v0.y += kVertexNudge;
    if (v1.y == p.y) v1.y += kVertexNudge;
    if ((p.y < v0.y) != (p.y < v1.y) &&
        p.x - v1.x <= (p.y - v1.y) / (v0.y - v1.y) * (v0.x - v1.x)) {
      inside = !inside;
    }
  }
  return inside;
}

int Relation(const CContour& a, const CContour& b) {
  if (a.bounds.IsDegenerate() || b.bounds.IsDegenerate()) return kDisjoint;
  if (BoundsWithin(a.bounds, b.bounds)) {
    return PointInContour(a.points.front(), b) ? kFirstInsideSecond : kDisjoint;
  }
  if (BoundsWithin(b.bounds, a.bounds)) {
    return PointInContour(b.points.front(), a) ? kSecondInsideFirst : kDisjoint;
  }
  return kDisjoint;
}

int Orientation(const CContour& contour) {
  const std::size_t n = contour.Size();
  double sum = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    const CPoint2D& p = contour.points[k];
    const CPoint2D& q = contour.points[(k + 1) % n];
    sum += q.x * p.y - q.y * p.x;
  }
  return sum > 0.0 ? 1 : (sum < 0.0 ? -1 : 0);
}

void Reverse(CContour& contour) { std::reverse(contour.points.begin(), contour.points.end()); }

bool SegmentsIntersect(const CPoint2D& a, const CPoint2D& b, const CPoint2D& c, const CPoint2D& d) {
  if (std::max(a.x, b.x) < std::min(c.x, d.x) || std::min(a.x, b.x) > std::max(c.x, d.x) ||
      std::max(a.y, b.y) < std::min(c.y, d.y) || std::min(a.y, b.y) > std::max(c.y, d.y)) {
    return false;
  }
  const double abx = b.x - a.x, aby = b.y - a.y;
  if (Cross(abx, aby, c.x - a.x, c.y - a.y) * Cross(abx, aby, d.x - a.x, d.y - a.y) > 0.0) {
    return false;
  }
  const double cdx = d.x - c.x, cdy = d.y - c.y;
  if (Cross(cdx, cdy, a.x - c.x, a.y - c.y) * Cross(cdx, cdy, b.x - c.x, b.y - c.y) > 0.0) {
    return false;
  }
  return true;
}
