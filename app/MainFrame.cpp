// The main window and the routing of every command.
#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <cstdio>

#include "AboutDialog.h"
#include "CommandTable.h"
#include "DialogSupport.h"
#include "HelpContents.h"
#include "LockKeyIndicators.h"
#include "PictureExportDialog.h"
#include "Profile.h"
#include "SaveFile.h"
#include "TextOptions.h"
#include "ToolBarDock.h"
#include "VRMLView.h"
#include "ZarnDoc.h"
#include "ZarnView.h"

namespace {

// The check marks of the text options' menu items, as the layout view has them.
void ShowTextOptionChecks(const CMainFrame& frame, const TextOptions& options) {
  for (int id : TextOptionCommands()) {
    if (QAction* action = frame.Action(id)) action->setChecked(TextOptionChecked(options, id));
  }
}

}  // namespace

CMainFrame::CMainFrame(CZarnDoc* doc, QWidget* parent) : QMainWindow(parent), m_doc(doc) {
  setWindowTitle(QStringLiteral("Stellwick Glyphkiln"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/zarn.png")));
  resize(800, 600);
  CreateClient();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  ApplySettings(ReadAppSettings(Profile()));
  connect(m_layoutView, &CZarnView::SelectionChanged, this, &CMainFrame::UpdateCommandEnabling);
  UpdateCommandEnabling();
}

CMainFrame::~CMainFrame() = default;

// ------------------------------------------------------------- building

void CMainFrame::CreateClient() {
  m_splitter = new QSplitter(Qt::Vertical, this);
  m_splitter->setObjectName(QStringLiteral("splitter"));
  m_layoutView = new CZarnView(m_splitter);
  m_examinerView = new CVRMLView(m_doc->Binding(), m_splitter);
  ConnectPanes();
  m_splitter->addWidget(m_layoutView);
  m_splitter->addWidget(m_examinerView);
  m_splitter->setChildrenCollapsible(false);
  m_examinerView->setMinimumHeight(8);
  // The layout view takes a quarter of the height, the examiner three quarters.
  m_splitter->setStretchFactor(0, 1);
  m_splitter->setStretchFactor(1, 3);
  const int h = height();
  m_splitter->setSizes({h / 4, (h / 4) * 3});
  setCentralWidget(m_splitter);
}

// The panes know nothing of each other or of the frame: what one does for
// the other, and what neither handles, goes through here.
void CMainFrame::ConnectPanes() {
  CZarnView* layout = m_layoutView;
  CVRMLView* examiner = m_examinerView;
  examiner->SetLetters([layout] { return layout->CurrentText(); });
  connect(layout, &CZarnView::LettersChanged, examiner, &CVRMLView::ShowLetters);
  connect(layout, &CZarnView::StatusText, this, &CMainFrame::SetMessageText);
  // A warning about missing characters stays where "Ready" is until the next build.
  connect(layout, &CZarnView::MissingCharacters, this, [this](const QString& warning) {
    m_idleLabel->setText(warning.isEmpty() ? QStringLiteral("Ready") : warning);
    statusBar()->clearMessage();
  });
  connect(layout, &CZarnView::UnhandledKey, examiner, [examiner](int key, int count, Qt::KeyboardModifiers modifiers) {
    if (CVRMLView::IsNavigationKey(key, modifiers)) examiner->KeyOperation(key, count, modifiers);
  });
  connect(examiner, &CVRMLView::LayoutKey, layout, &CZarnView::HandleKey);
  connect(layout, &CZarnView::ContextMenuAt, this, [this](const QPoint& at) { m_layoutMenu->exec(at); });
  connect(examiner, &CVRMLView::ContextMenuAt, this, [this](const QPoint& at) { m_examinerMenu->exec(at); });
  connect(examiner, &CVRMLView::NoRenderer, this, &CMainFrame::HideExaminerPane);
}

void CMainFrame::CreateActions() {
  for (const CommandInfo& info : CommandTable::All()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::number(info.id));
    action->setText(QString::fromLatin1(info.menuText));
    action->setStatusTip(CommandTable::StatusText(info));
    const QString toolTip = CommandTable::ToolTip(info);
    if (!toolTip.isEmpty()) action->setToolTip(toolTip);
    if (*info.icon) action->setIcon(QIcon(QString::fromLatin1(info.icon)));
    action->setShortcuts(CommandTable::Shortcuts(info));
    action->setEnabled(info.target != CommandTarget::None);
    if (IsTextOptionCommand(info.id)) action->setCheckable(true);
    if (info.id == kCmdViewToolbar || info.id == kCmdViewStatusBar) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    const int id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    // Every action belongs to the window, so its keys work without a menu item.
    addAction(action);
    m_actions[id] = action;
  }
}

QMenu* CMainFrame::BuildMenu(const QString& title, const std::vector<int>& items, QWidget* parent) {
  auto* menu = new QMenu(title, parent);
  for (int id : items) {
    if (id == kSeparator) {
      menu->addSeparator();
    } else if (id == kSubmenuColours) {
      QMenu* colours = BuildMenu(QStringLiteral("Colo&rs"), CommandTable::ColourMenu(), menu);
      colours->setObjectName(QStringLiteral("colours"));
      menu->addMenu(colours);
    } else {
      menu->addAction(Action(id));
    }
  }
  return menu;
}

void CMainFrame::CreateMenus() {
  for (const MenuLayout& layout : CommandTable::MenuBar()) {
    menuBar()->addMenu(BuildMenu(QString::fromLatin1(layout.title), layout.items, menuBar()));
  }
  m_layoutMenu = BuildMenu(QString(), CommandTable::LayoutContextMenu(), this);
  m_examinerMenu = BuildMenu(QString(), CommandTable::ExaminerContextMenu(), this);
}

void CMainFrame::CreateToolBar() {
  m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
  m_toolBar->setObjectName(QString::number(AppSettings::kToolBarId));
  m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
  m_toolBar->setMovable(true);
  m_toolBar->setFloatable(false);
  m_toolBar->setIconSize(QSize(24, 24));
  for (int id : CommandTable::Toolbar()) {
    if (id == kSeparator) {
      m_toolBar->addSeparator();
    } else {
      m_toolBar->addAction(Action(id));
    }
  }
  addToolBar(Qt::TopToolBarArea, m_toolBar);
  connect(m_toolBar, &QToolBar::visibilityChanged, Action(kCmdViewToolbar), &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QString::number(AppSettings::kStatusBarId));
  m_idleLabel = new QLabel(QStringLiteral("Ready"), bar);
  // The status bar draws its passing messages 4 pixels further right than
  // it places its first widget; the same indent keeps "Ready" in line.
  m_idleLabel->setIndent(4);
  bar->addWidget(m_idleLabel, 1);
  // A build that outlasts a moment shows its progress here; Escape cancels it.
  auto* progress = new QProgressBar(bar);
  progress->setObjectName(QStringLiteral("buildProgress"));
  progress->setMaximumWidth(160);
  progress->setToolTip(QStringLiteral("Building the letters (Esc cancels)"));
  progress->hide();
  bar->addPermanentWidget(progress);
  connect(m_layoutView, &CZarnView::BuildProgress, this, [this, progress](int percent) {
    progress->setVisible(percent >= 0);
    progress->setValue(std::max(percent, 0));
    // A cancelled build leaves the options of the letters shown.
    if (percent < 0) ShowTextOptionChecks(*this, m_layoutView->Options());
  });
  new LockKeyIndicators(bar);
}

// -------------------------------------------------------------- routing

QAction* CMainFrame::Action(int id) const {
  const auto found = m_actions.find(id);
  return found == m_actions.end() ? nullptr : found->second;
}

bool CMainFrame::Execute(int id) {
  const CommandInfo* info = CommandTable::Find(id);
  QAction* action = Action(id);
  if (!info || !action || !action->isEnabled()) return false;
  if (info->isColour) {
    m_layoutView->ApplyColour(info->colour);
    return true;
  }
  if (IsTextOptionCommand(id)) {
    m_layoutView->SetTextOptions(AfterTextOptionCommand(m_layoutView->Options(), id));
    ShowTextOptionChecks(*this, m_layoutView->Options());
    return true;
  }
  switch (id) {
    case kCmdText: m_layoutView->OnText(); return true;
    case kCmdFont: m_layoutView->OnFont(); return true;
    case kCmdSaveVrml: m_layoutView->SaveVrml(); return true;
    case kCmdExport: m_layoutView->Export(); return true;
    case kCmdExportPicture:
    case kCmdExportTurntable:
      RunPictureExport(this, m_layoutView->CurrentText(), m_doc ? m_doc->Binding().Background() : RendererBinding::kDefaultBackground,
                       m_pictureChoices, id == kCmdExportTurntable);
      return true;
    case kCmdColour: m_layoutView->OnColourDialog(); return true;
    case kCmdShape: m_layoutView->OnShape(); return true;
    case kCmdLight:
    case kCmdLightExaminer: m_layoutView->OnLight(); return true;
    case kCmdHeight: m_layoutView->OnHeight(); return true;
    case kCmdTestVrml: m_layoutView->TestVrml(); return true;
    case kCmdBackground:
    case kCmdBackgroundExaminer: m_examinerView->OnBackground(); return true;
    case kCmdExaminerOptions: m_examinerView->OnExaminerOptions(); return true;
    case kCmdSaveGif: m_examinerView->OnSaveGif(); return true;
    case kCmdExit: close(); return true;
    case kCmdViewToolbar: {
      m_toolBar->setVisible(m_toolBar->isHidden());
      action->setChecked(!m_toolBar->isHidden());
      return true;
    }
    case kCmdViewStatusBar: {
      statusBar()->setVisible(statusBar()->isHidden());
      action->setChecked(!statusBar()->isHidden());
      return true;
    }
    case kCmdFileNew: OnFileNew(); return true;
    case kCmdFileOpen: OnFileOpen(); return true;
    case kCmdFileSave: OnFileSave(); return true;
    case kCmdNextPane: ActivateNextPane(true); return true;
    case kCmdPrevPane: ActivateNextPane(false); return true;
    case kCmdHelpContents: OnHelpContents(); return true;
    case kCmdAbout: OnAbout(); return true;
    default: return false;
  }
}

void CMainFrame::UpdateCommandEnabling() {
  const bool selection = !m_layoutView->Selection().empty();
  for (const CommandInfo& info : CommandTable::All()) {
    if (info.disabledWithSelection) Action(info.id)->setEnabled(!selection);
  }
}

// ----------------------------------------------------------- status bar

void CMainFrame::SetMessageText(const QString& text) {
  if (text.isEmpty() || text == m_idleLabel->text()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(text);
  }
  // Long stages run without returning to the event loop: show the text now.
  statusBar()->repaint();
}

QString CMainFrame::MessageText() const {
  const QString message = statusBar()->currentMessage();
  return message.isEmpty() ? m_idleLabel->text() : message;
}

// ---------------------------------------------------------------- panes

void CMainFrame::HideExaminerPane() {
  m_examinerView->hide();
  if (m_examinerView->hasFocus()) m_layoutView->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::InitialUpdate() {
  m_layoutView->OnInitialUpdate();
  m_examinerView->InitialUpdate();
  UpdateCommandEnabling();
}

void CMainFrame::ActivateNextPane(bool next) {
  QList<QWidget*> panes;
  for (int i = 0; i < m_splitter->count(); ++i) {
    QWidget* pane = m_splitter->widget(i);
    if (!pane->isHidden()) panes.append(pane);
  }
  if (panes.isEmpty()) return;
  int current = -1;
  QWidget* focus = QApplication::focusWidget();
  for (int i = 0; i < panes.size(); ++i) {
    if (focus && (panes[i] == focus || panes[i]->isAncestorOf(focus))) current = i;
  }
  const int count = static_cast<int>(panes.size());
  const int target = current < 0 ? 0 : (current + (next ? 1 : count - 1)) % count;
  panes[target]->setFocus(Qt::ShortcutFocusReason);
}

// ------------------------------------------------------------- document

void CMainFrame::OnFileNew() {
  m_doc->OnNewDocument();
  InitialUpdate();
}

void CMainFrame::OnFileOpen() {
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"));
  if (path.isEmpty()) return;
  m_doc->OnOpenDocument(path);
  InitialUpdate();
}

void CMainFrame::OnFileSave() {
  QString path = m_doc->PathName();
  if (path.isEmpty()) {
    path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), QStringLiteral("Zarn"));
    if (path.isEmpty()) return;
  }
  if (!m_doc->OnSaveDocument(path)) ShowMessage(this, QString::fromLatin1(kCanNotCreateFile), QStringLiteral("Error"));
}

