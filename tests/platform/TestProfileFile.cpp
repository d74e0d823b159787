// The settings file: defaults when it is missing or malformed, other owners'
// keys kept across writes, atomic replacement, and the environment override.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Profile.h"

namespace fs = std::filesystem;

namespace {

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("glyphkiln-profile-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    m_path = m_dir / "zarn.ini";
  }
  void TearDown() override { fs::remove_all(m_dir); }

  void WriteText(const std::string& text) {
    std::ofstream(m_path, std::ios::binary) << text;
  }
  std::string ReadText() const {
    std::ifstream in(m_path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  fs::path m_dir;
  fs::path m_path;
};

TEST_F(ProfileFile, MissingFileGivesDefaults) {
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("3D View", "Background", 0xFFFF00), 0xFFFF00);
  EXPECT_EQ(profile.GetString("ZARN Parameters", "Font", "Arial"), "Arial");
  EXPECT_FALSE(fs::exists(m_path));  // reading never creates the file
}

TEST_F(ProfileFile, WrittenValuesReadBackAcrossInstances) {
  ASSERT_TRUE(Profile(m_path).WriteInt("3D View", "Background", 0x123456));
  ASSERT_TRUE(Profile(m_path).WriteInt("ZARN Parameters", "Light", -3));
  ASSERT_TRUE(Profile(m_path).WriteString("ZARN Parameters", "Font", "DejaVu Sans"));
  Profile again(m_path);
  EXPECT_EQ(again.GetInt("3D View", "Background", 0), 0x123456);
  EXPECT_EQ(again.GetInt("ZARN Parameters", "Light", 0), -3);
  EXPECT_EQ(again.GetString("ZARN Parameters", "Font", ""), "DejaVu Sans");
}

TEST_F(ProfileFile, MissingParentDirectoryIsCreatedOnWrite) {
  Profile profile(m_dir / "a" / "b" / "zarn.ini");
  ASSERT_TRUE(profile.WriteInt("3D View", "Background", 7));
  EXPECT_EQ(profile.GetInt("3D View", "Background", 0), 7);
}

TEST_F(ProfileFile, SectionNamesAreLiteralAndDistinct) {
  // A key of the same name in another section must not be picked up.
  WriteText("[ZARN Parameters]\nBackground=1\n[3D View]\nBackground=2\n");
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("3D View", "Background", 0), 2);
  EXPECT_EQ(profile.GetInt("ZARN Parameters", "Background", 0), 1);
  EXPECT_EQ(profile.GetInt("3D", "Background", 9), 9);
  EXPECT_EQ(profile.GetInt("View", "Background", 9), 9);
}

TEST_F(ProfileFile, NamesCompareWithoutCaseAndWhitespace) {
  WriteText("  [ 3d view ]  \r\n  background  =  42  \r\n");
  EXPECT_EQ(Profile(m_path).GetInt("3D View", "Background", 0), 42);
}

TEST_F(ProfileFile, MalformedValuesGiveDefaults) {
  WriteText(
      "[S]\n"
      "Text=abc\n"
      "Trailing=12abc\n"
      "Empty=\n"
      "TooBig=99999999999\n"
      "TooSmall=-99999999999\n"
      "Spaces=1 2\n");
  Profile profile(m_path);
  for (const char* key : {"Text", "Trailing", "Empty", "TooBig", "TooSmall", "Spaces"}) {
    EXPECT_EQ(profile.GetInt("S", key, 77), 77) << key;
  }
}

TEST_F(ProfileFile, UnsignedColourValuesWrapIntoInt) {
  WriteText("[S]\nA=4294967295\nB=+5\nC=-2147483648\n");
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("S", "A", 0), -1);
  EXPECT_EQ(profile.GetInt("S", "B", 0), 5);
  EXPECT_EQ(profile.GetInt("S", "C", 0), INT32_MIN);
}

TEST_F(ProfileFile, MalformedLinesAreSkippedAndKeptOnWrite) {
  const std::string junk = "this line has no equals sign";
  WriteText("garbage before any section=1\n[S]\n" + junk + "\n; comment=5\n=7\nA=1\n[broken\nB=2\n");
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("S", "A", 0), 1);
  EXPECT_EQ(profile.GetInt("S", "comment", 0), 0);
  EXPECT_EQ(profile.GetInt("S", "garbage before any section", 0), 0);
  // "[broken" is not a header, so B still belongs to [S].
  EXPECT_EQ(profile.GetInt("S", "B", 0), 2);

  ASSERT_TRUE(profile.WriteInt("S", "A", 3));
  const std::string text = ReadText();
  EXPECT_NE(text.find(junk), std::string::npos);
  EXPECT_NE(text.find("; comment=5"), std::string::npos);
  EXPECT_EQ(profile.GetInt("S", "A", 0), 3);
  EXPECT_EQ(profile.GetInt("S", "B", 0), 2);
}

