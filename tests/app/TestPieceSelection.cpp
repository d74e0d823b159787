// The layout view's selection rules without a window: hits on overlapping
// rectangles, plain and Shift/Ctrl clicks, the Tab cycle, and new
// rectangles dropping the selection.
#include <gtest/gtest.h>

#include "PieceSelection.h"

namespace {

// Three pieces: 0 and 1 overlap (1 is on top), 2 apart, 3 empty.
PieceSelection ThreePieces() {
  PieceSelection s;
  s.SetRects({{0, 0, 10, 10}, {5, 5, 15, 15}, {20, 0, 30, 10}, {}});
  return s;
}

TEST(PieceSelection, ClicksFollowTheirRules) {
  struct Step {
    int x, y;
    bool addOrRemove;
    std::vector<int> selected;
    bool changed;
  };
  const Step steps[] = {
      {7, 7, false, {1}, true},         // the top piece of two wins
      {2, 2, false, {0}, true},
      {2, 2, false, {0}, false},        // the same again changes nothing
      {25, 5, true, {0, 2}, true},      // added, in the order clicked
      {8, 8, true, {0, 2, 1}, true},
      {2, 2, true, {2, 1}, true},       // taken away
      {50, 50, true, {2, 1}, false},    // nothing under the mouse
      {50, 50, false, {}, true},        // a plain click on nothing clears
  };
  PieceSelection s = ThreePieces();
  for (const Step& step : steps) {
    EXPECT_EQ(s.Click(step.x, step.y, step.addOrRemove), step.changed) << step.x << "," << step.y;
    EXPECT_EQ(s.Selected(), step.selected) << step.x << "," << step.y;
  }
  EXPECT_EQ(s.HitTest(0, 10), -1) << "right and bottom edges are outside";
}

TEST(PieceSelection, TabWalksEveryPieceThenNone) {
  PieceSelection s = ThreePieces();
  const std::size_t count = s.Rects().size();
  for (std::size_t n = 0; n < count; ++n) {
    EXPECT_TRUE(s.Cycle());
    EXPECT_EQ(s.Selected(), std::vector<int>{static_cast<int>(n)});
  }
  EXPECT_TRUE(s.Cycle());
  EXPECT_TRUE(s.Selected().empty());
  // Several selected: Tab starts again at the first.
  s.Click(2, 2, true);
  s.Click(25, 5, true);
  EXPECT_TRUE(s.Cycle());
  EXPECT_EQ(s.Selected(), std::vector<int>{0});
  // New rectangles drop the selection and say there was one.
  EXPECT_TRUE(s.SetRects({{0, 0, 1, 1}}));
  EXPECT_TRUE(s.Selected().empty());
  EXPECT_FALSE(s.SetRects({}));
  EXPECT_FALSE(s.Cycle()) << "nothing to walk through";
}

}  // namespace
