// The drag's pacing: a first repeat after the delay, then the interval, on a
// clock the test moves by hand.
#include <gtest/gtest.h>

#include <cstdint>

#include "RepeatGate.h"

namespace {

struct ManualClock {
  std::uint32_t now = 1000;
  RepeatGate::Clock Function() {
    return [this] { return now; };
  }
};

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

TEST(KeyboardRepeatSettings, RateGivesTheIntervalAndUnreportedRatesTheDefaults) {
  EXPECT_EQ(KeyboardRepeatFromRate(25).intervalMs, 40);
  EXPECT_EQ(KeyboardRepeatFromRate(25).delayMs, 500);
  EXPECT_EQ(KeyboardRepeatFromRate(0).intervalMs, 30);
  EXPECT_EQ(KeyboardRepeatFromRate(-3).intervalMs, 30);
  EXPECT_EQ(KeyboardRepeatFromRate(100000).intervalMs, 30);
}

}  // namespace

namespace {

TEST(KeyboardRepeatSettings, ServerTimesAreTakenWhenAKeyboardCouldHaveThem) {
  const KeyboardRepeat usual = KeyboardRepeatFromTimes(660, 40);
  EXPECT_EQ(usual.delayMs, 660);
  EXPECT_EQ(usual.intervalMs, 40);
  const KeyboardRepeat odd = KeyboardRepeatFromTimes(0, 100000);
  EXPECT_EQ(odd.delayMs, 500);
  EXPECT_EQ(odd.intervalMs, 30);
}

}  // namespace
