#include "MyFontDialog.h"

#include <algorithm>
#include <cstdlib>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogSupport.h"

namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// A font file holds at most this many faces worth offering.
constexpr int kMaxFacesInFile = 64;

}  // namespace

CMyFontDialog::CMyFontDialog(const FontDescription& initial, QWidget* parent, std::vector<FontFaceInfo> faces,
                             const std::optional<FontFaceInfo>& file)
    : QDialog(parent), description(initial), m_faces(std::move(faces)) {
  setWindowTitle(QStringLiteral("Font"));
  setModal(true);

  auto* familyLabel = new QLabel(QStringLiteral("&Font:"), this);
  m_familyEdit = new QLineEdit(this);
  m_familyEdit->setObjectName(QStringLiteral("1152"));
  familyLabel->setBuddy(m_familyEdit);
  m_families = new QListWidget(this);
  m_families->setObjectName(QStringLiteral("1136"));
  auto* styleLabel = new QLabel(QStringLiteral("Font st&yle:"), this);
  m_styles = new QListWidget(this);
  m_styles->setObjectName(QStringLiteral("1137"));
  styleLabel->setBuddy(m_styles);

  auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
  m_sample = new QLabel(QStringLiteral("AaBbYyZz"), sampleBox);
  m_sample->setObjectName(QStringLiteral("sample"));
  m_sample->setAlignment(Qt::AlignCenter);
  m_sample->setMinimumHeight(64);
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  sampleLayout->addWidget(m_sample);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setOrientation(Qt::Vertical);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMyFontDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CMyFontDialog::reject);
  QPushButton* openFile = buttons->addButton(QStringLiteral("&Open font file..."), QDialogButtonBox::ActionRole);
  openFile->setObjectName(QStringLiteral("openFontFile"));
  connect(openFile, &QPushButton::clicked, this, &CMyFontDialog::ChooseFontFile);

  auto* grid = new QGridLayout(this);
  grid->addWidget(familyLabel, 0, 0);
  grid->addWidget(styleLabel, 0, 1);
  grid->addWidget(m_familyEdit, 1, 0);
  grid->addWidget(m_families, 2, 0);
  grid->addWidget(m_styles, 1, 1, 2, 1);
  grid->addWidget(buttons, 1, 2, 2, 1, Qt::AlignTop);
  grid->addWidget(sampleBox, 3, 0, 1, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  resize(520, 380);

  QStringList families;
  for (const FontFaceInfo& face : m_faces) {
    const QString family = FromUtf8(face.family);
    if (families.isEmpty() || families.back() != family) families.append(family);
  }
  families.removeDuplicates();
  m_families->addItems(families);

  connect(m_families, &QListWidget::currentTextChanged, this, [this](const QString& family) {
    if (m_familyEdit->text() != family) m_familyEdit->setText(family);
    FillStyles(family, SelectedStyle());
  });
  connect(m_styles, &QListWidget::currentTextChanged, this, [this](const QString&) { UpdateSample(); });
  // Typing a name jumps to the first family that begins with it.
  connect(m_familyEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
    const QList<QListWidgetItem*> found = m_families->findItems(text, Qt::MatchStartsWith);
    if (!found.isEmpty()) {
      const QSignalBlocker blocker(m_familyEdit);
      m_families->setCurrentItem(found.front());
    }
  });

  // Start on the face the description names, or on the face it resolves to
  // when it names an alias ("Arial") rather than an installed family.
  QString family = FromUtf8(initial.faceName);
  QString style = FromUtf8(initial.style);
  if (m_families->findItems(family, Qt::MatchFixedString).isEmpty()) {
    if (const std::optional<ResolvedFont> resolved = ResolveFont(initial)) {
      family = FromUtf8(resolved->family);
      if (style.isEmpty()) style = FromUtf8(resolved->style);
    }
  }
  if (style.isEmpty()) {
    // Nearest weight with the same slant.
    int best = -1;
    for (const FontFaceInfo& face : m_faces) {
      if (FromUtf8(face.family).compare(family, Qt::CaseInsensitive) != 0 || face.italic != initial.italic) {
        continue;
      }
      const int wanted = initial.weight == 0 ? FontDescription::kWeightNormal : initial.weight;
      const int distance = std::abs(face.weight - wanted);
      if (best < 0 || distance < best) {
        best = distance;
        style = FromUtf8(face.style);
      }
    }
  }
  if (!Select(family, style) && m_families->count() > 0) m_families->setCurrentRow(0);
  // The letters come from a font file: offer its faces again, on the one in use.
  if (file && AddFontFile(FromUtf8(file->file.string()))) {
    for (const auto& [shown, face] : m_opened) {
      if (face.faceIndex == file->faceIndex) Select(shown.first, shown.second);
    }
  }
}

