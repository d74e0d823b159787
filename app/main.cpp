// The desktop program: one window with the letters flat above and solid below.
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include "SplashWindow.h"
#include "ZarnApp.h"

#ifndef GLYPHKILN_VERSION
#error "GLYPHKILN_VERSION must be defined by the build"
#endif

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The text `zarn --help` prints; the manual page is made from it.
constexpr const char* kUsage =
    "Usage: zarn [OPTION]... [FILE]\n"
    "Opens the desktop program: a line of text in an installed outline font as\n"
    "solid extruded and bevelled letters, flat in the upper pane and as a lit\n"
    "solid in the lower one, saved as a VRML 2.0 world or a GIF picture.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "FILE, when given, is taken as the open document and must exist. Qt's own\n"
    "options (for example -platform NAME, -display DISPLAY, -style STYLE) are\n"
    "understood as well.\n"
    "\n"
    "Environment:\n"
    "  GLYPHKILN_PROFILE  the settings file (default:\n"
    "                     $XDG_CONFIG_HOME/glyphkiln/zarn.ini, else\n"
    "                     ~/.config/glyphkiln/zarn.ini)\n"
    "\n"
    "Exit status: 0 when the window is closed, 1 when FILE does not exist or the\n"
    "window cannot be made, 2 for a usage error.\n";

enum class EarlyRequest { None, Help, Version };

// --help and --version are answered before Qt starts, so they need no display
// and never open a window. The first of them decides.
EarlyRequest FindEarlyRequest(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return EarlyRequest::Help;
    if (std::strcmp(argv[i], "--version") == 0) return EarlyRequest::Version;
  }
  return EarlyRequest::None;
}

int Answer(EarlyRequest request) {
  if (request == EarlyRequest::Help) std::fputs(kUsage, stdout);
  else std::printf("zarn %s\n", GLYPHKILN_VERSION);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : kExitFailure;
}

int UsageError(const QString& message) {
  std::fprintf(stderr, "zarn: %s\nTry 'zarn --help' for more information.\n",
               message.toLocal8Bit().constData());
  return kExitUsage;
}

// Checks what is left once Qt has taken its own options: at most one FILE,
// which must exist as a file, and no other option. 0 when the window may open.
int CheckArguments(const QStringList& arguments) {
  QString file;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument.startsWith(QLatin1Char('-'))) {
      return UsageError(QStringLiteral("unknown option '%1'").arg(argument));
    }
    if (!file.isEmpty()) return UsageError(QStringLiteral("only one FILE argument is allowed"));
    file = argument;
  }
  if (file.isEmpty()) return 0;
  const QFileInfo info(file);
  if (!info.exists()) {
    std::fprintf(stderr, "zarn: %s: no such file\n", file.toLocal8Bit().constData());
    return kExitFailure;
  }
  if (info.isDir()) {
    std::fprintf(stderr, "zarn: %s: is a directory, not a document\n",
                 file.toLocal8Bit().constData());
    return kExitFailure;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const EarlyRequest request = FindEarlyRequest(argc, argv); request != EarlyRequest::None) {
    return Answer(request);
  }
  QApplication application(argc, argv);
  // Ties the window to the installed desktop entry (task bar icon, Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.stellwick.Glyphkiln"));
  if (const int status = CheckArguments(QApplication::arguments()); status != 0) return status;
  CSplashWindow::ShowFor();
  CZarnApp app;
  if (!app.InitInstance(QApplication::arguments())) return kExitFailure;
  if (app.ClosedDuringStartUp()) return 0;
  return QApplication::exec();
}
