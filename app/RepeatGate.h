// Paces the steps of a mouse drag in the examiner view like the keyboard's
// auto-repeat: after the first step a longer delay, then a steady interval.
// The gate only decides whether a step is due; the view asks it from a timer,
// so nothing waits in a loop and the window stays responsive meanwhile.
#pragma once

#include <cstdint>
#include <functional>

class RepeatGate {
 public:
  // Milliseconds of a monotonic clock; unsigned, so differences stay right
  // across a wrap of the counter.
  using Clock = std::function<std::uint32_t()>;

  static constexpr int kDefaultDelayMs = 500;
  static constexpr int kDefaultIntervalMs = 30;

  // The clock defaults to a steady millisecond counter; tests hand in their own.
  explicit RepeatGate(Clock clock = {});

  // Begins a new run of steps: takes the current delay and interval and
  // marks now as the time of the last step (the first step has just been made).
  void Start(int delayMs, int intervalMs);
  // True when the next step is due now; the gate then counts it as made.
  // The first due step comes after the delay, every later one after the interval.
  bool Next();
  // Milliseconds until the next step is due (0 when it already is).
  int MillisecondsUntilDue() const;

  bool Repeating() const { return m_repeating; }
  int DelayMs() const { return m_delayMs; }
  int IntervalMs() const { return m_intervalMs; }

 private:
  int Wait() const { return m_repeating ? m_intervalMs : m_delayMs; }

  Clock m_clock;
  std::uint32_t m_last = 0;
  int m_delayMs = kDefaultDelayMs;
  int m_intervalMs = kDefaultIntervalMs;
  bool m_repeating = false;
};

// The desktop's keyboard repeat pace. Values no keyboard can be set to are
// taken as "not reported" and give the defaults.
struct KeyboardRepeat {
  int delayMs = RepeatGate::kDefaultDelayMs;
  int intervalMs = RepeatGate::kDefaultIntervalMs;
};
// From the delay and interval as the X server's keyboard extension keeps them.
KeyboardRepeat KeyboardRepeatFromTimes(int delayMs, int intervalMs);
// From Qt's auto-repeat rate (repeats per second); Qt reports no delay.
KeyboardRepeat KeyboardRepeatFromRate(int repeatsPerSecond);
// The running desktop's settings: the X server's when the program runs on
// one, else Qt's style hints, else the defaults.
KeyboardRepeat DesktopKeyboardRepeat();
