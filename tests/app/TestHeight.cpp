// Height scales the letters in place: contour points and bounds follow the
// new height, depth and bevel size stay, the flat picture stays fitted.
#include <QLineEdit>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "Text3D.h"

namespace {

std::vector<CPoint2D> AllPoints(const CText3D& text) {
  std::vector<CPoint2D> points;
  for (const CLetter& letter : text.letters) {
    for (const auto& piece : letter.pieces) {
      for (const auto& contour : piece->contours) points.insert(points.end(), contour->points.begin(), contour->points.end());
    }
  }
  return points;
}

}  // namespace

TEST(Height, DoublingTheHeightDoublesPointsAndBoundsOnly) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->ApplyShape(0.4, 2, 1, 1);
  const CText3D* text = view->CurrentText();
  const std::vector<CPoint2D> before = AllPoints(*text);
  const CBoundRect letterBounds = text->letters.front().bounds;
  const auto rectsBefore = view->PieceRects();
  ASSERT_DOUBLE_EQ(view->HeightSetting(), 1.0);

  view->SetHeight(2.0);
  EXPECT_DOUBLE_EQ(view->HeightSetting(), 2.0);
  const std::vector<CPoint2D> after = AllPoints(*view->CurrentText());
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_DOUBLE_EQ(after[i].x, 2.0 * before[i].x);
    EXPECT_DOUBLE_EQ(after[i].y, 2.0 * before[i].y);
  }
  EXPECT_DOUBLE_EQ(text->letters.front().bounds.top, 2.0 * letterBounds.top);
  EXPECT_DOUBLE_EQ(text->letters.front().bounds.right, 2.0 * letterBounds.right);
  for (int n = 0; const CLetterPiece* piece = text->PieceAt(n); ++n) {
    EXPECT_DOUBLE_EQ(piece->depth, 0.4);
    EXPECT_DOUBLE_EQ(piece->bevelSize, 0.06);
  }
  // Always fitted: the picture keeps its place on the screen (within rounding).
  const auto rectsAfter = view->PieceRects();
  ASSERT_EQ(rectsBefore.size(), rectsAfter.size());
  EXPECT_NEAR(rectsAfter.front().left, rectsBefore.front().left, 1);
  EXPECT_NEAR(rectsAfter.back().right, rectsBefore.back().right, 1);
}

TEST(Height, TooSmallOrUnchangedHeightChangesNothing) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  const std::vector<CPoint2D> before = AllPoints(*view->CurrentText());
  view->SetHeight(0.0005);
  view->SetHeight(1.0);
  EXPECT_DOUBLE_EQ(view->HeightSetting(), 1.0);
  const std::vector<CPoint2D> after = AllPoints(*view->CurrentText());
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].x, before[i].x);
}

TEST(Height, StoredHeightIsWhereTheNextRunStarts) {
  ProfileScope profile;
  {
    AppWindow app;
    app.View()->SetHeight(2.5);
    app.CloseAndDestroy();
  }
  EXPECT_EQ(profile.Settings().GetInt("ZARN Parameters", "Height", -1), 2500);
  AppWindow again;
  EXPECT_DOUBLE_EQ(again.View()->HeightSetting(), 2.5);
  // One em of the letters is the height in model units: "G" is about 0.7 em tall.
  const CBoundRect& g = again.View()->CurrentText()->letters.front().bounds;
  EXPECT_GT(g.top - g.bottom, 0.5 * 2.5);
  EXPECT_LT(g.top - g.bottom, 1.0 * 2.5);
}

TEST(Height, CommandOffersTheHeightAndAppliesTheNumberEntered) {
  // The number checks themselves are the dialog's (TestDialogs.cpp).
  ProfileScope profile;
  AppWindow app;
  QString offered;
  WhenModal([&](QWidget* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>("1000");
    offered = edit->text();
    edit->setText("3");
    static_cast<QDialog*>(dialog)->accept();
  });
  app.frame->Execute(kCmdHeight);
  EXPECT_EQ(offered, "1");
  EXPECT_DOUBLE_EQ(app.View()->HeightSetting(), 3.0);
}
