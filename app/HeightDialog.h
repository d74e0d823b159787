// "Set height": the model height of one em, between 0.001 and 1000000.
#pragma once

#include "ZarnDialog.h"

class QLineEdit;

class CHeightDialog : public CZarnDialog {
  Q_OBJECT
 public:
  static constexpr double kMinimum = 0.001;
  static constexpr double kMaximum = 1000000.0;

  explicit CHeightDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  double value = 0.0;

 private:
  QLineEdit* m_edit;
};
