// The layout view, the upper pane of the main window. It owns the letters
// (one CText3D, replaced by every rebuild) and the settings every rebuild
// starts from, draws the letters flat and fitted to the pane, lets the user
// select pieces with the mouse and Tab, and carries out the letter commands.
// After each change it has the examiner pane redrawn through the document's
// renderer binding.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "FontEngine.h"
#include "GlyphOutline.h"
#include "LayoutFit.h"
#include "RendererBinding.h"

class CMainFrame;
class CText3D;
class CZarnDoc;

// A piece's window rectangle; right and bottom are outside it.
struct PieceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class CZarnView : public QWidget, public TextProvider {
  Q_OBJECT
 public:
  // The profile section of the view's settings.
  static constexpr const char* kSection = "ZARN Parameters";

  // Reads the settings from the profile; the letters come with OnInitialUpdate.
  CZarnView(CZarnDoc* doc, CMainFrame* frame, QWidget* parent = nullptr);
  // Writes "Light", "Color", "Height" and "Depth" back to the profile.
  ~CZarnView() override;

  // Builds the letters from the current text and font (again on every
  // renewal of the document), fits them and has the examiner redraw.
  void OnInitialUpdate();
  const CText3D* CurrentText() const override { return m_text.get(); }

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
  int HitTest(int x, int y) const;
  // A left click with its modifiers: plain clicks select one piece or none,
  // Shift or Ctrl clicks add or remove the piece under the mouse.
  void Click(int x, int y, Qt::KeyboardModifiers modifiers);
  // The letters and selection marks as the pane shows them, at the pane's size.
  QImage Picture() const;

  const std::vector<int>& Selection() const { return m_selection; }
  const std::vector<PieceRect>& PieceRects() const { return m_pieceRects; }
  const LayoutFit& Fit() const { return m_fit; }
  const std::string& Text() const { return m_textBytes; }
  const FontDescription& FontSetting() const { return m_fontDescription; }
  std::uint32_t ColourSetting() const { return m_colourSetting; }
  double DepthSetting() const { return m_depthSetting; }
  double HeightSetting() const { return m_height; }
  int LightFlags() const { return m_lightFlags; }
  double BevelSizeSetting() const { return m_bevelSizeSetting; }
  int BevelStepsSetting() const { return m_bevelStepsSetting; }

 signals:
  // The selection became empty or non-empty, or changed otherwise.
  void SelectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
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
  void DrawLetters(QImage& image) const;
  void DrawMark(QImage& image, int piece) const;
  void SetSelection(std::vector<int> selection);
  void UpdateExaminer(bool refit);
  RendererBinding* Binding() const;

  CZarnDoc* m_doc;
  CMainFrame* m_frame;

  double m_bevelSizeSetting = 1.0 / 30.0;
  int m_bevelStepsSetting = 0;
  FontDescription m_fontDescription;
  double m_height = 1.0;
  int m_lightFlags = 0;
  double m_depthSetting = 0.2;
  std::unique_ptr<CText3D> m_text;
  std::vector<int> m_selection;  // in the order selected, no duplicates
  std::uint32_t m_colourSetting = 255;
  std::string m_textBytes = "Glyphkiln";
  std::unique_ptr<Font> m_font;  // opened from m_fontDescription; null when no face opens
  CGlyphOutline m_outline;
  std::vector<PieceRect> m_pieceRects;
  LayoutFit m_fit;
};
