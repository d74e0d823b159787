// Saving the world from the desktop program: the file is the one the
// command-line tool writes for the same settings; the save dialog names
// ".wrl" files; a file that cannot be written is reported, never claimed.
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

TEST(SaveWorld, DefaultWorldIsTheOneTheToolWrites) {
  ProfileScope profile;
  AppWindow app;
  const QString path = QDir(profile.Dir()).filePath("app.wrl");
  ASSERT_TRUE(app.View()->WriteWorld(path));
  const QByteArray world = ReadAll(path);
  EXPECT_TRUE(world.startsWith("#VRML V2.0"));
  EXPECT_EQ(world, ToolWorld(profile.Dir(), {}));
}

TEST(SaveWorld, ChangedSettingsGiveTheToolsWorldForThem) {
  ProfileScope profile;
  AppWindow app;
  app.View()->ApplyShape(0.4, 2, 3, 1);
  app.View()->ApplyColour(0x00FF00);
  app.View()->SetLightFlags(3);
  const QString path = QDir(profile.Dir()).filePath("app.wrl");
  ASSERT_TRUE(app.View()->WriteWorld(path));
  EXPECT_EQ(ReadAll(path), ToolWorld(profile.Dir(), {"--depth", "0.4", "--bevel-shape", "3", "--bevel-size", "2",
                                                     "--color", "00ff00", "--light", "back,left"}));
}

TEST(SaveWorld, UnwritableFileIsReportedNotClaimed) {
  ProfileScope profile;
  AppWindow app;
  MessageRecorder messages;
  EXPECT_FALSE(app.View()->WriteWorld(QDir(profile.Dir()).filePath("missing/dir/x.wrl")));
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
  EXPECT_TRUE(ReadAll(QDir(profile.Dir()).filePath("g.wrl")).startsWith("#VRML V2.0"));
}

TEST(SaveWorld, SaveDialogOffersVrmlFilesAndAddsTheExtension) {
  ProfileScope profile;
  AppWindow app;
  QStringList filters;
  QString suffix;
  const QString chosen = QDir(profile.Dir()).filePath("letters");
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