// ----------------------------------------------------------------- help

void CMainFrame::OnHelpContents() { ShowHelpContents(this); }

void CMainFrame::OnAbout() {
  CAboutDialog dialog(this);
  dialog.exec();
}

// ------------------------------------------------------------- settings

void CMainFrame::ApplySettings(const AppSettings& settings) {
  m_layoutView->SetSettings(settings.text);
  m_layoutView->ExportChoices() = settings.exportChoices;
  m_pictureChoices = settings.pictureChoices;
  m_layoutView->SetStartText(settings.characters, settings.textOptions);
  ShowTextOptionChecks(*this, m_layoutView->Options());
  m_examinerView->SetRotation(settings.autoRotate, settings.rotationSpeed);
  if (m_doc) m_doc->Binding().SetBackground(settings.background);
  if (settings.toolBarKnown) {
    const Qt::ToolBarArea area = AreaForDockId(settings.toolBarDock);
    if (area != toolBarArea(m_toolBar)) {
      removeToolBar(m_toolBar);
      addToolBar(area, m_toolBar);
    }
    m_toolBar->setVisible(settings.toolBarVisible);
    Action(kCmdViewToolbar)->setChecked(settings.toolBarVisible);
  }
  if (settings.statusBarKnown) {
    statusBar()->setVisible(settings.statusBarVisible);
    Action(kCmdViewStatusBar)->setChecked(settings.statusBarVisible);
  }
}

