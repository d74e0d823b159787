#include "ExaminerOptionsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

CExaminerOptionsDialog::CExaminerOptionsDialog(QWidget* parent)
    : CZarnDialog(QStringLiteral("Examiner Options"), 186, 87, parent) {
  m_speed = new QButtonGroup(this);
  m_speed->addButton(Place(new QRadioButton(QStringLiteral("Slow"), this), 1006, 17, 19, 31, 10), 0);
  m_speed->addButton(Place(new QRadioButton(QStringLiteral("Medium"), this), 1007, 17, 33, 41, 10), 1);
  m_speed->addButton(Place(new QRadioButton(QStringLiteral("Fast"), this), 1008, 17, 47, 31, 10), 2);
  m_autoRotate = Place(new QCheckBox(QStringLiteral("Auto rotation"), this), 1030, 17, 70, 56, 10);
  AddButton(QStringLiteral("OK"), kIdOk, 129, 49, 50, 14, true);
  AddButton(QStringLiteral("Cancel"), kIdCancel, 129, 66, 50, 14, false);
  Place(new QGroupBox(QStringLiteral("Rotation speed:"), this), 0, 7, 7, 111, 55)->lower();
}

void CExaminerOptionsDialog::UpdateControls() {
  SetRadio(m_speed, speed);
  m_autoRotate->setChecked(autoRotate != 0);
}

bool CExaminerOptionsDialog::UpdateFields() {
  speed = RadioIndex(m_speed);
  autoRotate = m_autoRotate->isChecked() ? 1 : 0;
  return true;
}
