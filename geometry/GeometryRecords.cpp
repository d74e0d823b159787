// The records' own operations: adding with bounds upkeep, scaling, the
// per-piece attributes and lookup of a piece by its selection number.
#include <utility>

#include "Letter.h"
#include "LetterPiece.h"
#include "Text3D.h"

namespace {

bool IsEmptyValue(const CBoundRect& r) {
  const CBoundRect empty;
  return r.left == empty.left && r.top == empty.top && r.right == empty.right &&
         r.bottom == empty.bottom;
}

// The empty value is a marker, not a rectangle: scaling it would turn it
// into a different, merely inverted rectangle, so it is left as it is.
void ScaleBounds(CBoundRect& r, double factor) {
  if (!IsEmptyValue(r)) r.Scale(factor);
}

void ScaleContour(CContour& contour, double factor) {
  for (CPoint2D& p : contour.points) {
    p.x *= factor;
    p.y *= factor;
  }
  ScaleBounds(contour.bounds, factor);
}

}  // namespace

void CLetterPiece::AddContour(std::unique_ptr<CContour> contour) {
  if (!contour) return;
  bounds.Union(contour->bounds);
  contours.push_back(std::move(contour));
}

void CLetterPiece::RecomputeBounds() {
  bounds.Reset();
  for (const auto& contour : contours) {
    if (contour) bounds.Union(contour->bounds);
  }
}

void CLetterPiece::Scale(double factor) {
  for (auto& contour : contours) {
    if (contour) ScaleContour(*contour, factor);
  }
  for (auto& contour : bevelContours) {
    if (contour) ScaleContour(*contour, factor);
  }
  ScaleBounds(bounds, factor);
}

void CLetter::AddPiece(std::unique_ptr<CLetterPiece> piece) {
  if (!piece) return;
  bounds.Union(piece->bounds);
  pieces.push_back(std::move(piece));
}

void CText3D::AddLetter(CLetter letter) {
  bounds.Union(letter.bounds);
  letters.push_back(std::move(letter));
}

void CText3D::SetLight(int flags) {
  lightDir[0] = (flags & 2) ? 0.5f : -0.5f;  // x: bit 1, light from the left
  lightDir[1] = 0.2f;
  lightDir[2] = (flags & 1) ? 0.9f : -0.9f;  // z: bit 0, light from the back
}

void CText3D::SetColour(int colour) {
  for (CLetter& letter : letters) {
    for (auto& piece : letter.pieces) piece->SetColour(colour);
  }
}

void CText3D::SetDepth(double depth) {
  for (CLetter& letter : letters) {
    for (auto& piece : letter.pieces) piece->SetDepth(depth);
  }
}

void CText3D::Scale(double factor) {
  for (CLetter& letter : letters) {
    for (auto& piece : letter.pieces) piece->Scale(factor);
    ScaleBounds(letter.bounds, factor);
  }
  ScaleBounds(bounds, factor);
}

CLetterPiece* CText3D::PieceAt(int n) const {
  if (n < 0) return nullptr;
  for (const CLetter& letter : letters) {
    if (letter.bounds.IsDegenerate()) continue;
    if (static_cast<std::size_t>(n) < letter.pieces.size()) return letter.pieces[n].get();
    n -= static_cast<int>(letter.pieces.size());
  }
  return nullptr;
}
