// The settings kept between runs: what odd stored values are read as, that
// what is written reads back the same, and that closing the window writes
// the whole table once and says so when it cannot.
#include <QFile>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "RendererBinding.h"

namespace {

TEST(AppSettings, StoredValuesAreReadIntoTheirRanges) {
  struct Case {
    const char* section;
    const char* key;
    const char* stored;
    std::function<double(const AppSettings&)> read;
    double expected;
  };
  const char* p = AppSettings::kParameters;
  auto light = [](const AppSettings& s) { return s.text.lightFlags; };
  auto colour = [](const AppSettings& s) { return s.text.colour; };
  auto depth = [](const AppSettings& s) { return s.text.depth; };
  auto height = [](const AppSettings& s) { return s.text.height; };
  auto speed = [](const AppSettings& s) { return s.rotationSpeed; };
  auto background = [](const AppSettings& s) { return static_cast<double>(s.background); };
  const Case cases[] = {
      {p, "Light", "7", light, 3},                       // only two bits mean anything
      {p, "Color", "2130771712", colour, 0x00FF00},      // 0x7F00FF00: the top byte goes
      {p, "Depth", "-5", depth, 0.2},                    // read unsigned: far too deep
      {p, "Depth", "150", depth, 0.15},
      {p, "Depth", "0", depth, 0.2},                     // below the shallowest depth
      {p, "Height", "0", height, 1.0},                   // below the smallest height
      {p, "Height", "2000000000", height, 1.0},          // above the largest
      {p, "Height", "2500", height, 2.5},
      {p, "RotationSpeed", "7", speed, AppSettings::kFast},
      {p, "RotationSpeed", "-1", speed, AppSettings::kSlow},
      {p, "RotationSpeed", "1", speed, 1},
      {AppSettings::kView, "Background", "blue", background, RendererBinding::kDefaultBackground},
      {AppSettings::kView, "Background", "1056816", background, 0x102030},
  };
  for (const Case& c : cases) {
    ProfileScope scope;
    ASSERT_TRUE(scope.Settings().WriteString(c.section, c.key, c.stored));
    EXPECT_DOUBLE_EQ(c.read(ReadAppSettings(scope.Settings())), c.expected) << c.key << "=" << c.stored;
  }
}

TEST(AppSettings, WhatIsWrittenReadsBackAndEveryKeyIsThere) {
  ProfileScope scope;
  AppSettings written;
  written.text.colour = 0x123456;
  written.text.height = 2.5;
  written.text.depth = 0.4;
  written.text.lightFlags = 2;
  written.autoRotate = 1;
  written.rotationSpeed = AppSettings::kSlow;
  written.background = 0xFF00FF;
  written.toolBarDock = AppSettings::kDockLeft;
  written.toolBarVisible = false;
  written.statusBarVisible = false;
  std::string reason;
  ASSERT_TRUE(WriteAppSettings(scope.Settings(), written, &reason)) << reason;
  const AppSettings read = ReadAppSettings(scope.Settings());
  EXPECT_EQ(read.text.colour, written.text.colour);
  EXPECT_DOUBLE_EQ(read.text.height, written.text.height);
  EXPECT_DOUBLE_EQ(read.text.depth, written.text.depth);
  EXPECT_EQ(read.text.lightFlags, written.text.lightFlags);
  EXPECT_EQ(read.autoRotate, written.autoRotate);
  EXPECT_EQ(read.rotationSpeed, written.rotationSpeed);
  EXPECT_EQ(read.background, written.background);
  EXPECT_TRUE(read.toolBarKnown && read.statusBarKnown);
  EXPECT_EQ(read.toolBarDock, written.toolBarDock);
  EXPECT_EQ(read.toolBarVisible, written.toolBarVisible);
  EXPECT_EQ(read.statusBarVisible, written.statusBarVisible);
  for (const ProfileEntry& entry : AppSettingsEntries(written)) {
    EXPECT_EQ(scope.Settings().GetString(entry.section, entry.key, "missing"), entry.value) << entry.key;
  }
}

TEST(AppSettings, ClosingWritesTheTableAndKeepsOtherKeys) {
  ProfileScope scope;
  ASSERT_TRUE(scope.Settings().WriteInt("Other Owner", "Key", 5));
  ASSERT_TRUE(scope.Settings().WriteInt(AppSettings::kView, "Background", 0x0000FF));
  {
    AppWindow app;
    EXPECT_EQ(app.doc->Binding().Background(), 0x0000FFu);  // taken from the profile
    app.doc->Binding().SetBackground(0x00FF00);
    app.CloseAndDestroy();
  }
  EXPECT_EQ(scope.Settings().GetInt("Other Owner", "Key", 0), 5);
  EXPECT_EQ(scope.Settings().GetInt(AppSettings::kView, "Background", 0), 0x00FF00);
}

TEST(AppSettings, NoWindowNoWrite) {
  // Settings are written when the window closes, never by a destructor.
  ProfileScope scope;
  { AppWindow app; }
  EXPECT_FALSE(QFile::exists(scope.Path()));
}

TEST(AppSettings, FailedWriteAtCloseIsReported) {
  ProfileScope scope;
  ASSERT_TRUE(QDir().mkpath(scope.Path()));  // a directory where the file should be
  MessageRecorder recorder;
  AppWindow app;
  app.CloseAndDestroy();
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_TRUE(recorder.messages[0].text.startsWith("Can not save the settings to "));
  EXPECT_TRUE(recorder.messages[0].text.contains(scope.Path()));
}

}  // namespace
