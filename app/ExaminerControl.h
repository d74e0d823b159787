// The examiner's rules without a window: which keys navigate and how far,
// the rotation speed, the size of a drag step, the pace of a held button and
// when the letters go on spinning. The view forwards its events and timers
// here and carries the answers out on the camera.
#pragma once

#include <algorithm>

#include "RepeatGate.h"

class ExaminerControl {
 public:
  // Rotation speeds as stored in the profile and offered by the options.
  enum Speed : int { kSlow = 0, kMedium = 1, kFast = 2 };
  // The keys the examiner knows, as the view reads them from the keyboard.
  enum class Key { Other, PageUp, PageDown, Plus, Minus, Home, Left, Right, Up, Down };

  // What a key does to the camera.
  struct KeyAction {
    enum class Kind { Ignore, Zoom, Reset, Turn };
    Kind kind = Kind::Ignore;
    float factor = 1.0f;  // Zoom: the distance multiplied by this
    float yaw = 0.0f;     // Turn: radians
    float pitch = 0.0f;
    bool startSpin = false;  // the turn goes on as a spin
  };
  struct Turn {
    float yaw = 0.0f;
    float pitch = 0.0f;
  };

  explicit ExaminerControl(RepeatGate::Clock clock = {}) : m_gate(std::move(clock)) {}

  // The navigation keys; the keypad's plus and minus count only on the keypad.
  static bool Navigates(Key key, bool keypad);

  // The kept settings; the speed is brought into slow to fast.
  void SetRotation(int autoRotate, int rotationSpeed);
  int RotationSpeed() const { return m_rotationSpeed; }
  int AutoRotate() const { return m_autoRotate; }
  // The divisor every step is divided by: 5 slow, 3 medium, 1 fast.
  int SpeedDivisor() const { return Divisor(m_rotationSpeed); }
  float SpinYaw() const { return m_spinYaw; }
  float SpinPitch() const { return m_spinPitch; }

  // The repeat count OnKey takes for a press as the window system reports
  // it: desktops that repeat a held key send presses marked auto-repeated,
  // each with a count of one (X11 and Wayland alike); those count as held.
  static int RepeatCount(bool autoRepeat, int count) { return autoRepeat ? std::max(2, count) : count; }

  // A key press (repeatCount above one for a held key). Any running spin
  // stops first; a held arrow starts one when auto rotation is on.
  KeyAction OnKey(Key key, bool keypad, int repeatCount);

  // Yaw and pitch of one drag step with the cursor at (x, y) in a pane of
  // width by height; at the right edge a step is 1/(4k) radians.
  Turn DragStep(int x, int y, int width, int height) const;
  // The button went down: any spin stops and the repeat pace starts.
  void DragStarted();
  // Asked by the drag timer: the step due now, if one is, and when to ask again.
  bool DragDue();
  int MillisecondsUntilDragDue() const;
  // The repeated step made by the drag; it becomes the spin's step.
  void DragStepped(Turn step);
  // The button came up: true when the letters go on spinning.
  bool DragEnded();
  void SetKeyboardRepeat(int delayMs, int intervalMs);
  void SetClock(RepeatGate::Clock clock) { m_gate = RepeatGate(std::move(clock)); }

  // One spin timer tick: true on every second one, when the letters turn.
  bool SpinTick();
  // New options from the dialog: a running spin goes on at the new speed.
  // True when the spin must stop (auto rotation switched off).
  bool ChangeOptions(int autoRotate, int rotationSpeed);

 private:
  static int Divisor(int speed) { return 5 - 2 * speed; }
  static int ClampSpeed(int speed);
  void BeginSpin(Turn step);

  int m_rotationSpeed = kFast;
  int m_autoRotate = 0;
  float m_spinYaw = 0.0f;
  float m_spinPitch = 0.0f;
  bool m_repeated = false;  // the current drag made a repeated step
  int m_halfTick = 0;
  RepeatGate m_gate;
  KeyboardRepeat m_repeat;
};
