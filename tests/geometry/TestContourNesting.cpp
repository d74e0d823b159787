// Deciding outlines and holes by nesting, and regrouping a letter's contours
// into pieces of one outline each followed by its holes.
#include <gtest/gtest.h>

#include "GeometryFixtures.h"
#include "RealGlyphs.h"

namespace {

// The first point of each contour of a piece identifies it in the fixtures.
std::vector<CPoint2D> FirstPoints(const CLetterPiece& piece) {
  std::vector<CPoint2D> firsts;
  for (const auto& c : piece.contours) firsts.push_back(c->points.front());
  return firsts;
}

}  // namespace

TEST(ContourNesting, EachOutlineBecomesAPieceFollowedByItsHoles) {
  // Pieces are given by the first points of their contours; a letter of
  // more than one piece starts with an empty one.
  using Pieces = std::vector<std::vector<CPoint2D>>;
  struct Case {
    const char* what;
    std::vector<Polygon> contours;
    Pieces pieces;
  };
  const Polygon lShape{{0, 0}, {0, 100}, {50, 100}, {50, 50}, {100, 50}, {100, 0}};
  const std::vector<Case> cases = {
      {"ring: outline first", {Rect(0, 0, 100, 100), Rect(20, 20, 80, 80)}, {{{0, 0}, {20, 20}}}},
      {"hole listed before its outline is swapped behind it",
       {Rect(20, 20, 80, 80), Rect(0, 0, 100, 100)},
       {{{0, 0}, {20, 20}}}},
      {"'i': stem and dot", {Rect(0, 0, 100, 500), Rect(0, 600, 100, 700)}, {{}, {{0, 0}}, {{0, 600}}}},
      {"'%': ring, bar, ring",
       {Rect(0, 500, 300, 800), Rect(50, 550, 250, 750), Rect(350, 0, 400, 800), Rect(500, 0, 800, 300),
        Rect(550, 50, 750, 250)},
       {{}, {{0, 500}, {50, 550}}, {{350, 0}}, {{500, 0}, {550, 50}}}},
      {"outline found later adopts both holes and stays ahead of the bar",
       {Rect(10, 10, 40, 40), Rect(60, 10, 90, 40), Rect(0, 0, 100, 50), Rect(200, 0, 250, 50)},
       {{}, {{0, 0}, {10, 10}, {60, 10}}, {{200, 0}}}},
      {"island inside a hole is a piece after the ring",
       {Rect(0, 0, 100, 100), Rect(10, 10, 90, 90), Rect(30, 30, 70, 70)},
       {{}, {{0, 0}, {10, 10}}, {{30, 30}}}},
      {"hole inside an island stays with the island",
       {Rect(0, 0, 100, 100), Rect(10, 10, 90, 90), Rect(20, 20, 80, 80), Rect(30, 30, 70, 70)},
       {{}, {{0, 0}, {10, 10}}, {{20, 20}, {30, 30}}}},
      {"inside the outline's bounds but in its notch", {lShape, Rect(60, 60, 90, 90)},
       {{}, {{0, 0}}, {{60, 60}}}},
      {"contour flattened to a line relates to nothing", {Rect(0, 0, 100, 100), {{20, 50}, {80, 50}}},
       {{}, {{0, 0}}, {{20, 50}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CText3D text = OneLetter(c.contours);
    text.FindContours();
    Pieces pieces;
    for (const auto& piece : text.letters[0].pieces) pieces.push_back(FirstPoints(*piece));
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(ContourNesting, EmptyFirstPieceHasNoBoundsAndTheLetterSpansItsParts) {
  // "i": stem, then dot.
  CText3D text = OneLetter({Rect(0, 0, 100, 500), Rect(0, 600, 100, 700)});
  text.FindContours();
  const CLetter& letter = text.letters[0];
  ASSERT_EQ(letter.pieces.size(), 3u);
  EXPECT_TRUE(letter.pieces[0]->bounds.IsDegenerate());
  EXPECT_DOUBLE_EQ(letter.pieces[2]->bounds.top, 700.0);
  EXPECT_DOUBLE_EQ(letter.bounds.top, 700.0);
  EXPECT_DOUBLE_EQ(letter.bounds.bottom, 0.0);
}

TEST(ContourNesting, RealGlyphsSplitAsTheirShapesSay) {
  struct Case {
    std::string text;
    std::vector<std::size_t> contoursPerPiece;
  };
  // "o": outline with hole; "i": empty piece, then stem and dot; "8": one
  // outline with two holes; "%": two rings and a bar; "B": two holes.
  const std::vector<Case> cases = {{"o", {2}}, {"i", {0, 1, 1}}, {"8", {3}}, {"B", {3}}};
  for (const char* path : {GLYPHKILN_LIBERATION_SANS, GLYPHKILN_DEJAVU_SANS}) {
    for (const Case& c : cases) {
      const auto text = BuildFromFont(path, c.text, false);
      ASSERT_NE(text, nullptr);
      ASSERT_EQ(text->letters.size(), 1u);
      std::vector<std::size_t> counts;
      for (const auto& piece : text->letters[0].pieces) counts.push_back(piece->contours.size());
      EXPECT_EQ(counts, c.contoursPerPiece) << path << " '" << c.text << "'";
    }
    const auto percent = BuildFromFont(path, "%", false);
    ASSERT_NE(percent, nullptr);
    const auto& pieces = percent->letters[0].pieces;
    ASSERT_EQ(pieces.size(), 4u) << path;
    std::size_t rings = 0, bars = 0;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
      rings += pieces[k]->contours.size() == 2;
      bars += pieces[k]->contours.size() == 1;
    }
    EXPECT_EQ(rings, 2u) << path;
    EXPECT_EQ(bars, 1u) << path;
  }
}
