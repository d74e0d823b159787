// File > Export: the files are the ones glyphkiln writes for the same text
// and settings; the dialog offers one filter per format and takes the format
// from the name or the filter; the choices survive in the profile.
#include <functional>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CommandTable.h"
#include "ExportDialog.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs glyphkiln on "Glyphkiln" writing `path`.
void RunTool(const QStringList& options, const QString& path) {
  QProcess tool;
  tool.start(QStringLiteral(GLYPHKILN_BIN_DIR "/glyphkiln"), QStringList(options) << "-o" << path << "Glyphkiln");
  EXPECT_TRUE(tool.waitForFinished(60000)) << "glyphkiln did not finish";
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

ExportSettings Choices(LengthUnit unit, const char* emHeight, SolidMode solid) {
  ExportSettings choices;
  choices.unit = unit;
  choices.emHeight = emHeight;
  choices.solid = solid;
  return choices;
}

}  // namespace

TEST(Export, FilesAreTheOnesTheToolWritesForTheSameSettings) {
  struct Case {
    const char* name;  // file name; its extension picks the format
    MeshFormat format;
    ExportSettings choices;
    std::function<void(CZarnView*)> change;
    QStringList toolOptions;
  };
  const auto shape = [](CZarnView* view) {
    view->ApplyShape(0.4, 2, 4, 1);
    view->ApplyColour(0x00FF00);
  };
  const QStringList shapeOptions{"--depth", "0.4", "--bevel-shape", "4", "--bevel-size", "2", "--color", "00ff00"};
  const Case cases[] = {
      {"a.stl", MeshFormat::Stl, {}, [](CZarnView*) {}, {}},
      {"b.stl", MeshFormat::Stl, Choices(LengthUnit::Millimetre, "20mm", SolidMode::Exact), shape,
       QStringList(shapeOptions) << "--em-height" << "20mm" << "--solid" << "exact"},
      {"c.3mf", MeshFormat::ThreeMf, Choices(LengthUnit::Millimetre, "20mm", SolidMode::Clean), shape,
       QStringList(shapeOptions) << "--em-height" << "20mm"},
      {"d.3mf", MeshFormat::ThreeMf, Choices(LengthUnit::Inch, "0.5", SolidMode::Exact), [](CZarnView*) {},
       {"--unit", "in", "--em-height", "0.5", "--solid", "exact"}},
      {"e.glb", MeshFormat::Glb, Choices(LengthUnit::Centimetre, "3cm", SolidMode::Clean), shape,
       QStringList(shapeOptions) << "--unit" << "cm" << "--em-height" << "3cm"},
      {"f.obj", MeshFormat::Obj, {}, shape, shapeOptions},
      // The world is scaled to the em height as the command line scales it.
      {"g.wrl", MeshFormat::Vrml, Choices(LengthUnit::Millimetre, "20mm", SolidMode::Clean), shape,
       QStringList(shapeOptions) << "--em-height" << "20mm"},
      {"h.wrl", MeshFormat::Vrml, {}, [](CZarnView*) {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileScope profile;
    ASSERT_TRUE(QDir(profile.Dir()).mkdir("app") && QDir(profile.Dir()).mkdir("tool"));
    AppWindow app;
    c.change(app.View());
    const QString mine = QDir(profile.File("app")).filePath(c.name);
    const QString theirs = QDir(profile.File("tool")).filePath(c.name);
    ASSERT_TRUE(ExportLetters(*app.View(), mine, c.format, c.choices));
    RunTool(c.toolOptions, theirs);
    const QByteArray written = ReadAll(mine);
    EXPECT_FALSE(written.isEmpty());
    EXPECT_TRUE(written == ReadAll(theirs)) << "the desktop file differs from glyphkiln's";
    if (c.format == MeshFormat::Obj) {
      const QString library = QString(c.name).replace(".obj", ".mtl");
      EXPECT_EQ(ReadAll(QDir(profile.File("app")).filePath(library)),
                ReadAll(QDir(profile.File("tool")).filePath(library)));
    }
  }
}

TEST(Export, FormatComesFromTheNameElseFromTheFilter) {
  const struct {
    const char* path;
    const char* filter;
    MeshFormat expected;
  } cases[] = {
      {"/t/a.stl", "3MF Files (*.3mf)", MeshFormat::Stl},
      {"/t/a.3MF", "STL Files (*.stl)", MeshFormat::ThreeMf},
      {"/t/a.wrl", "STL Files (*.stl)", MeshFormat::Vrml},
      {"/t/a", "glTF Binary Files (*.glb)", MeshFormat::Glb},
      {"/t/a.text", "OBJ Files (*.obj)", MeshFormat::Obj},
      {"/t/a", "VRML 2.0 Files (*.wrl)", MeshFormat::Vrml},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExportFormatFor(c.path, c.filter), c.expected) << c.path << " under " << c.filter;
  }
}

TEST(Export, DialogOffersEachFormatAndKeepsTheChoices) {
  ProfileScope profile;
  AppWindow app;
  QStringList filters;
  bool confirmsOverwrite = false;
  const QString chosen = profile.File("letters");
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    dialog->selectNameFilter("3MF Files (*.3mf)");
    emit dialog->filterSelected("3MF Files (*.3mf)");
    dialog->findChild<QComboBox*>("unit")->setCurrentIndex(3);  // inches
    dialog->findChild<QLineEdit*>("emHeight")->setText("0.5");
    dialog->findChild<QComboBox*>("solid")->setCurrentIndex(1);  // exact
    ChooseFile(dialog, chosen);
  });
  app.frame->Execute(kCmdExport);
  EXPECT_EQ(filters, (QStringList{"VRML 2.0 Files (*.wrl)", "STL Files (*.stl)", "OBJ Files (*.obj)",
                                  "glTF Binary Files (*.glb)", "3MF Files (*.3mf)"}));
  EXPECT_TRUE(confirmsOverwrite);
  EXPECT_EQ(app.frame->Action(kCmdExport)->shortcut(), QKeySequence("Ctrl+E"));
  EXPECT_TRUE(ReadAll(chosen + ".3mf").startsWith("PK"));  // a 3MF package is a zip
  const std::optional<ExportSettings> kept = app.View()->ExportChoices();
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->unit, LengthUnit::Inch);
  EXPECT_EQ(kept->emHeight, "0.5");
  EXPECT_EQ(kept->solid, SolidMode::Exact);
}