TEST_F(ProfileFile, WritesKeepOtherOwnersKeys) {
  // Two owners with their own Profile objects on the same file: each write
  // re-reads the file, so neither loses the other's keys.
  Profile view(m_path);
  Profile frame(m_path);
  ASSERT_TRUE(view.WriteInt("3D View", "Background", 1));
  ASSERT_TRUE(frame.WriteInt("ZARN Parameters", "Color", 255));
  ASSERT_TRUE(view.WriteInt("3D View", "RotationSpeed", 2));
  ASSERT_TRUE(frame.WriteInt("ZARN Parameters", "Color", 128));
  EXPECT_EQ(view.GetInt("3D View", "Background", 0), 1);
  EXPECT_EQ(view.GetInt("3D View", "RotationSpeed", 0), 2);
  EXPECT_EQ(view.GetInt("ZARN Parameters", "Color", 0), 128);
  // The replaced key appears once, not once per write.
  const std::string text = ReadText();
  EXPECT_EQ(text.find("Color="), text.rfind("Color="));
}

TEST_F(ProfileFile, FirstOfDuplicateKeysWinsAndIsTheOneReplaced) {
  WriteText("[S]\nA=1\nA=2\n");
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("S", "A", 0), 1);
  ASSERT_TRUE(profile.WriteInt("S", "A", 5));
  EXPECT_EQ(profile.GetInt("S", "A", 0), 5);
}

