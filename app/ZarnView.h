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

#include "BuildStatus.h"
#include "FocusFrame.h"
#include "FontEngine.h"
#include "GlyphOutline.h"
#include "MeshFormats.h"
#include "LayoutFit.h"
#include "PieceSelection.h"
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

  // New text and fonts are built on a worker thread. A build that ends
  // within the in-place wait is shown at once, as if it had run here; a
  // longer one shows its progress and leaves the window answering until it
  // ends. A new text, font or letter setting while a build runs cancels it
  // and starts one with the latest choices. With no wait at all every build
  // is handed over by the event loop.
  void SetInPlaceWait(std::chrono::milliseconds wait) { m_inPlaceWait = wait; }
  bool Building() const { return m_build != nullptr; }
  // Stops the running build (Escape): the letters shown stay, and so do the
  // text and font they were built from.
  void CancelBuild();
  // Waits for the running build and shows its letters (for tests).
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
  // New font: rebuilds and carries the per-piece colours and depths over.
  void SetFont(const FontDescription& description);
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
  const std::string& Text() const { return m_textBytes; }
  const FontDescription& FontSetting() const { return m_fontDescription; }
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
  // A long build's progress in percent; -1 when it has ended.
  void BuildProgress(int percent);
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
  struct PendingBuild;
  class BuildListener;
  // The document's first letters, built here and at once.
  void BuildFirstLetters();
  // Asks for letters of this text in this face (the latest request wins).
  void RequestBuild(const std::string& text, const FontDescription& description,
                    std::shared_ptr<Font> face, bool newText);
  // (Re)starts the pending build with the current settings and letters.
  void LaunchBuild();
  // Hands over what the worker has done; run on this thread when it wakes us.
  void DeliverBuild();
  void BuildEnded();
  // After an edit of the letters while a build runs: the build starts
  // again with the settings as they are now.
  void RestartBuild();
  // Fits and shows freshly built letters, with the camera fitted anew.
  void ShowNewLetters();
  void OpenFont();
  void ShowStatus(const char* text);
  // Repaints and tells the frame when the selection changed.
  void SelectionUpdated(bool changed);
  void UpdateExaminer(bool refit);

  TextSettings m_settings;
  FontDescription m_fontDescription;
  std::unique_ptr<CText3D> m_text;
  PieceSelection m_selection;
  std::string m_textBytes = "Glyphkiln";
  std::shared_ptr<Font> m_font;  // opened from m_fontDescription; null when no face opens
  std::shared_ptr<const CGlyphOutline> m_outline;
  std::optional<ExportSettings> m_exportChoices;
  LayoutFit m_fit;
  FocusFrameState m_focusFrame;
  std::chrono::milliseconds m_inPlaceWait{200};
  std::unique_ptr<PendingBuild> m_build;  // the build asked for; null when none runs
  std::unique_ptr<BuildListener> m_listener;
  // Last, so that it goes first: its worker must stop before the rest goes.
  std::unique_ptr<LetterBuildRunner> m_runner;
};