AppSettings CMainFrame::CurrentSettings() const {
  AppSettings settings;
  settings.text = m_layoutView->Settings();
  settings.exportChoices = m_layoutView->ExportChoices();
  settings.pictureChoices = m_pictureChoices;
  settings.characters = m_layoutView->KeptCharacters();
  settings.textOptions = m_layoutView->KeptTextOptions();
  settings.autoRotate = m_examinerView->AutoRotate();
  settings.rotationSpeed = m_examinerView->RotationSpeed();
  if (m_doc) settings.background = m_doc->Binding().Background();
  const QScreen* screen = this->screen();
  settings.screenWidth = screen ? screen->geometry().width() : 0;
  settings.screenHeight = screen ? screen->geometry().height() : 0;
  settings.toolBarVisible = !m_toolBar->isHidden();
  settings.toolBarDock = DockIdForArea(toolBarArea(m_toolBar));
  settings.statusBarVisible = !statusBar()->isHidden();
  return settings;
}

bool CMainFrame::WriteSettings() {
  const Profile profile;
  std::string reason;
  if (WriteAppSettings(profile, CurrentSettings(), &reason)) return true;
  // The window still closes; the user learns that the settings are lost.
  const QString text = QStringLiteral("Can not save the settings to %1: %2")
                           .arg(QString::fromStdString(profile.Path().string()), QString::fromStdString(reason));
  std::fprintf(stderr, "zarn: %s\n", text.toLocal8Bit().constData());
  ShowAppMessage(this, text);
  return false;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  WriteSettings();
  event->accept();
}
