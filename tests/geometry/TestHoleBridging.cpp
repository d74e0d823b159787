// Orientation of the contours and the bridges that join holes to the outer
// contour in one merged outline.
#include <gtest/gtest.h>

#include "ContourPredicates.h"
#include "GeometryFixtures.h"
#include "HoleBridging.h"
#include "RealGlyphs.h"

namespace {

using Entry = std::pair<std::uint32_t, std::uint32_t>;

std::vector<Entry> Merged(const CLetterPiece& piece) {
  std::vector<Entry> entries;
  for (std::size_t k = 0; k < piece.bridgeContour.size(); ++k) {
    entries.emplace_back(piece.bridgeContour[k], piece.bridgePoint[k]);
  }
  return entries;
}

// The outline positions from which bridges leave (entry followed by an
// entry of another contour that is not the way back).
std::vector<CPoint2D> BridgeStarts(const CLetterPiece& piece) {
  std::vector<CPoint2D> starts;
  const std::size_t n = piece.bridgeContour.size();
  for (std::size_t k = 0; k + 1 < n; ++k) {
    if (piece.bridgeContour[k + 1] > piece.bridgeContour[k]) starts.push_back(MergedPoint(piece, k));
  }
  return starts;
}

}  // namespace

TEST(HoleBridging, SingleContourIsTurnedClockwiseAndNeedsNoMergedOutline) {
  auto piece = MakePiece({Rect(0, 0, 10, 10, false)});
  piece->CalculateContours();
  EXPECT_EQ(Orientation(*piece->contours[0]), 1);
  EXPECT_TRUE(piece->bridgeContour.empty());
  EXPECT_TRUE(piece->holeMerged.empty());
  ExpectBridgedPiece(*piece, "single contour");
}

TEST(HoleBridging, ContourWithoutAreaKeepsItsOrder) {
  auto piece = MakePiece({{{0, 0}, {5, 5}, {10, 10}}});
  piece->CalculateContours();
  EXPECT_EQ(piece->contours[0]->points.front(), (CPoint2D{0, 0}));
}

TEST(HoleBridging, EmptyPieceIsLeftUntouched) {
  CLetterPiece piece(255, 0.2);
  piece.CalculateContours();
  EXPECT_TRUE(piece.contours.empty());
  EXPECT_TRUE(piece.bridgeContour.empty());
  EXPECT_TRUE(piece.holeMerged.empty());
}

TEST(HoleBridging, OuterCounterClockwiseAndHoleClockwiseAreBothTurned) {
  auto piece = MakePiece({Rect(0, 0, 100, 100, false), Rect(40, 40, 60, 60, true)});
  piece->CalculateContours();
  EXPECT_EQ(Orientation(*piece->contours[0]), 1);
  EXPECT_EQ(Orientation(*piece->contours[1]), -1);
  EXPECT_EQ(piece->contours[0]->points.front(), (CPoint2D{0, 100}));
  EXPECT_EQ(piece->contours[1]->points.front(), (CPoint2D{60, 40}));
  EXPECT_EQ(piece->holeMerged, (std::vector<std::uint32_t>{0, 1}));
  ExpectBridgedPiece(*piece, "turned ring");
}

TEST(HoleBridging, RingIsMergedThroughOneBridgeCrossedBothWays) {
  auto piece = MakePiece({Rect(0, 0, 100, 100), Rect(40, 40, 60, 60, false)});
  piece->CalculateContours();
  ASSERT_EQ(piece->bridgeContour.size(), 4u + 4u + 2u);
  EXPECT_EQ(piece->holeMerged, (std::vector<std::uint32_t>{0, 1}));
  ExpectBridgedPiece(*piece, "ring");
  // The first outer point, (0,0), sees the hole; its nearest visible pick
  // is the hole's corner (40,40).
  const auto merged = Merged(*piece);
  EXPECT_EQ(MergedPoint(*piece, 0), (CPoint2D{0, 0}));
  EXPECT_EQ(MergedPoint(*piece, 1), (CPoint2D{40, 40}));
  EXPECT_EQ(merged[5], merged[1]) << "the hole is walked round back to its first point";
  EXPECT_EQ(merged[6], merged[0]) << "then the bridge is crossed back";
  ASSERT_EQ(piece->bridgeEnds.size(), 2u);
}

TEST(HoleBridging, BridgeMovesOneStepAlongTheOutlineWhenThatIsShorter) {
  // From (0,0) the hole's nearest visible corner is far; the next outer
  // point (0,100) is right next to the hole, so the bridge starts there.
  auto piece = MakePiece({Rect(0, 0, 100, 100), Rect(5, 80, 20, 95, false)});
  piece->CalculateContours();
  ExpectBridgedPiece(*piece, "step along outline");
  EXPECT_EQ(MergedPoint(*piece, 1), (CPoint2D{0, 100}));
  EXPECT_EQ(piece->bridgeContour[2], 1u);
}

