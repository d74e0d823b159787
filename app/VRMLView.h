// The examiner pane: shows the renderer's picture of the letters and turns,
// zooms and spins it under the mouse, the keys and a timer.
#pragma once

#include <QWidget>

class CZarnDoc;
class CMainFrame;

class CVRMLView : public QWidget {
  Q_OBJECT
 public:
  CVRMLView(CZarnDoc* doc, CMainFrame* frame, QWidget* parent = nullptr);
  ~CVRMLView() override;

  // Run after the document is created or renewed: reports a missing
  // renderer ("Can not start 3D viewer") and hides the pane.
  void InitialUpdate();
  // Navigation keys, also handed on from the layout view (Qt key codes;
  // keypadModifier marks the keypad's plus and minus).
  void KeyOperation(int key, int repeatCount, Qt::KeyboardModifiers modifiers);
  // Commands routed here by the main frame.
  void OnBackground();
  void OnExaminerOptions();
  void OnSaveGif();
};
