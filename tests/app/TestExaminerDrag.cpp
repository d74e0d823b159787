// Turning the letters with the left button held: a step at once, then steps
// at the keyboard's repeat pace from wherever the cursor is, and a spin left
// behind only by a drag that got past the repeat delay.
#include <gtest/gtest.h>

#include "TestExaminerFixture.h"

namespace examiner_test {
namespace {

using ExaminerDrag = ExaminerFixture;

// The view is 400 x 300: its centre is (200, 150).
constexpr QPoint kCentre(200, 150);
constexpr QPoint kRightEdge(400, 150);

TEST_F(ExaminerDrag, PressTurnsOnceAtOnceByTheOffsetFromTheCentre) {
  struct Case {
    int speed;
    QPoint at;
    double yaw, pitch;
  };
  // At an edge a step is as big as the arrow key's towards that edge.
  for (const Case& c : {Case{CVRMLView::kFast, kRightEdge, 0.25, 0.0},
                        Case{CVRMLView::kSlow, QPoint(300, 150), 0.025, 0.0},  // half way to the edge
                        Case{CVRMLView::kFast, QPoint(200, 300), 0.0, 0.25}}) {  // bottom edge: Down
    SCOPED_TRACE(testing::Message() << c.speed << " at " << c.at.x() << "," << c.at.y());
    CVRMLView& view = MakeView(c.speed);
    m_binding->ViewCamera().Reset();
    Press(view, c.at);
    EXPECT_NEAR(Yaw(Camera()), c.yaw, 1e-6);
    EXPECT_NEAR(Pitch(Camera()), c.pitch, 1e-6);
    Release(view, c.at);
  }
}

TEST_F(ExaminerDrag, StepsFollowTheRepeatDelayThenTheInterval) {
  CVRMLView& view = MakeView(CVRMLView::kFast);
  m_binding->ViewCamera().Reset();
  Press(view, kRightEdge);
  m_clock.now += 499;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.25, 1e-6);  // still only the first step
  m_clock.now += 1;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.50, 1e-6);
  m_clock.now += 29;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.50, 1e-6);
  m_clock.now += 1;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.75, 1e-6);
  Release(view, kRightEdge);
  EXPECT_FALSE(view.Dragging());
  // Ticks after the release do nothing.
  m_clock.now += 1000;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.75, 1e-6);
}

TEST_F(ExaminerDrag, LaterStepsTakeTheCursorWhereItIsNow) {
  CVRMLView& view = MakeView(CVRMLView::kFast);
  m_binding->ViewCamera().Reset();
  Press(view, kRightEdge);
  MoveHeld(view, QPoint(0, 150));  // the left edge
  m_clock.now += 500;
  view.DragTick();
  EXPECT_NEAR(Yaw(Camera()), 0.0, 1e-6);
  EXPECT_FLOAT_EQ(view.SpinYaw(), -0.25f);
  Release(view, QPoint(0, 150));
}

TEST_F(ExaminerDrag, ReleaseBeforeTheDelayNeverSpins) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  m_binding->ViewCamera().Reset();
  Press(view, kRightEdge);
  m_clock.now += 400;
  view.DragTick();
  Release(view, kRightEdge);
  EXPECT_FALSE(view.Spinning());
  EXPECT_NEAR(Yaw(Camera()), 0.25, 1e-6);
}

TEST_F(ExaminerDrag, DragPastTheDelaySpinsOnlyWithAutoRotation) {
  CVRMLView& off = MakeView(CVRMLView::kFast, 0);
  Press(off, kRightEdge);
  m_clock.now += 500;
  off.DragTick();
  Release(off, kRightEdge);
  EXPECT_FALSE(off.Spinning());

  CVRMLView& on = MakeView(CVRMLView::kFast, 1);
  Press(on, QPoint(300, 75));
  m_clock.now += 500;
  on.DragTick();
  Release(on, QPoint(300, 75));
  ASSERT_TRUE(on.Spinning());
  EXPECT_FLOAT_EQ(on.SpinYaw(), 0.125f);
  EXPECT_FLOAT_EQ(on.SpinPitch(), -0.125f);
}

TEST_F(ExaminerDrag, PressAtTheCentreTurnsNothingAndItsSpinStaysStill) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  Press(view, kCentre);
  EXPECT_TRUE(SameCamera(Camera(), m_fitted));
  m_clock.now += 500;
  view.DragTick();
  Release(view, kCentre);
  // A spin of zero steps: running, but the letters stay where they are.
  EXPECT_TRUE(view.Spinning());
  for (int tick = 0; tick < 6; ++tick)
    view.SpinTick();
  EXPECT_TRUE(SameCamera(Camera(), m_fitted));
}

TEST_F(ExaminerDrag, NewPressStopsTheSpin) {
  CVRMLView& view = MakeView(CVRMLView::kFast, 1);
  view.KeyOperation(Qt::Key_Right, 2, Qt::NoModifier);
  ASSERT_TRUE(view.Spinning());
  Press(view, kCentre);
  EXPECT_FALSE(view.Spinning());
  Release(view, kCentre);
  EXPECT_FALSE(view.Spinning());
}

}  // namespace
}  // namespace examiner_test
