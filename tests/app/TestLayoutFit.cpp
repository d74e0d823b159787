// Fitting the flat letters into the layout view: centred, five pixels free
// in the tighter direction, aspect kept, y flipped.
#include <algorithm>

#include "AppTestSupport.h"
#include "LayoutFit.h"
#include "Text3D.h"

namespace {

CBoundRect Bounds(double left, double top, double right, double bottom) {
  CBoundRect r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

}  // namespace

TEST(LayoutFit, WideTextIsBoundByTheWidthAndCentredVertically) {
  const LayoutFit fit = FitBounds(Bounds(0.0, 1.0, 4.0, 0.0), 410, 210);
  EXPECT_DOUBLE_EQ(fit.scaleX, 100.0);
  EXPECT_DOUBLE_EQ(fit.scaleY, -100.0);
  EXPECT_EQ(fit.X(0.0), 5);     // 5 pixels free on the left
  EXPECT_EQ(fit.X(4.0), 405);   // and on the right
  EXPECT_EQ(fit.Y(1.0), 55);    // 55 above: the top of the text is higher on screen
  EXPECT_EQ(fit.Y(0.0), 155);   // 55 below
}

TEST(LayoutFit, TextAwayFromTheOriginIsCentredAllTheSame) {
  const LayoutFit fit = FitBounds(Bounds(1.0, 0.5, 5.0, -0.5), 410, 210);
  EXPECT_EQ(fit.X(1.0), 5);
  EXPECT_EQ(fit.X(5.0), 405);
  EXPECT_EQ(fit.Y(0.5), 55);
  EXPECT_EQ(fit.Y(-0.5), 155);
}

TEST(LayoutFit, TallTextIsBoundByTheHeight) {
  const LayoutFit fit = FitBounds(Bounds(0.0, 4.0, 1.0, 0.0), 410, 210);
  EXPECT_DOUBLE_EQ(fit.scaleX, 50.0);
  EXPECT_EQ(fit.Y(4.0), 5);
  EXPECT_EQ(fit.Y(0.0), 205);
  EXPECT_EQ(fit.X(0.0), 180);
  EXPECT_EQ(fit.X(1.0), 230);
}

TEST(LayoutFit, NothingToShowGivesScaleZeroAndSaneOffsets) {
  const LayoutFit empty = FitBounds(CBoundRect::Empty(), 410, 210);
  EXPECT_EQ(empty.scaleX, 0.0);
  EXPECT_EQ(empty.X(0.0), 205);
  // A window smaller than the margins does not turn the picture over.
  const LayoutFit tiny = FitBounds(Bounds(0.0, 1.0, 4.0, 0.0), 6, 6);
  EXPECT_EQ(tiny.scaleX, 0.0);
  // A point of a piece without contours (empty bounds) maps without overflow.
  const LayoutFit fit = FitBounds(Bounds(0.0, 1.0, 4.0, 0.0), 410, 210);
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
