// Plain 2-D records shared by every geometry stage: a point and an
// axis-aligned bounding rectangle with y growing upward (font convention).
#pragma once

struct CPoint2D {
  double x = 0.0;
  double y = 0.0;
};

inline bool operator==(const CPoint2D& a, const CPoint2D& b) { return a.x == b.x && a.y == b.y; }

// left <= right and bottom <= top for a real rectangle. The empty value holds
// the int limits the wrong way round so that the first union takes the other
// operand whole.
struct CBoundRect {
  double left = 2147483647.0;
  double top = -2147483648.0;
  double right = -2147483648.0;
  double bottom = 2147483647.0;

  static CBoundRect Empty() { return CBoundRect{}; }
  void Reset() { *this = CBoundRect{}; }

  // True when the rectangle has no area (bottom >= top or right <= left);
  // the empty value is degenerate.
  bool IsDegenerate() const { return bottom >= top || right <= left; }

  void Union(double x, double y) {
    if (y > top) top = y;
    if (y < bottom) bottom = y;
    if (x > right) right = x;
    if (x < left) left = x;
  }
  void Union(const CPoint2D& p) { Union(p.x, p.y); }
  void Union(const CBoundRect& r) {
    if (r.top > top) top = r.top;
    if (r.bottom < bottom) bottom = r.bottom;
    if (r.right > right) right = r.right;
    if (r.left < left) left = r.left;
  }
  void Scale(double factor) {
    left *= factor;
    top *= factor;
    right *= factor;
    bottom *= factor;
  }
};
