// The layout view: letters built, drawn flat, selected and changed.
#include "ZarnView.h"

#include <functional>

#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "BuildStatus.h"
#include "DialogSupport.h"
#include "ExaminerControl.h"
#include "ExportDialog.h"
#include "ExtractGlyphOutlines.h"
#include "FocusFrame.h"
#include "HeightDialog.h"
#include "LayoutPicture.h"
#include "LightDialog.h"
#include "MyFontDialog.h"
#include "QtEdge.h"
#include "SaveFile.h"
#include "ShapeDialog.h"
#include "Text3D.h"
#include "TextDialog.h"
#include "VrmlWriter.h"
#include "WaitCursor.h"
#include "Windows1252.h"

CZarnView::CZarnView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("layoutView"));

  OpenFont();
}

CZarnView::~CZarnView() = default;

void CZarnView::OpenFont() {
  m_font = m_fontFile ? Font::OpenFile(m_fontFile->file, m_fontFile->faceIndex) : Font::Open(m_fontDescription);
}

void CZarnView::ShowStatus(const char* text) {
  emit StatusText(QString::fromLatin1(text));
}

void CZarnView::BuildLetters(Rebuild kind) {
  QString warning;
  if (m_font) {
    // The fallback is looked for near the chosen face, as the command line does.
    FontDescription like = m_fontDescription;
    if (m_fontFile) like.faceName = m_font->Family();
    const std::u32string missing = ExtractWithFallback(m_outline, m_characters, *m_font, m_textOptions.Layout(),
                                                       m_textOptions.fontFallback ? &like : nullptr);
    warning = QString::fromStdString(MissingGlyphWarning(*m_font, missing));
  } else {
    // No face could be opened at all: every character is one without outline.
    m_outline.Clear();
    for (std::size_t i = 0; i < m_characters.size(); ++i) m_outline.Add(0.0, 0.0, kCharacterEnd);
  }
  const WaitCursor waitCursor;
  std::vector<PieceAttributes> recorded;
  if (kind == Rebuild::NewFont && m_text) {
    recorded = RecordPieceAttributes(*m_text, m_settings.colour, m_settings.depth);
  }
  m_selection.Clear();
  m_text.reset();
  // The first build of a run shows no stages.
  StatusObserver status([this](const char* text) { ShowStatus(text); });
  BuildOptions options;
  options.observer = kind == Rebuild::Initial ? nullptr : &status;
  options.carryOver = &recorded;
  m_text = BuildText3D(m_textBytes, m_outline, m_settings, options);
  emit MissingCharacters(warning);
}

void CZarnView::OnInitialUpdate() {
  BuildLetters(Rebuild::Initial);
  ShowNewLetters();
}

void CZarnView::ShowNewLetters() {
  FitLayout();
  BuildPieceRects();
  update();
  UpdateExaminer(true);
  emit SelectionChanged();
}

void CZarnView::UpdateExaminer(bool refit) { emit LettersChanged(refit); }

// ---------------------------------------------------------------- layout

void CZarnView::FitLayout() {
  if (!m_text) {
    m_fit = LayoutFit{};
    return;
  }
  m_fit = FitBounds(m_text->bounds, width(), height());
}

void CZarnView::BuildPieceRects() {
  if (!m_text) return;
  std::vector<PieceRect> rects;
  for (const CLetter& letter : m_text->letters) {
    if (letter.bounds.IsDegenerate()) continue;
    for (const auto& piece : letter.pieces) {
      const CBoundRect& b = piece->bounds;
      // A degenerate piece gets a rectangle that holds no point.
      rects.push_back(b.IsDegenerate() ? PieceRect{}
                                       : PieceRect{m_fit.X(b.left), m_fit.Y(b.top), m_fit.X(b.right), m_fit.Y(b.bottom)});
    }
  }
  if (m_selection.SetRects(std::move(rects))) SelectionUpdated(true);
}

void CZarnView::SelectionUpdated(bool changed) {
  if (!changed) return;
  update();
  emit SelectionChanged();
}

void CZarnView::Click(int x, int y, Qt::KeyboardModifiers modifiers) {
  SelectionUpdated(m_selection.Click(x, y, modifiers.testAnyFlags(Qt::ShiftModifier | Qt::ControlModifier)));
}

void CZarnView::HandleKey(int key, int, Qt::KeyboardModifiers) {
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) SelectionUpdated(m_selection.Cycle());
}

// -------------------------------------------------------------- painting

