// Carrying per-piece colours and depths over a font change: the new letters
// take the old letters' attributes by position, piece by piece.
#include "Text3D.h"

namespace {

// Ends the pieces of one letter in the recorded list; a real piece always
// has a depth above zero.
constexpr PieceAttributes kSeparator{-1, -1.0};

bool IsPiecePair(const std::vector<PieceAttributes>& list, std::size_t j) {
  return j < list.size() && list[j].depth > 0.0;
}

}  // namespace

std::vector<PieceAttributes> RecordPieceAttributes(const CText3D& text, int colourSetting,
                                                   double depthSetting) {
  std::vector<PieceAttributes> list{{colourSetting, depthSetting}};
  for (const CLetter& letter : text.letters) {
    for (const auto& piece : letter.pieces) list.push_back({piece->colour, piece->depth});
    list.push_back(kSeparator);
  }
  list.push_back(kSeparator);
  return list;
}

void ApplyPieceAttributes(CText3D& text, const std::vector<PieceAttributes>& recorded) {
  if (recorded.empty()) return;
  const std::size_t last = recorded.size() - 1;
  PieceAttributes current = recorded.front();
  std::size_t j = 1;
  for (CLetter& letter : text.letters) {
    if (IsPiecePair(recorded, j)) current = recorded[j];
    for (auto& piece : letter.pieces) {
      piece->SetColour(current.colour);
      piece->SetDepth(current.depth);
      if (j < last && IsPiecePair(recorded, j + 1)) current = recorded[++j];
    }
    // Old pieces without a new counterpart are passed over, then the
    // letter's separator.
    while (j < last && IsPiecePair(recorded, j)) ++j;
    if (j < last) ++j;
  }
}
