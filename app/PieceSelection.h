// The layout view's selection rules, free of any window: the pieces' screen
// rectangles, which piece a point hits, what a click with or without Shift
// or Ctrl does, and how Tab walks through the pieces. Every change reports
// whether the selection changed, so the view knows when to repaint.
#pragma once

#include <vector>

// A piece's window rectangle; right and bottom are outside it.
struct PieceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class PieceSelection {
 public:
  // New rectangles, one per piece in PieceAt order; the selection goes.
  // True when something was selected before.
  bool SetRects(std::vector<PieceRect> rects);
  // No rectangles and nothing selected (the letters are being rebuilt).
  void Clear();

  // The highest piece whose rectangle holds the point, -1 for none.
  int HitTest(int x, int y) const;
  // A left click: a plain one selects the piece under the point or nothing;
  // with addOrRemove (Shift or Ctrl) the piece under the point is added or
  // taken away, and a click on nothing changes nothing.
  bool Click(int x, int y, bool addOrRemove);
  // Tab: with one piece selected the next one (after the last, none);
  // otherwise the first. Nothing happens without pieces.
  bool Cycle();

  const std::vector<int>& Selected() const { return m_selected; }
  const std::vector<PieceRect>& Rects() const { return m_rects; }

 private:
  bool Set(std::vector<int> selected);

  std::vector<PieceRect> m_rects;
  std::vector<int> m_selected;  // in the order selected, no duplicates
};
