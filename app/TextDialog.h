// "Enter the text": one edit for the text the letters are made from, any
// Unicode characters, one line of letters per line of the edit.
#pragma once

#include "ZarnDialog.h"

class QPlainTextEdit;

class CTextDialog : public CZarnDialog {
  Q_OBJECT
 public:
  explicit CTextDialog(QWidget* parent = nullptr);

  void UpdateControls() override;
  bool UpdateFields() override;

  QString text;  // empty is acceptable: the caller compares it with its own

 protected:
  // The text comes up selected with the focus in the edit, so typing replaces it.
  void OnInitDialog() override;

 private:
  QPlainTextEdit* m_edit;
};
