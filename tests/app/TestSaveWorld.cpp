// Saving the world from the desktop program: the file is the one the
// command-line tool writes for the same settings; the save dialog names
// ".wrl" files; a file that cannot be written is reported, never claimed.
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProcess>

#include "AppTestSupport.h"
#include "CommandTable.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The command-line tool's world for the same text and settings.
QByteArray ToolWorld(const QString& dir, const QStringList& options) {
  const QString out = QDir(dir).filePath("tool.wrl");
  QProcess tool;
  tool.start(QStringLiteral(GLYPHKILN_BIN_DIR "/glyphkiln"), QStringList(options) << "-o" << out << "Glyphkiln");
  EXPECT_TRUE(tool.waitForFinished(60000)) << "glyphkiln did not finish";
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  return ReadAll(out);
}

}  // namespace

TEST(SaveWorld, WorldIsTheOneTheToolWritesForTheSameSettings) {
  struct Case {
    const char* name;
    std::function<void(CZarnView*)> change;
    QStringList toolOptions;
  };
  const Case cases[] = {
      {"defaults", [](CZarnView*) {}, {}},
      {"changed",
       [](CZarnView* view) {
         view->ApplyShape(0.4, 2, 3, 1);
         view->ApplyColour(0x00FF00);
         view->SetLightFlags(3);
       },
       {"--depth", "0.4", "--bevel-shape", "3", "--bevel-size", "2", "--color", "00ff00", "--light", "back,left"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileScope profile;
    AppWindow app;
    c.change(app.View());
    const QString path = profile.File("app.wrl");
    ASSERT_TRUE(app.View()->WriteWorld(path));
    const QByteArray world = ReadAll(path);
    EXPECT_TRUE(world.startsWith("#VRML V2.0"));
    EXPECT_EQ(world, ToolWorld(profile.Dir(), c.toolOptions));
  }
}

TEST(SaveWorld, UnwritableFileIsReportedNotClaimed) {
  ProfileScope profile;
  AppWindow app;
  MessageRecorder messages;
  EXPECT_FALSE(app.View()->WriteWorld(profile.File("missing/dir/x.wrl")));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Can not create file");
  EXPECT_EQ(messages.messages[0].caption, "Error");
}

TEST(SaveWorld, TestCommandWritesGWrlInTheCurrentDirectory) {
  ProfileScope profile;
  AppWindow app;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(profile.Dir()));
  app.frame->Execute(kCmdTestVrml);
  QDir::setCurrent(previous);
  EXPECT_TRUE(ReadAll(profile.File("g.wrl")).startsWith("#VRML V2.0"));
}

TEST(SaveWorld, SaveDialogOffersVrmlFilesAndAddsTheExtension) {
  ProfileScope profile;
  AppWindow app;
  QStringList filters;
  QString suffix;
  const QString chosen = profile.File("letters");
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    suffix = dialog->defaultSuffix();
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    ChooseFile(dialog, chosen);
  });
  app.frame->Execute(kCmdSaveVrml);
  EXPECT_EQ(filters, QStringList{"VRML 2.0 Files (*.wrl)"});
  EXPECT_EQ(suffix, "wrl");
  EXPECT_TRUE(QFile::exists(chosen + ".wrl"));
}
