// The main window: menus, toolbar and status bar built from the command
// table, and a vertical splitter with the layout view in the top quarter and
// the examiner view below. The frame does no letter work itself: every
// command is handed to the pane, the document or the window part it names.
#pragma once

#include <map>
#include <optional>

#include <QMainWindow>

#include "AppSettings.h"

class CVRMLView;
class CZarnDoc;
class CZarnView;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  // Reads the settings kept between runs and hands them to the panes.
  explicit CMainFrame(CZarnDoc* doc, QWidget* parent = nullptr);
  ~CMainFrame() override;

  CZarnView* LayoutView() const { return m_layoutView; }
  CVRMLView* ExaminerView() const { return m_examinerView; }
  QSplitter* Splitter() const { return m_splitter; }
  QToolBar* ToolBar() const { return m_toolBar; }
  // Collapses the lower pane so that only the layout view shows.
  void HideExaminerPane();

  // Both views' initial update: after creation and after every renewal.
  void InitialUpdate();

  // The action of a command (null for an unknown id).
  QAction* Action(int id) const;
  // Carries a command out as a menu, button or key would; false when the
  // command is unknown, disabled or has no handler.
  bool Execute(int id);
  QMenu* LayoutContextMenu() const { return m_layoutMenu; }
  QMenu* ExaminerContextMenu() const { return m_examinerMenu; }

  // The message pane: a stage's name during long work, "Ready" when idle.
  // An empty text or "Ready" returns the pane to idle. Shown at once.
  void SetMessageText(const QString& text);
  QString MessageText() const;

  // F6 / Shift+F6: the focus to the next or previous visible pane.
  void ActivateNextPane(bool next);
  // Ctrl+N: the document renewed, the letters rebuilt from the current text,
  // font and colour, the camera fitted anew.
  void OnFileNew();
  // Ctrl+O: a file chosen, then the same renewal (the document reads nothing).
  void OnFileOpen();
  // Ctrl+S: the (empty) document saved, with a file dialog the first time.
  void OnFileSave();
  void OnHelpContents();
  void OnAbout();

  // The settings as they are now, and writing them (false, after telling
  // the user, when the file cannot be written). Run when the window closes.
  AppSettings CurrentSettings() const;
  bool WriteSettings();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateClient();
  void ConnectPanes();
  void ApplySettings(const AppSettings& settings);
  QMenu* BuildMenu(const QString& title, const std::vector<int>& items, QWidget* parent);
  void UpdateCommandEnabling();

  CZarnDoc* m_doc;
  CVRMLView* m_examinerView = nullptr;  // pane 1; owned by the splitter
  CZarnView* m_layoutView = nullptr;    // pane 0; owned by the splitter
  QSplitter* m_splitter = nullptr;
  QToolBar* m_toolBar = nullptr;
  QLabel* m_idleLabel = nullptr;
  QMenu* m_layoutMenu = nullptr;
  QMenu* m_examinerMenu = nullptr;
  std::map<int, QAction*> m_actions;
  std::optional<PictureExportChoices> m_pictureChoices;
};
