#include "ExportDialog.h"

#include <algorithm>
#include <iterator>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "DialogSupport.h"
#include "MeshExport.h"
#include "QtEdge.h"
#include "SaveFile.h"
#include "WaitCursor.h"
#include "ZarnView.h"

namespace {

struct FormatFilter {
  MeshFormat format;
  const char* filter;
  const char* suffix;
};

// In the order the dialog lists them.
constexpr FormatFilter kFilters[] = {
    {MeshFormat::Vrml, "VRML 2.0 Files (*.wrl)", "wrl"},
    {MeshFormat::Stl, "STL Files (*.stl)", "stl"},
    {MeshFormat::Obj, "OBJ Files (*.obj)", "obj"},
    {MeshFormat::Glb, "glTF Binary Files (*.glb)", "glb"},
    {MeshFormat::ThreeMf, "3MF Files (*.3mf)", "3mf"},
};
// The dialog starts with STL: saving the world has its own command.
constexpr const FormatFilter& kFirstChoice = kFilters[1];

const FormatFilter& FilterNamed(const QString& filter) {
  for (const FormatFilter& f : kFilters) {
    if (filter == QLatin1String(f.filter)) return f;
  }
  return kFirstChoice;
}

constexpr LengthUnit kUnits[] = {LengthUnit::Millimetre, LengthUnit::Centimetre, LengthUnit::Metre,
                                 LengthUnit::Inch};
constexpr const char* kUnitNames[] = {"Millimetres", "Centimetres", "Metres", "Inches"};

}  // namespace

MeshFormat ExportFormatFor(const QString& path, const QString& selectedFilter) {
  const std::optional<MeshFormat> byName = ParseMeshFormat(QFileInfo(path).suffix().toLower().toStdString());
  return byName ? *byName : FilterNamed(selectedFilter).format;
}

CExportDialog::CExportDialog(QWidget* parent, const ExportSettings& choices)
    : QFileDialog(parent, QStringLiteral("Export")) {
  // The choices sit in the dialog itself, which needs Qt's own dialog.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const FormatFilter& f : kFilters) filters << QString::fromLatin1(f.filter);
  setNameFilters(filters);
  selectNameFilter(QString::fromLatin1(kFirstChoice.filter));
  setDefaultSuffix(QString::fromLatin1(kFirstChoice.suffix));
  connect(this, &QFileDialog::filterSelected, this,
          [this](const QString& filter) { setDefaultSuffix(QString::fromLatin1(FilterNamed(filter).suffix)); });

  m_unit = new QComboBox(this);
  m_unit->setObjectName(QStringLiteral("unit"));
  for (std::size_t i = 0; i < std::size(kUnits); ++i) {
    m_unit->addItem(QString::fromLatin1(kUnitNames[i]));
    if (kUnits[i] == choices.unit) m_unit->setCurrentIndex(static_cast<int>(i));
  }
  m_emHeight = new QLineEdit(QString::fromStdString(choices.emHeight), this);
  m_emHeight->setObjectName(QStringLiteral("emHeight"));
  m_emHeight->setPlaceholderText(QStringLiteral("as modelled"));
  m_solid = new QComboBox(this);
  m_solid->setObjectName(QStringLiteral("solid"));
  m_solid->addItem(QStringLiteral("Clean solid"));
  m_solid->addItem(QStringLiteral("Exact geometry"));
  m_solid->setCurrentIndex(choices.solid == SolidMode::Exact ? 1 : 0);

  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Unit:"), row));
  layout->addWidget(m_unit);
  layout->addWidget(new QLabel(QStringLiteral("Em height:"), row));
  layout->addWidget(m_emHeight);
  layout->addWidget(new QLabel(QStringLiteral("Solid:"), row));
  layout->addWidget(m_solid);
  layout->addStretch();
  if (auto* grid = qobject_cast<QGridLayout*>(this->layout())) {
    grid->addWidget(new QLabel(QStringLiteral("Meshes:"), this), grid->rowCount(), 0);
    grid->addWidget(row, grid->rowCount() - 1, 1, 1, grid->columnCount() - 1);
  }
}

std::optional<ExportSettings> CExportDialog::Choices() {
  ExportSettings choices;
  choices.unit = kUnits[std::max(0, m_unit->currentIndex())];
  choices.emHeight = m_emHeight->text().trimmed().toStdString();
  choices.solid = m_solid->currentIndex() == 1 ? SolidMode::Exact : SolidMode::Clean;
  if (!choices.emHeight.empty() && !ParseLength(choices.emHeight, choices.unit)) {
    ShowAppMessage(this, QStringLiteral("The em height must be a positive length such as 20mm or 0.5in."));
    return std::nullopt;
  }
  return choices;
}

QString CExportDialog::ChosenPath() const {
  return selectedFiles().isEmpty() ? QString() : selectedFiles().front();
}

MeshFormat CExportDialog::ChosenFormat() const { return ExportFormatFor(ChosenPath(), selectedNameFilter()); }

bool ExportLetters(CZarnView& view, const QString& path, MeshFormat format, const ExportSettings& choices) {
  const CText3D* text = view.CurrentText();
  if (!text) return false;
  std::string error;
  bool saved = false;
  {
    const WaitCursor waitCursor;
    saved = ExportBuiltText(FilePath(path), format, view.Text(), view.Outline(), *text, view.Settings(), choices,
                            error);
  }
  if (!saved) ShowMessage(&view, QString::fromLatin1(kCanNotCreateFile), QStringLiteral("Error"));
  return saved;
}

void RunExport(CZarnView& view, std::optional<ExportSettings>& kept) {
  if (!view.CurrentText()) return;
  CExportDialog dialog(&view, kept.value_or(ExportSettings{}));
  std::optional<ExportSettings> choices;
  while (!choices) {
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return;
    choices = dialog.Choices();
  }
  kept = choices;
  view.repaint();
  if (ExportLetters(view, dialog.ChosenPath(), dialog.ChosenFormat(), *choices)) QApplication::beep();
}
