// The settings kept between runs: what odd stored values are read as, that
// what is written reads back the same, and that closing the window writes
// the whole table once and says so when it cannot.
#include <QFile>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "RendererBinding.h"
#include "Windows1252.h"

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

// The stored text: plain Windows-1252 texts are kept as their bytes alone,
// any other text as a plain stand-in plus its escaped UTF-8, and every text
// reads back exactly.
TEST(AppSettings, StoredTextKeepsEveryCharacterAndPlainTextsAsTheirBytes) {
  struct Case {
    std::u32string text;
    const char* storedText;  // what Text holds
    bool needsUtf8;          // whether TextUtf8 carries the text
  };
  const Case cases[] = {
      {U"Glyphkiln", "Glyphkiln", false},
      {U"\u00C4pfel \u20AC", "\xC4pfel \x80", false},  // "Äpfel €": the code-page bytes
      {U"back\\slash = [x]; 100%", "back\\slash = [x]; 100%", false},
      {U"?", "?", false},
      {U"", "", false},
      {U"\u03A9\u03BB\u20AC \u0416", "??\x80 ?", true},  // "Ωλ€ Ж"
      {U"two\nlines", "two lines", true},
      {U"crlf\r\nend\t", "crlf? end?", true},
      {U"  padded ", "padded", true},
      {U"\u6F22\\n", "?\\n", true},  // a literal backslash and n, not a line break
      {U"\U0001F600", "?", true},
  };
  for (const Case& c : cases) {
    ProfileScope scope;
    AppSettings written;
    written.characters = c.text;
    ASSERT_TRUE(WriteAppSettings(scope.Settings(), written));
    const std::string label = CodePointsToUtf8(c.text);
    EXPECT_EQ(scope.Settings().GetString(AppSettings::kParameters, "Text", "missing"), c.storedText) << label;
    const std::string utf8 = scope.Settings().GetString(AppSettings::kParameters, "TextUtf8", "missing");
    EXPECT_EQ(!utf8.empty(), c.needsUtf8) << label;
    const AppSettings read = ReadAppSettings(scope.Settings());
    ASSERT_TRUE(read.characters.has_value()) << label;
    EXPECT_EQ(*read.characters, c.text) << label;
    if (!c.needsUtf8) {
      EXPECT_EQ(LetterBytes(c.text), c.storedText) << "a plain text is stored as its letter bytes";
    }
  }
}

TEST(AppSettings, StoredTextIsReadFromTextWhenTextUtf8DoesNotMatchIt) {
  struct Case {
    const char* text;
    const char* textUtf8;  // null: no such key
    std::u32string read;
  };
  const Case cases[] = {
      {"Hello", nullptr, U"Hello"},                  // a profile with the one key
      {"\xC4pfel", "", U"\u00C4pfel"},
      {"??", "\xCE\xA9\xCE\xBB", U"\u03A9\u03BB"},   // "Ωλ"
      {"Hallo", "\xCE\xA9\xCE\xBB", U"Hallo"},       // Text changed by hand: the stale UTF-8 form is ignored
      {"?", "\\q", U"?"},                            // unknown escape
      {"?", "\\xC3", U"?"},                          // an escape may not make half a UTF-8 sequence
      {"?", "\\x4", U"?"},                           // cut short
      {"?", "\xC3", U"?"},                           // not UTF-8
      {"a b", "a\\nb", U"a\nb"},
  };
  for (const Case& c : cases) {
    ProfileScope scope;
    ASSERT_TRUE(scope.Settings().WriteString(AppSettings::kParameters, "Text", c.text));
    if (c.textUtf8) {
      ASSERT_TRUE(scope.Settings().WriteString(AppSettings::kParameters, "TextUtf8", c.textUtf8));
    }
    const AppSettings read = ReadAppSettings(scope.Settings());
    ASSERT_TRUE(read.characters.has_value()) << c.text;
    EXPECT_EQ(*read.characters, c.read) << c.text << " / " << (c.textUtf8 ? c.textUtf8 : "-");
  }
  ProfileScope withoutText;
  ASSERT_TRUE(withoutText.Settings().WriteString(AppSettings::kParameters, "TextUtf8", "x"));
  EXPECT_FALSE(ReadAppSettings(withoutText.Settings()).characters.has_value());
}

TEST(AppSettings, TextAndItsOptionsAreWrittenOnlyOnceChosen) {
  // Untouched, the table is the one the profile always had.
  const AppSettings untouched;
  for (const ProfileEntry& entry : AppSettingsEntries(untouched)) {
    for (const char* key : {"Text", "TextUtf8", "Align", "Kerning", "FontFallback"}) EXPECT_NE(entry.key, key);
  }
  struct Case {
    const char* align;
    const char* kerning;
    const char* fallback;
    TextOptions read;
  };
  const Case cases[] = {
      {"centre", nullptr, nullptr, {LineAlign::Centre, false, false}},
      {"right", "1", "0", {LineAlign::Right, true, false}},
      {"middle", "0", "1", {LineAlign::Left, false, true}},  // an unknown alignment reads as left
      {nullptr, "1", nullptr, {LineAlign::Left, true, false}},
  };
  for (const Case& c : cases) {
    ProfileScope scope;
    const char* p = AppSettings::kParameters;
    if (c.align) {
      ASSERT_TRUE(scope.Settings().WriteString(p, "Align", c.align));
    }
    if (c.kerning) {
      ASSERT_TRUE(scope.Settings().WriteString(p, "Kerning", c.kerning));
    }
    if (c.fallback) {
      ASSERT_TRUE(scope.Settings().WriteString(p, "FontFallback", c.fallback));
    }
    const AppSettings read = ReadAppSettings(scope.Settings());
    ASSERT_TRUE(read.textOptions.has_value());
    EXPECT_EQ(*read.textOptions, c.read) << (c.align ? c.align : "-");
    // Once held, they are written back as read.
    ProfileScope again;
    ASSERT_TRUE(WriteAppSettings(again.Settings(), read));
    EXPECT_EQ(ReadAppSettings(again.Settings()).textOptions, read.textOptions);
  }
}

}  // namespace
