// Stored contours to polygon records; cubic segments to quadratic pieces.
#include "OutlineRecords.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// More pieces than any real glyph needs; a corrupt outline with points far
// outside the em cannot ask for more.
constexpr int kMaxQuadraticPieces = 64;

// Font units to 16.16 fixed point at 1000 units per em, clamped to the
// 16-bit integer range the format allows.
std::int32_t ToFixed(double fontUnits, double toThousandths) {
  const double raw = std::round(fontUnits * toThousandths * 65536.0);
  const double lo = std::numeric_limits<std::int32_t>::min();
  const double hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(raw, lo, hi));
}

ContourPoint Lerp(const ContourPoint& a, const ContourPoint& b, double t) {
  return ContourPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, kOnCurve};
}

}  // namespace

std::vector<ContourPoint> CubicToQuadratics(const ContourPoint& p0, const ContourPoint& c1,
                                            const ContourPoint& c2, const ContourPoint& p3) {
  // One quadratic with control (3 (c1 + c2) - p0 - p3) / 4 strays at most
  // sqrt(3) / 36 * |p3 - 3 c2 + 3 c1 - p0| from the cubic; cutting the cubic
  // into n equal parameter pieces divides that third difference by n^3.
  const double dx = p3.x - 3.0 * c2.x + 3.0 * c1.x - p0.x;
  const double dy = p3.y - 3.0 * c2.y + 3.0 * c1.y - p0.y;
  const double error = std::sqrt(3.0) / 36.0 * std::hypot(dx, dy);
  int pieces = 1;
  if (std::isfinite(error)) {
    while (pieces < kMaxQuadraticPieces &&
           error / (static_cast<double>(pieces) * pieces * pieces) > kCubicTolerance) {
      ++pieces;
    }
  }
  std::vector<ContourPoint> out;
  out.reserve(static_cast<std::size_t>(pieces) * 2);
  auto at = [&](double t) {  // the cubic at t, by de Casteljau
    const ContourPoint a = Lerp(p0, c1, t), b = Lerp(c1, c2, t), c = Lerp(c2, p3, t);
    const ContourPoint d = Lerp(a, b, t), e = Lerp(b, c, t);
    return Lerp(d, e, t);
  };
  auto derivative = [&](double t) {  // the cubic's derivative at t
    const double u = 1.0 - t;
    return ContourPoint{3.0 * (u * u * (c1.x - p0.x) + 2.0 * u * t * (c2.x - c1.x) + t * t * (p3.x - c2.x)),
                        3.0 * (u * u * (c1.y - p0.y) + 2.0 * u * t * (c2.y - c1.y) + t * t * (p3.y - c2.y)),
                        kOnCurve};
  };
  ContourPoint start = p0;
  for (int k = 0; k < pieces; ++k) {
    const double t0 = static_cast<double>(k) / pieces;
    const double t1 = static_cast<double>(k + 1) / pieces;
    const ContourPoint end = k + 1 == pieces ? p3 : at(t1);
    // The sub-cubic's control points, and from them the quadratic's.
    const double h = (t1 - t0) / 3.0;
    const ContourPoint d0 = derivative(t0), d1 = derivative(t1);
    const ContourPoint s1{start.x + d0.x * h, start.y + d0.y * h, kCubicControl};
    const ContourPoint s2{end.x - d1.x * h, end.y - d1.y * h, kCubicControl};
    out.push_back(ContourPoint{(3.0 * (s1.x + s2.x) - start.x - end.x) / 4.0,
                               (3.0 * (s1.y + s2.y) - start.y - end.y) / 4.0, kQuadControl});
    out.push_back(ContourPoint{end.x, end.y, kOnCurve});
    start = end;
  }
  return out;
}

GlyphPolygon PolygonFromContour(const std::vector<ContourPoint>& stored, double scale) {
  GlyphPolygon polygon;
  if (stored.empty()) return polygon;
  auto fixed = [&](const ContourPoint& p) {
    return FixedPoint{ToFixed(p.x, scale), ToFixed(p.y, scale)};
  };

  // The points after the start, in order; the contour then returns to start.
  std::vector<ContourPoint> sequence;
  ContourPoint start = stored.front();
  if (start.kind == kOnCurve) {
    sequence.assign(stored.begin() + 1, stored.end());
  } else if (stored.back().kind == kOnCurve) {
    start = stored.back();
    sequence.assign(stored.begin(), stored.end() - 1);
  } else {
    const ContourPoint& a = stored.front();
    const ContourPoint& b = stored.back();
    start = ContourPoint{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, kOnCurve};
    sequence = stored;
  }

  polygon.start = fixed(start);
  ContourPoint current = start;  // the last on-curve point reached
  std::size_t i = 0;
  auto next = [&](std::size_t k) -> const ContourPoint& {
    return k < sequence.size() ? sequence[k] : start;
  };
  while (i < sequence.size()) {
    if (sequence[i].kind == kOnCurve) {
      GlyphCurve curve;
      curve.type = kCurveLine;
      while (i < sequence.size() && sequence[i].kind == kOnCurve) {
        current = sequence[i];
        curve.points.push_back(fixed(sequence[i++]));
      }
      polygon.curves.push_back(std::move(curve));
    } else if (sequence[i].kind == kCubicControl && i + 1 < sequence.size() &&
               sequence[i + 1].kind == kCubicControl && next(i + 2).kind == kOnCurve) {
      // Scaled first so that the tolerance holds in thousandths of an em.
      auto scaled = [&](const ContourPoint& p) {
        return ContourPoint{p.x * scale, p.y * scale, p.kind};
      };
      const ContourPoint end = next(i + 2);
      const std::vector<ContourPoint> pieces = CubicToQuadratics(
          scaled(current), scaled(sequence[i]), scaled(sequence[i + 1]), scaled(end));
      for (std::size_t k = 0; k + 1 < pieces.size(); k += 2) {
        GlyphCurve curve;
        curve.type = kCurveQuadSpline;
        curve.points.push_back(fixed(ContourPoint{pieces[k].x / scale, pieces[k].y / scale}));
        // The last end is the stored point itself, so no rounding drifts.
        curve.points.push_back(k + 2 == pieces.size()
                                   ? fixed(end)
                                   : fixed(ContourPoint{pieces[k + 1].x / scale, pieces[k + 1].y / scale}));
        polygon.curves.push_back(std::move(curve));
      }
      current = end;
      i += 3;
    } else {
      GlyphCurve curve;
      curve.type = kCurveQuadSpline;
      while (i < sequence.size() && sequence[i].kind != kOnCurve) {
        curve.points.push_back(fixed(sequence[i++]));
      }
      current = next(i);
      curve.points.push_back(fixed(i < sequence.size() ? sequence[i++] : start));
      polygon.curves.push_back(std::move(curve));
    }
  }
  return polygon;
}
