// The examiner pane: the lit solid letters under the user's hands.
#include "VRMLView.h"

#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <filesystem>

#include "DialogSupport.h"
#include "ExaminerOptionsDialog.h"
#include "FrameBlit.h"
#include "FramePictures.h"
#include "QtEdge.h"
#include "RendererBinding.h"
#include "WaitCursor.h"

// ---- dialogs ---------------------------------------------------------------

void DialogPrompts::Message(QWidget* parent, const QString& text, const QString& caption) {
  // Through the program's one message presenter, so that every box looks alike.
  ShowMessage(parent, text, caption);
}

QString DialogPrompts::AskGifPath(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("GIF (*.gif)"));
  dialog.setDefaultSuffix(QStringLiteral("gif"));
  // Overwriting an existing file is confirmed by the dialog itself.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

std::optional<QColor> DialogPrompts::AskColour(QWidget*, const QColor& start) {
  // Like the system colour dialog of old: no owner window.
  const QColor chosen = QColorDialog::getColor(start, nullptr);
  if (!chosen.isValid())
    return std::nullopt;
  return chosen;
}

bool DialogPrompts::EditOptions(QWidget* parent, int& autoRotate, int& rotationSpeed) {
  CExaminerOptionsDialog dialog(parent);
  dialog.autoRotate = autoRotate;
  dialog.speed = rotationSpeed;
  if (dialog.exec() != QDialog::Accepted)
    return false;
  autoRotate = dialog.autoRotate;
  rotationSpeed = dialog.speed;
  return true;
}

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
  m_repeat = DesktopKeyboardRepeat();
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
  m_autoRotate = autoRotate;
  m_rotationSpeed = std::clamp(rotationSpeed, static_cast<int>(kSlow), static_cast<int>(kFast));
}

void CVRMLView::SetPrompts(std::unique_ptr<ExaminerPrompts> prompts) {
  if (prompts)
    m_prompts = std::move(prompts);
}

void CVRMLView::SetClock(RepeatGate::Clock clock) { m_gate = RepeatGate(std::move(clock)); }

void CVRMLView::SetKeyboardRepeat(int delayMs, int intervalMs) {
  m_repeat.delayMs = delayMs;
  m_repeat.intervalMs = intervalMs;
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
  QPainter painter(this);
  Blit(painter, *m_binding, width(), height(), m_displayDepth);
}

void CVRMLView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!m_binding)
    return;
  m_binding->SetViewSize(width(), height());
  Draw();
}

// ---- the drag --------------------------------------------------------------

QPointF CVRMLView::DragStep(QPoint pos) const {
  const int cw = width();
  const int ch = height();
  if (cw <= 0 || ch <= 0)
    return {0.0, 0.0};
  const int k = SpeedDivisor();
  // Offsets from the integer centre; at the right edge a step is 1/(4k) radians.
  const float yaw = static_cast<float>((pos.x() - cw / 2) / static_cast<double>(k * cw) * 0.5);
  const float pitch = static_cast<float>((pos.y() - ch / 2) / static_cast<double>(k * ch) * 0.5);
  return {yaw, pitch};
}

void CVRMLView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  StopSpin();
  m_spinning = 0;
  m_dragPos = event->position().toPoint();
  // The first step comes at once; later ones at the keyboard's repeat pace.
  const QPointF step = DragStep(m_dragPos);
  Turn(static_cast<float>(step.x()), static_cast<float>(step.y()));
  repaint();
  m_gate.Start(m_repeat.delayMs, m_repeat.intervalMs);
  m_dragging = true;
  ScheduleDragTick();
}

void CVRMLView::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging)
    m_dragPos = event->position().toPoint();
  QWidget::mouseMoveEvent(event);
}

void CVRMLView::ScheduleDragTick() {
  m_dragTimer.start(std::max(1, m_gate.MillisecondsUntilDue()));
}

