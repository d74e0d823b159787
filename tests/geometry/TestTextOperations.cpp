// Operations on the whole text: light, colour, depth, scaling, and finding
// a piece by its selection number.
#include <gtest/gtest.h>

#include "GeometryFixtures.h"

namespace {

// "i i" in miniature: stem and dot, a blank, stem and dot.
CText3D TwoSplitLettersAroundABlank() {
  StreamBuilder stream;
  stream.Contour(Rect(0, 0, 100, 500)).Contour(Rect(0, 600, 100, 700)).EndCharacter();
  stream.EndCharacter();
  stream.Contour(Rect(300, 0, 400, 500)).Contour(Rect(300, 600, 400, 700)).EndCharacter();
  CText3D text("i i", stream.outline, 255, 1.0, 0.2);
  text.FindContours();
  text.CalculateContours();
  return text;
}

}  // namespace

TEST(TextOperations, LightFlagsChooseFrontOrBackAndLeftOrRight) {
  // Stored as z, y, x: bit 0 turns z over, bit 1 turns x over. The first
  // row (-1) is the state as constructed, which is that of flags 0.
  CText3D text("", CGlyphOutline{}, 255, 1.0, 0.2);
  struct Case {
    int flags;
    float z, x;
  };
  for (const Case& c : {Case{-1, -0.9f, -0.5f}, Case{3, 0.9f, 0.5f}, Case{1, 0.9f, -0.5f},
                        Case{2, -0.9f, 0.5f}, Case{0, -0.9f, -0.5f}}) {
    SCOPED_TRACE(c.flags);
    if (c.flags >= 0) text.SetLight(c.flags);
    EXPECT_FLOAT_EQ(text.lightDir[0], c.x);
    EXPECT_FLOAT_EQ(text.lightDir[1], 0.2f);
    EXPECT_FLOAT_EQ(text.lightDir[2], c.z);
  }
}

TEST(TextOperations, PieceNumbersSkipBlankLettersButCountEmptyFirstPieces) {
  const CText3D text = TwoSplitLettersAroundABlank();
  ASSERT_EQ(text.letters.size(), 3u);
  // Letter 0: empty, stem, dot; the blank is skipped; letter 2: the same.
  EXPECT_EQ(text.PieceAt(0), text.letters[0].pieces[0].get());
  EXPECT_EQ(text.PieceAt(2), text.letters[0].pieces[2].get());
  EXPECT_EQ(text.PieceAt(3), text.letters[2].pieces[0].get());
  EXPECT_EQ(text.PieceAt(5), text.letters[2].pieces[2].get());
  EXPECT_EQ(text.PieceAt(6), nullptr);
  EXPECT_EQ(text.PieceAt(-1), nullptr);
  const CText3D none("  ", CGlyphOutline{}, 255, 1.0, 0.2);
  EXPECT_EQ(none.PieceAt(0), nullptr);
}

TEST(TextOperations, ColourAndDepthReachEveryPiece) {
  CText3D text = TwoSplitLettersAroundABlank();
  text.SetColour(0x123456);
  text.SetDepth(0.75);
  for (const CLetter& letter : text.letters) {
    for (const auto& piece : letter.pieces) {
      EXPECT_EQ(piece->colour, 0x123456);
      EXPECT_EQ(piece->depth, 0.75);
    }
  }
}

TEST(TextOperations, ScaleMultipliesPointsAndBoundsButNotDepthOrLight) {
  CText3D text = TwoSplitLettersAroundABlank();
  CLetterPiece& stem = *text.letters[0].pieces[1];
  stem.bevelContours.push_back(MakeContour({{0.01, 0.02}, {0.03, 0.04}}));
  const CText3D original = TwoSplitLettersAroundABlank();
  text.Scale(2.0);

  EXPECT_DOUBLE_EQ(text.bounds.right, 2 * original.bounds.right);
  EXPECT_DOUBLE_EQ(text.bounds.top, 2 * original.bounds.top);
  for (std::size_t l = 0; l < text.letters.size(); ++l) {
    const CLetter& a = original.letters[l];
    const CLetter& b = text.letters[l];
    if (!a.bounds.IsDegenerate()) {
      EXPECT_DOUBLE_EQ(b.bounds.left, 2 * a.bounds.left);
    }
    for (std::size_t p = 0; p < a.pieces.size(); ++p) {
      EXPECT_EQ(b.pieces[p]->depth, a.pieces[p]->depth);
      for (std::size_t c = 0; c < a.pieces[p]->contours.size(); ++c) {
        const CContour& ca = *a.pieces[p]->contours[c];
        const CContour& cb = *b.pieces[p]->contours[c];
        for (std::size_t k = 0; k < ca.Size(); ++k) {
          EXPECT_DOUBLE_EQ(cb.points[k].x, 2 * ca.points[k].x);
          EXPECT_DOUBLE_EQ(cb.points[k].y, 2 * ca.points[k].y);
        }
        EXPECT_DOUBLE_EQ(cb.bounds.top, 2 * ca.bounds.top);
      }
    }
  }
  EXPECT_DOUBLE_EQ(stem.bevelContours[0]->points[1].y, 0.08);
  EXPECT_DOUBLE_EQ(stem.bevelContours[0]->bounds.right, 0.06);
  EXPECT_FLOAT_EQ(text.lightDir[0], original.lightDir[0]);
}

TEST(TextOperations, ScalingKeepsEmptyBoundsEmpty) {
  // The blank letter and the empty first pieces have the empty value; it
  // must stay the marker it is, so that a later union still starts afresh.
  CText3D text = TwoSplitLettersAroundABlank();
  text.Scale(0.5);
  const CBoundRect empty;
  const CBoundRect& blank = text.letters[1].bounds;
  EXPECT_EQ(blank.left, empty.left);
  EXPECT_EQ(blank.top, empty.top);
  EXPECT_EQ(text.letters[0].pieces[0]->bounds.right, empty.right);
  EXPECT_EQ(text.PieceAt(3), text.letters[2].pieces[0].get());
}
