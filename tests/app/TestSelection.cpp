// Selecting pieces in the layout view: the hit test, plain and Shift/Ctrl
// clicks, the Tab cycle, and the marks the selection draws.
#include <QImage>
#include <QKeyEvent>

#include "AppTestSupport.h"
#include "CommandTable.h"

namespace {

// Pixels that differ between two pictures inside a rectangle grown by 3.
int DifferencesAround(const QImage& a, const QImage& b, const PieceRect& r) {
  int count = 0;
  for (int y = std::max(0, r.top - 3); y < std::min(a.height(), r.bottom + 3); ++y) {
    for (int x = std::max(0, r.left - 3); x < std::min(a.width(), r.right + 3); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) ++count;
    }
  }
  return count;
}

// Two pieces whose rectangles overlap and a point inside both; false when
// the letters have no such pair.
bool FindOverlap(const std::vector<PieceRect>& rects, int* low, int* high, QPoint* at) {
  for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
    for (int j = i + 1; j < static_cast<int>(rects.size()); ++j) {
      const PieceRect& a = rects[i];
      const PieceRect& b = rects[j];
      const int left = std::max(a.left, b.left), right = std::min(a.right, b.right);
      const int top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
      if (left < right && top < bottom) {
        *low = i;
        *high = j;
        *at = QPoint((left + right) / 2, (top + bottom) / 2);
        return true;
      }
    }
  }
  return false;
}

}  // namespace

TEST(Selection, ClickWhereRectanglesOverlapTakesTheHigherPiece) {
  ProfileScope profile;
  AppWindow app(QSize(600, 150));
  // "©" is a ring with a letter in its hole: two pieces, one inside the other.
  app.View()->SetText("\xA9%");
  int low = 0, high = 0;
  QPoint at;
  ASSERT_TRUE(FindOverlap(app.View()->PieceRects(), &low, &high, &at));
  EXPECT_EQ(app.View()->HitTest(at.x(), at.y()), std::max(low, high));
  // Where no piece is, the hit test finds nothing.
  EXPECT_EQ(app.View()->HitTest(1, 1), -1);
}

TEST(Selection, PlainClickSelectsOnePieceOrNone) {
  ProfileScope profile;
  AppWindow app;
  ASSERT_GE(app.View()->PieceRects().size(), 3u);
  const int first = app.ClickPiece(0);
  ASSERT_GE(first, 0);
  EXPECT_EQ(app.View()->Selection(), std::vector<int>{first});
  const int third = app.ClickPiece(2);
  EXPECT_EQ(app.View()->Selection(), std::vector<int>{third});
  app.View()->Click(1, 1, Qt::NoModifier);
  EXPECT_TRUE(app.View()->Selection().empty());
}

TEST(Selection, CtrlClickTogglesOnlyThatPieceAndItsMark) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  const auto rects = view->PieceRects();
  ASSERT_GE(rects.size(), 3u);
  const QImage plain = view->Picture();
  // "Glyphkiln": G, l and y stand apart, so their rectangles do not overlap.
  const int pieceA = app.ClickPiece(0);
  const int pieceB = app.ClickPiece(2, Qt::ControlModifier);
  EXPECT_EQ(view->Selection(), (std::vector<int>{pieceA, pieceB}));
  const QImage both = view->Picture();
  EXPECT_GT(DifferencesAround(plain, both, rects[pieceA]), 0) << "the first piece shows its mark";
  EXPECT_GT(DifferencesAround(plain, both, rects[pieceB]), 0) << "the second piece shows its mark";

  // Ctrl+click on a selected piece removes it and its mark, and nothing else.
  app.ClickPiece(0, Qt::ControlModifier);
  EXPECT_EQ(view->Selection(), std::vector<int>{pieceB});
  const QImage one = view->Picture();
  EXPECT_EQ(DifferencesAround(plain, one, rects[pieceA]), 0);
  EXPECT_GT(DifferencesAround(plain, one, rects[pieceB]), 0);

  // Shift works like Ctrl; a Shift click beside the letters changes nothing.
  app.ClickPiece(0, Qt::ShiftModifier);
  EXPECT_EQ(view->Selection(), (std::vector<int>{pieceB, pieceA}));
  view->Click(1, 1, Qt::ShiftModifier);
  EXPECT_EQ(view->Selection().size(), 2u);
}

TEST(Selection, MarksAreThreeDottedRectanglesAroundThePiece) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  const QImage plain = view->Picture();
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  const QImage marked = view->Picture();
  const PieceRect r = view->PieceRects()[0];
  // Outside the outermost rectangle nothing changes.
  int outside = 0;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      const bool near = x >= r.left - 2 && x < r.right + 2 && y >= r.top - 2 && y < r.bottom + 2;
      if (!near && plain.pixel(x, y) != marked.pixel(x, y)) ++outside;
    }
  }
  EXPECT_EQ(outside, 0);
  // The outermost rectangle's top edge is dotted: every other pixel inverted.
  const int y = r.top - 2;
  ASSERT_GE(y, 0);
  int inverted = 0;
  for (int x = r.left - 2; x < r.right + 2; ++x) {
    if (marked.pixel(x, y) != plain.pixel(x, y)) {
      ++inverted;
      EXPECT_EQ(marked.pixel(x, y) & 0xFFFFFF, ~plain.pixel(x, y) & 0xFFFFFF);
    }
  }
  EXPECT_NEAR(inverted, (r.right - r.left + 4) / 2, 1);
}

TEST(Selection, TabCyclesThroughThePiecesAndPastTheEnd) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  const int count = static_cast<int>(view->PieceRects().size());
  ASSERT_GT(count, 1);
  for (int n = 0; n < count; ++n) {
    view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
    ASSERT_EQ(view->Selection(), std::vector<int>{n});
  }
  // After the last piece nothing is selected; the next Tab starts again.
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  EXPECT_TRUE(view->Selection().empty());
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  EXPECT_EQ(view->Selection(), std::vector<int>{0});
  // Several selected pieces give way to the first one.
  app.ClickPiece(2, Qt::ControlModifier);
  ASSERT_EQ(view->Selection().size(), 2u);
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  EXPECT_EQ(view->Selection(), std::vector<int>{0});
  // F12 reaches the same handler and is ignored.
  view->HandleKey(Qt::Key_F12, 1, Qt::NoModifier);
  EXPECT_EQ(view->Selection(), std::vector<int>{0});
}

TEST(Selection, TabKeyPressGoesToTheSelectionNotTheFocusChain) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->setFocus();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(view, &tab);
  EXPECT_EQ(view->Selection(), std::vector<int>{0});
}

TEST(Selection, ResizingEmptiesTheSelection) {
  ProfileScope profile;
  AppWindow app(QSize(600, 150));
  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ASSERT_FALSE(app.View()->Selection().empty());
  app.SetLayoutSize(QSize(500, 120));
  EXPECT_TRUE(app.View()->Selection().empty());
  EXPECT_TRUE(app.frame->Action(kCmdText)->isEnabled());
}

TEST(Selection, TextWithoutOutlinesHasNothingToSelect) {
  ProfileScope profile;
  AppWindow app;
  app.View()->SetText("   ");
  EXPECT_TRUE(app.View()->PieceRects().empty());
  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  app.View()->Click(300, 75, Qt::NoModifier);
  EXPECT_TRUE(app.View()->Selection().empty());
  EXPECT_EQ(app.View()->Fit().scaleX, 0.0);
}
