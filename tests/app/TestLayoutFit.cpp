// Fitting the flat letters into the layout view: centred, five pixels free
// in the tighter direction, aspect kept, y flipped.
#include <algorithm>
#include <limits>

#include "AppTestSupport.h"
#include "LayoutFit.h"
#include "Text3D.h"

TEST(LayoutFit, TextIsCentredWithFivePixelsFreeInTheTighterDirection) {
  struct Case {
    const char* name;
    CBoundRect bounds;
    int left, right, top, bottom;  // where the bounds' edges land in a 410 x 210 view
  };
  const Case cases[] = {
      {"wide: bound by the width", CBoundRect{0.0, 1.0, 4.0, 0.0}, 5, 405, 55, 155},
      {"away from the origin", CBoundRect{1.0, 0.5, 5.0, -0.5}, 5, 405, 55, 155},
      {"tall: bound by the height", CBoundRect{0.0, 4.0, 1.0, 0.0}, 180, 230, 5, 205},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LayoutFit fit = FitBounds(c.bounds, 410, 210);
    EXPECT_EQ(fit.X(c.bounds.left), c.left);
    EXPECT_EQ(fit.X(c.bounds.right), c.right);
    // y is flipped: the top of the text is higher on the screen.
    EXPECT_EQ(fit.Y(c.bounds.top), c.top);
    EXPECT_EQ(fit.Y(c.bounds.bottom), c.bottom);
  }
}

TEST(LayoutFit, NothingToShowGivesScaleZeroAndSaneOffsets) {
  const LayoutFit empty = FitBounds(CBoundRect::Empty(), 410, 210);
  EXPECT_EQ(empty.scaleX, 0.0);
  EXPECT_EQ(empty.X(0.0), 205);
  // A window smaller than the margins does not turn the picture over.
  const LayoutFit tiny = FitBounds(CBoundRect{0.0, 1.0, 4.0, 0.0}, 6, 6);
  EXPECT_EQ(tiny.scaleX, 0.0);
  // A point of a piece without contours (empty bounds) maps without overflow.
  const LayoutFit fit = FitBounds(CBoundRect{0.0, 1.0, 4.0, 0.0}, 410, 210);
  EXPECT_EQ(fit.X(CBoundRect::Empty().left), std::numeric_limits<int>::max());
}

TEST(LayoutFit, LayoutViewFitsItsLettersToThePane) {
  ProfileScope profile;
  AppWindow app(QSize(600, 150));
  const auto& rects = app.View()->PieceRects();
  ASSERT_FALSE(rects.empty());
  int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
  for (const PieceRect& r : rects) {
    if (r.right <= r.left) continue;
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
  }
  EXPECT_GE(left, 5);
  EXPECT_GE(top, 5);
  EXPECT_LE(right, 595);
  EXPECT_LE(bottom, 145);
  // Centred: equal margins left and right, and top and bottom, within a pixel or two.
  EXPECT_NEAR(left, 600 - right, 2);
  EXPECT_NEAR(top, 150 - bottom, 2);
  // The tighter direction keeps just its five pixels.
  EXPECT_TRUE(std::abs(left - 5) <= 1 || std::abs(top - 5) <= 1);
}
