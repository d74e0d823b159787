// The mesh of a piece: every contour point becomes a column of vertices, one
// per ring from the front (z = 0) to the back (z = -depth), the bevel rings in
// between bulging toward the bevel contour along a parabola. The front and back
// polygons follow the merged outline, and each contour edge gives one quad per
// band between two rings. Every face winds counter-clockwise seen from outside.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Letter.h"
#include "LetterPiece.h"
#include "Text3D.h"

namespace {

// The number of rings between front and back that this piece can have: none
// without a complete set of bevel contours (a contour too small to bevel ends
// them early), since a ring needs a bevel point for every contour point.
int EffectiveBevelSteps(const CLetterPiece& piece) {
  if (piece.bevelSteps <= 0 || piece.bevelSize == 0.0) return 0;
  if (piece.bevelContours.size() < piece.contours.size()) return 0;
  for (std::size_t c = 0; c < piece.contours.size(); ++c) {
    const CContour* bevel = piece.bevelContours[c].get();
    const CContour* contour = piece.contours[c].get();
    if (!bevel || !contour || bevel->points.size() != contour->points.size()) return 0;
  }
  return piece.bevelSteps;
}

// The global number of the first point of every contour, contour 0 first;
// the last entry is the total number of points.
std::vector<int> ContourStarts(const CLetterPiece& piece) {
  std::vector<int> start;
  start.reserve(piece.contours.size() + 1);
  int total = 0;
  for (const auto& contour : piece.contours) {
    start.push_back(total);
    total += contour ? static_cast<int>(contour->points.size()) : 0;
  }
  start.push_back(total);
  return start;
}

void AppendVertices(CLetterPiece& piece, int steps) {
  const double depth = piece.depth;
  for (std::size_t c = 0; c < piece.contours.size(); ++c) {
    if (!piece.contours[c]) continue;
    const std::vector<CPoint2D>& points = piece.contours[c]->points;
    for (std::size_t k = 0; k < points.size(); ++k) {
      const double x = static_cast<float>(points[k].x);
      const double y = static_cast<float>(points[k].y);
      piece.vertices.push_back(CVertex3F{static_cast<float>(x), static_cast<float>(y), 0.0f});
      for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / (steps + 1);
        const double w = 4.0 * f * (1.0 - f);  // 0 at front and back, 1 halfway
        const CPoint2D& b = piece.bevelContours[c]->points[k];
        piece.vertices.push_back(CVertex3F{static_cast<float>(x + w * (b.x - x)),
                                           static_cast<float>(y + w * (b.y - y)),
                                           static_cast<float>(-depth * f)});
      }
      piece.vertices.push_back(
          CVertex3F{static_cast<float>(x), static_cast<float>(y), static_cast<float>(-depth)});
    }
  }
}

// The merged outline as global point numbers. Entries that name a missing
// contour or point are left out rather than indexing past the vertices.
std::vector<int> MergedOutline(const CLetterPiece& piece, const std::vector<int>& start) {
  std::vector<int> outline;
  outline.reserve(piece.mergedOutline.size());
  for (const auto& [c, p] : piece.mergedOutline) {
    if (c >= piece.contours.size()) continue;
    if (p >= static_cast<std::uint32_t>(start[c + 1] - start[c])) continue;
    outline.push_back(start[c] + static_cast<int>(p));
  }
  return outline;
}

// The outline of the front and back faces in clockwise order (y up): the
// merged outline of a piece with holes, else the outer contour itself. A piece
// with holes whose merged outline was never made keeps its outer contour as
// its face rather than getting an empty one.
std::vector<int> FaceOutline(const CLetterPiece& piece, const std::vector<int>& start) {
  if (piece.contours.size() > 1) {
    std::vector<int> merged = MergedOutline(piece, start);
    if (!merged.empty()) return merged;
  }
  std::vector<int> outer;
  for (int g = start[0]; g < start[1]; ++g) outer.push_back(g);
  return outer;
}

}  // namespace

void CLetterPiece::AddFace(int base, int a, int b, int c, int d) {
  for (int index : {a, b, c, d}) {
    if (index >= 0) sideFaces.push_back(base + index);
  }
  sideFaces.push_back(-1);
  ++faceCount;
}

void CLetterPiece::BuildMesh() {
  vertices.clear();
  frontFace.clear();
  backFace.clear();
  sideFaces.clear();
  faceCount = 0;
  // An outer contour without area (fonts carry stray one-point contours)
  // gives no solid at all rather than faces with fewer than three corners.
  if (contours.empty() || !contours[0] || contours[0]->points.size() < 3) return;

  const int steps = EffectiveBevelSteps(*this);
  const int r = steps + 2;  // vertices per contour point: front, bevel rings, back
  const std::vector<int> start = ContourStarts(*this);
  // Sized once up front: growing these vectors point by point was a large part
  // of the build's time and left up to twice the needed memory reserved.
  const std::size_t points = static_cast<std::size_t>(start.back());
  vertices.reserve(points * static_cast<std::size_t>(r));
  AppendVertices(*this, steps);

  // Seen from +z the outline runs clockwise, so the front face takes it
  // backwards and the back face (seen from -z) forwards.
  const std::vector<int> outline = FaceOutline(*this, start);
  for (auto it = outline.rbegin(); it != outline.rend(); ++it) frontFace.push_back(*it * r);
  frontFace.push_back(-1);
  ++faceCount;
  for (int g : outline) backFace.push_back(g * r + r - 1);
  backFace.push_back(-1);
  ++faceCount;

  // Side quads edge by edge, each edge from the front band to the back band,
  // the closing edge last: four corners and the -1 that ends a face, written
  // in place since the number of quads is known.
  const std::size_t quads = points * static_cast<std::size_t>(r - 1);
  sideFaces.resize(quads * 5);
  int* face = sideFaces.data();
  for (std::size_t c = 0; c < contours.size(); ++c) {
    const int n = start[c + 1] - start[c];
    for (int k = 0; k < n; ++k) {
      const int g = start[c] + k;
      const int gNext = start[c] + (k + 1 == n ? 0 : k + 1);
      for (int j = 0; j + 1 < r; ++j) {
        face[0] = g * r + j + 1;
        face[1] = g * r + j;
        face[2] = gNext * r + j;
        face[3] = gNext * r + j + 1;
        face[4] = -1;
        face += 5;
      }
    }
  }
  faceCount += static_cast<int>(quads);
}

void CLetter::BuildMeshes() {
  for (auto& piece : pieces) piece->BuildMesh();
}

void CText3D::BuildMeshes() {
  for (auto& letter : letters) letter.BuildMeshes();
}
