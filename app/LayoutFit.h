// Fitting the flat picture of the letters into the layout view: the scale
// and offsets that centre the text's bounds in the window with at least five
// pixels to spare in the tighter direction, y flipped, aspect kept.
#pragma once

#include "BoundRect.h"

struct LayoutFit {
  double scaleX = 1.0;
  double scaleY = 1.0;  // -scaleX once fitted: model y grows up, window y down
  int offsetX = 0;      // window position of the model origin
  int offsetY = 0;

  // Window coordinates of a model point; cut toward zero, kept inside the int range.
  int X(double x) const;
  int Y(double y) const;
};

// The fit for text bounds in a client area of clientWidth x clientHeight pixels.
// Bounds without extent (no letters) give a scale of 0.
LayoutFit FitBounds(const CBoundRect& bounds, int clientWidth, int clientHeight);

// A model coordinate scaled to the window, cut toward zero and clamped to the
// int range (a piece without contours keeps the empty bounds' huge values).
int TruncToInt(double value);
