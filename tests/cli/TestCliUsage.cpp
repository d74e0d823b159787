// How glyphkiln answers bad and good command lines: exit statuses 0, 1, 2,
// a message on standard error, and never a crash.
#include <gtest/gtest.h>

#include "RunGlyphkiln.h"

namespace {

void ExpectUsageError(const std::vector<std::string>& args, const std::string& mention) {
  const CliRun run = RunGlyphkiln(args);
  EXPECT_EQ(run.status, 2) << mention;
  EXPECT_NE(run.err.find(mention), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty()) << run.out;
}

}  // namespace

TEST(CliUsage, HelpAndVersionSucceed) {
  const CliRun help = RunGlyphkiln({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--font", "--font-file", "--bold", "--italic", "--height",
                             "--dump-outline", "--dump-geometry", "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const CliRun version = RunGlyphkiln({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "glyphkiln 2.0\n");
}

TEST(CliUsage, UsageErrorsExitWithTwoAndSayWhatWasWrong) {
  ExpectUsageError({}, "missing TEXT");
  ExpectUsageError({"--dump-outline"}, "missing TEXT");
  ExpectUsageError({"--frobnicate", "a"}, "--frobnicate");
  ExpectUsageError({"a", "b"}, "one TEXT");
  ExpectUsageError({"a", "--font"}, "--font needs a value");
  ExpectUsageError({"--bold=yes", "a"}, "--bold takes no value");
  ExpectUsageError({"--font-file", "x.ttf", "--font", "Liberation Sans", "a"}, "--font-file");
  ExpectUsageError({"--dump-outline", "--dump-geometry", "a"}, "--dump-outline");
}

TEST(CliUsage, BadHeightsAreUsageErrors) {
  for (const char* bad : {"abc", "", "1.5x", "0", "0.0009", "-1", "nan", "inf", "1e999"}) {
    const CliRun run = RunGlyphkiln({"--height", bad, "a"});
    EXPECT_EQ(run.status, 2) << "'" << bad << "'";
    EXPECT_NE(run.err.find("--height"), std::string::npos) << run.err;
  }
  EXPECT_EQ(RunGlyphkiln({"--height=0.001", "--font", "Liberation Sans", "--dump-geometry", "a"}).status, 0);
}

TEST(CliUsage, FontsThatCannotBeFoundOrReadExitWithOne) {
  const CliRun unknown = RunGlyphkiln({"--font", "No Such Family Glyphkiln", "a"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("No Such Family Glyphkiln"), std::string::npos) << unknown.err;
  const CliRun missing = RunGlyphkiln({"--font-file", "/nonexistent/font.ttf", "a"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nonexistent/font.ttf"), std::string::npos) << missing.err;
  // A file that is there but is no font.
  const CliRun notFont =
      RunGlyphkiln({"--font-file", std::string(GLYPHKILN_TEST_DATA_DIR) + "/CMakeLists.txt", "a"});
  EXPECT_EQ(notFont.status, 1);
  EXPECT_FALSE(notFont.err.empty());
}

TEST(CliUsage, DoubleDashLetsTheTextStartWithADash) {
  const CliRun run = RunGlyphkiln({"--font", "Liberation Sans", "--dump-geometry", "--", "-x"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"text\":\"-x\""), std::string::npos) << run.out;
}

TEST(CliUsage, OutputThatCannotBeWrittenIsAFailure) {
  const CliRun run = RunGlyphkiln({"--font", "Liberation Sans", "--dump-outline", "Glyphkiln"}, "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}
