// The examiner's navigation keys: how far each one turns or zooms at each
// speed, and how they start and stop the spin.
#include <gtest/gtest.h>

#include "TestExaminerFixture.h"

namespace examiner_test {
namespace {

using ExaminerKeys = ExaminerFixture;

struct SpeedCase {
  int speed;
  double step;  // radians of one arrow key
  double closer;  // distance factor of Page Up
};
constexpr SpeedCase kSpeeds[] = {
    {CVRMLView::kFast, 0.25, 0.8},
    {CVRMLView::kMedium, 0.25 / 3.0, 1.0 - 0.2 / 3.0},
    {CVRMLView::kSlow, 0.05, 0.96},
};

TEST_F(ExaminerKeys, ArrowsAndPageKeysStepByAQuarterDividedBySpeed) {
  for (const SpeedCase& c : kSpeeds) {
    SCOPED_TRACE(c.speed);
    CVRMLView& view = MakeView(c.speed);
    m_binding->ViewCamera().Reset();
    SendKey(view, Qt::Key_Right);
    EXPECT_NEAR(Yaw(Camera()), c.step, 1e-6);
    SendKey(view, Qt::Key_Left);
    SendKey(view, Qt::Key_Left);
    EXPECT_NEAR(Yaw(Camera()), -c.step, 1e-6);

    m_binding->ViewCamera().Reset();
    SendKey(view, Qt::Key_Down);
    EXPECT_NEAR(Pitch(Camera()), c.step, 1e-6);
    EXPECT_NEAR(Yaw(Camera()), 0.0, 1e-6);
    SendKey(view, Qt::Key_Up);
    SendKey(view, Qt::Key_Up);
    EXPECT_NEAR(Pitch(Camera()), -c.step, 1e-6);

    // Page Up then Page Down brings the eye back.
    m_binding->ViewCamera().Reset();
    const double before = EyeDistance(*m_binding);
    SendKey(view, Qt::Key_PageUp);
    EXPECT_NEAR(EyeDistance(*m_binding), before * c.closer, 1e-5);
    SendKey(view, Qt::Key_PageDown);
    EXPECT_NEAR(EyeDistance(*m_binding), before, 1e-5);
    EXPECT_TRUE(SameCamera(Camera(), m_fitted));
  }
}

TEST_F(ExaminerKeys, KeypadPlusAndMinusZoomButTheMainKeysDoNot) {
  CVRMLView& view = MakeView();
  const double before = EyeDistance(*m_binding);
  SendKey(view, Qt::Key_Plus);
  SendKey(view, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(EyeDistance(*m_binding), before);
  SendKey(view, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_NEAR(EyeDistance(*m_binding), before * 0.8, 1e-5);
  SendKey(view, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_NEAR(EyeDistance(*m_binding), before, 1e-5);
}

TEST_F(ExaminerKeys, HeldArrowSpinsOnlyWithAutoRotation) {
  CVRMLView& off = MakeView(CVRMLView::kFast, 0);
  SendKey(off, Qt::Key_Right, Qt::NoModifier, true);
  EXPECT_FALSE(off.Spinning());

  CVRMLView& on = MakeView(CVRMLView::kFast, 1);
  SendKey(on, Qt::Key_Right);  // a single press does not spin
  EXPECT_FALSE(on.Spinning());
  SendKey(on, Qt::Key_Right, Qt::NoModifier, true);
  ASSERT_TRUE(on.Spinning());
  EXPECT_FLOAT_EQ(on.SpinYaw(), 0.25f);
  EXPECT_FLOAT_EQ(on.SpinPitch(), 0.0f);
}

TEST_F(ExaminerKeys, SpinAdvancesOnEverySecondTick) {
  CVRMLView& view = MakeView(CVRMLView::kSlow, 1);
  m_binding->ViewCamera().Reset();
  view.KeyOperation(Qt::Key_Left, 2, Qt::NoModifier);
  ASSERT_TRUE(view.Spinning());
  EXPECT_NEAR(Yaw(Camera()), -0.05, 1e-6);
  view.SpinTick();
  EXPECT_NEAR(Yaw(Camera()), -0.05, 1e-6);
  view.SpinTick();
  EXPECT_NEAR(Yaw(Camera()), -0.10, 1e-6);
  view.SpinTick();
  view.SpinTick();
  EXPECT_NEAR(Yaw(Camera()), -0.15, 1e-6);
}

TEST_F(ExaminerKeys, HomeStopsTheSpinAndResetsTheCameraToTheFittedOne) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  SendKey(view, Qt::Key_Down);
  SendKey(view, Qt::Key_PageUp);
  view.KeyOperation(Qt::Key_Right, 3, Qt::NoModifier);
  view.SpinTick();
  view.SpinTick();
  ASSERT_TRUE(view.Spinning());
  ASSERT_FALSE(SameCamera(Camera(), m_fitted));
  SendKey(view, Qt::Key_Home);
  EXPECT_FALSE(view.Spinning());
  EXPECT_TRUE(SameCamera(Camera(), m_fitted));
}

TEST_F(ExaminerKeys, KeysHandedOnFromTheLayoutViewStopTheSpinToo) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  view.KeyOperation(Qt::Key_Up, 2, Qt::NoModifier);
  ASSERT_TRUE(view.Spinning());
  view.KeyOperation(Qt::Key_PageDown, 1, Qt::NoModifier);
  EXPECT_FALSE(view.Spinning());
}

TEST_F(ExaminerKeys, OtherKeysLeaveTheCameraAlone) {
  CVRMLView& view = MakeView();
  SendKey(view, Qt::Key_A);
  SendKey(view, Qt::Key_End);
  SendKey(view, Qt::Key_F12);
  SendKey(view, Qt::Key_Tab);
  EXPECT_TRUE(SameCamera(Camera(), m_fitted));
}

}  // namespace
}  // namespace examiner_test
