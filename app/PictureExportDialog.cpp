#include "PictureExportDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QSpinBox>

#include "DialogSupport.h"
#include "FramePictures.h"
#include "QtEdge.h"
#include "SaveFile.h"

namespace {

constexpr const char* kPngFilter = "PNG Files (*.png)";
constexpr const char* kGifFilter = "GIF Files (*.gif)";

QSpinBox* SpinBox(QWidget* parent, const char* name, int min, int max, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setRange(min, max);
  box->setValue(value);
  return box;
}

// The still picture's format: the name's extension when it is .gif or
// .png, else the filter's.
bool ChosenGif(const QString& path, const QString& filter) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("gif")) return true;
  if (suffix == QLatin1String("png")) return false;
  return filter == QLatin1String(kGifFilter);
}

}  // namespace

CPictureExportDialog::CPictureExportDialog(QWidget* parent, const PictureExportChoices& choices, bool turntable)
    : QFileDialog(parent, turntable ? QStringLiteral("Export Turntable") : QStringLiteral("Export Picture")),
      m_turntable(turntable),
      m_start(choices) {
  // The choices sit in the dialog itself, which needs Qt's own dialog.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  if (turntable) {
    setNameFilter(QLatin1String(kGifFilter));
    setDefaultSuffix(QStringLiteral("gif"));
  } else {
    setNameFilters({QLatin1String(kPngFilter), QLatin1String(kGifFilter)});
    selectNameFilter(QLatin1String(choices.gif ? kGifFilter : kPngFilter));
    setDefaultSuffix(choices.gif ? QStringLiteral("gif") : QStringLiteral("png"));
    connect(this, &QFileDialog::filterSelected, this, [this](const QString& filter) {
      setDefaultSuffix(filter == QLatin1String(kGifFilter) ? QStringLiteral("gif") : QStringLiteral("png"));
      UpdateTransparency();
    });
  }

  m_width = SpinBox(this, "width", PictureExportChoices::kMinSide, kMaxPictureSide, choices.width);
  m_height = SpinBox(this, "height", PictureExportChoices::kMinSide, kMaxPictureSide, choices.height);
  m_antialias = SpinBox(this, "antialias", 1, kMaxAntialias, choices.antialias);
  m_antialias->setToolTip(QStringLiteral("Samples per pixel in each direction: smoother edges, slower"));
  m_fit = new QComboBox(this);
  m_fit->setObjectName(QStringLiteral("fit"));
  m_fit->addItem(QStringLiteral("Whole text"));
  m_fit->addItem(QStringLiteral("As the examiner"));
  m_fit->setCurrentIndex(choices.fitExaminer ? 1 : 0);

  auto* sizeRow = new QWidget(this);
  auto* sizeLayout = new QHBoxLayout(sizeRow);
  sizeLayout->setContentsMargins(0, 0, 0, 0);
  sizeLayout->addWidget(new QLabel(QStringLiteral("Size:"), sizeRow));
  sizeLayout->addWidget(m_width);
  sizeLayout->addWidget(new QLabel(QStringLiteral("x"), sizeRow));
  sizeLayout->addWidget(m_height);
  sizeLayout->addWidget(new QLabel(QStringLiteral("Anti-alias:"), sizeRow));
  sizeLayout->addWidget(m_antialias);
  sizeLayout->addWidget(new QLabel(QStringLiteral("Framing:"), sizeRow));
  sizeLayout->addWidget(m_fit);
  if (!turntable) {
    m_transparent = new QCheckBox(QStringLiteral("Transparent background"), sizeRow);
    m_transparent->setObjectName(QStringLiteral("transparent"));
    m_transparent->setChecked(choices.transparent);
    sizeLayout->addWidget(m_transparent);
  }
  sizeLayout->addStretch();

  QWidget* turnRow = nullptr;
  if (turntable) {
    m_frames = SpinBox(this, "frames", 1, PictureExportChoices::kMaxTurntableFrames, choices.frames);
    m_fps = new QDoubleSpinBox(this);
    m_fps->setObjectName(QStringLiteral("fps"));
    m_fps->setDecimals(1);
    m_fps->setRange(PictureExportChoices::kMinFramesPerSecond, PictureExportChoices::kMaxFramesPerSecond);
    m_fps->setValue(choices.framesPerSecond);
    m_palette = new QComboBox(this);
    m_palette->setObjectName(QStringLiteral("palette"));
    m_palette->addItem(QStringLiteral("Adaptive"));
    m_palette->addItem(QStringLiteral("Colour cube"));
    m_palette->setCurrentIndex(choices.cubePalette ? 1 : 0);
    turnRow = new QWidget(this);
    auto* turnLayout = new QHBoxLayout(turnRow);
    turnLayout->setContentsMargins(0, 0, 0, 0);
    turnLayout->addWidget(new QLabel(QStringLiteral("Frames:"), turnRow));
    turnLayout->addWidget(m_frames);
    turnLayout->addWidget(new QLabel(QStringLiteral("Frames per second:"), turnRow));
    turnLayout->addWidget(m_fps);
    turnLayout->addWidget(new QLabel(QStringLiteral("Palette:"), turnRow));
    turnLayout->addWidget(m_palette);
    turnLayout->addStretch();
  }
  if (auto* grid = qobject_cast<QGridLayout*>(this->layout())) {
    grid->addWidget(new QLabel(QStringLiteral("Picture:"), this), grid->rowCount(), 0);
    grid->addWidget(sizeRow, grid->rowCount() - 1, 1, 1, grid->columnCount() - 1);
    if (turnRow) {
      grid->addWidget(new QLabel(QStringLiteral("Turntable:"), this), grid->rowCount(), 0);
      grid->addWidget(turnRow, grid->rowCount() - 1, 1, 1, grid->columnCount() - 1);
    }
  }
  UpdateTransparency();
}

