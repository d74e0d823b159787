// Orientation of the contours and the bridging of holes into one merged
// outline per piece, so that a piece with holes can be filled as a single
// (non-convex) polygon.
#include <algorithm>
#include <cmath>

#include "ContourPredicates.h"
#include "HoleBridging.h"
#include "Letter.h"
#include "Text3D.h"

namespace {

double Manhattan(const CPoint2D& a, const CPoint2D& b) {
  return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

bool IsBridgeEnd(const CLetterPiece& piece, const CPoint2D& p) {
  return std::find(piece.bridgeEnds.begin(), piece.bridgeEnds.end(), p) != piece.bridgeEnds.end();
}

bool HoleJoined(const CLetterPiece& piece, std::size_t hole) {
  return hole < piece.holeMerged.size() && piece.holeMerged[hole] == 1;
}

// Tries to bridge some unjoined hole from merged position i; true when one
// was spliced in, with i moved to the position the bridge starts from.
bool BridgeFrom(CLetterPiece& piece, std::size_t& i) {
  const std::size_t size = piece.bridgeContour.size();
  const CPoint2D v = MergedPoint(piece, i);
  if (IsBridgeEnd(piece, v)) return false;  // a point carries at most one bridge
  for (std::size_t j = 1; j < piece.contours.size(); ++j) {
    if (HoleJoined(piece, j)) continue;
    int t = FindBridgeTarget(piece, v, j);
    if (t < 0) continue;
    const auto& hole = piece.contours[j]->points;
    CPoint2D from = v;
    // One step along the outline when the next point reaches the hole by a
    // shorter bridge.
    if (i + 1 < size) {
      const CPoint2D next = MergedPoint(piece, i + 1);
      if (!IsBridgeEnd(piece, next)) {
        const int tNext = FindBridgeTarget(piece, next, j);
        if (tNext >= 0 && Manhattan(next, hole[tNext]) < Manhattan(v, hole[t])) {
          ++i;
          from = next;
          t = tNext;
        }
      }
    }
    const CPoint2D to = hole[t];
    Splice(piece, j, static_cast<std::size_t>(t), i);
    piece.holeMerged[j] = 1;
    piece.bridgeEnds.push_back(from);
    piece.bridgeEnds.push_back(to);
    return true;
  }
  return false;
}

}  // namespace

const CPoint2D& MergedPoint(const CLetterPiece& piece, std::size_t position) {
  return piece.contours[piece.bridgeContour[position]]->points[piece.bridgePoint[position]];
}

bool Blocked(const CLetterPiece& piece, const CPoint2D& v, const CPoint2D& h) {
  const std::size_t size = piece.bridgeContour.size();
  for (std::size_t k = 0; k < size; ++k) {
    const CPoint2D& a = MergedPoint(piece, k);
    const CPoint2D& b = MergedPoint(piece, (k + 1) % size);
    if (a == v || b == v) continue;
    if (SegmentsIntersect(v, h, a, b)) return true;
  }
  for (std::size_t j = 1; j < piece.contours.size(); ++j) {
    if (HoleJoined(piece, j)) continue;
    const auto& points = piece.contours[j]->points;
    const std::size_t m = points.size();
    for (std::size_t k = 0; k < m; ++k) {
      const CPoint2D& a = points[k];
      const CPoint2D& b = points[(k + 1) % m];
      if (a == h || b == h) continue;
      if (SegmentsIntersect(v, h, a, b)) return true;
    }
  }
  return false;
}

int FindBridgeTarget(const CLetterPiece& piece, const CPoint2D& v, std::size_t hole) {
  const auto& points = piece.contours[hole]->points;
  const std::size_t m = points.size();
  std::size_t t = 0;
  while (t < m && Blocked(piece, v, points[t])) ++t;
  if (t == m) return -1;
  if (t + 1 == m || Blocked(piece, v, points[t + 1])) return static_cast<int>(t);
  return static_cast<int>(Manhattan(v, points[t]) > Manhattan(v, points[t + 1]) ? t + 1 : t);
}

void Splice(CLetterPiece& piece, std::size_t hole, std::size_t holePoint, std::size_t position) {
  const std::size_t m = piece.contours[hole]->Size();
  if (m == 0) return;  // an empty hole has nothing to walk round
  std::vector<std::uint32_t> contourRefs;
  std::vector<std::uint32_t> pointRefs;
  contourRefs.reserve(m + 2);
  pointRefs.reserve(m + 2);
  for (std::size_t k = 0; k <= m; ++k) {
    contourRefs.push_back(static_cast<std::uint32_t>(hole));
    pointRefs.push_back(static_cast<std::uint32_t>((holePoint + k) % m));
  }
  contourRefs.push_back(piece.bridgeContour[position]);
  pointRefs.push_back(piece.bridgePoint[position]);
  const auto at = static_cast<std::ptrdiff_t>(position + 1);
  piece.bridgeContour.insert(piece.bridgeContour.begin() + at, contourRefs.begin(), contourRefs.end());
  piece.bridgePoint.insert(piece.bridgePoint.begin() + at, pointRefs.begin(), pointRefs.end());
}

void CLetterPiece::CalculateContours() {
  const std::size_t n = contours.size();
  if (n == 0) return;
  if (Orientation(*contours[0]) == -1) Reverse(*contours[0]);
  for (std::size_t j = 1; j < n; ++j) {
    if (Orientation(*contours[j]) == 1) Reverse(*contours[j]);
  }
  if (n == 1) return;

  bridgeEnds.clear();
  holeMerged.assign(n, 0);
  for (std::size_t k = 0; k < contours[0]->Size(); ++k) {
    bridgeContour.push_back(0);
    bridgePoint.push_back(static_cast<std::uint32_t>(k));
  }
  // The scan only goes forward: after a bridge it goes on from the first
  // point of the hole just inserted, so a hole can also be reached through
  // another hole joined before it.
  std::size_t start = 0;
  bool bridged = true;
  while (bridged) {
    bridged = false;
    for (std::size_t i = start; i < bridgeContour.size(); ++i) {
      if (BridgeFrom(*this, i)) {
        start = i + 1;
        bridged = true;
        break;
      }
    }
  }
}

void CLetter::CalculateContours() {
  for (auto& piece : pieces) piece->CalculateContours();
}

void CText3D::CalculateContours() {
  for (CLetter& letter : letters) letter.CalculateContours();
}
