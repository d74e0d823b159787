// Small geometric predicates on contours, shared by the nesting and the
// bridging stages. All work on model units with y up.
#pragma once

#include "Contour.h"

// How two contours relate (Relation's answers).
enum ContourRelation : int {
  kFirstInsideSecond = 0,
  kSecondInsideFirst = 1,
  kDisjoint = 4,  // neither inside the other, or undecidable
};

// Even-odd test with a ray toward +x. A vertex at exactly the height of p
// counts as 0.0001 higher, so a ray through a vertex is counted once.
bool PointInContour(const CPoint2D& p, const CContour& contour);

// Compares bounds first, then tests only the first point of the candidate
// inner contour: contours of a glyph are taken not to cross. Contours whose
// bounds have no area relate to nothing.
int Relation(const CContour& a, const CContour& b);

// +1 for clockwise with y up, -1 for counter-clockwise, 0 for no area.
int Orientation(const CContour& contour);

// Reverses the point order in place; the bounds stay as they are.
void Reverse(CContour& contour);

// Whether the closed segments ab and cd meet; touching and collinear
// overlap count as meeting.
bool SegmentsIntersect(const CPoint2D& a, const CPoint2D& b, const CPoint2D& c, const CPoint2D& d);
