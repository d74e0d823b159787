// The examiner pane: the lit solid letters under the user's hands.
#include "VRMLView.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <filesystem>

#include "DialogSupport.h"
#include "FocusFrame.h"
#include "FrameBlit.h"
#include "FramePictures.h"
#include "QtEdge.h"
#include "RendererBinding.h"
#include "WaitCursor.h"

// ---- construction ----------------------------------------------------------

CVRMLView::CVRMLView(RendererBinding& binding, QWidget* parent)
    : QWidget(parent), m_binding(&binding) {
  Init();
}

CVRMLView::~CVRMLView() {
  StopSpin();
  m_dragTimer.stop();
}

void CVRMLView::Init() {
  m_prompts = std::make_unique<DialogPrompts>();
  const KeyboardRepeat repeat = DesktopKeyboardRepeat();
  m_control.SetKeyboardRepeat(repeat.delayMs, repeat.intervalMs);
  m_displayDepth = ::DisplayDepth();
  // A click gives the pane the keys, so that the arrows turn the letters.
  setFocusPolicy(Qt::StrongFocus);

  m_spinTimer.setInterval(kSpinTickMs);
  m_spinTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_spinTimer, &QTimer::timeout, this, &CVRMLView::SpinTick);
  m_dragTimer.setSingleShot(true);
  m_dragTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_dragTimer, &QTimer::timeout, this, &CVRMLView::DragTick);
}

void CVRMLView::SetRotation(int autoRotate, int rotationSpeed) {
  m_control.SetRotation(autoRotate, rotationSpeed);
}

void CVRMLView::SetPrompts(std::unique_ptr<ExaminerPrompts> prompts) {
  if (prompts)
    m_prompts = std::move(prompts);
}

void CVRMLView::SetClock(RepeatGate::Clock clock) { m_control.SetClock(std::move(clock)); }

void CVRMLView::SetKeyboardRepeat(int delayMs, int intervalMs) {
  m_control.SetKeyboardRepeat(delayMs, intervalMs);
}

// ---- document updates ------------------------------------------------------

void CVRMLView::Draw() {
  if (m_binding && m_letters)
    m_binding->DrawScene(m_letters());
}

void CVRMLView::Turn(float yaw, float pitch) {
  if (!m_binding)
    return;
  m_binding->ViewCamera().Rotate(yaw, pitch);
  Draw();
}

void CVRMLView::ShowLetters(bool refit) {
  const CText3D* text = m_letters ? m_letters() : nullptr;
  if (m_binding && text) {
    if (refit)
      m_binding->FitCamera(text);
    else
      m_binding->SetLightFromText(*text);
    Draw();
  }
  repaint();
}

void CVRMLView::InitialUpdate() {
  if (!m_binding)
    return;
  if (!m_binding->View()) {
    m_prompts->Message(this, QStringLiteral("Can not start 3D viewer"),
                       QString::fromLatin1(kGlyphkilnTitle));
    emit NoRenderer();
  }
}

void CVRMLView::paintEvent(QPaintEvent*) {
  if (!m_binding)
    return;
  // Moved to a screen of another density: the frame follows its pixels.
  if (m_pixelRatio != devicePixelRatioF())
    FitViewToDevice();
  QPainter painter(this);
  Blit(painter, *m_binding, width(), height(), m_displayDepth, m_pixelRatio);
  if (m_focusFrame.Shown(hasFocus())) DrawFocusFrame(painter, rect(), palette());
}

void CVRMLView::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  m_focusFrame.FocusIn(event->reason());
  update();
}

void CVRMLView::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  m_focusFrame.FocusOut(event->reason());
  update();
}

void CVRMLView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!m_binding)
    return;
  FitViewToDevice();
}

void CVRMLView::FitViewToDevice() {
  if (!m_binding)
    return;
  m_pixelRatio = devicePixelRatioF();
  const QSize limit = DeviceViewLimit(m_pixelRatio);
  m_binding->SetViewLimit(limit.width(), limit.height());
  const QSize size = DeviceViewSize(width(), height(), m_pixelRatio);
  m_binding->SetViewSize(size.width(), size.height());
  Draw();
}

// ---- the drag --------------------------------------------------------------

QPointF CVRMLView::DragStep(QPoint pos) const {
  const ExaminerControl::Turn step = m_control.DragStep(pos.x(), pos.y(), width(), height());
  return {step.yaw, step.pitch};
}

void CVRMLView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  StopSpin();
  m_dragPos = event->position().toPoint();
  // The first step comes at once; later ones at the keyboard's repeat pace.
  const QPointF step = DragStep(m_dragPos);
  Turn(static_cast<float>(step.x()), static_cast<float>(step.y()));
  repaint();
  m_control.DragStarted();
  m_dragging = true;
  ScheduleDragTick();
}

void CVRMLView::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging)
    m_dragPos = event->position().toPoint();
  QWidget::mouseMoveEvent(event);
}

void CVRMLView::ScheduleDragTick() {
  m_dragTimer.start(m_control.MillisecondsUntilDragDue());
}

