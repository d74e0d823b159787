// The desktop program: one window with the letters flat above and solid below.
#include <QApplication>

#include "SplashWindow.h"
#include "ZarnApp.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  CSplashWindow::ShowFor();
  CZarnApp app;
  if (!app.InitInstance(QApplication::arguments())) return 1;
  return QApplication::exec();
}
