// File > Export Picture and Export Turntable: the files are the ones
// glyphkiln writes for the same settings; a cancelled or failed export
// writes nothing; the dialogs offer the formats and keep the choices, which
// reach the profile only once used.
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QProgressDialog>
#include <QSpinBox>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CommandTable.h"
#include "PictureExportDialog.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs glyphkiln on "Glyphkiln" with `options`.
void RunTool(const QStringList& options) {
  QProcess tool;
  tool.start(QStringLiteral(GLYPHKILN_BIN_DIR "/glyphkiln"), QStringList(options) << "Glyphkiln");
  EXPECT_TRUE(tool.waitForFinished(120000)) << "glyphkiln did not finish";
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

// The picture's size as its file states it.
QSize StatedSize(const QByteArray& bytes) {
  const auto at = [&](int i) { return static_cast<unsigned char>(bytes.at(i)); };
  if (bytes.startsWith("GIF89a") || bytes.startsWith("GIF87a"))
    return QSize(at(6) | at(7) << 8, at(8) | at(9) << 8);
  if (bytes.startsWith("\x89PNG") && bytes.size() > 24)
    return QSize(at(16) << 24 | at(17) << 16 | at(18) << 8 | at(19), at(20) << 24 | at(21) << 16 | at(22) << 8 | at(23));
  return QSize();
}

PictureExportChoices Choices(const std::function<void(PictureExportChoices&)>& change) {
  PictureExportChoices choices;
  change(choices);
  return choices;
}

}  // namespace

TEST(PictureExport, FilesAreTheOnesTheToolWritesForTheSameSettings) {
  struct Case {
    const char* name;
    bool turntable;
    PictureExportChoices choices;
    bool shaped;  // the letters reshaped and recoloured, the background dark
    QStringList toolOptions;
  };
  const QStringList shapeOptions{"--depth",      "0.4", "--bevel-shape", "4",      "--bevel-size",
                                 "2",            "--color", "00ff00",    "--background", "403020"};
  const Case cases[] = {
      {"a.png", false, {}, false, {"--png"}},
      {"b.png", false, Choices([](PictureExportChoices& c) {
         c.width = 304, c.height = 200, c.antialias = 3, c.transparent = true;
       }),
       true, QStringList(shapeOptions) << "--size" << "304x200" << "--antialias" << "3" << "--transparent" << "--png"},
      {"c.gif", false, Choices([](PictureExportChoices& c) { c.gif = true; }), false, {"--gif"}},
      {"d.gif", false, Choices([](PictureExportChoices& c) {
         c.gif = true, c.width = 320, c.height = 240, c.antialias = 2, c.fitExaminer = true;
       }),
       true, QStringList(shapeOptions) << "--size" << "320x240" << "--antialias" << "2" << "--fit" << "examiner" << "--gif"},
      {"e.gif", true, Choices([](PictureExportChoices& c) {
         c.frames = 6, c.framesPerSecond = 10, c.width = 200, c.height = 150;
       }),
       false, {"--turntable", "6", "--fps", "10", "--size", "200x150", "--gif"}},
      {"f.gif", true, Choices([](PictureExportChoices& c) {
         c.frames = 4, c.cubePalette = true, c.antialias = 2, c.width = 160, c.height = 120;
       }),
       true,
       QStringList(shapeOptions) << "--turntable" << "4" << "--palette" << "cube" << "--antialias" << "2" << "--size"
                                 << "160x120" << "--gif"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileScope profile;
    AppWindow app;
    std::uint32_t background = RendererBinding::kDefaultBackground;
    if (c.shaped) {
      app.View()->ApplyShape(0.4, 2, 4, 1);
      app.View()->ApplyColour(0x00FF00);
      background = 0x203040;
    }
    const QString mine = profile.File(QStringLiteral("app-") + c.name);
    const QString theirs = profile.File(QStringLiteral("tool-") + c.name);
    ASSERT_NE(app.View()->CurrentText(), nullptr);
    ASSERT_TRUE(ExportPicture(app.frame.get(), *app.View()->CurrentText(), background, mine,
                              c.choices.Request(c.turntable)));
    RunTool(QStringList(c.toolOptions) << theirs);
    const QByteArray written = ReadAll(mine);
    EXPECT_EQ(StatedSize(written), QSize(c.choices.width, c.choices.height));
    EXPECT_TRUE(written == ReadAll(theirs)) << "the desktop picture differs from glyphkiln's";
  }
}

// Cancelling while the frames are drawn, or a file that cannot be written,
// leaves the old file as it was and no temporary beside it.
TEST(PictureExport, CancelledOrFailedExportWritesNothing) {
  ProfileScope profile;
  AppWindow app;
  const QString target = profile.File("t.gif");
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  const QStringList before = QDir(profile.Dir()).entryList(QDir::Files | QDir::Hidden);
  bool sawProgress = false;
  WhenModal([&](QWidget* modal) {
    auto* progress = qobject_cast<QProgressDialog*>(modal);
    ASSERT_NE(progress, nullptr);
    sawProgress = true;
    progress->cancel();
  });
  const auto request = Choices([](PictureExportChoices& c) { c.frames = 200, c.width = 64, c.height = 48; }).Request(true);
  EXPECT_FALSE(ExportPicture(app.frame.get(), *app.View()->CurrentText(), 0, target, request));
  EXPECT_TRUE(sawProgress);
  EXPECT_EQ(ReadAll(target), "old");
  EXPECT_EQ(QDir(profile.Dir()).entryList(QDir::Files | QDir::Hidden), before);

  MessageRecorder messages;
  EXPECT_FALSE(ExportPicture(app.frame.get(), *app.View()->CurrentText(), 0, profile.File("missing/dir/x.png"),
                             PictureExportChoices{}.Request(false)));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Can not create file");
  EXPECT_EQ(messages.messages[0].caption, "Error");
}

// Through the menu: the still picture's format follows the filter, the
// turntable offers GIF only, and the choices made are kept for the profile.
TEST(PictureExport, DialogsOfferTheFormatsAndKeepTheChoices) {
  ProfileScope scope;
  {
    AppWindow app;
    const QString still = scope.File("still");
    QStringList stillFilters;
    bool transparentEnabledForGif = true;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      stillFilters = dialog->nameFilters();
      dialog->selectNameFilter("GIF Files (*.gif)");
      emit dialog->filterSelected("GIF Files (*.gif)");
      transparentEnabledForGif = dialog->findChild<QCheckBox*>("transparent")->isEnabled();
      dialog->findChild<QSpinBox*>("width")->setValue(120);
      dialog->findChild<QSpinBox*>("height")->setValue(90);
      dialog->findChild<QSpinBox*>("antialias")->setValue(2);
      ChooseFile(dialog, still);
    });
    ASSERT_TRUE(app.frame->Execute(kCmdExportPicture));
    EXPECT_EQ(stillFilters, (QStringList{"PNG Files (*.png)", "GIF Files (*.gif)"}));
    EXPECT_FALSE(transparentEnabledForGif);
    EXPECT_EQ(StatedSize(ReadAll(still + ".gif")), QSize(120, 90));

    const QString turning = scope.File("turning.gif");
    QStringList turnFilters;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      turnFilters = dialog->nameFilters();
      EXPECT_EQ(dialog->findChild<QSpinBox*>("width")->value(), 120) << "the last choices come back";
      dialog->findChild<QSpinBox*>("frames")->setValue(3);
      dialog->findChild<QComboBox*>("palette")->setCurrentIndex(1);
      ChooseFile(dialog, turning);
    });
    ASSERT_TRUE(app.frame->Execute(kCmdExportTurntable));
    EXPECT_EQ(turnFilters, QStringList{"GIF Files (*.gif)"});
    EXPECT_TRUE(ReadAll(turning).contains("NETSCAPE2.0"));
    app.CloseAndDestroy();
  }
  const std::optional<PictureExportChoices> kept = ReadAppSettings(scope.Settings()).pictureChoices;
  ASSERT_TRUE(kept.has_value());
  EXPECT_TRUE(kept->gif);
  EXPECT_EQ(kept->width, 120);
  EXPECT_EQ(kept->height, 90);
  EXPECT_EQ(kept->antialias, 2);
  EXPECT_EQ(kept->frames, 3);
  EXPECT_TRUE(kept->cubePalette);
}