void CVRMLView::DragTick() {
  if (!m_dragging)
    return;
  if (m_gate.Next()) {
    const QPointF step = DragStep(m_dragPos);
    const auto yaw = static_cast<float>(step.x());
    const auto pitch = static_cast<float>(step.y());
    Turn(yaw, pitch);
    repaint();
    m_spinYaw = yaw;
    m_spinPitch = pitch;
    m_spinning = 1;
  }
  ScheduleDragTick();
}

void CVRMLView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_dragging) {
    m_dragging = false;
    m_dragTimer.stop();
    // Only a drag that got past the repeat delay leaves the letters spinning.
    if (m_spinning && m_autoRotate)
      StartSpin();
  }
  QWidget::mouseReleaseEvent(event);
}

// ---- auto rotation ---------------------------------------------------------

void CVRMLView::StartSpin() {
  m_halfTick = 0;
  m_spinTimer.start();
}

void CVRMLView::StopSpin() { m_spinTimer.stop(); }

void CVRMLView::SpinTick() {
  // Every second tick only, 50 ms apart: a frame that takes longer simply
  // delays the next one, so frames never pile up.
  m_halfTick ^= 1;
  if (m_halfTick)
    return;
  Turn(m_spinYaw, m_spinPitch);
  update();
}

// ---- keys ------------------------------------------------------------------

bool CVRMLView::IsNavigationKey(int key, Qt::KeyboardModifiers modifiers) {
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
      return modifiers.testFlag(Qt::KeypadModifier);
    default:
      return false;
  }
}

void CVRMLView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  // A key held down arrives as auto-repeated presses; they count as repeats.
  const int repeat = event->isAutoRepeat() ? std::max(2, event->count()) : event->count();
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

void CVRMLView::KeyOperation(int key, int repeatCount, Qt::KeyboardModifiers modifiers) {
  StopSpin();
  m_spinning = 0;

  const auto k = static_cast<float>(SpeedDivisor());
  const float closer = 1.0f + (-0.2f / k);
  float factor = 0.0f;
  float yaw = 0.0f;
  float pitch = 0.0f;
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  switch (key) {
    case Qt::Key_PageUp:
      factor = closer;
      break;
    case Qt::Key_PageDown:
      factor = 1.0f / closer;
      break;
    case Qt::Key_Plus:
      if (!keypad)
        return;
      factor = closer;
      break;
    case Qt::Key_Minus:
      if (!keypad)
        return;
      factor = 1.0f / closer;
      break;
    case Qt::Key_Home:
      if (m_binding) {
        m_binding->ViewCamera().Reset();
        Draw();
      }
      break;
    case Qt::Key_Left:
      yaw = -0.25f / k;
      break;
    case Qt::Key_Right:
      yaw = 0.25f / k;
      break;
    case Qt::Key_Up:
      pitch = -0.25f / k;
      break;
    case Qt::Key_Down:
      pitch = 0.25f / k;
      break;
    default:
      return;  // not a navigation key: nothing to repaint
  }

  if (factor != 0.0f) {
    if (m_binding) {
      m_binding->ViewCamera().Zoom(factor);
      Draw();
    }
  } else if (yaw != 0.0f || pitch != 0.0f) {
    Turn(yaw, pitch);
    // A held arrow key leaves the letters spinning when auto rotation is on.
    if (m_autoRotate && repeatCount > 1) {
      m_spinYaw = yaw;
      m_spinPitch = pitch;
      m_spinning = 1;
      StartSpin();
    }
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
  int autoRotate = m_autoRotate;
  int speed = m_rotationSpeed;
  if (!m_prompts->EditOptions(this, autoRotate, speed))
    return;
  speed = std::clamp(speed, static_cast<int>(kSlow), static_cast<int>(kFast));
  const int oldDivisor = SpeedDivisor();
  const int newDivisor = 5 - 2 * speed;
  // A running spin goes on at the new speed.
  if (autoRotate && m_autoRotate) {
    const float ratio = static_cast<float>(oldDivisor) / static_cast<float>(newDivisor);
    m_spinYaw *= ratio;
    m_spinPitch *= ratio;
  }
  m_autoRotate = autoRotate;
  m_rotationSpeed = speed;
  if (!m_autoRotate)
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
