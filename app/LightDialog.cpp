#include "LightDialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QRadioButton>

namespace {

QFrame* EtchedFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

}  // namespace

CLightDialog::CLightDialog(QWidget* parent) : CZarnDialog(QStringLiteral("Light"), 186, 46, parent) {
  m_side = new QButtonGroup(this);
  m_face = new QButtonGroup(this);
  m_side->addButton(Place(new QRadioButton(QStringLiteral("Right"), this), 1006, 17, 13, 33, 10), 0);
  m_side->addButton(Place(new QRadioButton(QStringLiteral("Left"), this), 1007, 17, 24, 28, 10), 1);
  m_face->addButton(Place(new QRadioButton(QStringLiteral("Front"), this), 1008, 76, 12, 32, 10), 0);
  m_face->addButton(Place(new QRadioButton(QStringLiteral("Back"), this), 1009, 76, 24, 33, 10), 1);
  AddButton(QStringLiteral("OK"), 1, 129, 7, 50, 14, true);
  AddButton(QStringLiteral("Cancel"), 2, 129, 25, 50, 14, false);
  // The frames sit behind the buttons they surround.
  Place(EtchedFrame(this), 0, 7, 7, 52, 32)->lower();
  Place(EtchedFrame(this), 0, 68, 7, 53, 32)->lower();
}

void CLightDialog::UpdateControls() {
  SetRadio(m_side, side);
  SetRadio(m_face, face);
}

bool CLightDialog::UpdateFields() {
  side = RadioIndex(m_side);
  face = RadioIndex(m_face);
  return true;
}
