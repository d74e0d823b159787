// Hand-written outline streams and pieces for the geometry tests, and the
// invariants every bridged piece must keep.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "GlyphOutline.h"
#include "LetterPiece.h"
#include "Text3D.h"

using Polygon = std::vector<CPoint2D>;

// Builds an outline stream the way extraction lays it out.
class StreamBuilder {
 public:
  // A contour of straight lines in font units: start, line points, end.
  StreamBuilder& Contour(const Polygon& points) {
    for (std::size_t k = 0; k < points.size(); ++k) {
      outline.Add(points[k].x, points[k].y, k == 0 ? kContourStart : kLinePoint);
    }
    outline.Add(0, 0, kContourEnd);
    return *this;
  }
  StreamBuilder& Item(double x, double y, int kind) {
    outline.Add(x, y, kind);
    return *this;
  }
  StreamBuilder& EndCharacter() {
    outline.Add(0, 0, kCharacterEnd);
    return *this;
  }
  CGlyphOutline outline;
};

// An axis-aligned rectangle, listed clockwise (y up) or counter-clockwise.
inline Polygon Rect(double left, double bottom, double right, double top, bool clockwise = true) {
  Polygon cw{{left, bottom}, {left, top}, {right, top}, {right, bottom}};
  if (clockwise) return cw;
  return Polygon{cw[0], cw[3], cw[2], cw[1]};
}

inline std::unique_ptr<CContour> MakeContour(const Polygon& points) {
  auto contour = std::make_unique<CContour>();
  for (const CPoint2D& p : points) contour->Add(p);
  return contour;
}

using MergedOutline = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// A piece with these contours in order, the outer one first, and the merged
// outline given as (contour, point) pairs.
inline std::unique_ptr<CLetterPiece> MakePiece(std::initializer_list<Polygon> contours,
                                               const MergedOutline& merged = {}, double depth = 0.2) {
  auto piece = std::make_unique<CLetterPiece>(255, depth);
  for (const Polygon& c : contours) piece->AddContour(MakeContour(c));
  for (const auto& [c, p] : merged) piece->mergedOutline.push_back(OutlinePoint{c, p});
  return piece;
}

// A text of one character whose only piece holds these contours in order,
// built through the constructor from a stream (font units = model units
// with height 1000).
inline CText3D OneLetter(const std::vector<Polygon>& contours, const std::string& text = "x") {
  StreamBuilder stream;
  for (const Polygon& c : contours) stream.Contour(c);
  stream.EndCharacter();
  return CText3D(text, stream.outline, 255, 1000.0, 0.2);
}

inline double SignedArea(const CContour& c) {
  double sum = 0;
  for (std::size_t k = 0; k < c.Size(); ++k) {
    const CPoint2D& p = c.points[k];
    const CPoint2D& q = c.points[(k + 1) % c.Size()];
    sum += p.x * q.y - q.x * p.y;
  }
  return sum / 2;  // positive: counter-clockwise with y up
}

// Proper crossing of two segments: each strictly separates the other's ends.
inline bool SegmentsCrossProperly(const CPoint2D& a, const CPoint2D& b, const CPoint2D& c,
                                  const CPoint2D& d) {
  auto side = [](const CPoint2D& p, const CPoint2D& q, const CPoint2D& r) {
    const double v = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    return (v > 0) - (v < 0);
  };
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

// Per contour: whether the merged outline goes through it.
inline std::vector<bool> InOutline(const CLetterPiece& piece) {
  std::vector<bool> joined(piece.contours.size(), false);
  for (const OutlinePoint& e : piece.mergedOutline) {
    if (e.contour < joined.size()) joined[e.contour] = true;
  }
  return joined;
}

// After bridging: outer clockwise, holes counter-clockwise (a contour
// without area, such as the single-point anchors some fonts carry, has no
// direction to check); the merged outline refers only to existing points,
// visits every point of the outer contour and of every hole it enters, and
// each of its bridges is crossed out and back and crosses no edge.
inline void ExpectBridgedPiece(const CLetterPiece& piece, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_FALSE(piece.contours.empty());
  EXPECT_LE(SignedArea(*piece.contours[0]), 0) << "outer contour must run clockwise";
  for (std::size_t j = 1; j < piece.contours.size(); ++j) {
    EXPECT_GE(SignedArea(*piece.contours[j]), 0) << "hole " << j << " must run counter-clockwise";
  }
  const auto& outline = piece.mergedOutline;
  if (piece.contours.size() == 1) {
    EXPECT_TRUE(outline.empty());
    return;
  }
  std::set<std::pair<std::uint32_t, std::uint32_t>> visited;
  for (const OutlinePoint& e : outline) {
    ASSERT_LT(e.contour, piece.contours.size());
    ASSERT_LT(e.point, piece.contours[e.contour]->Size());
    visited.insert({e.contour, e.point});
  }
  const std::vector<bool> joined = InOutline(piece);
  for (std::size_t j = 0; j < piece.contours.size(); ++j) {
    if (j > 0 && !joined[j]) continue;
    for (std::uint32_t p = 0; p < piece.contours[j]->Size(); ++p) {
      EXPECT_TRUE(visited.count({static_cast<std::uint32_t>(j), p})) << "contour " << j << " point " << p;
    }
  }
  // Bridges: consecutive entries on different contours. Each one is crossed
  // once each way, so they pair up.
  const std::size_t n = outline.size();
  auto point = [&](std::size_t k) { return piece.contours[outline[k].contour]->points[outline[k].point]; };
  std::map<std::pair<std::pair<double, double>, std::pair<double, double>>, int> crossings;
  for (std::size_t k = 0; k < n; ++k) {
    if (outline[k].contour == outline[(k + 1) % n].contour) continue;
    const CPoint2D a = point(k), b = point((k + 1) % n);
    if (!(a == b)) {
      const std::pair<double, double> pa{a.x, a.y}, pb{b.x, b.y};
      crossings[{std::min(pa, pb), std::max(pa, pb)}] += pa < pb ? 1 : -1;
    }
    for (const auto& contour : piece.contours) {
      for (std::size_t e = 0; e < contour->Size(); ++e) {
        const CPoint2D& c = contour->points[e];
        const CPoint2D& d = contour->points[(e + 1) % contour->Size()];
        EXPECT_FALSE(SegmentsCrossProperly(a, b, c, d))
            << "bridge (" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ") crosses edge ("
            << c.x << "," << c.y << ")-(" << d.x << "," << d.y << ")";
      }
    }
  }
  for (const auto& [bridge, balance] : crossings) EXPECT_EQ(balance, 0) << "a bridge crossed one way only";
}
