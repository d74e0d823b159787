#include "TextDialog.h"

#include <limits>

#include <QLineEdit>

CTextDialog::CTextDialog(QWidget* parent) : CZarnDialog(QStringLiteral("Enter the text"), 186, 28, parent) {
  m_edit = Place(new QLineEdit(this), 1000, 7, 7, 119, 14);
  m_edit->setMaxLength(std::numeric_limits<int>::max());
  // No Cancel button: Escape or the close box cancel.
  AddButton(QStringLiteral("OK"), 1, 129, 7, 50, 14, true);
}

void CTextDialog::UpdateControls() { m_edit->setText(text); }

bool CTextDialog::UpdateFields() {
  text = m_edit->text();
  return true;
}
