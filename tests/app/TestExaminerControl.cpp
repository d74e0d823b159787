// The examiner's rules without a window: the key table at every speed, when
// a spin starts and how it ticks, the drag step and pace, and new options.
#include <gtest/gtest.h>

#include "ExaminerControl.h"
#include "TestExaminerSupport.h"

namespace {

using Key = ExaminerControl::Key;
using Kind = ExaminerControl::KeyAction::Kind;
using examiner_test::ManualClock;

TEST(ExaminerControlKeys, EveryKeyAtEverySpeed) {
  // Expected steps in units of the speed: a turn of a quarter radian, a zoom
  // a fifth closer, both divided by k.
  struct Row { Key key; bool keypad; Kind kind; int zoom; int yaw; int pitch; };
  const Row rows[] = {
      {Key::PageUp, false, Kind::Zoom, +1, 0, 0},   {Key::PageDown, false, Kind::Zoom, -1, 0, 0},
      {Key::Plus, true, Kind::Zoom, +1, 0, 0},      {Key::Minus, true, Kind::Zoom, -1, 0, 0},
      {Key::Plus, false, Kind::Ignore, 0, 0, 0},    {Key::Minus, false, Kind::Ignore, 0, 0, 0},
      {Key::Home, false, Kind::Reset, 0, 0, 0},     {Key::Other, true, Kind::Ignore, 0, 0, 0},
      {Key::Left, false, Kind::Turn, 0, -1, 0},     {Key::Right, true, Kind::Turn, 0, +1, 0},
      {Key::Up, false, Kind::Turn, 0, 0, -1},       {Key::Down, false, Kind::Turn, 0, 0, +1},
  };
  for (const auto& [speed, k] : {std::pair{ExaminerControl::kSlow, 5}, {ExaminerControl::kMedium, 3},
                                 {ExaminerControl::kFast, 1}}) {
    ExaminerControl control;
    control.SetRotation(0, speed);
    ASSERT_EQ(control.SpeedDivisor(), k);
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << "speed " << speed << " key " << static_cast<int>(row.key));
      EXPECT_EQ(ExaminerControl::Navigates(row.key, row.keypad), row.kind != Kind::Ignore);
      const ExaminerControl::KeyAction action = control.OnKey(row.key, row.keypad, 1);
      EXPECT_EQ(action.kind, row.kind);
      const double closer = 1.0 - 0.2 / k;
      const double factor = row.zoom > 0 ? closer : row.zoom < 0 ? 1.0 / closer : 1.0;
      EXPECT_NEAR(action.factor, factor, 1e-6);
      EXPECT_NEAR(action.yaw, row.yaw * 0.25 / k, 1e-7);
      EXPECT_NEAR(action.pitch, row.pitch * 0.25 / k, 1e-7);
      EXPECT_FALSE(action.startSpin);  // a single press never spins
    }
  }
}

TEST(ExaminerControlKeys, OnlyAHeldArrowWithAutoRotationSpins) {
  struct Row { Key key; int autoRotate; int repeat; bool spins; };
  const Row rows[] = {
      {Key::Right, 1, 2, true},    {Key::Up, 1, 5, true},      {Key::Right, 1, 1, false},
      {Key::Right, 0, 5, false},   {Key::PageUp, 1, 5, false}, {Key::Home, 1, 5, false},
  };
  for (const Row& row : rows) {
    ExaminerControl control;
    control.SetRotation(row.autoRotate, ExaminerControl::kFast);
    const ExaminerControl::KeyAction action = control.OnKey(row.key, false, row.repeat);
    EXPECT_EQ(action.startSpin, row.spins) << static_cast<int>(row.key);
    if (!row.spins) continue;
    EXPECT_FLOAT_EQ(control.SpinYaw(), action.yaw);
    EXPECT_FLOAT_EQ(control.SpinPitch(), action.pitch);
    // The spin turns on every second tick, counted from its start.
    const bool ticks[] = {control.SpinTick(), control.SpinTick(), control.SpinTick(), control.SpinTick()};
    EXPECT_FALSE(ticks[0]);
    EXPECT_TRUE(ticks[1]);
    EXPECT_FALSE(ticks[2]);
    EXPECT_TRUE(ticks[3]);
    control.SpinTick();  // half way: a new spin starts counting afresh
    control.OnKey(row.key, false, row.repeat);
    EXPECT_FALSE(control.SpinTick());
  }
}

