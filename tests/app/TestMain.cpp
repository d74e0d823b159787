// The desktop program's tests need one QApplication for the whole run; it
// is made here, on Qt's offscreen platform unless the caller chose another.
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ZarnApp.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No test may touch the user's own settings: until a fixture names its
  // own profile, everything goes to a scratch file.
  QTemporaryDir scratch;
  qputenv("GLYPHKILN_PROFILE", QDir(scratch.path()).filePath(QStringLiteral("scratch.ini")).toLocal8Bit());
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Glyphkiln"));
  InitZarnResources();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