QImage CZarnView::Picture() const {
  return LayoutPicture(m_text.get(), m_fit, m_selection, size(), devicePixelRatioF());
}

void CZarnView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Picture());
  if (m_focusFrame.Shown(hasFocus())) DrawFocusFrame(painter, rect(), palette());
}

void CZarnView::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  m_focusFrame.FocusIn(event->reason());
  update();
}

void CZarnView::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  m_focusFrame.FocusOut(event->reason());
  update();
}

// ---------------------------------------------------------------- events

void CZarnView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitLayout();
  BuildPieceRects();
}

void CZarnView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    Click(at.x(), at.y(), event->modifiers());
  }
  QWidget::mousePressEvent(event);
}

void CZarnView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  // A held key counts as held here too, for the examiner's spin.
  const int repeat = ExaminerControl::RepeatCount(event->isAutoRepeat(), event->count());
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_F12) {
    HandleKey(key, repeat, event->modifiers());
  } else {
    emit UnhandledKey(key, repeat, event->modifiers());
  }
  QWidget::keyPressEvent(event);
}

void CZarnView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuAt(event->globalPos());
}

bool CZarnView::focusNextPrevChild(bool) { return false; }

// -------------------------------------------------------------- commands

void CZarnView::OnText() {
  CTextDialog dialog(this);
  dialog.text = QString::fromStdU32String(m_characters);
  if (dialog.exec() != QDialog::Accepted) return;
  SetCharacters(dialog.text.toStdU32String());
}

void CZarnView::SetText(const std::string& text) {
  std::u32string characters;
  for (char b : text) characters.push_back(Windows1252ToUnicode(static_cast<unsigned char>(b)));
  SetCharacters(characters);
}

void CZarnView::SetCharacters(const std::u32string& characters) {
  if (!m_text || characters == m_characters) return;
  m_characters = characters;
  m_textBytes = LetterBytes(characters);
  m_textChosen = true;
  BuildLetters(Rebuild::NewText);
  ShowNewLetters();
}

void CZarnView::SetStartText(const std::optional<std::u32string>& characters,
                             const std::optional<TextOptions>& options) {
  if (characters) {
    m_characters = *characters;
    m_textBytes = LetterBytes(*characters);
  }
  m_textChosen = characters.has_value();
  m_textOptions = options.value_or(TextOptions{});
  m_optionsChosen = options.has_value();
}

std::optional<std::u32string> CZarnView::KeptCharacters() const {
  return m_textChosen ? std::optional(m_characters) : std::nullopt;
}

std::optional<TextOptions> CZarnView::KeptTextOptions() const {
  return m_optionsChosen ? std::optional(m_textOptions) : std::nullopt;
}

void CZarnView::SetTextOptions(const TextOptions& options) {
  if (!m_text || options == m_textOptions) return;
  m_textOptions = options;
  m_optionsChosen = true;
  BuildLetters(Rebuild::NewFont);
  ShowNewLetters();
}

void CZarnView::OnFont() {
  CMyFontDialog dialog(m_fontDescription, this, ListOutlineFaces(), m_fontFile);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.fontFile) {
    SetFontFile(*dialog.fontFile);
  } else {
    SetFont(dialog.description);
  }
}

void CZarnView::SetFontFile(const FontFaceInfo& face) {
  if (!m_text) return;
  m_fontFile = face;
  OpenFont();
  BuildLetters(Rebuild::NewFont);
  ShowNewLetters();
}

void CZarnView::SetFont(const FontDescription& description) {
  if (!m_text) return;
  m_fontFile.reset();
  m_fontDescription = description;
  m_fontDescription.height = -1000;
  OpenFont();
  BuildLetters(Rebuild::NewFont);
  ShowNewLetters();
}

