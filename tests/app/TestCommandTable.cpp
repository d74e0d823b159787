// The menus, the toolbar, the context menus and the keys are all built from
// the command table: each place shows the commands it should, in order, and
// each key reaches the command it names.
#include <set>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "AppTestSupport.h"
#include "CommandTable.h"

namespace {

// The ids of a menu's or toolbar's actions, 0 for separators, -1 for a submenu.
std::vector<int> Ids(const QList<QAction*>& actions) {
  std::vector<int> ids;
  for (QAction* action : actions) {
    if (action->isSeparator()) {
      ids.push_back(0);
    } else if (action->menu()) {
      ids.push_back(-1);
    } else {
      ids.push_back(action->objectName().toInt());
    }
  }
  return ids;
}

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
  for (QAction* action : bar->actions()) {
    if (action->text() == title) return action->menu();
  }
  return nullptr;
}

}  // namespace

TEST(CommandTable, MenuBarHasTheFourMenusWithTheirCommandsInOrder) {
  ProfileScope profile;
  AppWindow app;
  QMenuBar* bar = app.frame->menuBar();
  QStringList titles;
  for (QAction* action : bar->actions()) titles << action->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&View", "&Options", "&Help"}));

  EXPECT_EQ(Ids(MenuTitled(bar, "&File")->actions()), (std::vector<int>{32772, 32771, 32773, 32830, 32831, 32832, 0, 57665}));
  EXPECT_EQ(Ids(MenuTitled(bar, "&View")->actions()), (std::vector<int>{59392, 59393}));
  EXPECT_EQ(Ids(MenuTitled(bar, "&Help")->actions()), (std::vector<int>{57670, 0, 57664}));
  // Options also holds Height and the colour submenu, which have no other
  // place, and the text options between separators.
  QMenu* options = MenuTitled(bar, "&Options");
  EXPECT_EQ(Ids(options->actions()), (std::vector<int>{32777, -1, 32805, 32784, 32785, 0, 32850, 32851, 32852, 32853,
                                                       32854, 0, 32787, 32816}));
  for (int id : {32850, 32851, 32852, 32853, 32854}) {
    EXPECT_TRUE(app.frame->Action(id)->isCheckable()) << id;
  }
  QMenu* colours = options->findChild<QMenu*>(QStringLiteral("colours"));
  ASSERT_NE(colours, nullptr);
  EXPECT_EQ(Ids(colours->actions()), (std::vector<int>{32793, 32794, 32796, 32795, 32797, 32801, 0, 32798, 32800}));
}

TEST(CommandTable, MenuItemsCarryTheirTextsAndStatusTexts) {
  ProfileScope profile;
  AppWindow app;
  EXPECT_EQ(app.frame->Action(kCmdText)->text(), "&Text...");
  EXPECT_EQ(app.frame->Action(kCmdSaveVrml)->text(), "&Save as VRML file...");
  EXPECT_EQ(app.frame->Action(kCmdAbout)->text(), "&About Glyphkiln ...");
  EXPECT_EQ(app.frame->Action(kCmdText)->statusTip(), "Enter new text");
  EXPECT_EQ(app.frame->Action(kCmdText)->toolTip(), "Text");
  EXPECT_EQ(app.frame->Action(kCmdBackground)->statusTip(), "Set background color for 3D view window");
  EXPECT_EQ(app.frame->Action(kCmdExaminerOptions)->toolTip(), "Navigation");
  EXPECT_EQ(app.frame->Action(kCmdHeight)->toolTip(), "Heigth");
}

TEST(CommandTable, EveryCommandHasOneActionAndEveryPlacedOneAMenuTextAndAHandler) {
  ProfileScope profile;
  AppWindow app;
  for (const CommandInfo& info : CommandTable::All()) {
    QAction* action = app.frame->Action(info.id);
    ASSERT_NE(action, nullptr) << info.id;
    EXPECT_EQ(action->statusTip(), CommandTable::StatusText(info)) << info.id;
  }
  std::vector<int> placed = CommandTable::Toolbar();
  for (const MenuLayout& menu : CommandTable::MenuBar()) placed.insert(placed.end(), menu.items.begin(), menu.items.end());
  for (int id : CommandTable::ColourMenu()) placed.push_back(id);
  for (int id : placed) {
    if (id <= 0) continue;
    const CommandInfo* info = CommandTable::Find(id);
    ASSERT_NE(info, nullptr) << id;
    EXPECT_STRNE(info->menuText, "") << id;
    EXPECT_NE(info->target, CommandTarget::None) << id;
    EXPECT_TRUE(app.frame->Action(id)->isEnabled()) << id;
  }
}

TEST(CommandTable, ToolbarFollowsTheButtonOrderAndGroups) {
  ProfileScope profile;
  AppWindow app;
  EXPECT_EQ(Ids(app.frame->ToolBar()->actions()),
            (std::vector<int>{32773, 0, 32772, 32771, 32784, 0, 32805, 0, 32793, 32794, 32796, 32795, 32797,
                              32801, 32777, 0, 57664}));
  for (QAction* action : app.frame->ToolBar()->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
  }
}

TEST(CommandTable, ContextMenusOfBothPanes) {
  ProfileScope profile;
  AppWindow app;
  EXPECT_EQ(Ids(app.frame->LayoutContextMenu()->actions()),
            (std::vector<int>{32777, 32805, 0, 32772, 32771, 0, 32773}));
  EXPECT_EQ(Ids(app.frame->ExaminerContextMenu()->actions()), (std::vector<int>{32791, 32792, 32816, 0, 32773}));
  EXPECT_EQ(app.frame->Action(32791)->text(), "&Light...");
  EXPECT_EQ(app.frame->Action(32792)->text(), "&Background...");
}

TEST(CommandTable, AcceleratorsReachTheirCommands) {
  ProfileScope profile;
  AppWindow app;
  const std::vector<std::pair<const char*, int>> keys = {
      {"Ctrl+N", 57600}, {"Ctrl+O", 57601}, {"Ctrl+S", 57603}, {"Ctrl+F12", 32789},
      {"F6", 57680},     {"Shift+F6", 57681}, {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634},
      {"Ctrl+X", 57635}, {"Shift+Del", 57635}, {"Ctrl+V", 57637}, {"Shift+Ins", 57637},
      {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643}};
  for (const auto& [name, id] : keys) {
    const QKeySequence sequence = QKeySequence::fromString(QString::fromLatin1(name));
    int found = 0;
    for (QAction* action : app.frame->actions()) {
      if (action->shortcuts().contains(sequence)) found = action->objectName().toInt();
    }
    EXPECT_EQ(found, id) << name;
  }
  // The editing keys have no handler: their commands stay disabled.
  for (int id : {57634, 57635, 57637, 57643}) EXPECT_FALSE(app.frame->Action(id)->isEnabled()) << id;
  EXPECT_FALSE(app.frame->Execute(57634));
}

TEST(CommandTable, NoKeyIsGivenToTwoCommands) {
  std::set<QString> seen;
  for (const CommandInfo& info : CommandTable::All()) {
    for (const QKeySequence& key : CommandTable::Shortcuts(info)) {
      EXPECT_FALSE(key.isEmpty()) << info.id << " has an unreadable key name";
      EXPECT_TRUE(seen.insert(key.toString()).second) << key.toString().toStdString();
    }
  }
}
