#include "TextDialog.h"

#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>

CTextDialog::CTextDialog(QWidget* parent) : CZarnDialog(QStringLiteral("Enter the text"), 186, 64, parent) {
  m_edit = Place(new QPlainTextEdit(this), 1000, 7, 7, 119, 50);
  m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab moves on to the button: the letters have no use for tab stops.
  m_edit->setTabChangesFocus(true);
  // No Cancel button: Escape or the close box cancel.
  AddButton(QStringLiteral("OK"), 1, 129, 7, 50, 14, true);
  // Enter belongs to the edit, where it starts a new line.
  auto* hint = Place(new QLabel(QStringLiteral("Enter starts a new line; Ctrl+Enter is OK."), this), 0, 129, 25,
                     50, 32);
  hint->setWordWrap(true);
  hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &CTextDialog::accept);
  }
}

void CTextDialog::UpdateControls() { m_edit->setPlainText(text); }

void CTextDialog::OnInitDialog() {
  m_edit->selectAll();
  m_edit->setFocus(Qt::OtherFocusReason);
}

bool CTextDialog::UpdateFields() {
  text = m_edit->toPlainText();
  return true;
}
