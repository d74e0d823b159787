// "Enter the text": one edit for the line of text the letters are made from.
#pragma once

#include "ZarnDialog.h"

class QLineEdit;

class CTextDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CTextDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  QString text;  // empty is acceptable: the caller compares it with its own

 private:
  QLineEdit* m_edit;
};