TEST_F(ProfileFile, WriteLeavesNoTemporaryFiles) {
  Profile profile(m_path);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(profile.WriteInt("S", "K" + std::to_string(i), i));
  int files = 0;
  for (const auto& entry : fs::directory_iterator(m_dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(ProfileFile, FailedWriteLeavesOldFileUntouched) {
  if (geteuid() == 0) {
    // root ignores directory permissions; use a path whose parent is a file.
    WriteText("[S]\nA=1\n");
    Profile blocked(m_path / "child.ini");
    EXPECT_FALSE(blocked.WriteInt("S", "A", 2));
    EXPECT_EQ(Profile(m_path).GetInt("S", "A", 0), 1);
    return;
  }
  WriteText("[S]\nA=1\n");
  ASSERT_EQ(chmod(m_dir.c_str(), 0500), 0);
  EXPECT_FALSE(Profile(m_path).WriteInt("S", "A", 2));
  chmod(m_dir.c_str(), 0700);
  EXPECT_EQ(Profile(m_path).GetInt("S", "A", 0), 1);
}

TEST_F(ProfileFile, UnreadableFileIsNotOverwritten) {
  // A directory in the file's place cannot be read; writing must not
  // replace it with a file holding only the new key.
  fs::create_directories(m_path);
  Profile profile(m_path);
  EXPECT_EQ(profile.GetInt("S", "A", 4), 4);
  EXPECT_FALSE(profile.WriteInt("S", "A", 2));
  EXPECT_TRUE(fs::is_directory(m_path));
}

TEST_F(ProfileFile, TextThatWouldInjectLinesIsRefused) {
  Profile profile(m_path);
  EXPECT_FALSE(profile.WriteString("S", "A", "1\n[Other]\nB=2"));
  EXPECT_FALSE(profile.WriteString("S\n", "A", "1"));
  EXPECT_FALSE(profile.WriteString("S]", "A", "1"));
  EXPECT_FALSE(profile.WriteString("S", "A=B", "1"));
  EXPECT_FALSE(profile.WriteString("S", "", "1"));
  EXPECT_EQ(profile.GetInt("Other", "B", 0), 0);
  EXPECT_FALSE(fs::exists(m_path));
}

// Writes go through the program's one atomic write: the file keeps its
// permissions, a link keeps pointing at the real file, which is the one
// updated, and any name the file system accepts can be written.
TEST_F(ProfileFile, WritesKeepModeLinksAndLongNames) {
  struct Case {
    const char* what;
    mode_t mode;        // of the existing file
    bool viaLink;       // the profile path is a symbolic link to it
    std::size_t nameLength;
  };
  const Case cases[] = {
      {"private file", 0600, false, 8},
      {"group-readable file", 0640, false, 8},
      {"linked file", 0600, true, 8},
      {"name of 250 bytes", 0644, false, 250},
      {"name of 255 bytes behind a link", 0600, true, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path real = m_dir / std::string(c.nameLength, 'r');
    std::ofstream(real, std::ios::binary) << "[S]\nA=1\n";
    ASSERT_EQ(chmod(real.c_str(), c.mode), 0);
    fs::path named = real;
    if (c.viaLink) {
      named = m_dir / "link.ini";
      fs::create_symlink(real.filename(), named);
    }
    std::string reason;
    ASSERT_TRUE(Profile(named).WriteAll({{"S", "A", "2"}, {"T", "B", "3"}}, &reason)) << reason;
    EXPECT_EQ(Profile(real).GetInt("S", "A", 0), 2);
    EXPECT_EQ(Profile(named).GetInt("T", "B", 0), 3);
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    EXPECT_EQ(fs::is_symlink(fs::symlink_status(named)), c.viaLink);
    // Nothing but the file (and the link) is left in the directory.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(m_dir)) files += entry.path() != m_path ? 1 : 0;
    EXPECT_EQ(files, c.viaLink ? 2 : 1);
    fs::remove(named);
    fs::remove(real);
  }
}

// One write of many entries gives the same file as the single writes did,
// whatever the file held before.
TEST_F(ProfileFile, WriteAllEqualsTheSingleWritesInOrder) {
  const std::vector<ProfileEntry> entries = {
      {"Layouts-Summary", "Bars", "2"}, {"ZARN Parameters", "Light", "1"},
      {"ZARN Parameters", "Color", "255"}, {"3D View", "Background", "16776960"},
      {"zarn parameters", "light", "3"}};
  const std::string starts[] = {
      "",
      "[3D View]\nBackground=1\n; kept\n[Other]\nX=1\n",
      "junk line\n[ZARN Parameters]\nColor = 9\nHeight=1000\n\n[Layouts-Summary]\nBars=7\n",
  };
  for (const std::string& start : starts) {
    WriteText(start);
    for (const ProfileEntry& e : entries) ASSERT_TRUE(Profile(m_path).WriteString(e.section, e.key, e.value));
    const std::string single = ReadText();
    WriteText(start);
    ASSERT_TRUE(Profile(m_path).WriteAll(entries));
    EXPECT_EQ(ReadText(), single) << start;
  }
}

TEST_F(ProfileFile, FailedWriteAllSaysWhy) {
  fs::create_directories(m_path);  // a directory where the file should be
  std::string reason;
  EXPECT_FALSE(Profile(m_path).WriteAll({{"S", "A", "1"}}, &reason));
  EXPECT_FALSE(reason.empty());
  reason.clear();
  EXPECT_FALSE(Profile(m_dir / "x.ini").WriteAll({{"S", "A\n", "1"}}, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(fs::exists(m_dir / "x.ini"));
}

class ProfileEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    Save("GLYPHKILN_PROFILE", m_profile);
    Save("XDG_CONFIG_HOME", m_xdg);
    Save("HOME", m_home);
  }
  void TearDown() override {
    Restore("GLYPHKILN_PROFILE", m_profile);
    Restore("XDG_CONFIG_HOME", m_xdg);
    Restore("HOME", m_home);
  }
  static void Save(const char* name, std::optional<std::string>& slot) {
    if (const char* v = std::getenv(name)) slot = v;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot) setenv(name, slot->c_str(), 1);
    else unsetenv(name);
  }
  std::optional<std::string> m_profile, m_xdg, m_home;
};

TEST_F(ProfileEnvironment, NamedFileWinsOverConfigDirectory) {
  setenv("GLYPHKILN_PROFILE", "/tmp/elsewhere/test.ini", 1);
  setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(Profile::DefaultPath(), fs::path("/tmp/elsewhere/test.ini"));
  EXPECT_EQ(Profile().Path(), fs::path("/tmp/elsewhere/test.ini"));
}

TEST_F(ProfileEnvironment, ConfigDirectoryAndHomeFallback) {
  unsetenv("GLYPHKILN_PROFILE");
  setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(Profile::DefaultPath(), fs::path("/tmp/xdg/glyphkiln/zarn.ini"));
  setenv("GLYPHKILN_PROFILE", "", 1);  // empty counts as unset
  EXPECT_EQ(Profile::DefaultPath(), fs::path("/tmp/xdg/glyphkiln/zarn.ini"));
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(Profile::DefaultPath(), fs::path("/home/someone/.config/glyphkiln/zarn.ini"));
  setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
  EXPECT_EQ(Profile::DefaultPath(), fs::path("/home/someone/.config/glyphkiln/zarn.ini"));
}

}  // namespace
