// Layout, exchange and cancelling shared by the program's own dialogs.
#include "ZarnDialog.h"

#include <QButtonGroup>
#include <QPushButton>

CZarnDialog::CZarnDialog(const QString& title, int widthUnits, int heightUnits, QWidget* parent)
    : QDialog(parent), m_units(font()) {
  setWindowTitle(title);
  setModal(true);
  // A caption with a close box and nothing else: no help button, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(m_units.Size(widthUnits, heightUnits));
}

void CZarnDialog::accept() {
  if (!UpdateFields()) return;
  QDialog::accept();
}

void CZarnDialog::showEvent(QShowEvent* event) {
  if (!m_initialised) {
    m_initialised = true;
    UpdateControls();
    OnInitDialog();
  }
  QDialog::showEvent(event);
}

QPushButton* CZarnDialog::AddButton(const QString& text, int id, int x, int y, int width, int height,
                                    bool isDefault) {
  auto* button = Place(new QPushButton(text, this), id, x, y, width, height);
  button->setAutoDefault(false);
  button->setDefault(isDefault);
  // The ids of OK and Cancel decide what the buttons do, as in every dialog.
  if (id == kIdOk) connect(button, &QPushButton::clicked, this, &QDialog::accept);
  if (id == kIdCancel) connect(button, &QPushButton::clicked, this, &QDialog::reject);
  return button;
}

void CZarnDialog::SetRadio(QButtonGroup* group, int index) {
  QAbstractButton* chosen = group->button(index);
  if (chosen) {
    chosen->setChecked(true);
    return;
  }
  // An exclusive group refuses to uncheck its last button, hence the detour.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

int CZarnDialog::RadioIndex(const QButtonGroup* group) { return group->checkedId(); }