TEST(Export, UnwritableFileIsReportedNotClaimed) {
  ProfileScope profile;
  AppWindow app;
  MessageRecorder messages;
  EXPECT_FALSE(ExportLetters(*app.View(), profile.File("missing/dir/x.stl"), MeshFormat::Stl, {}));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Can not create file");
  EXPECT_EQ(messages.messages[0].caption, "Error");
}

TEST(Export, ChoicesRoundTripThroughTheProfile) {
  // Kept choices come back as they were; odd stored values read as defaults;
  // a profile without an export gets no export keys.
  const struct {
    const char* unit;
    const char* emHeight;
    const char* solid;
    LengthUnit unitRead;
    const char* emHeightRead;
    SolidMode solidRead;
  } stored[] = {
      {"in", "0.5in", "exact", LengthUnit::Inch, "0.5in", SolidMode::Exact},
      {"cm", "", "clean", LengthUnit::Centimetre, "", SolidMode::Clean},
      {"furlong", "-3mm", "melted", LengthUnit::Millimetre, "", SolidMode::Clean},
  };
  for (const auto& c : stored) {
    ProfileScope scope;
    ASSERT_TRUE(scope.Settings().WriteString(AppSettings::kExport, "Unit", c.unit));
    ASSERT_TRUE(scope.Settings().WriteString(AppSettings::kExport, "EmHeight", c.emHeight));
    ASSERT_TRUE(scope.Settings().WriteString(AppSettings::kExport, "Solid", c.solid));
    const AppSettings read = ReadAppSettings(scope.Settings());
    ASSERT_TRUE(read.exportChoices.has_value()) << c.unit;
    EXPECT_EQ(read.exportChoices->unit, c.unitRead) << c.unit;
    EXPECT_EQ(read.exportChoices->emHeight, c.emHeightRead) << c.unit;
    EXPECT_EQ(read.exportChoices->solid, c.solidRead) << c.unit;
  }
  for (const LengthUnit unit : {LengthUnit::Millimetre, LengthUnit::Centimetre, LengthUnit::Metre, LengthUnit::Inch}) {
    ProfileScope scope;
    AppSettings written;
    written.exportChoices = Choices(unit, "20", SolidMode::Exact);
    ASSERT_TRUE(WriteAppSettings(scope.Settings(), written));
    const AppSettings read = ReadAppSettings(scope.Settings());
    ASSERT_TRUE(read.exportChoices.has_value());
    EXPECT_EQ(read.exportChoices->unit, unit);
    EXPECT_EQ(read.exportChoices->emHeight, "20");
    EXPECT_EQ(read.exportChoices->solid, SolidMode::Exact);
  }
  {
    ProfileScope scope;
    ASSERT_TRUE(WriteAppSettings(scope.Settings(), AppSettings{}));
    EXPECT_FALSE(ReadAppSettings(scope.Settings()).exportChoices.has_value());
    EXPECT_EQ(scope.Settings().GetString(AppSettings::kExport, "Unit", "none"), "none");
  }
  {
    // Through the window: what the view keeps is written when it closes.
    ProfileScope scope;
    {
      AppWindow app;
      app.View()->ExportChoices() = Choices(LengthUnit::Metre, "0.02", SolidMode::Clean);
      app.CloseAndDestroy();
    }
    AppWindow again;
    ASSERT_TRUE(again.View()->ExportChoices().has_value());
    EXPECT_EQ(again.View()->ExportChoices()->unit, LengthUnit::Metre);
    EXPECT_EQ(again.View()->ExportChoices()->emHeight, "0.02");
  }
}
