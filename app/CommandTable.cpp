// The command vocabulary of the desktop program and the order of its menus,
// toolbar and context menus.
#include "CommandTable.h"

#include <QStringList>

namespace {

using T = CommandTarget;

// clang-format off
const CommandInfo kCommands[] = {
  // id                  menu text                  prompt (status\ntooltip)                                        icon                        keys                           target            sel.   colour      isColour
  {kCmdText,             "&Text...",                "Enter new text\nText",                                         ":/icons/text.png",         "",                            T::LayoutView,    true,  0,          false},
  {kCmdFont,             "&Font...",                "Change font\nFont",                                            ":/icons/font.png",         "",                            T::LayoutView,    true,  0,          false},
  {kCmdSaveVrml,         "&Save as VRML file...",   "Save in VRML 2.0 format\nSave VRML",                           ":/icons/savevrml.png",     "",                            T::LayoutView,    false, 0,          false},
  {kCmdExport,           "&Export...",              "Export the letters as STL, OBJ, glTF, 3MF or VRML\nExport",    "",                         "Ctrl+E",                      T::LayoutView,    false, 0,          false},
  {kCmdExportPicture,    "Export &Picture...",      "Save a picture of the letters as PNG or GIF\nExport Picture",  "",                         "",                            T::Frame,         false, 0,          false},
  {kCmdExportTurntable,  "Export T&urntable...",    "Save the letters turning once as an animated GIF\nExport Turntable", "",                   "",                            T::Frame,         false, 0,          false},
  {kCmdExit,             "E&xit",                   "Quit the application\nExit",                                   "",                         "",                            T::Frame,         false, 0,          false},
  {kCmdViewToolbar,      "&Toolbar",                "Show or hide the toolbar\nToggle ToolBar",                     "",                         "",                            T::Frame,         false, 0,          false},
  {kCmdViewStatusBar,    "&Status Bar",             "Show or hide the status bar\nToggle StatusBar",                "",                         "",                            T::Frame,         false, 0,          false},
  {kCmdColour,           "&Color...",               "Set color\nColor",                                             ":/icons/colour.png",       "",                            T::LayoutView,    false, 0,          false},
  {kCmdShape,            "&Shape",                  "Shape\nShape",                                                 ":/icons/shape.png",        "",                            T::LayoutView,    false, 0,          false},
  {kCmdLight,            "&Light...",               "Select light source position\nLight",                          ":/icons/light.png",        "",                            T::LayoutView,    true,  0,          false},
  {kCmdLightExaminer,    "&Light...",               "Select light sourse position\nLight",                          "",                         "",                            T::LayoutView,    false, 0,          false},
  {kCmdBackground,       "&Background...",          "Set background color for 3D view window\nBackground",          "",                         "",                            T::ExaminerView,  true,  0,          false},
  {kCmdBackgroundExaminer, "&Background...",        "Set background color for 3D view window\nBackground",          "",                         "",                            T::ExaminerView,  false, 0,          false},
  {kCmdExaminerOptions,  "&Examiner...",            "Set navigation options\nNavigation",                           "",                         "",                            T::ExaminerView,  false, 0,          false},
  {kCmdHeight,           "&Height...",              "Set height\nHeigth",                                           ":/icons/height.png",       "",                            T::LayoutView,    true,  0,          false},
  // The text options: checkable items, the three alignments a group.
  {kCmdAlignLeft,        "Align lef&t",             "Align shorter lines to the left\nAlign left",                 "",                         "",                            T::LayoutView,    true,  0,          false},
  {kCmdAlignCentre,      "Align ce&ntre",           "Centre shorter lines\nAlign centre",                          "",                         "",                            T::LayoutView,    true,  0,          false},
  {kCmdAlignRight,       "Align r&ight",            "Align shorter lines to the right\nAlign right",               "",                         "",                            T::LayoutView,    true,  0,          false},
  {kCmdKerning,          "&Kerning",                "Set the letters with the font's kerning and shaping\nKerning", "",                        "",                            T::LayoutView,    true,  0,          false},
  {kCmdFontFallback,     "Font &fallback",          "Take characters the font lacks from another installed font\nFont fallback", "",           "",                            T::LayoutView,    true,  0,          false},
  {kCmdHelpContents,     "&Contents",               "",                                                             "",                         "",                            T::App,           false, 0,          false},
  {kCmdAbout,            "&About Glyphkiln ...",    "Display program information, version number and copyright\nAbout", ":/icons/about.png",   "",                            T::App,           false, 0,          false},
  // The fixed colours: the toolbar holds six of them, the Colors submenu all eight.
  {kCmdRed,              "&Red",                    "Color the letters red\nRed",                                   ":/icons/red.png",          "",                            T::LayoutView,    false, 0x0000FF,   true},
  {kCmdGreen,            "&Green",                  "Color the letters green\nGreen",                               ":/icons/green.png",        "",                            T::LayoutView,    false, 0x00FF00,   true},
  {kCmdYellow,           "&Yellow",                 "Color the letters yellow\nYellow",                             ":/icons/yellow.png",       "",                            T::LayoutView,    false, 0x00FFFF,   true},
  {kCmdBlue,             "&Blue",                   "Color the letters blue\nBlue",                                 ":/icons/blue.png",         "",                            T::LayoutView,    false, 0xFF0000,   true},
  {kCmdMagenta,          "&Magenta",                "Color the letters magenta\nMagenta",                           ":/icons/magenta.png",      "",                            T::LayoutView,    false, 0xFF00FF,   true},
  {kCmdCyan,             "C&yan",                   "Color the letters cyan\nCyan",                                 ":/icons/cyan.png",         "",                            T::LayoutView,    false, 0xFFFF00,   true},
  {kCmdWhite,            "&White",                  "Color the letters white\nWhite",                               ":/icons/white.png",        "",                            T::LayoutView,    false, 0xFFFFFF,   true},
  {kCmdBlack,            "Blac&k",                  "Color the letters black\nBlack",                               ":/icons/black.png",        "",                            T::LayoutView,    false, 0x000000,   true},
  // Commands reached by keys only.
  {kCmdSaveGif,          "",                        "Don't select it\nSave GIF",                                    "",                         "Ctrl+F12",                    T::ExaminerView,  false, 0,          false},
  {kCmdTestVrml,         "",                        "Runs VRML viewer to test appearance and behavior\nTest ",      "",                         "",                            T::LayoutView,    false, 0,          false},
  {kCmdFileNew,          "",                        "",                                                             "",                         "Ctrl+N",                      T::Frame,         false, 0,          false},
  {kCmdFileOpen,         "",                        "",                                                             "",                         "Ctrl+O",                      T::Frame,         false, 0,          false},
  {kCmdFileSave,         "",                        "",                                                             "",                         "Ctrl+S",                      T::Frame,         false, 0,          false},
  {kCmdNextPane,         "",                        "",                                                             "",                         "F6",                          T::Frame,         false, 0,          false},
  {kCmdPrevPane,         "",                        "",                                                             "",                         "Shift+F6",                    T::Frame,         false, 0,          false},
  // Editing keys without a handler: present, so the keys do nothing else, but disabled.
  {kCmdCopy,             "",                        "",                                                             "",                         "Ctrl+C;Ctrl+Ins",             T::None,          false, 0,          false},
  {kCmdCut,              "",                        "",                                                             "",                         "Ctrl+X;Shift+Del",            T::None,          false, 0,          false},
  {kCmdPaste,            "",                        "",                                                             "",                         "Ctrl+V;Shift+Ins",            T::None,          false, 0,          false},
  {kCmdUndo,             "",                        "",                                                             "",                         "Ctrl+Z;Alt+Backspace",        T::None,          false, 0,          false},
};
// clang-format on

}  // namespace

