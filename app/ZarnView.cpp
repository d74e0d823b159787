// The layout view: letters built, drawn flat, selected and changed.
#include "ZarnView.h"

#include <functional>
#include <utility>

#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaObject>
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
#include "LetterBuildRunner.h"
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

// A build asked for and not yet shown: what the letters are built from.
struct CZarnView::PendingBuild {
  LetterSource source;
  std::shared_ptr<const CGlyphOutline> outline;
  QString warning;  // the characters the face has no glyph for
  // A new text starts every piece from the settings; anything else carries
  // the pieces' colours and depths over.
  bool newText = false;
  bool progressShown = false;
};

// The worker's news, heard on the window's thread.
class CZarnView::BuildListener : public LetterBuildRunner::Listener {
 public:
  explicit BuildListener(CZarnView& view)
      : m_view(view), m_status([&view](const char* text) { view.ShowStatus(text); }) {}
  void StageStarted(BuildStage stage) override {
    m_status.StageStarted(stage);
    // The missing characters replace "Ready", as after any build.
    if (stage != BuildStage::Finished || !m_fresh) return;
    m_fresh = false;
    emit m_view.MissingCharacters(m_warning);
    m_view.ShowNewLetters();
  }
  void Progress(std::size_t done, std::size_t total) override {
    if (m_view.m_build && m_view.m_build->progressShown && total > 0) {
      emit m_view.BuildProgress(static_cast<int>(done * 100 / total));
    }
  }
  // The letters are taken here and shown when the build's end is heard.
  void Finished(std::unique_ptr<CText3D> letters) override {
    PendingBuild* build = m_view.m_build.get();
    m_fresh = letters && build;
    if (m_fresh) {
      m_view.m_selection.Clear();
      m_view.m_text = std::move(letters);
      m_view.m_source = std::move(build->source);
      m_view.m_outline = std::move(build->outline);
      m_warning = std::move(build->warning);
    }
    m_view.BuildEnded();
  }

 private:
  CZarnView& m_view;
  StatusObserver m_status;
  bool m_fresh = false;  // letters were taken and are not shown yet
  QString m_warning;
};

CZarnView::CZarnView(QWidget* parent) : QWidget(parent), m_outline(std::make_shared<CGlyphOutline>()) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("layoutView"));

  OpenFont(m_source);
  m_listener = std::make_unique<BuildListener>(*this);
  m_runner = std::make_unique<LetterBuildRunner>([this] {
    // On the worker thread: only ask for the news to be fetched here.
    QMetaObject::invokeMethod(this, [this] { DeliverBuild(); }, Qt::QueuedConnection);
  });
}

CZarnView::~CZarnView() {
  if (m_build) qApp->removeEventFilter(this);
  m_runner.reset();
}

void CZarnView::OpenFont(LetterSource& source) {
  source.font = source.fontFile ? Font::OpenFile(source.fontFile->file, source.fontFile->faceIndex)
                                : Font::Open(source.fontDescription);
}

void CZarnView::ShowStatus(const char* text) {
  emit StatusText(QString::fromLatin1(text));
}

const CZarnView::LetterSource& CZarnView::Wanted() const { return m_build ? m_build->source : m_source; }

QString CZarnView::ExtractOutline(const LetterSource& source, CGlyphOutline& outline) const {
  if (!source.font) {
    // No face could be opened at all: every character is one without outline.
    outline.Clear();
    for (std::size_t i = 0; i < source.characters.size(); ++i) outline.Add(0.0, 0.0, kCharacterEnd);
    return {};
  }
  // The fallback is looked for near the chosen face, as the command line does.
  FontDescription like = source.fontDescription;
  if (source.fontFile) like.faceName = source.font->Family();
  const std::u32string missing = ExtractWithFallback(outline, source.characters, *source.font,
                                                     source.options.Layout(),
                                                     source.options.fontFallback ? &like : nullptr);
  return QString::fromStdString(MissingGlyphWarning(*source.font, missing));
}

void CZarnView::BuildFirstLetters() {
  // The first build of a document runs here: there are no letters to keep
  // showing meanwhile, and it shows no stages.
  CancelBuild();
  auto outline = std::make_shared<CGlyphOutline>();
  const QString warning = ExtractOutline(m_source, *outline);
  m_outline = std::move(outline);
  const WaitCursor waitCursor;
  m_selection.Clear();
  m_text.reset();
  m_text = BuildText3D(m_source.textBytes, *m_outline, m_settings, BuildOptions{});
  emit MissingCharacters(warning);
}

