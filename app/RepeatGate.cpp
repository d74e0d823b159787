// Drag pacing for the examiner view.
#include "RepeatGate.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <chrono>

#if defined(GLYPHKILN_HAVE_X11)
// After Qt's headers: Xlib defines macros (None, Bool, ...) that Qt's use.
#include <X11/XKBlib.h>
#endif

namespace {

std::uint32_t SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

RepeatGate::RepeatGate(Clock clock) : m_clock(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {
  m_last = m_clock();
}

void RepeatGate::Start(int delayMs, int intervalMs) {
  m_delayMs = delayMs >= 0 ? delayMs : kDefaultDelayMs;
  m_intervalMs = intervalMs >= 0 ? intervalMs : kDefaultIntervalMs;
  m_repeating = false;
  m_last = m_clock();
}

bool RepeatGate::Next() {
  const std::uint32_t now = m_clock();
  if (now - m_last < static_cast<std::uint32_t>(Wait()))
    return false;
  m_repeating = true;
  m_last = now;
  return true;
}

int RepeatGate::MillisecondsUntilDue() const {
  const std::uint32_t elapsed = m_clock() - m_last;
  const auto wait = static_cast<std::uint32_t>(Wait());
  return elapsed >= wait ? 0 : static_cast<int>(wait - elapsed);
}

KeyboardRepeat KeyboardRepeatFromTimes(int delayMs, int intervalMs) {
  KeyboardRepeat pace;
  if (delayMs >= 100 && delayMs <= 5000)
    pace.delayMs = delayMs;
  if (intervalMs >= 5 && intervalMs <= 1000)
    pace.intervalMs = intervalMs;
  return pace;
}

KeyboardRepeat KeyboardRepeatFromRate(int repeatsPerSecond) {
  KeyboardRepeat pace;
  // Rates outside what a keyboard can be set to (1 to 100 a second) are
  // taken as "not reported".
  if (repeatsPerSecond >= 1 && repeatsPerSecond <= 100)
    pace.intervalMs = 1000 / repeatsPerSecond;
  return pace;
}

KeyboardRepeat DesktopKeyboardRepeat() {
  if (!qGuiApp)
    return {};
#if defined(GLYPHKILN_HAVE_X11) && QT_CONFIG(xcb)
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    unsigned int delayMs = 0;
    unsigned int intervalMs = 0;
    if (Display* display = x11->display();
        display && XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delayMs, &intervalMs))
      return KeyboardRepeatFromTimes(static_cast<int>(delayMs), static_cast<int>(intervalMs));
  }
#endif
  return KeyboardRepeatFromRate(QGuiApplication::styleHints()->keyboardAutoRepeatRate());
}
