// Loading a library by name or from a directory, looking symbols up, and the
// executable's own directory that the renderer library is searched in first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "SharedLibrary.h"

namespace fs = std::filesystem;

namespace {

using CosFunction = double (*)(double);

TEST(SharedLibraryLoading, SystemLibraryByBareNameGivesWorkingSymbols) {
  SharedLibrary lib;
  ASSERT_TRUE(lib.Open("libm.so.6")) << lib.LastError();
  auto cosine = lib.Get<CosFunction>("cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(lib.Symbol("NoSuchFunctionAnywhere"), nullptr);
}

TEST(SharedLibraryLoading, FailedOpenLeavesNothingLoaded) {
  // Not even the library that was open before.
  SharedLibrary lib;
  ASSERT_TRUE(lib.Open("libm.so.6"));
  EXPECT_FALSE(lib.Open("libGlyphkilnDoesNotExist.so"));
  EXPECT_FALSE(lib.IsOpen());
  EXPECT_FALSE(lib.LastError().empty());
  EXPECT_EQ(lib.Symbol("cos"), nullptr);
}

TEST(SharedLibraryLoading, MoveHandsOverOwnership) {
  SharedLibrary first;
  ASSERT_TRUE(first.Open("libm.so.6"));
  SharedLibrary second(std::move(first));
  EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move): moved-from state is defined
  EXPECT_NE(second.Symbol("cos"), nullptr);
  SharedLibrary third;
  third = std::move(second);
  EXPECT_NE(third.Symbol("cos"), nullptr);
}

class SharedLibraryBeside : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("glyphkiln-lib-" + std::to_string(getpid()));
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  fs::path m_dir;
};

TEST_F(SharedLibraryBeside, LibraryInTheDirectoryIsFoundUnderItsOwnName) {
  // A copy of the maths library under a name the system cannot resolve: it
  // loads only when the directory is searched.
  fs::path source;
  for (const char* candidate : {"/lib/x86_64-linux-gnu/libm.so.6", "/usr/lib/x86_64-linux-gnu/libm.so.6",
                                "/lib/aarch64-linux-gnu/libm.so.6", "/usr/lib/aarch64-linux-gnu/libm.so.6",
                                "/lib64/libm.so.6", "/usr/lib64/libm.so.6"}) {
    if (fs::exists(candidate)) {
      source = candidate;
      break;
    }
  }
  ASSERT_FALSE(source.empty()) << "no libm.so.6 found to copy";
  fs::copy_file(source, m_dir / "libGlyphkilnCopy.so");

  SharedLibrary lib;
  EXPECT_FALSE(lib.OpenBeside(fs::path(), "libGlyphkilnCopy.so"));
  ASSERT_TRUE(lib.OpenBeside(m_dir, "libGlyphkilnCopy.so")) << lib.LastError();
  EXPECT_NE(lib.Symbol("cos"), nullptr);
}

TEST_F(SharedLibraryBeside, EmptyDirectoryFallsBackToSearchPath) {
  SharedLibrary lib;
  EXPECT_TRUE(lib.OpenBeside(m_dir, "libm.so.6"));
  EXPECT_NE(lib.Symbol("cos"), nullptr);
}

TEST(ExecutableDirectory, IsTheDirectoryOfTheTestProgram) {
  EXPECT_EQ(fs::canonical(ExecutableDirectory()), fs::canonical(GLYPHKILN_BIN_DIR));
}

}  // namespace
