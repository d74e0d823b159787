// Inside the font engine: a contour as the font file stores it turned into
// the polygon records Font hands out. Kept apart from Font.cpp so that the
// conversion can be driven point by point without a font file.
#pragma once

#include <vector>

#include "Font.h"

// One point of a contour as a font file stores it, in the face's own units.
enum ContourPointKind : int { kOnCurve, kQuadControl, kCubicControl };
struct ContourPoint {
  double x = 0.0;
  double y = 0.0;
  int kind = kOnCurve;
};

// Turns one stored contour into a polygon record, scaling by `scale` (1000
// divided by the face's units per em). A contour may begin off the curve:
// then its last point is the start when that is on the curve, else the
// midpoint of the first and the last. Runs of quadratic control points are
// kept as they are in one spline record that ends on the next on-curve
// point (or on the start point when it closes the contour); runs of
// on-curve points form line records, and a straight closing segment is left
// implied. A cubic segment (two cubic control points and its end) becomes
// one spline record per quadratic piece, none farther than kCubicTolerance
// from the cubic; a lone cubic control point is taken as a quadratic one.
GlyphPolygon PolygonFromContour(const std::vector<ContourPoint>& points, double scale);

// The quadratic pieces for the cubic p0 c1 c2 p3 (in units where
// kCubicTolerance applies): per piece its control point and its end, the
// last end being p3 exactly.
std::vector<ContourPoint> CubicToQuadratics(const ContourPoint& p0, const ContourPoint& c1,
                                            const ContourPoint& c2, const ContourPoint& p3);
