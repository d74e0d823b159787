// The examiner's key table, speeds, drag pacing and spin rules.
#include "ExaminerControl.h"

#include <algorithm>

bool ExaminerControl::Navigates(Key key, bool keypad) {
  switch (key) {
    case Key::Other: return false;
    case Key::Plus:
    case Key::Minus: return keypad;
    default: return true;
  }
}

int ExaminerControl::ClampSpeed(int speed) {
  return std::clamp(speed, static_cast<int>(kSlow), static_cast<int>(kFast));
}

void ExaminerControl::SetRotation(int autoRotate, int rotationSpeed) {
  m_autoRotate = autoRotate;
  m_rotationSpeed = ClampSpeed(rotationSpeed);
}

void ExaminerControl::BeginSpin(Turn step) {
  m_spinYaw = step.yaw;
  m_spinPitch = step.pitch;
  m_halfTick = 0;
}

ExaminerControl::KeyAction ExaminerControl::OnKey(Key key, bool keypad, int repeatCount) {
  m_repeated = false;
  KeyAction action;
  if (!Navigates(key, keypad))
    return action;
  const auto k = static_cast<float>(SpeedDivisor());
  const float closer = 1.0f + (-0.2f / k);
  const float step = 0.25f / k;
  switch (key) {
    case Key::PageUp:
    case Key::Plus: action.kind = KeyAction::Kind::Zoom; action.factor = closer; return action;
    case Key::PageDown:
    case Key::Minus: action.kind = KeyAction::Kind::Zoom; action.factor = 1.0f / closer; return action;
    case Key::Home: action.kind = KeyAction::Kind::Reset; return action;
    case Key::Left: action.yaw = -step; break;
    case Key::Right: action.yaw = step; break;
    case Key::Up: action.pitch = -step; break;
    case Key::Down: action.pitch = step; break;
    case Key::Other: return action;
  }
  action.kind = KeyAction::Kind::Turn;
  // A held arrow key leaves the letters spinning when auto rotation is on.
  if (m_autoRotate && repeatCount > 1) {
    BeginSpin({action.yaw, action.pitch});
    action.startSpin = true;
  }
  return action;
}

ExaminerControl::Turn ExaminerControl::DragStep(int x, int y, int width, int height) const {
  if (width <= 0 || height <= 0)
    return {};
  const int k = SpeedDivisor();
  // Offsets from the integer centre.
  const auto yaw = static_cast<float>((x - width / 2) / static_cast<double>(k * width) * 0.5);
  const auto pitch = static_cast<float>((y - height / 2) / static_cast<double>(k * height) * 0.5);
  return {yaw, pitch};
}

void ExaminerControl::DragStarted() {
  m_repeated = false;
  // The first step comes at once; later ones at the keyboard's repeat pace.
  m_gate.Start(m_repeat.delayMs, m_repeat.intervalMs);
}

bool ExaminerControl::DragDue() { return m_gate.Next(); }

int ExaminerControl::MillisecondsUntilDragDue() const {
  return std::max(1, m_gate.MillisecondsUntilDue());
}

void ExaminerControl::DragStepped(Turn step) {
  m_spinYaw = step.yaw;
  m_spinPitch = step.pitch;
  m_repeated = true;
}

bool ExaminerControl::DragEnded() {
  // Only a drag that got past the repeat delay leaves the letters spinning.
  if (!m_repeated || !m_autoRotate)
    return false;
  m_halfTick = 0;
  return true;
}

void ExaminerControl::SetKeyboardRepeat(int delayMs, int intervalMs) {
  m_repeat.delayMs = delayMs;
  m_repeat.intervalMs = intervalMs;
}

bool ExaminerControl::SpinTick() {
  // Every second tick only: a frame that takes longer simply delays the
  // next one, so frames never pile up.
  m_halfTick ^= 1;
  return m_halfTick == 0;
}

bool ExaminerControl::ChangeOptions(int autoRotate, int rotationSpeed) {
  const int speed = ClampSpeed(rotationSpeed);
  if (autoRotate && m_autoRotate) {
    const float ratio = static_cast<float>(SpeedDivisor()) / static_cast<float>(Divisor(speed));
    m_spinYaw *= ratio;
    m_spinPitch *= ratio;
  }
  m_autoRotate = autoRotate;
  m_rotationSpeed = speed;
  return !m_autoRotate;
}