void CVRMLView::DragTick() {
  if (!m_dragging)
    return;
  if (m_control.DragDue()) {
    const ExaminerControl::Turn step =
        m_control.DragStep(m_dragPos.x(), m_dragPos.y(), width(), height());
    Turn(step.yaw, step.pitch);
    repaint();
    m_control.DragStepped(step);
  }
  ScheduleDragTick();
}

void CVRMLView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_dragging) {
    m_dragging = false;
    m_dragTimer.stop();
    if (m_control.DragEnded())
      StartSpin();
  }
  QWidget::mouseReleaseEvent(event);
}

// ---- auto rotation ---------------------------------------------------------

void CVRMLView::StartSpin() { m_spinTimer.start(); }

void CVRMLView::StopSpin() { m_spinTimer.stop(); }

void CVRMLView::SpinTick() {
  if (!m_control.SpinTick())
    return;
  Turn(m_control.SpinYaw(), m_control.SpinPitch());
  update();
}

// ---- keys ------------------------------------------------------------------

namespace {

ExaminerControl::Key KeyOf(int key) {
  using Key = ExaminerControl::Key;
  switch (key) {
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_Plus: return Key::Plus;
    case Qt::Key_Minus: return Key::Minus;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    default: return Key::Other;
  }
}

}  // namespace

bool CVRMLView::IsNavigationKey(int key, Qt::KeyboardModifiers modifiers) {
  return ExaminerControl::Navigates(KeyOf(key), modifiers.testFlag(Qt::KeypadModifier));
}

void CVRMLView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const int repeat = ExaminerControl::RepeatCount(event->isAutoRepeat(), event->count());
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (key == Qt::Key_Tab || key == Qt::Key_F12) {
    emit LayoutKey(key, repeat, modifiers);
  } else if (IsNavigationKey(key, modifiers)) {
    KeyOperation(key, repeat, modifiers);
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  // Handled here: a Tab passed on to the parents would move the focus away.
  event->accept();
}

bool CVRMLView::focusNextPrevChild(bool) { return false; }

void CVRMLView::wheelEvent(QWheelEvent* event) {
  // A notch is 120 eighths of a degree.
  constexpr int kNotch = 120;
  m_wheelAngle += event->angleDelta().y();
  while (m_wheelAngle >= kNotch || m_wheelAngle <= -kNotch) {
    const bool away = m_wheelAngle > 0;
    m_wheelAngle += away ? -kNotch : kNotch;
    KeyOperation(away ? Qt::Key_Plus : Qt::Key_Minus, 1, Qt::KeypadModifier);
  }
  event->accept();
}

void CVRMLView::KeyOperation(int key, int repeatCount, Qt::KeyboardModifiers modifiers) {
  StopSpin();
  Apply(m_control.OnKey(KeyOf(key), modifiers.testFlag(Qt::KeypadModifier), repeatCount));
}

void CVRMLView::Apply(const ExaminerControl::KeyAction& action) {
  using Kind = ExaminerControl::KeyAction::Kind;
  if (action.kind == Kind::Ignore)
    return;  // not a navigation key: nothing to repaint
  if (action.kind == Kind::Turn) {
    Turn(action.yaw, action.pitch);
    if (action.startSpin)
      StartSpin();
  } else if (m_binding) {
    if (action.kind == Kind::Zoom)
      m_binding->ViewCamera().Zoom(action.factor);
    else
      m_binding->ViewCamera().Reset();
    Draw();
  }
  repaint();
}

// ---- commands --------------------------------------------------------------

void CVRMLView::OnBackground() {
  if (!m_binding)
    return;
  const std::optional<QColor> chosen =
      m_prompts->AskColour(this, FromColorref(m_binding->Background()));
  if (!chosen)
    return;
  m_binding->SetBackground(ToColorref(*chosen));
  Draw();
  repaint();
}

void CVRMLView::OnExaminerOptions() {
  int autoRotate = m_control.AutoRotate();
  int speed = m_control.RotationSpeed();
  if (!m_prompts->EditOptions(this, autoRotate, speed))
    return;
  if (m_control.ChangeOptions(autoRotate, speed))
    StopSpin();
}

void CVRMLView::OnSaveGif() {
  const QString title = QString::fromLatin1(kGlyphkilnTitle);
  if (!m_binding || !m_binding->View() || m_binding->Width() <= 0 || m_binding->Height() <= 0) {
    m_prompts->Message(this, QString::fromLatin1(SaveGifMessage(SaveGifResult::kNothingToSave)),
                       title);
    return;
  }
  const QString path = m_prompts->AskGifPath(this);
  if (path.isEmpty())
    return;
  SaveGifResult result;
  {
    const WaitCursor wait;
    result = m_binding->SaveGif(FilePath(path));
  }
  if (result != SaveGifResult::kSaved)
    m_prompts->Message(this, QString::fromLatin1(SaveGifMessage(result)),
                       QString::fromLatin1(SaveGifCaption(result)));
}

void CVRMLView::contextMenuEvent(QContextMenuEvent* event) {
  // The frame builds the menu from its command table and routes its items.
  emit ContextMenuAt(event->globalPos());
}
