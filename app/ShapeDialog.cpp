#include "ShapeDialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "TextSettings.h"

namespace {

QRadioButton* Radio(const QString& text, QWidget* parent) { return new QRadioButton(text, parent); }

// The icon at the screen's density: Qt finds the twice-as-large name@2x.png
// beside the resource and picks it on a dense screen.
QLabel* Icon(const QString& resource, QWidget* parent) {
  auto* label = new QLabel(parent);
  const QIcon icon(resource);
  label->setPixmap(icon.pixmap(QSize(32, 32), label->devicePixelRatioF()));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

CShapeDialog::CShapeDialog(QWidget* parent) : CZarnDialog(QStringLiteral("Shape"), 328, 188, parent) {
  // Created in the order the Tab key visits them: OK, Cancel, the depth edit,
  // the presets, the shapes, the sizes, the scope.
  AddButton(QStringLiteral("OK"), kIdOk, 271, 149, 50, 14, true);
  AddButton(QStringLiteral("Cancel"), kIdCancel, 271, 166, 50, 14, false);
  m_depthEdit = Place(new QLineEdit(this), 1013, 46, 12, 40, 12);

  m_presets = new QButtonGroup(this);
  const char* presetNames[4] = {"Small", "Medium", "Long", "XLong"};
  const int presetX[4] = {13, 54, 102, 149};
  for (int i = 0; i < 4; ++i) {
    m_presets->addButton(Place(Radio(QString::fromLatin1(presetNames[i]), this), 1014 + i, presetX[i], 29, 39, 10), i);
  }

  m_shapes = new QButtonGroup(this);
  const int shapeIds[5] = {1018, 1019, 1020, 1021, 1027};
  const int shapeX[5] = {13, 54, 102, 149, 197};
  for (int i = 0; i < 5; ++i) {
    QRadioButton* button = Place(Radio(QString(), this), shapeIds[i], shapeX[i], 70, 10, 10);
    button->setToolTip(QStringLiteral("Bevel shape %1").arg(i + 1));
    m_shapes->addButton(button, i);
  }

  m_sizes = new QButtonGroup(this);
  const int sizeX[3] = {13, 54, 102};
  const int sizeY[3] = {119, 119, 118};
  for (int i = 0; i < 3; ++i) {
    QRadioButton* button = Place(Radio(QString(), this), 1022 + i, sizeX[i], sizeY[i], 8, 10);
    button->setToolTip(QStringLiteral("Bevel size %1").arg(i + 1));
    m_sizes->addButton(button, i);
  }

  m_applyTo = new QButtonGroup(this);
  m_selectedObjects = Place(Radio(QStringLiteral("Selected Objects"), this), 1025, 14, 163, 83, 10);
  m_applyTo->addButton(m_selectedObjects, 0);
  m_applyTo->addButton(Place(Radio(QStringLiteral("All Objects"), this), 1026, 141, 163, 70, 10), 1);

  // Labels, frames and pictures; the frames go behind the buttons they hold.
  Place(new QLabel(QStringLiteral("Depth:"), this), 0, 13, 14, 27, 11);
  auto* depthFrame = Place(new QFrame(this), 0, 7, 8, 240, 35);
  depthFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  depthFrame->lower();
  Place(new QGroupBox(QStringLiteral("Bevel Shape:"), this), 0, 7, 56, 240, 35)->lower();
  Place(new QGroupBox(QStringLiteral("Bevel Size:"), this), 0, 7, 104, 206, 35)->lower();
  Place(new QGroupBox(QStringLiteral("Apply to:"), this), 0, 7, 151, 240, 29)->lower();
  const int shapeIconX[5] = {27, 69, 118, 166, 213};
  for (int i = 0; i < 5; ++i) {
    Place(Icon(QStringLiteral(":/icons/shape%1.png").arg(i), this), 151 + i, shapeIconX[i], 68, 20, 20);
  }
  const int sizeIconX[3] = {29, 71, 118};
  for (int i = 0; i < 3; ++i) {
    Place(Icon(QStringLiteral(":/icons/size%1.png").arg(i), this), 148 + i, sizeIconX[i], 116, 20, 20);
  }

  connect(m_presets, &QButtonGroup::idClicked, this, &CShapeDialog::OnDepthPreset);
  connect(m_shapes, &QButtonGroup::idClicked, this, &CShapeDialog::OnShapeClicked);
}

void CShapeDialog::UpdateControls() {
  m_depthEdit->setText(FormatDialogNumber(depth));
  SetRadio(m_applyTo, applyTo);
  SetRadio(m_sizes, sizeChoice);
  SetRadio(m_shapes, shapeChoice);
  SetRadio(m_presets, depthPreset);
}

bool CShapeDialog::UpdateFields() {
  const std::optional<double> number = ExchangeNumber(m_depthEdit, TextSettings::kMinDepth, TextSettings::kMaxDepth);
  if (!number) return false;
  depth = *number;
  applyTo = RadioIndex(m_applyTo);
  sizeChoice = RadioIndex(m_sizes);
  shapeChoice = RadioIndex(m_shapes);
  depthPreset = RadioIndex(m_presets);
  return true;
}

void CShapeDialog::OnInitDialog() {
  // Without a selection there is nothing "Selected Objects" could apply to.
  if (applyTo == 1) m_selectedObjects->setEnabled(false);
  // A straight side has no bevel, so its size means nothing.
  if (shapeChoice == 0) EnableSizeButtons(false);
}

void CShapeDialog::OnDepthPreset(int preset) {
  // The edit may hold anything, even nothing; put a valid number in first so
  // that reading the controls cannot fail, then show the preset's depth.
  m_depthEdit->setText(QStringLiteral("1"));
  UpdateFields();
  depth = ShapeChoices::kPresetDepths[static_cast<std::size_t>(preset)];
  UpdateControls();
}

void CShapeDialog::OnShapeClicked(int choice) { EnableSizeButtons(choice != 0); }

void CShapeDialog::EnableSizeButtons(bool enable) {
  for (QAbstractButton* button : m_sizes->buttons()) button->setEnabled(enable);
}