std::span<const CommandInfo> CommandTable::All() { return kCommands; }

const CommandInfo* CommandTable::Find(int id) {
  for (const CommandInfo& info : kCommands) {
    if (info.id == id) return &info;
  }
  return nullptr;
}

const std::vector<MenuLayout>& CommandTable::MenuBar() {
  static const std::vector<MenuLayout> menus = {
      {"&File",
       {kCmdText, kCmdFont, kCmdSaveVrml, kCmdExport, kCmdExportPicture, kCmdExportTurntable, kSeparator,
        kCmdExit}},
      {"&View", {kCmdViewToolbar, kCmdViewStatusBar}},
      // Height and the colour submenu have no other place to be reached from.
      {"&Options",
       {kCmdColour, kSubmenuColours, kCmdShape, kCmdLight, kCmdHeight, kSeparator, kCmdAlignLeft, kCmdAlignCentre,
        kCmdAlignRight, kCmdKerning, kCmdFontFallback, kSeparator, kCmdBackground, kCmdExaminerOptions}},
      {"&Help", {kCmdHelpContents, kSeparator, kCmdAbout}},
  };
  return menus;
}

const std::vector<int>& CommandTable::ColourMenu() {
  static const std::vector<int> items = {kCmdRed,  kCmdGreen,   kCmdYellow, kCmdBlue,
                                         kCmdMagenta, kCmdCyan, kSeparator, kCmdWhite,
                                         kCmdBlack};
  return items;
}

const std::vector<int>& CommandTable::Toolbar() {
  static const std::vector<int> items = {
      kCmdSaveVrml, kSeparator, kCmdText,    kCmdFont,  kCmdLight,  kSeparator, kCmdShape,
      kSeparator,   kCmdRed,    kCmdGreen,   kCmdYellow, kCmdBlue,  kCmdMagenta, kCmdCyan,
      kCmdColour,   kSeparator, kCmdAbout};
  return items;
}

const std::vector<int>& CommandTable::LayoutContextMenu() {
  static const std::vector<int> items = {kCmdColour, kCmdShape,    kSeparator, kCmdText,
                                         kCmdFont,   kSeparator,   kCmdSaveVrml};
  return items;
}

const std::vector<int>& CommandTable::ExaminerContextMenu() {
  static const std::vector<int> items = {kCmdLightExaminer, kCmdBackgroundExaminer,
                                         kCmdExaminerOptions, kSeparator, kCmdSaveVrml};
  return items;
}

QString CommandTable::StatusText(const CommandInfo& info) {
  return QString::fromLatin1(info.prompt).section(QLatin1Char('\n'), 0, 0);
}

QString CommandTable::ToolTip(const CommandInfo& info) {
  const QString prompt = QString::fromLatin1(info.prompt);
  const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
  return newline < 0 ? QString() : prompt.mid(newline + 1);
}

QList<QKeySequence> CommandTable::Shortcuts(const CommandInfo& info) {
  QList<QKeySequence> keys;
  const QStringList names = QString::fromLatin1(info.shortcuts).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& name : names) keys.append(QKeySequence::fromString(name, QKeySequence::PortableText));
  return keys;
}
