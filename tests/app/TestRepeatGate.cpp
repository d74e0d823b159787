// The drag's pacing: a first repeat after the delay, then the interval, on a
// clock the test moves by hand.
#include <gtest/gtest.h>

#include "RepeatGate.h"
#include "TestExaminerSupport.h"

namespace {

using examiner_test::ManualClock;

TEST(RepeatGatePace, FirstRepeatWaitsForTheDelayThenTheInterval) {
  ManualClock clock;
  RepeatGate gate(clock.Function());
  gate.Start(500, 30);
  EXPECT_FALSE(gate.Repeating());

  clock.now += 499;
  EXPECT_FALSE(gate.Next());
  EXPECT_EQ(gate.MillisecondsUntilDue(), 1);
  clock.now += 1;
  EXPECT_TRUE(gate.Next());
  EXPECT_TRUE(gate.Repeating());

  // Once repeating, the shorter interval applies, counted from the last step.
  clock.now += 29;
  EXPECT_FALSE(gate.Next());
  clock.now += 1;
  EXPECT_TRUE(gate.Next());
  EXPECT_FALSE(gate.Next());
  EXPECT_EQ(gate.MillisecondsUntilDue(), 30);
}

TEST(RepeatGatePace, StartBeginsAgainWithTheDelay) {
  ManualClock clock;
  RepeatGate gate(clock.Function());
  gate.Start(300, 10);
  clock.now += 300;
  ASSERT_TRUE(gate.Next());
  gate.Start(300, 10);
  clock.now += 10;
  EXPECT_FALSE(gate.Next());
  EXPECT_FALSE(gate.Repeating());
}

TEST(RepeatGatePace, LateTickMakesOneStepNotACatchUpBurst) {
  ManualClock clock;
  RepeatGate gate(clock.Function());
  gate.Start(500, 30);
  clock.now += 2000;  // the program was busy for a while
  EXPECT_TRUE(gate.Next());
  EXPECT_FALSE(gate.Next());
}

TEST(RepeatGatePace, WrapOfTheMillisecondCounterDoesNoHarm) {
  ManualClock clock;
  clock.now = 0xFFFFFF00u;
  RepeatGate gate(clock.Function());
  gate.Start(500, 30);
  clock.now += 400;  // wraps past zero
  EXPECT_FALSE(gate.Next());
  EXPECT_EQ(gate.MillisecondsUntilDue(), 100);
  clock.now += 100;
  EXPECT_TRUE(gate.Next());
}

TEST(RepeatGatePace, NegativeTimesFallBackToTheDefaults) {
  ManualClock clock;
  RepeatGate gate(clock.Function());
  gate.Start(-1, -5);
  EXPECT_EQ(gate.DelayMs(), RepeatGate::kDefaultDelayMs);
  EXPECT_EQ(gate.IntervalMs(), RepeatGate::kDefaultIntervalMs);
}

TEST(KeyboardRepeatSettings, ReportedTimesAreTakenAndUnusableOnesGiveTheDefaults) {
  struct Case {
    const char* name;
    KeyboardRepeat repeat;
    int delayMs, intervalMs;
  };
  for (const Case& c : {Case{"25 per second", KeyboardRepeatFromRate(25), 500, 40},
                        Case{"rate 0", KeyboardRepeatFromRate(0), 500, 30},
                        Case{"rate -3", KeyboardRepeatFromRate(-3), 500, 30},
                        Case{"rate 100000", KeyboardRepeatFromRate(100000), 500, 30},
                        Case{"times 660, 40", KeyboardRepeatFromTimes(660, 40), 660, 40},
                        Case{"times 0, 100000", KeyboardRepeatFromTimes(0, 100000), 500, 30}}) {
    EXPECT_EQ(c.repeat.delayMs, c.delayMs) << c.name;
    EXPECT_EQ(c.repeat.intervalMs, c.intervalMs) << c.name;
  }
}

}  // namespace
