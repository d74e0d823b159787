// The layout view, the upper pane of the main window. It owns the letters
// (one CText3D, replaced by every rebuild) and the settings every rebuild
// starts from, draws the letters flat and fitted to the pane, lets the user
// select pieces with the mouse and Tab, and carries out the letter commands.
// It knows no other window: after each change it says so (LettersChanged),
// and keys and menus it does not handle go out as signals for the frame.
#pragma once

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
  // The letter bytes (a character outside Windows-1252 as '?') and the characters.
  const std::string& Text() const { return m_textBytes; }
  const std::u32string& Characters() const { return m_characters; }
  const TextOptions& Options() const { return m_textOptions; }
  // The text and options as the profile keeps them: once chosen, else nothing.
  std::optional<std::u32string> KeptCharacters() const;
  std::optional<TextOptions> KeptTextOptions() const;
  // The text and options every build starts from; set before the first build.
  void SetStartText(const std::optional<std::u32string>& characters, const std::optional<TextOptions>& options);
  const FontDescription& FontSetting() const { return m_fontDescription; }
  // The settings every rebuild starts from; set before the first build.
  const TextSettings& Settings() const { return m_settings; }
  const CGlyphOutline& Outline() const { return m_outline; }
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

 private:
  enum class Rebuild { Initial, NewText, NewFont };
  void BuildLetters(Rebuild kind);
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
  std::u32string m_characters = U"Glyphkiln";
  std::string m_textBytes = "Glyphkiln";  // m_characters' letter bytes
  TextOptions m_textOptions;
  bool m_textChosen = false;     // the text came from the user or the profile
  bool m_optionsChosen = false;  // the options likewise
  std::optional<FontFaceInfo> m_fontFile;  // used instead of m_fontDescription when set
  std::unique_ptr<Font> m_font;  // opened from m_fontDescription; null when no face opens
  CGlyphOutline m_outline;
  std::optional<ExportSettings> m_exportChoices;
  LayoutFit m_fit;
  FocusFrameState m_focusFrame;
};