TEST(PictureExport, ChoicesRoundTripThroughTheProfile) {
  {
    // Odd stored values are brought into range.
    ProfileScope scope;
    for (const auto& [key, value] : {std::pair{"Width", "99999"}, {"Height", "-3"}, {"Antialias", "40"},
                                     {"Frames", "0"}, {"FramesPerSecond", "nan"}, {"Format", "tiff"}}) {
      ASSERT_TRUE(scope.Settings().WriteString(PictureExportChoices::kSection, key, value));
    }
    const auto read = ReadAppSettings(scope.Settings()).pictureChoices;
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->width, kMaxPictureSide);
    EXPECT_EQ(read->height, PictureExportChoices::kMinSide);
    EXPECT_EQ(read->antialias, kMaxAntialias);
    EXPECT_EQ(read->frames, 1);
    EXPECT_EQ(read->framesPerSecond, PictureExportChoices{}.framesPerSecond);
    EXPECT_FALSE(read->gif);
  }
  {
    ProfileScope scope;
    AppSettings written;
    written.pictureChoices = Choices([](PictureExportChoices& c) {
      c.gif = true, c.width = 1920, c.height = 1080, c.antialias = 4, c.transparent = true, c.fitExaminer = true;
      c.frames = 72, c.framesPerSecond = 12.5, c.cubePalette = true;
    });
    ASSERT_TRUE(WriteAppSettings(scope.Settings(), written));
    const auto read = ReadAppSettings(scope.Settings()).pictureChoices;
    ASSERT_TRUE(read.has_value());
    const PictureExportChoices& w = *written.pictureChoices;
    EXPECT_EQ(std::tie(read->gif, read->width, read->height, read->antialias, read->transparent, read->fitExaminer,
                       read->frames, read->framesPerSecond, read->cubePalette),
              std::tie(w.gif, w.width, w.height, w.antialias, w.transparent, w.fitExaminer, w.frames,
                       w.framesPerSecond, w.cubePalette));
  }
  {
    // Unused, the dialogs leave the profile as it was.
    ProfileScope scope;
    ASSERT_TRUE(WriteAppSettings(scope.Settings(), AppSettings{}));
    EXPECT_FALSE(ReadAppSettings(scope.Settings()).pictureChoices.has_value());
    EXPECT_EQ(scope.Settings().GetString(PictureExportChoices::kSection, "Width", "none"), "none");
  }
}