void CZarnView::RequestBuild(LetterSource source, bool newText) {
  auto build = std::make_unique<PendingBuild>();
  // A new text, then a new font before it was shown, is still a new text.
  build->newText = newText || (m_build && m_build->newText);
  build->source = std::move(source);
  auto outline = std::make_shared<CGlyphOutline>();
  build->warning = ExtractOutline(build->source, *outline);
  build->outline = std::move(outline);
  if (!m_build) qApp->installEventFilter(this);
  m_build = std::move(build);
  LaunchBuild();
}

void CZarnView::LaunchBuild() {
  if (!m_build) return;
  LetterBuildRunner::Request request;
  request.text = m_build->source.textBytes;
  request.outline = m_build->outline;
  request.settings = m_settings;
  if (!m_build->newText && m_text) {
    request.carryOver = RecordPieceAttributes(*m_text, m_settings.colour, m_settings.depth);
  }
  m_runner->Start(std::move(request));
  bool finished = false;
  if (m_inPlaceWait.count() > 0) {
    {
      const WaitCursor waitCursor;
      finished = m_runner->WaitFor(m_inPlaceWait);
    }
    DeliverBuild();
  }
  if (!finished && m_build && !m_build->progressShown) {
    m_build->progressShown = true;
    emit BuildProgress(0);
  }
}

void CZarnView::RestartBuild() {
  if (m_build) LaunchBuild();
}

void CZarnView::DeliverBuild() { m_runner->Deliver(*m_listener); }

void CZarnView::BuildEnded() {
  if (!m_build) return;
  const bool progressShown = m_build->progressShown;
  m_build.reset();
  qApp->removeEventFilter(this);
  if (progressShown) emit BuildProgress(-1);
}

void CZarnView::CancelBuild() {
  if (!m_build) return;
  m_runner->Cancel();
  BuildEnded();
  ShowStatus("Ready");
}

void CZarnView::FinishBuild() {
  while (m_build) {
    m_runner->WaitFor(std::chrono::hours(1));
    DeliverBuild();
  }
}

bool CZarnView::eventFilter(QObject* watched, QEvent* event) {
  if (m_build && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == window() && !QApplication::activeModalWidget()) {
    CancelBuild();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CZarnView::OnInitialUpdate() {
  BuildFirstLetters();
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
  dialog.text = QString::fromStdU32String(Characters());
  if (dialog.exec() != QDialog::Accepted) return;
  SetCharacters(dialog.text.toStdU32String());
}

void CZarnView::SetText(const std::string& text) {
  std::u32string characters;
  for (char b : text) characters.push_back(Windows1252ToUnicode(static_cast<unsigned char>(b)));
  SetCharacters(characters);
}

void CZarnView::SetCharacters(const std::u32string& characters) {
  if (!m_text || characters == Characters()) return;
  LetterSource source = Wanted();
  source.characters = characters;
  source.textBytes = LetterBytes(characters);
  source.textChosen = true;
  RequestBuild(std::move(source), true);
}

void CZarnView::SetStartText(const std::optional<std::u32string>& characters,
                             const std::optional<TextOptions>& options) {
  if (characters) {
    m_source.characters = *characters;
    m_source.textBytes = LetterBytes(*characters);
  }
  m_source.textChosen = characters.has_value();
  m_source.options = options.value_or(TextOptions{});
  m_source.optionsChosen = options.has_value();
}

std::optional<std::u32string> CZarnView::KeptCharacters() const {
  return Wanted().textChosen ? std::optional(Wanted().characters) : std::nullopt;
}

std::optional<TextOptions> CZarnView::KeptTextOptions() const {
  return Wanted().optionsChosen ? std::optional(Wanted().options) : std::nullopt;
}

void CZarnView::SetTextOptions(const TextOptions& options) {
  if (!m_text || options == Options()) return;
  LetterSource source = Wanted();
  source.options = options;
  source.optionsChosen = true;
  RequestBuild(std::move(source), false);
}

void CZarnView::OnFont() {
  CMyFontDialog dialog(FontSetting(), this, ListOutlineFaces(), Wanted().fontFile);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.fontFile) {
    SetFontFile(*dialog.fontFile);
  } else {
    SetFont(dialog.description);
  }
}

void CZarnView::SetFontFile(const FontFaceInfo& face) {
  if (!m_text) return;
  LetterSource source = Wanted();
  source.fontFile = face;
  OpenFont(source);
  RequestBuild(std::move(source), false);
}

void CZarnView::SetFont(const FontDescription& description) {
  if (!m_text) return;
  LetterSource source = Wanted();
  source.fontFile.reset();
  source.fontDescription = description;
  source.fontDescription.height = -1000;
  OpenFont(source);
  RequestBuild(std::move(source), false);
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
  RestartBuild();
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
  RestartBuild();
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
  RestartBuild();
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
  RestartBuild();
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
