// "Set height": the model height of one em, within the letters' height limits.
#pragma once

#include "ZarnDialog.h"

class QLineEdit;

class CHeightDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CHeightDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  double value = 0.0;

 private:
  QLineEdit* m_edit;
};
