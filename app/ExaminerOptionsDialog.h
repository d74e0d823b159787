// "Examiner Options": rotation speed of the examiner view and whether the
// letters keep spinning after a drag.
#pragma once

#include "ZarnDialog.h"

class QButtonGroup;
class QCheckBox;

class CExaminerOptionsDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CExaminerOptionsDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  int autoRotate = 0;  // non-zero: "Auto rotation" checked
  int speed = -1;      // 0 slow, 1 medium, 2 fast, -1 none

 private:
  QButtonGroup* m_speed;
  QCheckBox* m_autoRotate;
};
