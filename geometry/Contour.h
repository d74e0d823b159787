// A closed polygon in model units. The closing edge from the last point back
// to the first is implied: the first point is never repeated at the end.
#pragma once

#include <cstddef>
#include <vector>

#include "BoundRect.h"

struct CContour {
  std::vector<CPoint2D> points;
  CBoundRect bounds;  // union of the points

  void Add(double x, double y) {
    points.push_back(CPoint2D{x, y});
    bounds.Union(x, y);
  }
  void Add(const CPoint2D& p) { Add(p.x, p.y); }
  std::size_t Size() const { return points.size(); }
  bool Empty() const { return points.empty(); }
};