TEST(ExaminerControlDrag, StepGrowsWithTheOffsetFromTheCentre) {
  struct Row { int speed; int x, y, w, h; double yaw, pitch; };
  const Row rows[] = {
      {ExaminerControl::kFast, 400, 150, 400, 300, 0.25, 0.0},    // right edge
      {ExaminerControl::kFast, 0, 0, 400, 300, -0.25, -0.25},     // top left corner
      {ExaminerControl::kSlow, 300, 150, 400, 300, 0.025, 0.0},   // half way, five times slower
      {ExaminerControl::kMedium, 200, 300, 400, 300, 0.0, 0.25 / 3},
      {ExaminerControl::kFast, 4, 2, 7, 5, 1 / 14.0, 0.0},        // from the integer centre
      {ExaminerControl::kFast, 10, 10, 0, 300, 0.0, 0.0},         // no pane, no step
      {ExaminerControl::kFast, 10, 10, 400, 0, 0.0, 0.0},
  };
  for (const Row& row : rows) {
    ExaminerControl control;
    control.SetRotation(0, row.speed);
    const ExaminerControl::Turn step = control.DragStep(row.x, row.y, row.w, row.h);
    EXPECT_NEAR(step.yaw, row.yaw, 1e-6) << row.x << "," << row.y;
    EXPECT_NEAR(step.pitch, row.pitch, 1e-6) << row.x << "," << row.y;
  }
}

TEST(ExaminerControlDrag, RepeatsAtTheKeyboardPaceAndSpinsOnlyAfterARepeat) {
  for (const int autoRotate : {0, 1}) {
    ManualClock clock;
    ExaminerControl control(clock.Function());
    control.SetRotation(autoRotate, ExaminerControl::kFast);
    control.SetKeyboardRepeat(400, 40);

    // Let go before the delay: no repeat, no spin.
    control.DragStarted();
    clock.now += 399;
    EXPECT_FALSE(control.DragDue());
    EXPECT_EQ(control.MillisecondsUntilDragDue(), 1);
    EXPECT_FALSE(control.DragEnded());

    control.DragStarted();
    clock.now += 400;
    ASSERT_TRUE(control.DragDue());
    EXPECT_EQ(control.MillisecondsUntilDragDue(), 40);
    control.DragStepped({0.125f, -0.125f});
    EXPECT_FLOAT_EQ(control.SpinYaw(), 0.125f);
    EXPECT_EQ(control.DragEnded(), autoRotate == 1);
    if (autoRotate) {
      EXPECT_FALSE(control.SpinTick());
      EXPECT_TRUE(control.SpinTick());
    }
    // A key press forgets the drag's repeat.
    control.OnKey(Key::Home, false, 1);
    EXPECT_FALSE(control.DragEnded());
  }
}

TEST(ExaminerControlOptions, ASpinGoesOnAtTheNewSpeed) {
  struct Row { int oldAuto, oldSpeed, newAuto, newSpeed; float yaw; bool stops; int speed; };
  const Row rows[] = {
      {1, ExaminerControl::kFast, 1, ExaminerControl::kSlow, 0.05f, false, ExaminerControl::kSlow},
      {1, ExaminerControl::kSlow, 1, ExaminerControl::kFast, 0.25f, false, ExaminerControl::kFast},
      {1, ExaminerControl::kFast, 1, 9, 0.25f, false, ExaminerControl::kFast},  // clamped
      {0, ExaminerControl::kFast, 1, ExaminerControl::kSlow, 0.25f, false, ExaminerControl::kSlow},
      {1, ExaminerControl::kFast, 0, ExaminerControl::kSlow, 0.25f, true, ExaminerControl::kSlow},
  };
  for (const Row& row : rows) {
    ExaminerControl control;
    control.SetRotation(1, row.oldSpeed);
    control.OnKey(Key::Right, false, 2);  // spin yaw 0.25 / k
    control.SetRotation(row.oldAuto, row.oldSpeed);
    const float before = control.SpinYaw();
    EXPECT_EQ(control.ChangeOptions(row.newAuto, row.newSpeed), row.stops);
    EXPECT_FLOAT_EQ(control.SpinYaw(), row.oldAuto ? row.yaw : before);
    EXPECT_EQ(control.RotationSpeed(), row.speed);
    EXPECT_EQ(control.AutoRotate(), row.newAuto);
  }
}

}  // namespace
