// The lock-key indicators of the status bar.
#include "LockKeyIndicators.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "LockKeys.h"

namespace {
constexpr const char* kIndicatorTexts[3] = {"CAP", "NUM", "SCRL"};
}  // namespace

LockKeyIndicators::LockKeyIndicators(QStatusBar* bar) : QObject(bar) {
  for (int i = 0; i < 3; ++i) {
    m_labels[i] = new QLabel(bar);
    m_labels[i]->setObjectName(QString::fromLatin1(kIndicatorTexts[i]));
    m_labels[i]->setAlignment(Qt::AlignCenter);
    m_labels[i]->setMinimumWidth(m_labels[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
    m_labels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(m_labels[i]);
  }
  // The lock keys can change while another window has the keyboard, so look
  // now and then rather than only on our own key presses.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &LockKeyIndicators::Update);
  timer->start(250);
  Update();
}

void LockKeyIndicators::Update() {
  const LockKeyState state = QueryLockKeys();
  const bool on[3] = {state.capsLock, state.numLock, state.scrollLock};
  for (int i = 0; i < 3; ++i) m_labels[i]->setText(on[i] ? QString::fromLatin1(kIndicatorTexts[i]) : QString());
}
