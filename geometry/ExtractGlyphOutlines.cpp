// Outline extraction: native glyph records to the outline stream.
#include "ExtractGlyphOutlines.h"

namespace {

// 16.16 fixed point as the integer part (signed) plus the fraction (unsigned).
double FromFixed(std::int32_t raw) {
  const std::int32_t value = raw >> 16;  // arithmetic shift: floor for negatives
  const std::uint32_t fraction = static_cast<std::uint32_t>(raw) & 0xFFFFu;
  return value + fraction / 65536.0;
}

void AddPoint(CGlyphOutline& outline, const FixedPoint& p, std::int64_t penX, int kind) {
  outline.Add(FromFixed(p.x) + static_cast<double>(penX), FromFixed(p.y), kind);
}

// Control points P0 .. Pc-1 of one quadratic record, the last on the curve:
// between two consecutive control points lies an implied on-curve midpoint.
void AddQuadSpline(CGlyphOutline& outline, const std::vector<FixedPoint>& pts, std::int64_t penX) {
  if (pts.empty()) return;
  AddPoint(outline, pts[0], penX, kSplineControl);
  for (std::size_t k = 1; k + 1 < pts.size(); ++k) {
    const double mx = (FromFixed(pts[k - 1].x) + FromFixed(pts[k].x)) / 2.0 + static_cast<double>(penX);
    const double my = (FromFixed(pts[k - 1].y) + FromFixed(pts[k].y)) / 2.0;
    outline.Add(mx, my, kSplineOnCurve);
    AddPoint(outline, pts[k], penX, kSplineControl);
  }
  AddPoint(outline, pts.back(), penX, kSplineOnCurve);
}

}  // namespace

void AppendGlyphPolygons(CGlyphOutline& outline, const std::vector<GlyphPolygon>& polygons,
                         std::int64_t penX) {
  for (const GlyphPolygon& polygon : polygons) {
    AddPoint(outline, polygon.start, penX, kContourStart);
    for (const GlyphCurve& curve : polygon.curves) {
      if (curve.type == kCurveLine) {
        for (const FixedPoint& p : curve.points) AddPoint(outline, p, penX, kLinePoint);
      } else if (curve.type == kCurveQuadSpline) {
        AddQuadSpline(outline, curve.points, penX);
      }
      // Cubic records give no points: the stream has no kind for them.
    }
    outline.Add(0.0, 0.0, kContourEnd);
  }
}

void ExtractGlyphOutlines(CGlyphOutline& outline, const std::string& text, const Font& font) {
  outline.Clear();
  std::int64_t penX = 0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (const auto polygons = font.GlyphOutline(byte)) {
      AppendGlyphPolygons(outline, *polygons, penX);
      penX += font.AdvanceWidth(byte);
    }
    outline.Add(0.0, 0.0, kCharacterEnd);
  }
}
