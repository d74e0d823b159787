// The layout view, the upper pane of the main window. It owns the letters
// (one CText3D, replaced by every rebuild) and the settings every rebuild
// starts from, draws the letters flat and fitted to the pane, lets the user
// select pieces with the mouse and Tab, and carries out the letter commands.
// It knows no other window: after each change it says so (LettersChanged),
// and keys and menus it does not handle go out as signals for the frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "FocusFrame.h"
#include "FontEngine.h"
#include "GlyphOutline.h"
#include "MeshFormats.h"
#include "LayoutFit.h"
#include "PieceSelection.h"
#include "TextOptions.h"
#include "TextSettings.h"

class CText3D;
class LetterBuildRunner;

class CZarnView : public QWidget {
  Q_OBJECT
 public:
  // Starts from the default settings; the letters come with OnInitialUpdate.
  explicit CZarnView(QWidget* parent = nullptr);
  ~CZarnView() override;

  // Builds the letters from the current text and font (again on every
  // renewal of the document), fits them and has the examiner redraw.
  void OnInitialUpdate();
  const CText3D* CurrentText() const { return m_text.get(); }

  // A new text, font or text option is built on a worker thread. A build
  // that ends within the in-place wait is shown at once, as if it had run
  // here; a longer one shows its progress and leaves the window answering
  // until it ends. Another such change, or an edit of the letters, while a
  // build runs starts it again with the latest choices. With no wait at all
  // every build is handed over by the event loop.
  void SetInPlaceWait(std::chrono::milliseconds wait) { m_inPlaceWait = wait; }
  bool Building() const { return m_build != nullptr; }
  // Stops the running build (Escape): the letters shown stay, and so do the
  // text, font and options they were built from.
  void CancelBuild();
  // Waits for the running build, if any, and shows its letters.
  void FinishBuild();

  // Tab cycles the selection; F12 and anything else is ignored here.
  void HandleKey(int key, int repeatCount, Qt::KeyboardModifiers modifiers);

  // The commands, each with its dialog.
  void OnText();
  void OnFont();
  void OnColourDialog();
  void OnLight();
  void OnHeight();
  void OnShape();
  void SaveVrml();
  void TestVrml();
  void Export();

  // The work behind the commands, without their dialogs.
  // New text (bytes, read as Windows-1252): rebuilds when it differs.
  void SetText(const std::string& text);
  // New text of any characters, a line feed starting a new line: rebuilds
  // when it differs.
  void SetCharacters(const std::u32string& characters);
  // New font: rebuilds and carries the per-piece colours and depths over.
  void SetFont(const FontDescription& description);
  // A font file's face that need not be installed, as the font dialog's
  // "Open font file" gives it; kept for the run only.
  void SetFontFile(const FontFaceInfo& face);
  // New alignment, kerning or fallback: rebuilds and carries the per-piece
  // colours and depths over.
  void SetTextOptions(const TextOptions& options);
  // Colours the selected pieces, or with nothing selected every piece and
  // the colour new pieces get.
  void ApplyColour(std::uint32_t colour);
  // Bit 0: light from the back, bit 1: from the left.
  void SetLightFlags(int flags);
  // Scales the letters to a new height (at least 0.001) without rebuilding them.
  void SetHeight(double height);
  // The Shape dialog's result: depth and choices as the dialog returns them;
  // applyTo 0 for the selected pieces, 1 for all letters.
  void ApplyShape(double depth, int sizeChoice, int shapeChoice, int applyTo);
  // Writes the world; tells the user and returns false when the file cannot be written.
  bool WriteWorld(const QString& path);

  // Layout and selection.
  void FitLayout();
  void BuildPieceRects();
  // The highest piece whose rectangle holds the point, -1 for none.
  int HitTest(int x, int y) const { return m_selection.HitTest(x, y); }
  // A left click with its modifiers: plain clicks select one piece or none,
  // Shift or Ctrl clicks add or remove the piece under the mouse.
  void Click(int x, int y, Qt::KeyboardModifiers modifiers);
  // The letters and selection marks as the pane shows them, at the pane's size.
  QImage Picture() const;