void CZarnView::OnColourDialog() {
  auto initial = static_cast<std::uint32_t>(m_settings.colour);
  if (!Selection().empty() && m_text) {
    if (const CLetterPiece* piece = m_text->PieceAt(Selection().front())) {
      initial = static_cast<std::uint32_t>(piece->colour);
    }
  }
  QColorDialog dialog(FromColorref(initial), this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyColour(ToColorref(dialog.selectedColor()));
}

void CZarnView::ApplyColour(std::uint32_t colour) {
  if (!m_text) return;
  colour &= 0x00FFFFFF;
  if (Selection().empty()) {
    m_text->SetColour(static_cast<int>(colour));
    m_settings.colour = static_cast<int>(colour);
  } else {
    for (int n : Selection()) {
      if (CLetterPiece* piece = m_text->PieceAt(n)) piece->SetColour(static_cast<int>(colour));
    }
  }
  update();
  UpdateExaminer(false);
}

void CZarnView::OnLight() {
  CLightDialog dialog(this);
  dialog.side = (m_settings.lightFlags & 2) ? 1 : 0;
  dialog.face = (m_settings.lightFlags & 1) ? 1 : 0;
  if (dialog.exec() != QDialog::Accepted) return;
  SetLightFlags((dialog.side == 1 ? 2 : 0) + (dialog.face == 1 ? 1 : 0));
}

void CZarnView::SetLightFlags(int flags) {
  if (!m_text || flags == m_settings.lightFlags) return;
  m_settings.lightFlags = flags;
  m_text->SetLight(flags);
  UpdateExaminer(false);
}

void CZarnView::OnHeight() {
  CHeightDialog dialog(this);
  dialog.value = m_settings.height;
  if (dialog.exec() != QDialog::Accepted) return;
  SetHeight(dialog.value);
}

void CZarnView::SetHeight(double height) {
  if (!m_text || height == m_settings.height || height < TextSettings::kMinHeight) return;
  const double old = m_settings.height < TextSettings::kMinHeight ? 1.0 : m_settings.height;
  m_settings.height = height;
  m_text->Scale(height / old);
  m_text->BuildMeshes();
  FitLayout();
  BuildPieceRects();
  update();
  UpdateExaminer(true);
}

void CZarnView::OnShape() {
  if (!m_text) return;
  CShapeDialog dialog(this);
  const CLetterPiece* first = Selection().empty() ? nullptr : m_text->PieceAt(Selection().front());
  if (first) {
    dialog.depth = first->depth;
    dialog.sizeChoice = ShapeChoices::SizeChoiceFor(first->bevelSize);
    dialog.shapeChoice = ShapeChoices::ShapeChoiceFor(first->bevelSteps);
    dialog.applyTo = 0;
  } else {
    dialog.depth = m_settings.depth;
    dialog.sizeChoice = ShapeChoices::SizeChoiceFor(m_settings.bevelSize);
    dialog.shapeChoice = ShapeChoices::ShapeChoiceFor(m_settings.bevelSteps);
    dialog.applyTo = 1;
  }
  dialog.depthPreset = ShapeChoices::DepthPresetFor(dialog.depth);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyShape(dialog.depth, dialog.sizeChoice, dialog.shapeChoice, dialog.applyTo);
}

void CZarnView::ApplyShape(double depth, int sizeChoice, int shapeChoice, int applyTo) {
  if (!m_text) return;
  const double size = ShapeChoices::BevelSizeForChoice(sizeChoice);
  const int steps = ShapeChoices::BevelStepsForChoice(shapeChoice);
  if (applyTo == 1) {
    m_settings.depth = depth;
    m_settings.bevelSize = size;
    m_settings.bevelSteps = steps;
    m_text->SetDepth(depth);
    m_text->SetBevel(steps, size);
    m_text->BuildMeshes();
  } else if (applyTo == 0) {
    for (int n : Selection()) {
      CLetterPiece* piece = m_text->PieceAt(n);
      if (!piece) continue;
      piece->SetDepth(depth);
      piece->SetBevel(steps, size);
      piece->BuildMesh();
    }
  }
  UpdateExaminer(false);
}

void CZarnView::SaveVrml() {
  if (!m_text) return;
  QFileDialog dialog(this, QStringLiteral("Save As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("VRML 2.0 Files (*.wrl)"));
  dialog.setDefaultSuffix(QStringLiteral("wrl"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  repaint();
  if (WriteWorld(dialog.selectedFiles().front())) QApplication::beep();
}

void CZarnView::Export() { RunExport(*this, m_exportChoices); }

void CZarnView::TestVrml() {
  // Always the same file in the current directory, for a quick look in a viewer.
  WriteWorld(QStringLiteral("g.wrl"));
}

bool CZarnView::WriteWorld(const QString& path) {
  if (!m_text) return false;
  bool saved = false;
  {
    const WaitCursor waitCursor;
    saved = SaveAtomically(FilePath(path), [this](std::ostream& out) {
      WriteVrml(*m_text, out);
      return true;
    });
  }
  if (!saved) ShowMessage(this, QString::fromLatin1(kCanNotCreateFile), QStringLiteral("Error"));
  return saved;
}
