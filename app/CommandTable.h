// Every command of the desktop program in one table: id, menu text, status
// text and tooltip, toolbar icon, keys, the pane that carries it out and
// whether a selection in the layout view disables it. The menus, the
// toolbar, both context menus, the accelerators, the routing and the
// enabling are all built from this table, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QKeySequence>
#include <QList>
#include <QString>

// Command ids; they are kept from the program's resources so that ids named
// in messages, tests and the profile stay stable.
enum CommandId : int {
  kCmdFont = 32771,
  kCmdText = 32772,
  kCmdSaveVrml = 32773,
  kCmdColour = 32777,
  kCmdTestVrml = 32781,
  kCmdLight = 32784,
  kCmdHeight = 32785,
  kCmdBackground = 32787,
  kCmdSaveGif = 32789,
  kCmdLightExaminer = 32791,
  kCmdBackgroundExaminer = 32792,
  kCmdRed = 32793,
  kCmdGreen = 32794,
  kCmdBlue = 32795,
  kCmdYellow = 32796,
  kCmdMagenta = 32797,
  kCmdWhite = 32798,
  kCmdBlack = 32800,
  kCmdCyan = 32801,
  kCmdShape = 32805,
  kCmdExaminerOptions = 32816,
  kCmdExport = 32830,
  kCmdExportPicture = 32831,
  kCmdExportTurntable = 32832,
  kCmdAlignLeft = 32850,
  kCmdAlignCentre = 32851,
  kCmdAlignRight = 32852,
  kCmdKerning = 32853,
  kCmdFontFallback = 32854,
  kCmdFileNew = 57600,
  kCmdFileOpen = 57601,
  kCmdFileSave = 57603,
  kCmdCopy = 57634,
  kCmdCut = 57635,
  kCmdPaste = 57637,
  kCmdUndo = 57643,
  kCmdAbout = 57664,
  kCmdExit = 57665,
  kCmdHelpContents = 57670,
  kCmdNextPane = 57680,
  kCmdPrevPane = 57681,
  kCmdViewToolbar = 59392,
  kCmdViewStatusBar = 59393,
};

// Who carries a command out once the main frame has received it.
enum class CommandTarget {
  LayoutView,    // the upper pane: letters, selection, colours, shape, saving
  ExaminerView,  // the lower pane: background, navigation options, picture
  Frame,         // the main frame itself: bars, panes, document, exit
  App,           // the application: About, Help
  None,          // an accelerator without a handler: always disabled
};

struct CommandInfo {
  int id;
  const char* menuText;  // with '&' for the mnemonic; "" for commands without a menu item
  // Status-bar text and tooltip separated by '\n'; "" when the command has none.
  const char* prompt;
  const char* icon;        // resource path of the toolbar/menu icon; "" for none
  const char* shortcuts;   // portable key names separated by ';' ("Ctrl+N"); "" for none
  CommandTarget target;
  bool disabledWithSelection;  // greyed while pieces are selected in the layout view
  std::uint32_t colour;        // COLORREF 0x00BBGGRR of the fixed-colour commands, else 0
  bool isColour;
};

// One entry of a menu or of the toolbar: a command id, or 0 for a separator.
// kSubmenuColours stands for the colour submenu inside the Options menu.
constexpr int kSeparator = 0;
constexpr int kSubmenuColours = -1;

struct MenuLayout {
  const char* title;
  std::vector<int> items;
};

class CommandTable {
 public:
  static std::span<const CommandInfo> All();
  // Null for an id that is not in the table.
  static const CommandInfo* Find(int id);

  // The menu bar, left to right, each menu top to bottom.
  static const std::vector<MenuLayout>& MenuBar();
  static const std::vector<int>& ColourMenu();
  static const std::vector<int>& Toolbar();
  static const std::vector<int>& LayoutContextMenu();
  static const std::vector<int>& ExaminerContextMenu();

  // The two halves of the prompt: the status-bar text and the tooltip.
  static QString StatusText(const CommandInfo& info);
  static QString ToolTip(const CommandInfo& info);
  static QList<QKeySequence> Shortcuts(const CommandInfo& info);
};
