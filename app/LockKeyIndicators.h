// The status bar's CAP, NUM and SCRL indicators, kept up to date by looking
// at the lock keys now and then.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

class LockKeyIndicators : public QObject {
  Q_OBJECT
 public:
  // Adds the three indicators to the bar's permanent part; owned by the bar.
  explicit LockKeyIndicators(QStatusBar* bar);
  // Shows each indicator's text while its lock key is on.
  void Update();

 private:
  QLabel* m_labels[3] = {nullptr, nullptr, nullptr};
};
