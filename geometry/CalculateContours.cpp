// Orientation of the contours and the bridging of holes into one merged
// outline per piece, so that a piece with holes can be filled as a single
// (non-convex) polygon.
#include "ContourPredicates.h"
#include "HoleBridging.h"
#include "Letter.h"
#include "Text3D.h"

void CLetterPiece::CalculateContours() {
  const std::size_t n = contours.size();
  mergedOutline.clear();
  if (n == 0) return;
  if (Orientation(*contours[0]) == -1) Reverse(*contours[0]);
  for (std::size_t j = 1; j < n; ++j) {
    if (Orientation(*contours[j]) == 1) Reverse(*contours[j]);
  }
  mergedOutline = BridgeHoles(contours);
}

void CLetter::CalculateContours() {
  for (auto& piece : pieces) piece->CalculateContours();
}

void CText3D::CalculateContours() {
  for (CLetter& letter : letters) letter.CalculateContours();
}
