// One character of the text: its byte as a signed code and its pieces.
#pragma once

#include <memory>
#include <vector>

#include "BoundRect.h"
#include "LetterPiece.h"

class CLetter {
 public:
  // Takes ownership and widens the bounds by the piece's bounds.
  void AddPiece(std::unique_ptr<CLetterPiece> piece);

  // Splits the first piece by nesting: one piece per outer contour with the
  // holes directly inside it, or the outer contour moved to the front when
  // there is only one.
  void FindContours();
  void CalculateContours();
  void SetBevel(int steps, double size);
  void BuildMeshes();

  int code = 0;  // the text's byte, sign-extended (0xE9 gives -23); a code point for a character Windows-1252 lacks
  std::vector<std::unique_ptr<CLetterPiece>> pieces;
  CBoundRect bounds;
};
