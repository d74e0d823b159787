// Saving a world: the target is replaced only by a complete file; a failure
// leaves the old file as it was, no temporary file behind, and says "Can not
// create file". Targets that are not regular files are written in place.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "SaveFile.h"
#include "TestVrmlTestText.h"

using namespace vrmltest;
namespace fs = std::filesystem;

namespace {

class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/glyphkiln-save-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  void WriteOld(const fs::path& path) { std::ofstream(path, std::ios::binary) << "old world\n"; }
  // Every entry of the directory but the named ones: temporary leftovers.
  std::vector<std::string> Others(std::initializer_list<std::string> expected) const {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
      const std::string name = entry.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) others.push_back(name);
    }
    return others;
  }

  fs::path m_dir;
};

const auto kWriteWorld = [](std::ostream& out) {
  WriteVrml(EmptyText(), out);
  return true;
};

}  // namespace

TEST_F(SaveFileTest, NewFileGetsTheWholeWorldAndUsualPermissions) {
  const fs::path target = m_dir / "g.wrl";
  std::string error;
  ASSERT_TRUE(SaveAtomically(target, kWriteWorld, &error)) << error;
  EXPECT_EQ(ReadFile(target), WorldOf(EmptyText()));
  EXPECT_TRUE(Others({"g.wrl"}).empty());
  const mode_t mask = umask(0);
  umask(mask);
  struct stat status {};
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
}

TEST_F(SaveFileTest, ExistingFileIsReplacedAndKeepsItsPermissions) {
  const fs::path target = m_dir / "out.wrl";
  WriteOld(target);
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_TRUE(SaveAtomically(target, kWriteWorld));
  EXPECT_EQ(ReadFile(target), WorldOf(EmptyText()));
  struct stat status {};
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  EXPECT_TRUE(Others({"out.wrl"}).empty());
}

TEST_F(SaveFileTest, WriterThatFailsLeavesTheOldFileAndNoTemporary) {
  const fs::path target = m_dir / "out.wrl";
  WriteOld(target);
  std::string error;
  EXPECT_FALSE(SaveAtomically(
      target,
      [](std::ostream& out) {
        out << "half a world";
        return false;
      },
      &error));
  EXPECT_EQ(error, "Can not create file");
  EXPECT_EQ(ReadFile(target), "old world\n");
  EXPECT_TRUE(Others({"out.wrl"}).empty());
}

TEST_F(SaveFileTest, DirectoryTargetOrMissingDirectoryIsRefused) {
  std::string error, reason;
  EXPECT_FALSE(SaveAtomically(m_dir, kWriteWorld, &error, &reason));
  EXPECT_EQ(error, "Can not create file");
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(fs::is_directory(m_dir));
  error.clear();
  EXPECT_FALSE(SaveAtomically(m_dir / "no such dir" / "g.wrl", kWriteWorld, &error));
  EXPECT_EQ(error, "Can not create file");
  EXPECT_TRUE(Others({}).empty());
}

TEST_F(SaveFileTest, FileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
  // In a child process, so the limit does not touch the test runner.
  const fs::path target = m_dir / "big.wrl";
  WriteOld(target);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool saved = SaveAtomically(
        target,
        [](std::ostream& out) {
          for (int k = 0; k < 100000; ++k) out << "0.0000 0.0000 0.0000,\r\n";
          return true;
        },
        &error);
    _exit(saved ? 10 : (error == "Can not create file" ? 0 : 11));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the save was killed instead of failing";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: reported success, 11: wrong message";
  EXPECT_EQ(ReadFile(target), "old world\n");
  EXPECT_TRUE(Others({"big.wrl"}).empty());
}

TEST_F(SaveFileTest, FullDeviceIsWrittenInPlaceAndTheFailureReported) {
  std::string error;
  EXPECT_FALSE(SaveAtomically("/dev/full", kWriteWorld, &error));
  EXPECT_EQ(error, "Can not create file");
  struct stat status {};
  ASSERT_EQ(stat("/dev/full", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode)) << "the device was replaced";
}

TEST_F(SaveFileTest, PipeIsWrittenDirectlyNotReplaced) {
  const fs::path fifo = m_dir / "pipe.wrl";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  const bool saved = SaveAtomically(fifo, kWriteWorld);
  reader.join();
  EXPECT_TRUE(saved);
  EXPECT_EQ(received, WorldOf(EmptyText()));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(Others({"pipe.wrl"}).empty());
}

TEST_F(SaveFileTest, SymbolicLinkKeepsPointingAtTheReplacedFile) {
  const fs::path real = m_dir / "real.wrl";
  const fs::path link = m_dir / "link.wrl";
  WriteOld(real);
  fs::create_symlink(real, link);
  ASSERT_TRUE(SaveAtomically(link, kWriteWorld));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), WorldOf(EmptyText()));
  EXPECT_TRUE(Others({"real.wrl", "link.wrl"}).empty());
}