TEST(HoleBridging, TwoHolesSideBySideAreBothJoinedFromDifferentPoints) {
  auto piece = MakePiece({Rect(0, 0, 100, 50), Rect(10, 10, 40, 40, false), Rect(60, 10, 90, 40, false)});
  piece->CalculateContours();
  EXPECT_EQ(piece->holeMerged, (std::vector<std::uint32_t>{0, 1, 1}));
  EXPECT_EQ(piece->bridgeContour.size(), 4u + 4u + 2u + 4u + 2u);
  ExpectBridgedPiece(*piece, "two holes");
  // A point that already carries a bridge never starts another one.
  const auto starts = BridgeStarts(*piece);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_FALSE(starts[0] == starts[1]);
}

TEST(HoleBridging, HoleSeenOnlyFromPointsAlreadyPassedStaysOut) {
  // The small triangle sits by the first outer edge: only the first two
  // outer points see it, and the scan spends both on the other hole before
  // coming to it. It stays a hole of the piece but not of the outline.
  auto piece = MakePiece({{{92, 0}, {24, -42}, {-44, -75}, {-53, 0}, {-46, 79}, {14, 24}},
                          {{23, 10}, {-1, 27}, {-14, 3}, {8, -10}},
                          {{41, -26}, {27, -23}, {33, -36}}});
  piece->CalculateContours();
  EXPECT_EQ(piece->holeMerged, (std::vector<std::uint32_t>{0, 1, 0}));
  EXPECT_EQ(piece->contours.size(), 3u);
  EXPECT_EQ(Orientation(*piece->contours[2]), -1);
  ExpectBridgedPiece(*piece, "unreachable hole");
}

TEST(HoleBridging, HoleWithoutPointsCannotBeBridged) {
  auto piece = MakePiece({Rect(0, 0, 100, 100), {}, Rect(40, 40, 60, 60, false)});
  piece->CalculateContours();
  EXPECT_EQ(piece->holeMerged, (std::vector<std::uint32_t>{0, 0, 1}));
  ExpectBridgedPiece(*piece, "empty hole");
}

TEST(HoleBridging, SpliceWalksTheWholeHoleFromItsTargetAndReturns) {
  auto piece =
      MakePiece({Rect(0, 0, 100, 100), Rect(40, 40, 60, 60, false)}, {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
  Splice(*piece, 1, 2, 1);
  const std::vector<Entry> expected = {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 0}, {1, 1},
                                       {1, 2}, {0, 1}, {0, 2}, {0, 3}};
  EXPECT_EQ(Merged(*piece), expected);
}

TEST(HoleBridging, BridgeTargetIsTheFirstVisibleHolePointOrItsNearerSuccessor) {
  auto piece = MakePiece({Rect(0, 0, 100, 100), {{40, 40}, {60, 40}, {60, 60}, {40, 60}}, {}},
                         {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
  piece->holeMerged.assign(3, 0);
  // From (100,0): hole point 0 (40,40) is visible, point 1 (60,40) too and
  // nearer.
  EXPECT_EQ(FindBridgeTarget(*piece, {100, 0}, 1), 1);
  // From (0,0): point 0 is visible and nearer than point 1.
  EXPECT_EQ(FindBridgeTarget(*piece, {0, 0}, 1), 0);
  // From (100,100): points 0 and 1 are hidden behind the hole itself.
  EXPECT_EQ(FindBridgeTarget(*piece, {100, 100}, 1), 2);
  EXPECT_EQ(FindBridgeTarget(*piece, {0, 0}, 2), -1);
  EXPECT_TRUE(Blocked(*piece, {0, 0}, {60, 60}));
  EXPECT_FALSE(Blocked(*piece, {0, 0}, {40, 40}));
}

TEST(HoleBridging, RealGlyphsAreOrientedAndFullyBridged) {
  std::string all;
  for (int c = 0x21; c <= 0xFF; ++c) all.push_back(static_cast<char>(c));
  for (const char* path : {GLYPHKILN_LIBERATION_SANS, GLYPHKILN_DEJAVU_SANS}) {
    const auto text = BuildFromFont(path, all);
    ASSERT_NE(text, nullptr);
    for (const CLetter& letter : text->letters) {
      for (const auto& piece : letter.pieces) {
        if (piece->contours.empty()) continue;
        const std::string what = std::string(path) + " code " + std::to_string(letter.code);
        ExpectBridgedPiece(*piece, what);
        for (std::size_t j = 1; j < piece->holeMerged.size(); ++j) {
          EXPECT_EQ(piece->holeMerged[j], 1u) << what << " hole " << j;
        }
      }
    }
  }
}
