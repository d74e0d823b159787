// Shared pieces of the examiner view's tests: a clock moved by hand, dialogs
// answered by the test, a simple text to fit the camera to, and the camera's
// turn read back as angles. The profile file is AppTestSupport.h's.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "RendererBinding.h"
#include "Text3D.h"
#include "VRMLView.h"

namespace examiner_test {

struct ManualClock {
  std::uint32_t now = 50000;
  RepeatGate::Clock Function() {
    return [this] { return now; };
  }
};

// What the dialogs answer and what the message boxes said.
struct PromptScript {
  struct Message {
    QString text;
    QString caption;
  };
  std::vector<Message> messages;
  QString gifPath;  // empty: the save dialog is cancelled
  int gifPathAsked = 0;
  std::optional<QColor> colour;
  bool acceptOptions = true;
  int autoRotate = 0;
  int speed = CVRMLView::kFast;
};

class ScriptedPrompts : public ExaminerPrompts {
 public:
  explicit ScriptedPrompts(PromptScript& script) : m_script(script) {}
  void Message(QWidget*, const QString& text, const QString& caption) override {
    m_script.messages.push_back({text, caption});
  }
  QString AskGifPath(QWidget*) override {
    ++m_script.gifPathAsked;
    return m_script.gifPath;
  }
  std::optional<QColor> AskColour(QWidget*, const QColor&) override { return m_script.colour; }
  bool EditOptions(QWidget*, int& autoRotate, int& rotationSpeed) override {
    if (!m_script.acceptOptions)
      return false;
    autoRotate = m_script.autoRotate;
    rotationSpeed = m_script.speed;
    return true;
  }

 private:
  PromptScript& m_script;
};

// The renderer built beside the tests, or none at all.
inline RendererBindingOptions Renderer(const ProfileScope& profile, bool real) {
  RendererBindingOptions options;
  options.directories = {real ? std::string(GLYPHKILN_BIN_DIR) : profile.Dir().toStdString()};
  options.useSystemSearchPath = false;
  return options;
}
inline RendererBindingOptions RealRenderer(const ProfileScope& profile) { return Renderer(profile, true); }
inline RendererBindingOptions NoRenderer(const ProfileScope& profile) { return Renderer(profile, false); }

// A text without letters but with bounds 4 wide and 1 high: enough to fit
// the camera to, and it draws as background only.
inline std::unique_ptr<CText3D> BoxText() {
  auto text = std::make_unique<CText3D>(std::string(), CGlyphOutline{}, 0x0000FF, 1.0, 0.2);
  text->bounds = CBoundRect{0.0, 1.0, 4.0, 0.0};
  return text;
}

// Yaw and pitch the camera has been turned by from looking down -z, read
// from its x axis (yaw) or its y axis (pitch).
inline double Yaw(const CameraFrame& camera) {
  return std::atan2(camera.xAxis[2], camera.xAxis[0]);
}
inline double Pitch(const CameraFrame& camera) {
  return std::atan2(-camera.yAxis[2], camera.yAxis[1]);
}
inline double EyeDistance(const RendererBinding& binding) {
  const Vec3 offset = binding.ViewCamera().Eye() - binding.ViewCamera().Centre();
  return std::sqrt(static_cast<double>(Dot(offset, offset)));
}
inline bool SameCamera(const CameraFrame& a, const CameraFrame& b, float tolerance = 1e-5f) {
  const float* pa = a.origin;
  const float* pb = b.origin;
  for (int i = 0; i < 12; ++i)
    if (std::fabs(pa[i] - pb[i]) > tolerance)
      return false;
  return true;
}

inline void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    bool autoRepeat = false) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
  QCoreApplication::sendEvent(&widget, &event);
}

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}
inline void Press(QWidget& widget, QPoint pos) {
  SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}
inline void MoveHeld(QWidget& widget, QPoint pos) {
  SendMouse(widget, QEvent::MouseMove, pos, Qt::LeftButton);
}
inline void Release(QWidget& widget, QPoint pos) {
  SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

}  // namespace examiner_test
