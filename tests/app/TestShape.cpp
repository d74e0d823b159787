// The Shape command both ways: for all letters it changes the settings new
// letters start from; for the selected pieces only those pieces. And what
// the dialog's choices mean in bevel steps, sizes and depths.
#include <QAbstractButton>
#include <QLineEdit>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "ShapeDialog.h"
#include "Text3D.h"
#include "TextSettings.h"

TEST(ShapeChoices, ChoicesAndLetterValuesMapBothWays) {
  using namespace ShapeChoices;
  for (int choice = 0; choice <= 4; ++choice) EXPECT_EQ(ShapeChoiceFor(BevelStepsForChoice(choice)), choice);
  for (int choice = 0; choice <= 2; ++choice) EXPECT_EQ(SizeChoiceFor(BevelSizeForChoice(choice)), choice);
  // Values that no button stands for.
  EXPECT_EQ(DepthPresetFor(0.2), -1);
  EXPECT_EQ(SizeChoiceFor(1.0 / 30.0), 1);  // the starting bevel size
  EXPECT_EQ(ShapeChoiceFor(5), 1);
  EXPECT_EQ(BevelSizeForChoice(-1), 0.0);
}

TEST(Shape, AllObjectsChangesEveryPieceAndTheSettings) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->ApplyShape(0.4, 2, 4, 1);
  EXPECT_EQ(view->BevelStepsSetting(), 7);
  EXPECT_DOUBLE_EQ(view->BevelSizeSetting(), 0.06);
  EXPECT_DOUBLE_EQ(view->DepthSetting(), 0.4);
  const CText3D* text = view->CurrentText();
  for (int n = 0; const CLetterPiece* piece = text->PieceAt(n); ++n) {
    EXPECT_DOUBLE_EQ(piece->depth, 0.4) << n;
    EXPECT_EQ(piece->bevelSteps, 7) << n;
    EXPECT_DOUBLE_EQ(piece->bevelSize, 0.06) << n;
    if (piece->contours.empty()) continue;
    EXPECT_NEAR(MinZ(*piece), -0.4f, 1e-5f) << n;
  }
}

TEST(Shape, SelectedObjectsChangesOnlyThosePieces) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);  // piece 1 selected
  ASSERT_EQ(view->Selection(), std::vector<int>{1});
  view->ApplyShape(0.15, 0, 2, 0);
  const CText3D* text = view->CurrentText();
  for (int n = 0; const CLetterPiece* piece = text->PieceAt(n); ++n) {
    if (n == 1) {
      EXPECT_DOUBLE_EQ(piece->depth, 0.15);
      EXPECT_EQ(piece->bevelSteps, 2);
      EXPECT_DOUBLE_EQ(piece->bevelSize, 0.02);
      EXPECT_NEAR(MinZ(*piece), -0.15f, 1e-5f);
    } else {
      EXPECT_DOUBLE_EQ(piece->depth, 0.2) << n;
      EXPECT_EQ(piece->bevelSteps, 0) << n;
    }
  }
  // The settings whole-text rebuilds start from stay as they were.
  EXPECT_DOUBLE_EQ(view->DepthSetting(), 0.2);
  EXPECT_EQ(view->BevelStepsSetting(), 0);
  EXPECT_DOUBLE_EQ(view->BevelSizeSetting(), 1.0 / 30.0);
}

TEST(Shape, DialogIsFilledFromTheViewWithoutSelection) {
  ProfileScope profile;
  AppWindow app;
  bool selectedObjectsEnabled = true;
  QString depthText;
  WhenModal([&](QWidget* dialog) {
    selectedObjectsEnabled = dialog->findChild<QAbstractButton*>("1025")->isEnabled();
    depthText = dialog->findChild<QLineEdit*>("1013")->text();
    EXPECT_TRUE(dialog->findChild<QAbstractButton*>("1026")->isChecked());
    EXPECT_TRUE(dialog->findChild<QAbstractButton*>("1018")->isChecked());  // steps 0: straight side
    // Another shape: steps 7, applied to all letters.
    dialog->findChild<QAbstractButton*>("1027")->click();
    static_cast<QDialog*>(dialog)->accept();
  });
  app.frame->Execute(kCmdShape);
  EXPECT_FALSE(selectedObjectsEnabled);
  EXPECT_EQ(depthText, "0.2");
  EXPECT_EQ(app.View()->BevelStepsSetting(), 7);
}

TEST(Shape, DialogIsFilledFromTheFirstSelectedPiece) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  view->ApplyShape(10.0, 2, 3, 0);
  int applyTo = -2;
  QString depthText;
  bool xlong = false;
  WhenModal([&](QWidget* dialog) {
    auto* shape = static_cast<CShapeDialog*>(dialog);
    depthText = shape->findChild<QLineEdit*>("1013")->text();
    xlong = shape->findChild<QAbstractButton*>("1017")->isChecked();
    applyTo = shape->findChild<QAbstractButton*>("1025")->isChecked() ? 0 : 1;
    EXPECT_TRUE(shape->findChild<QAbstractButton*>("1025")->isEnabled());
    EXPECT_TRUE(shape->findChild<QAbstractButton*>("1021")->isChecked());  // three steps
    EXPECT_TRUE(shape->findChild<QAbstractButton*>("1024")->isChecked());  // the large size
    shape->reject();
  });
  app.frame->Execute(kCmdShape);
  EXPECT_EQ(depthText, "10");
  EXPECT_TRUE(xlong);
  EXPECT_EQ(applyTo, 0);
}