void CPictureExportDialog::UpdateTransparency() {
  // Only a PNG has an alpha channel.
  if (m_transparent) m_transparent->setEnabled(selectedNameFilter() == QLatin1String(kPngFilter));
}

PictureExportChoices CPictureExportDialog::Choices() const {
  PictureExportChoices choices = m_start;
  choices.width = m_width->value();
  choices.height = m_height->value();
  choices.antialias = m_antialias->value();
  choices.fitExaminer = m_fit->currentIndex() == 1;
  if (m_turntable) {
    choices.frames = m_frames->value();
    choices.framesPerSecond = m_fps->value();
    choices.cubePalette = m_palette->currentIndex() == 1;
  } else {
    choices.gif = ChosenGif(ChosenPath(), selectedNameFilter());
    choices.transparent = m_transparent->isChecked();
  }
  return choices;
}

QString CPictureExportDialog::ChosenPath() const {
  return selectedFiles().isEmpty() ? QString() : selectedFiles().front();
}

bool ExportPicture(QWidget* parent, const CText3D& text, std::uint32_t background, const QString& path,
                   const PictureFileRequest& request) {
  RendererBinding binding(PictureBindingOptions());
  binding.SetBackground(background);
  const bool turntable = request.kind == PictureFileKind::kTurntable;
  QProgressDialog progress(turntable ? QStringLiteral("Drawing the turntable...") : QStringLiteral("Drawing the picture..."),
                           QStringLiteral("Cancel"), 0, 1, parent);
  progress.setObjectName(QStringLiteral("pictureProgress"));
  progress.setWindowTitle(QString::fromLatin1(kGlyphkilnTitle));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  // A Cancel pressed while the last step is drawn still counts: the dialog
  // must not reset itself (and forget it) when the bar is full.
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setValue(0);
  std::vector<std::uint8_t> bytes;
  const PictureFileResult result =
      binding.View() ? EncodePictureFile(binding, text, request, bytes,
                                         [&progress](int done, int total) {
                                           progress.setMaximum(total);
                                           progress.setValue(done);
                                           return !progress.wasCanceled();
                                         })
                     : PictureFileResult::kNothingToDraw;
  progress.hide();
  if (result == PictureFileResult::kCancelled) return false;
  if (result != PictureFileResult::kEncoded) {
    ShowAppMessage(parent, QString::fromLatin1(SaveGifMessage(SaveGifResult::kNothingToSave)));
    return false;
  }
  const bool saved = SaveAtomically(FilePath(path), [&bytes](std::ostream& out) {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
  });
  if (!saved) ShowMessage(parent, QString::fromLatin1(kCanNotCreateFile), QStringLiteral("Error"));
  return saved;
}

void RunPictureExport(QWidget* parent, const CText3D* text, std::uint32_t background,
                      std::optional<PictureExportChoices>& kept, bool turntable) {
  if (!text) return;
  CPictureExportDialog dialog(parent, kept.value_or(PictureExportChoices{}), turntable);
  if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return;
  const PictureExportChoices choices = dialog.Choices();
  kept = choices;
  if (ExportPicture(parent, *text, background, dialog.ChosenPath(), choices.Request(turntable)))
    QApplication::beep();
}
