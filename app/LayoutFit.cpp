#include "LayoutFit.h"

#include <cmath>
#include <limits>

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMin = std::numeric_limits<int>::min();
  constexpr double kMax = std::numeric_limits<int>::max();
  if (value <= kMin) return std::numeric_limits<int>::min();
  if (value >= kMax) return std::numeric_limits<int>::max();
  return static_cast<int>(value);  // cuts toward zero
}

int LayoutFit::X(double x) const { return TruncToInt(TruncToInt(scaleX * x) + static_cast<double>(offsetX)); }
int LayoutFit::Y(double y) const { return TruncToInt(TruncToInt(scaleY * y) + static_cast<double>(offsetY)); }

LayoutFit FitBounds(const CBoundRect& bounds, int clientWidth, int clientHeight) {
  const double w = bounds.right - bounds.left;
  const double h = bounds.top - bounds.bottom;
  const double sx = (clientWidth - 10) / w;
  const double sy = (clientHeight - 10) / h;
  double s = sx < sy ? sx : sy;
  // No letters, or a text without any extent: nothing to scale.
  if (!(s >= 0.0) || !std::isfinite(s)) s = 0.0;
  const int padY = (clientHeight - TruncToInt(s * h)) / 2;
  const int padX = (clientWidth - TruncToInt(s * w)) / 2;
  LayoutFit fit;
  fit.scaleX = s;
  fit.scaleY = -s;
  fit.offsetX = TruncToInt(TruncToInt(-(bounds.left * s)) + static_cast<double>(padX));
  fit.offsetY = TruncToInt(bounds.bottom * s - padY + clientHeight);
  return fit;
}
