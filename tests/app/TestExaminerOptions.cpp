// The examiner's settings: the speeds it accepts and what the options dialog
// does to a running spin.
#include <gtest/gtest.h>

#include "TestExaminerFixture.h"

namespace examiner_test {
namespace {

using ExaminerOptions = ExaminerFixture;

TEST_F(ExaminerOptions, SpeedsOutsideTheRangeAreBroughtIntoIt) {
  EXPECT_EQ(MakeView(5).RotationSpeed(), CVRMLView::kFast);
  EXPECT_EQ(MakeView(7).RotationSpeed(), CVRMLView::kFast);
  // Below slow there is no speed the options could show: read as slow.
  EXPECT_EQ(MakeView(-1).RotationSpeed(), CVRMLView::kSlow);
  EXPECT_EQ(MakeView(-1).SpeedDivisor(), 5);
  EXPECT_EQ(MakeView(1).RotationSpeed(), CVRMLView::kMedium);
}

TEST_F(ExaminerOptions, SpeedChangeWhileSpinningChangesTheSpinsPace) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  view.KeyOperation(Qt::Key_Right, 2, Qt::NoModifier);
  ASSERT_TRUE(view.Spinning());
  ASSERT_FLOAT_EQ(view.SpinYaw(), 0.25f);

  m_script.autoRotate = 1;
  m_script.speed = CVRMLView::kSlow;
  view.OnExaminerOptions();
  EXPECT_TRUE(view.Spinning());
  EXPECT_FLOAT_EQ(view.SpinYaw(), 0.05f);  // five times slower

  m_binding->ViewCamera().Reset();
  view.SpinTick();
  view.SpinTick();
  EXPECT_NEAR(Yaw(Camera()), 0.05, 1e-6);
}

TEST_F(ExaminerOptions, TurningAutoRotationOffStopsTheSpinAndOnStartsNone) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  view.KeyOperation(Qt::Key_Down, 2, Qt::NoModifier);
  ASSERT_TRUE(view.Spinning());
  m_script.autoRotate = 0;
  view.OnExaminerOptions();
  EXPECT_FALSE(view.Spinning());
  EXPECT_EQ(view.AutoRotate(), 0);

  m_script.autoRotate = 1;
  view.OnExaminerOptions();
  EXPECT_FALSE(view.Spinning());
}

TEST_F(ExaminerOptions, CancelledDialogChangesNothing) {
  CVRMLView& view = MakeView(CVRMLView::kMedium, 1);
  m_script.acceptOptions = false;
  m_script.autoRotate = 0;
  m_script.speed = CVRMLView::kSlow;
  view.OnExaminerOptions();
  EXPECT_EQ(view.AutoRotate(), 1);
  EXPECT_EQ(view.RotationSpeed(), CVRMLView::kMedium);
}

TEST_F(ExaminerOptions, BackgroundChoiceGoesToTheBindingAsColorRef) {
  CVRMLView& view = MakeView();
  m_script.colour = QColor(0x12, 0x34, 0x56);
  view.OnBackground();
  EXPECT_EQ(m_binding->Background(), 0x563412u);

  m_script.colour.reset();  // cancelled
  view.OnBackground();
  EXPECT_EQ(m_binding->Background(), 0x563412u);
}

}  // namespace
}  // namespace examiner_test