bool CMyFontDialog::AddFontFile(const QString& path) {
  const std::filesystem::path file = path.toStdString();
  const QString name = QFileInfo(path).fileName();
  std::vector<FontFaceInfo> found;
  std::string error;
  for (int index = 0; index < kMaxFacesInFile; ++index) {
    const std::unique_ptr<Font> font = Font::OpenFile(file, index, index == 0 ? &error : nullptr);
    if (!font) break;
    FontFaceInfo face;
    face.family = font->Family();
    face.style = font->Style();
    face.file = file;
    face.faceIndex = index;
    found.push_back(std::move(face));
  }
  if (found.empty()) {
    ShowAppMessage(this, QString::fromStdString(error));
    return false;
  }
  const int id = QFontDatabase::addApplicationFont(path);
  const QStringList sampleFamilies = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
  for (const FontFaceInfo& face : found) {
    const QString family = QStringLiteral("%1 (%2)").arg(FromUtf8(face.family), name);
    const QString style = FromUtf8(face.style);
    if (m_opened.count({family, style})) continue;
    m_opened[{family, style}] = face;
    if (!sampleFamilies.isEmpty()) m_sampleFamily[family] = sampleFamilies.front();
    FontFaceInfo listed = face;
    listed.family = family.toStdString();
    m_faces.push_back(listed);
    if (m_families->findItems(family, Qt::MatchFixedString).isEmpty()) m_families->addItem(family);
  }
  const FontFaceInfo& first = found.front();
  return Select(QStringLiteral("%1 (%2)").arg(FromUtf8(first.family), name), FromUtf8(first.style));
}

void CMyFontDialog::ChooseFontFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open font file"), QString(),
      QStringLiteral("Font files (*.ttf *.otf *.ttc *.otc *.pfb *.pfa *.t1 *.woff *.woff2 *.TTF *.OTF);;All files (*)"));
  if (!path.isEmpty()) AddFontFile(path);
}

const FontFaceInfo* CMyFontDialog::OpenedFace(const QString& family, const QString& style) const {
  const auto found = m_opened.find({family, style});
  return found == m_opened.end() ? nullptr : &found->second;
}

void CMyFontDialog::FillStyles(const QString& family, const QString& preferredStyle) {
  const QSignalBlocker blocker(m_styles);
  m_styles->clear();
  for (const FontFaceInfo& face : m_faces) {
    if (FromUtf8(face.family) == family) m_styles->addItem(FromUtf8(face.style));
  }
  const QList<QListWidgetItem*> found = m_styles->findItems(preferredStyle, Qt::MatchFixedString);
  if (!found.isEmpty()) {
    m_styles->setCurrentItem(found.front());
  } else if (m_styles->count() > 0) {
    // The regular face when there is one, else the first.
    const QList<QListWidgetItem*> regular = m_styles->findItems(QStringLiteral("Regular"), Qt::MatchFixedString);
    m_styles->setCurrentItem(regular.isEmpty() ? m_styles->item(0) : regular.front());
  }
  UpdateSample();
}

bool CMyFontDialog::Select(const QString& family, const QString& style) {
  const QList<QListWidgetItem*> found = m_families->findItems(family, Qt::MatchFixedString);
  if (found.isEmpty()) return false;
  {
    const QSignalBlocker blocker(m_families);
    m_families->setCurrentItem(found.front());
  }
  m_familyEdit->setText(found.front()->text());
  FillStyles(found.front()->text(), style);
  return true;
}

QString CMyFontDialog::SelectedFamily() const {
  const QListWidgetItem* item = m_families->currentItem();
  return item ? item->text() : QString();
}

QString CMyFontDialog::SelectedStyle() const {
  const QListWidgetItem* item = m_styles->currentItem();
  return item ? item->text() : QString();
}

void CMyFontDialog::UpdateSample() {
  const auto sample = m_sampleFamily.find(SelectedFamily());
  QFont font(sample == m_sampleFamily.end() ? SelectedFamily() : sample->second);
  font.setStyleName(SelectedStyle());
  font.setPixelSize(28);
  m_sample->setFont(font);
}

void CMyFontDialog::accept() {
  if (SelectedFamily().isEmpty()) return;
  if (const FontFaceInfo* opened = OpenedFace(SelectedFamily(), SelectedStyle())) {
    fontFile = *opened;
  } else {
    fontFile.reset();
    description = DescriptionFor(SelectedFamily().toStdString(), SelectedStyle().toStdString());
  }
  QDialog::accept();
}
