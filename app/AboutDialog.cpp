#include "AboutDialog.h"

#include <QLabel>

namespace {

QLabel* Centred(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  return label;
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : CZarnDialog(QStringLiteral("About"), 184, 76, parent) {
  auto* icon = Place(new QLabel(this), 128, 15, 7, 21, 20);
  icon->setPixmap(QPixmap(QStringLiteral(":/icons/zarn.png")).scaled(icon->size(), Qt::KeepAspectRatio,
                                                                      Qt::SmoothTransformation));
  Place(Centred(QStringLiteral("Glyphkiln"), this), 0, 51, 7, 81, 8);
  Place(Centred(QStringLiteral("version 2.0"), this), 0, 63, 20, 57, 8);
  Place(Centred(QString(), this), 0, 7, 30, 170, 9);
  Place(Centred(QStringLiteral("Stellwick Software"), this), 0, 35, 33, 113, 8);
  AddButton(QStringLiteral("OK"), kIdOk, 76, 55, 32, 14, true);
}
