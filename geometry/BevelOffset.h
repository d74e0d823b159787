// The two small constructions the bevel contours are made of, exposed so
// that they can be checked on their own: the offset of one contour vertex,
// and the crossing of two neighbouring offset rays.
#pragma once

#include "BoundRect.h"

// The point `distance` away from `current`, to the left of the direction of
// travel prev -> current -> next (x right, y up). For outer contours running
// clockwise and holes counter-clockwise that is away from the letter's
// material. Joins of 90 degrees or wider get the true miter point; sharper
// joins get a point on the bisector between 1.25 and about 1.41 times the
// distance away, so that a thin spike does not throw its offset far out.
CPoint2D MiterOffset(const CPoint2D& prev, const CPoint2D& current, const CPoint2D& next,
                     double distance);

// Where the ray p1 -> p2 crosses the ray p3 -> p4: `first` is the crossing's
// place along the first ray and `second` along the second, each in (0, 1);
// 1.0 for a ray that is not crossed within its length, and for rays that are
// parallel or nearly so.
struct RayCrossingFactors {
  double first = 1.0;
  double second = 1.0;
};
RayCrossingFactors RayCrossing(const CPoint2D& p1, const CPoint2D& p2, const CPoint2D& p3,
                               const CPoint2D& p4);
