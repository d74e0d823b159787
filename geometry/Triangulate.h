// Triangulation of a polygon with holes by ear clipping: the holes are first
// joined to the outer ring by bridges to visible outer points, then ears are
// cut off one by one. Every input point that is not an exact repeat of its
// neighbour keeps its place in the result, points lying on a straight edge
// included, so that the faces meet the side walls edge for edge.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "BoundRect.h"

// One triangle as three indices into the rings' points numbered one after
// the other (ring 0 first).
using RingTriangle = std::array<std::uint32_t, 3>;

// Ring 0 is the outer boundary, the others holes inside it; either may run
// either way round. The triangles wind counter-clockwise (y up). A ring with
// fewer than three distinct points adds nothing.
std::vector<RingTriangle> TriangulateRings(const std::vector<std::vector<CPoint2D>>& rings);

// Twice the signed area of a triangle, positive when counter-clockwise.
double TwiceSignedArea(const CPoint2D& a, const CPoint2D& b, const CPoint2D& c);
