// The raw outline stream of a whole text, as the font engine hands it over:
// unflattened contours in font units (1/1000 em), y up, pen offset applied.
#pragma once

#include <vector>

#include "BoundRect.h"

enum OutlineKind : int {
  kCharacterEnd = 0,      // one per character of the text, always; x, y are 0, 0
  kContourEnd = -1,       // end of the current contour; x, y are 0, 0
  kContourStart = 1,      // first point of a contour (on-curve)
  kLinePoint = 2,         // point of a straight-line record (on-curve)
  kSplineOnCurve = 4,     // implied midpoint or last point of a quadratic spline
  kSplineControl = 13,    // off-curve control point of a quadratic spline
  kSplineControlAlt = 14  // treated exactly like kSplineControl
};

struct COutlineItem {
  double x = 0.0;
  double y = 0.0;
  int kind = kCharacterEnd;
};

struct CGlyphOutline {
  CBoundRect bounds;               // union of every item's point, the 0,0 of ends included
  std::vector<COutlineItem> items;
  // The letter code of each character end, when the stream was made from
  // the text's characters (empty otherwise: the codes come from the text).
  std::vector<int> codes;

  void Clear() {
    bounds.Reset();
    items.clear();
    codes.clear();
  }
  // Appends an item and widens the bounds by its point.
  void Add(double x, double y, int kind) {
    items.push_back(COutlineItem{x, y, kind});
    bounds.Union(x, y);
  }
};
