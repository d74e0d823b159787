// Per-piece colours and depths recorded before a font change and given back,
// letter by letter and piece by piece, to the letters of the new font.
#include <gtest/gtest.h>

#include "GeometryFixtures.h"

namespace {

// A text whose letters have the given numbers of pieces (a piece count of
// 0 gives a blank letter; pieces are side-by-side squares, so a letter of
// n > 1 contours gains an empty first piece).
CText3D TextWithContours(const std::vector<int>& contoursPerLetter) {
  StreamBuilder stream;
  double x = 0;
  for (int n : contoursPerLetter) {
    for (int k = 0; k < n; ++k, x += 200) stream.Contour(Rect(x, 0, x + 100, 100));
    stream.EndCharacter();
  }
  CText3D text(std::string(contoursPerLetter.size(), 'x'), stream.outline, 255, 1.0, 0.2);
  text.FindContours();
  return text;
}

void Paint(CLetterPiece& piece, int colour, double depth) {
  piece.SetColour(colour);
  piece.SetDepth(depth);
}

}  // namespace

TEST(FontChangeCarryOver, RecordListsSettingThenPiecesWithSeparators) {
  CText3D old = TextWithContours({1, 1});
  Paint(*old.letters[0].pieces[0], 1, 0.1);
  Paint(*old.letters[1].pieces[0], 2, 0.3);
  const auto list = RecordPieceAttributes(old, 255, 0.2);
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[0].colour, 255);
  EXPECT_EQ(list[1].colour, 1);
  EXPECT_EQ(list[2].colour, -1);
  EXPECT_EQ(list[2].depth, -1.0);
  EXPECT_EQ(list[3].colour, 2);
  EXPECT_EQ(list[5].depth, -1.0);
}

TEST(FontChangeCarryOver, SameShapesGetTheirOwnAttributesBack) {
  CText3D old = TextWithContours({1, 2});
  Paint(*old.letters[0].pieces[0], 10, 0.1);
  Paint(*old.letters[1].pieces[0], 20, 0.2);
  Paint(*old.letters[1].pieces[1], 21, 0.3);
  Paint(*old.letters[1].pieces[2], 22, 0.4);
  const auto list = RecordPieceAttributes(old, 255, 0.5);
  CText3D fresh = TextWithContours({1, 2});
  ApplyPieceAttributes(fresh, list);
  EXPECT_EQ(fresh.letters[0].pieces[0]->colour, 10);
  EXPECT_EQ(fresh.letters[1].pieces[0]->colour, 20);
  EXPECT_EQ(fresh.letters[1].pieces[1]->colour, 21);
  EXPECT_EQ(fresh.letters[1].pieces[2]->colour, 22);
  EXPECT_EQ(fresh.letters[1].pieces[2]->depth, 0.4);
}

TEST(FontChangeCarryOver, FewerNewPiecesTakeTheFirstOldPairs) {
  // Old letter: three pieces (empty + two); new letter: two (empty + one).
  // The next letter still lines up with its own old letter.
  CText3D old = TextWithContours({2, 1});
  Paint(*old.letters[0].pieces[0], 1, 0.1);
  Paint(*old.letters[0].pieces[1], 2, 0.2);
  Paint(*old.letters[0].pieces[2], 3, 0.3);
  Paint(*old.letters[1].pieces[0], 4, 0.4);
  CText3D fresh = TextWithContours({1, 1});
  // A single contour stays in the first piece: give the new first letter a
  // second piece by hand so it has two.
  fresh.letters[0].AddPiece(std::make_unique<CLetterPiece>(0, 1.0));
  ApplyPieceAttributes(fresh, RecordPieceAttributes(old, 255, 0.5));
  EXPECT_EQ(fresh.letters[0].pieces[0]->colour, 1);
  EXPECT_EQ(fresh.letters[0].pieces[1]->colour, 2);
  EXPECT_EQ(fresh.letters[1].pieces[0]->colour, 4);
  EXPECT_EQ(fresh.letters[1].pieces[0]->depth, 0.4);
}

TEST(FontChangeCarryOver, SurplusNewPiecesRepeatTheLastPairInForce) {
  CText3D old = TextWithContours({1, 1});
  Paint(*old.letters[0].pieces[0], 7, 0.7);
  Paint(*old.letters[1].pieces[0], 8, 0.8);
  CText3D fresh = TextWithContours({2, 1});  // empty + two pieces now
  ApplyPieceAttributes(fresh, RecordPieceAttributes(old, 255, 0.5));
  for (const auto& piece : fresh.letters[0].pieces) {
    EXPECT_EQ(piece->colour, 7);
    EXPECT_EQ(piece->depth, 0.7);
  }
  EXPECT_EQ(fresh.letters[1].pieces[0]->colour, 8);
}

TEST(FontChangeCarryOver, LettersBeyondTheOldTextKeepThePairInForce) {
  CText3D old = TextWithContours({1});
  Paint(*old.letters[0].pieces[0], 5, 0.5);
  CText3D fresh = TextWithContours({1, 1, 1});
  ApplyPieceAttributes(fresh, RecordPieceAttributes(old, 255, 0.9));
  for (const CLetter& letter : fresh.letters) EXPECT_EQ(letter.pieces[0]->colour, 5);
}

TEST(FontChangeCarryOver, TextWithoutLettersGivesTheViewSettings) {
  const CText3D old("  ", CGlyphOutline{}, 255, 1.0, 0.2);
  CText3D fresh = TextWithContours({1, 2});
  ApplyPieceAttributes(fresh, RecordPieceAttributes(old, 0xABCDEF, 0.33));
  for (const CLetter& letter : fresh.letters) {
    for (const auto& piece : letter.pieces) {
      EXPECT_EQ(piece->colour, 0xABCDEF);
      EXPECT_EQ(piece->depth, 0.33);
    }
  }
  ApplyPieceAttributes(fresh, {});  // nothing recorded: nothing changes
  EXPECT_EQ(fresh.letters[0].pieces[0]->colour, 0xABCDEF);
}