  const std::vector<int>& Selection() const { return m_selection.Selected(); }
  const std::vector<PieceRect>& PieceRects() const { return m_selection.Rects(); }
  const LayoutFit& Fit() const { return m_fit; }
  // The letter bytes of the letters shown (a character outside
  // Windows-1252 as '?'), which go with Outline() and CurrentText().
  const std::string& Text() const { return m_source.textBytes; }
  // The characters, options and font as last asked for, even while their
  // letters are still being built.
  const std::u32string& Characters() const { return Wanted().characters; }
  const TextOptions& Options() const { return Wanted().options; }
  // The text and options as the profile keeps them: once chosen, else nothing.
  std::optional<std::u32string> KeptCharacters() const;
  std::optional<TextOptions> KeptTextOptions() const;
  // The text and options every build starts from; set before the first build.
  void SetStartText(const std::optional<std::u32string>& characters, const std::optional<TextOptions>& options);
  const FontDescription& FontSetting() const { return Wanted().fontDescription; }
  // The settings every rebuild starts from; set before the first build.
  const TextSettings& Settings() const { return m_settings; }
  const CGlyphOutline& Outline() const { return *m_outline; }
  // The export's unit, em height and solid mode, once the user has chosen them.
  std::optional<ExportSettings>& ExportChoices() { return m_exportChoices; }
  void SetSettings(const TextSettings& settings) { m_settings = settings; }
  std::uint32_t ColourSetting() const { return static_cast<std::uint32_t>(m_settings.colour); }
  double DepthSetting() const { return m_settings.depth; }
  double HeightSetting() const { return m_settings.height; }
  int LightFlags() const { return m_settings.lightFlags; }
  double BevelSizeSetting() const { return m_settings.bevelSize; }
  int BevelStepsSetting() const { return m_settings.bevelSteps; }

 signals:
  // The selection became empty or non-empty, or changed otherwise.
  void SelectionChanged();
  // The letters changed; refit when they are new or resized, so the
  // examiner fits its camera to them anew.
  void LettersChanged(bool refit);
  // A stage's name during a rebuild, "Ready" after it.
  void StatusText(const QString& text);
  // A build that outlasts the in-place wait: its progress in percent; -1
  // once it has ended, been cancelled or been replaced by the letters.
  void BuildProgress(int percent);
  // After each build: the characters no face had, as a warning naming them;
  // empty when every character has its glyph.
  void MissingCharacters(const QString& warning);
  // A key this view does not handle (the examiner's navigation keys).
  void UnhandledKey(int key, int repeatCount, Qt::KeyboardModifiers modifiers);
  // The context menu asked for at a global position.
  void ContextMenuAt(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The pane with the keys shows a frame, so that F6 can be followed.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Tab belongs to the selection, not to the focus chain.
  bool focusNextPrevChild(bool next) override;
  // Escape anywhere in this window cancels a running build.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What letters are built from: the text, its options and the face.
  struct LetterSource {
    std::u32string characters = U"Glyphkiln";
    std::string textBytes = "Glyphkiln";  // the characters' letter bytes
    TextOptions options;
    bool textChosen = false;     // the text came from the user or the profile
    bool optionsChosen = false;  // the options likewise
    FontDescription fontDescription;
    std::optional<FontFaceInfo> fontFile;  // used instead of fontDescription when set
    std::shared_ptr<Font> font;            // opened from the above; null when no face opens
  };
  struct PendingBuild;
  class BuildListener;
  // The source of the build asked for last, or of the letters shown.
  const LetterSource& Wanted() const;
  // The characters' outlines in the source's face, and the warning naming
  // the characters it has no glyph for.
  QString ExtractOutline(const LetterSource& source, CGlyphOutline& outline) const;
  // The document's first letters, built here and at once.
  void BuildFirstLetters();
  // Asks for the letters of this source (the latest request wins); a new
  // text starts every piece from the settings, anything else carries the
  // pieces' colours and depths over.
  void RequestBuild(LetterSource source, bool newText);
  // (Re)starts the pending build with the settings and letters as they are.
  void LaunchBuild();
  // Hands over what the worker has done; run here when the worker wakes us.
  void DeliverBuild();
  void BuildEnded();
  // After an edit of the letters while a build runs.
  void RestartBuild();
  // Fits and shows freshly built letters, with the camera fitted anew.
  void ShowNewLetters();
  static void OpenFont(LetterSource& source);
  void ShowStatus(const char* text);
  // Repaints and tells the frame when the selection changed.
  void SelectionUpdated(bool changed);
  void UpdateExaminer(bool refit);

  TextSettings m_settings;
  std::unique_ptr<CText3D> m_text;
  PieceSelection m_selection;
  LetterSource m_source;  // of the letters shown
  std::shared_ptr<const CGlyphOutline> m_outline;
  std::optional<ExportSettings> m_exportChoices;
  LayoutFit m_fit;
  FocusFrameState m_focusFrame;
  std::chrono::milliseconds m_inPlaceWait{200};
  std::unique_ptr<PendingBuild> m_build;  // the build asked for; null when none runs
  std::unique_ptr<BuildListener> m_listener;
  // Last, so that it goes first: its worker stops before the rest goes.
  std::unique_ptr<LetterBuildRunner> m_runner;
};
