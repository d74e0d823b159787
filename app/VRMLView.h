// The examiner pane: shows the renderer's picture of the letters and turns,
// zooms and spins it under the mouse, the keys and a timer.
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "DialogPrompts.h"
#include "ExaminerControl.h"
#include "FocusFrame.h"

class CText3D;
class RendererBinding;

class CVRMLView : public QWidget {
  Q_OBJECT
 public:
  // Rotation speeds as stored in the profile and offered by the options.
  enum Speed : int {
    kSlow = ExaminerControl::kSlow,
    kMedium = ExaminerControl::kMedium,
    kFast = ExaminerControl::kFast
  };
  static constexpr int kSpinTickMs = 25;

  // A view on the binding; it knows no other window: keys and menus it does
  // not handle, and a missing renderer, go out as signals.
  explicit CVRMLView(RendererBinding& binding, QWidget* parent = nullptr);
  ~CVRMLView() override;

  // Where the view finds the letters it draws (the layout view's current
  // letters); asked on every frame, so it never holds on to old letters.
  using LettersSource = std::function<const CText3D*()>;
  void SetLetters(LettersSource source) { m_letters = std::move(source); }
  // After the letters changed: the camera fitted anew when refit, the
  // letters' light taken, a frame drawn and shown at once.
  void ShowLetters(bool refit);

  // Run after the document is created or renewed: reports a missing
  // renderer ("Can not start 3D viewer") and says NoRenderer.
  void InitialUpdate();
  // The navigation keys the examiner answers; the keypad's plus and minus
  // count only with the keypad modifier.
  static bool IsNavigationKey(int key, Qt::KeyboardModifiers modifiers);
  // Navigation keys, also handed on from the layout view (Qt key codes;
  // keypadModifier marks the keypad's plus and minus).
  void KeyOperation(int key, int repeatCount, Qt::KeyboardModifiers modifiers);
  // Commands routed here by the main frame.
  void OnBackground();
  void OnExaminerOptions();
  void OnSaveGif();

  // The kept settings: auto rotation on or off and the speed (brought into
  // slow to fast).
  void SetRotation(int autoRotate, int rotationSpeed);
  int RotationSpeed() const { return m_control.RotationSpeed(); }
  int AutoRotate() const { return m_control.AutoRotate(); }
  bool Spinning() const { return m_spinTimer.isActive(); }
  float SpinYaw() const { return m_control.SpinYaw(); }
  float SpinPitch() const { return m_control.SpinPitch(); }
  bool Dragging() const { return m_dragging; }
  // The divisor every step is divided by: 5 slow, 3 medium, 1 fast.
  int SpeedDivisor() const { return m_control.SpeedDivisor(); }
  // Yaw and pitch (radians) of one drag step with the cursor at pos.
  QPointF DragStep(QPoint pos) const;

  // For tests: answers to the dialogs, the drag's clock, the repeat pace and
  // the display depth the frame is shown for.
  void SetPrompts(std::unique_ptr<ExaminerPrompts> prompts);
  void SetClock(RepeatGate::Clock clock);
  void SetKeyboardRepeat(int delayMs, int intervalMs);
  void SetDisplayDepth(int depth) { m_displayDepth = depth; }
  int DisplayDepth() const { return m_displayDepth; }

 signals:
  // Tab and F12 belong to the layout view's selection.
  void LayoutKey(int key, int repeatCount, Qt::KeyboardModifiers modifiers);
  // The context menu asked for at a global position.
  void ContextMenuAt(const QPoint& globalPos);
  // There is no renderer: the pane has nothing to show.
  void NoRenderer();

 public slots:
  // One look at the held button: a step when the repeat pace says so. Run by
  // the drag timer while the left button is down.
  void DragTick();
  // The auto-rotation timer: every second tick turns the letters one step.
  void SpinTick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // One notch of the wheel is one step of the keypad's plus (away from the
  // user) or minus; finer wheels add up to whole notches.
  void wheelEvent(QWheelEvent* event) override;
  // The pane with the keys shows a frame, so that F6 can be followed.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Tab belongs to the layout view's selection, not to focus movement.
  bool focusNextPrevChild(bool next) override;

 private:
  void Init();
  // The renderer's view at the pane's size in device pixels.
  void FitViewToDevice();
  // A frame of the current letters with the binding's camera.
  void Draw();
  void Turn(float yaw, float pitch);
  void StopSpin();
  void StartSpin();
  void ScheduleDragTick();
  // Applies a key's camera change, with the spin it may start.
  void Apply(const ExaminerControl::KeyAction& action);

  RendererBinding* m_binding = nullptr;
  LettersSource m_letters;
  std::unique_ptr<ExaminerPrompts> m_prompts;

  ExaminerControl m_control;
  QTimer m_spinTimer;
  QTimer m_dragTimer;
  bool m_dragging = false;
  QPoint m_dragPos;

  int m_displayDepth = 24;
  FocusFrameState m_focusFrame;
  int m_wheelAngle = 0;
  double m_pixelRatio = 1.0;  // device pixels per unit the frame is drawn for  // eighths of a degree not yet made into a step
};
