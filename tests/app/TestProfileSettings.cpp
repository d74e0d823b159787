// The settings kept between runs: every key is written when the program
// ends, also when nothing changed; odd stored values are read safely; the
// toolbar comes back at the edge it was left at.
#include <QFile>
#include <QStatusBar>
#include <QToolBar>

#include "AppTestSupport.h"
#include "CommandTable.h"

namespace {

QString FileText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

}  // namespace

TEST(ProfileSettings, EndingTheProgramWritesEveryKeyEvenUnchanged) {
  ProfileScope profile;
  {
    AppWindow app;
    app.CloseAndDestroy();
  }
  const Profile settings = profile.Settings();
  const char* section = "ZARN Parameters";
  EXPECT_EQ(settings.GetInt(section, "Light", -1), 0);
  EXPECT_EQ(settings.GetInt(section, "Color", -1), 255);
  EXPECT_EQ(settings.GetInt(section, "Height", -1), 1000);
  EXPECT_EQ(settings.GetInt(section, "Depth", -1), 200);
  EXPECT_EQ(settings.GetInt(section, "AutoRotate", -1), 0);
  EXPECT_EQ(settings.GetInt(section, "RotationSpeed", -1), 2);
  EXPECT_EQ(settings.GetInt("3D View", "Background", -1), 0xFFFF00);
  EXPECT_EQ(settings.GetInt("Layouts-Bar0", "BarID", -1), 59392);
  // The sections are written with their names as they are.
  const QString text = FileText(profile.Path());
  EXPECT_TRUE(text.contains("[ZARN Parameters]"));
  EXPECT_TRUE(text.contains("[3D View]"));
  EXPECT_TRUE(text.contains("[Layouts-Summary]"));
}

TEST(ProfileSettings, ChangedSettingsAreWrittenBack) {
  ProfileScope profile;
  {
    AppWindow app;
    app.View()->SetLightFlags(3);
    app.View()->ApplyShape(0.15, 1, 1, 1);
    app.CloseAndDestroy();
  }
  const Profile settings = profile.Settings();
  EXPECT_EQ(settings.GetInt("ZARN Parameters", "Light", -1), 3);
  EXPECT_EQ(settings.GetInt("ZARN Parameters", "Depth", -1), 150);
  AppWindow again;
  EXPECT_EQ(again.View()->LightFlags(), 3);
  EXPECT_DOUBLE_EQ(again.View()->DepthSetting(), 0.15);
}

TEST(ProfileSettings, OddStoredValuesFallBackToSaneOnes) {
  ProfileScope profile;
  const Profile settings = profile.Settings();
  settings.WriteInt("ZARN Parameters", "Depth", -5);      // read unsigned, far too deep
  settings.WriteInt("ZARN Parameters", "Height", 0);      // below the smallest height
  settings.WriteInt("ZARN Parameters", "Light", 7);       // only two bits mean anything
  settings.WriteInt("ZARN Parameters", "Color", 0x7F00FF00);
  AppWindow app;
  EXPECT_DOUBLE_EQ(app.View()->DepthSetting(), 0.2);
  EXPECT_DOUBLE_EQ(app.View()->HeightSetting(), 1.0);
  EXPECT_EQ(app.View()->LightFlags(), 3);
  EXPECT_EQ(app.View()->ColourSetting(), 0x00FF00u);
}

TEST(ProfileSettings, ToolbarComesBackAtTheEdgeItWasLeftAt) {
  ProfileScope profile;
  {
    AppWindow app;
    EXPECT_EQ(app.frame->toolBarArea(app.frame->ToolBar()), Qt::TopToolBarArea) << "empty profile: top";
    app.frame->addToolBar(Qt::LeftToolBarArea, app.frame->ToolBar());
    app.CloseAndDestroy();
  }
  {
    AppWindow app;
    EXPECT_EQ(app.frame->toolBarArea(app.frame->ToolBar()), Qt::LeftToolBarArea);
    EXPECT_FALSE(app.frame->ToolBar()->isHidden());
    // Hidden bars stay hidden.
    app.frame->Execute(kCmdViewToolbar);
    app.frame->Execute(kCmdViewStatusBar);
    EXPECT_FALSE(app.frame->Action(kCmdViewToolbar)->isChecked());
    app.CloseAndDestroy();
  }
  AppWindow app;
  EXPECT_TRUE(app.frame->ToolBar()->isHidden());
  EXPECT_TRUE(app.frame->statusBar()->isHidden());
  EXPECT_FALSE(app.frame->Action(kCmdViewStatusBar)->isChecked());
}
