#include "HeightDialog.h"

#include <QLineEdit>

#include "TextSettings.h"

CHeightDialog::CHeightDialog(QWidget* parent) : CZarnDialog(QStringLiteral("Set height"), 142, 34, parent) {
  m_edit = Place(new QLineEdit(this), 1000, 7, 7, 67, 14);
  AddButton(QStringLiteral("OK"), 1, 85, 7, 50, 14, true);
}

void CHeightDialog::UpdateControls() { m_edit->setText(FormatDialogNumber(value)); }

bool CHeightDialog::UpdateFields() {
  const std::optional<double> number = ExchangeNumber(m_edit, TextSettings::kMinHeight, TextSettings::kMaxHeight);
  if (!number) return false;
  value = *number;
  return true;
}
