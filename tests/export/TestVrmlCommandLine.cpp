// glyphkiln writing worlds: the default file, standard output, the options
// that shape the letters, refused values and failed writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestVrmlTestText.h"

namespace fs = std::filesystem;
using vrmltest::ReadFile;

namespace {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs glyphkiln in `directory` with the font given by file, so the tests do
// not depend on the machine's font configuration. `shellPrefix` runs before
// it in a shell (e.g. a ulimit).
RunResult RunGlyphkiln(const fs::path& directory, const std::vector<std::string>& args,
                       const std::string& shellPrefix = "") {
  std::string command = shellPrefix + " exec '" + std::string(GLYPHKILN_BIN_DIR) +
                        "/glyphkiln' --font-file '" GLYPHKILN_LIBERATION_SANS "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command = "cd '" + directory.string() + "' && " + command + " >.stdout 2>.stderr";
  RunResult result;
  const int status = std::system(command.c_str());
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile((directory / ".stdout").string());
  result.err = ReadFile((directory / ".stderr").string());
  fs::remove(directory / ".stdout");
  fs::remove(directory / ".stderr");
  return result;
}

// Reads a world back: per shape with coordinates, the number of point lines
// and the largest index used, and checks that every polygon ends with -1.
struct ShapeCounts {
  int points = 0;
  int declaredPoints = -1;
  int largestIndex = -1;
  int polygons = 0;
};

::testing::AssertionResult ReadBack(const std::string& world, std::vector<ShapeCounts>& shapes) {
  std::istringstream in(world);
  std::string line;
  static const std::regex point(R"(^-?\d+\.\d{4} -?\d+\.\d{4} -?\d+\.\d{4},\r$)");
  static const std::regex indices(R"(^(-?\d+,)+\r$)");
  static const std::regex declared(R"(^    \]\} # (\d+) points \(0 \.\. (-?\d+)\)\r$)");
  bool inPoints = false;
  while (std::getline(in, line)) {
    if (line.find("coord DEF Label_") != std::string::npos) {
      shapes.emplace_back();
    } else if (line == "     point [\r") {
      inPoints = true;
    } else if (inPoints && std::regex_match(line, point)) {
      ++shapes.back().points;
    } else if (std::smatch m; std::regex_match(line, m, declared)) {
      inPoints = false;
      shapes.back().declaredPoints = std::stoi(m[1]);
    } else if (!shapes.empty() && std::regex_match(line, indices)) {
      if (line.size() < 4 || line.compare(line.size() - 4, 4, "-1,\r") != 0) {
        return ::testing::AssertionFailure() << "polygon not ended by -1: " << line;
      }
      std::istringstream numbers(line);
      std::string number;
      while (std::getline(numbers, number, ',')) {
        if (number == "\r") break;
        const int index = std::stoi(number);
        if (index == -1) ++shapes.back().polygons;
        shapes.back().largestIndex = std::max(shapes.back().largestIndex, index);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class CommandLineWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/glyphkiln-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { fs::remove_all(m_dir); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir)) names.push_back(entry.path().filename());
    return names;
  }
  fs::path m_dir;
};

}  // namespace

TEST_F(CommandLineWorld, WithoutOutputOptionWritesGWrlHere) {
  const RunResult run = RunGlyphkiln(m_dir, {"Hi"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Entries(), std::vector<std::string>{"g.wrl"});
  const std::string world = ReadFile((m_dir / "g.wrl").string());
  EXPECT_EQ(world.rfind("#VRML V2.0 utf8 \r\n", 0), 0u);
  EXPECT_NE(world.find("  Shape{   #< H > (1/1) \r\n"), std::string::npos);
  EXPECT_NE(world.find("     diffuseColor 1.00 0.00 0.00\r\n"), std::string::npos);
  EXPECT_NE(world.find("  DirectionalLight {direction -0.50 0.20 -0.90}\r\n"), std::string::npos);
}

TEST_F(CommandLineWorld, DashWritesTheSameWorldToStandardOutput) {
  ASSERT_EQ(RunGlyphkiln(m_dir, {"-o", "file.wrl", "Kiln"}).status, 0);
  const RunResult run = RunGlyphkiln(m_dir, {"-o", "-", "Kiln"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, ReadFile((m_dir / "file.wrl").string()));
  EXPECT_EQ(Entries(), std::vector<std::string>{"file.wrl"});
}

TEST_F(CommandLineWorld, EveryBevelShapeGivesRingsOfConsistentSize) {
  const int steps[] = {0, 1, 2, 3, 7};
  for (int shape = 0; shape < 5; ++shape) {
    SCOPED_TRACE(shape);
    const RunResult run =
        RunGlyphkiln(m_dir, {"-o", "-", "--bevel-shape", std::to_string(shape), "--bevel-size", "2",
                             "Glyphkiln"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<ShapeCounts> shapes;
    ASSERT_TRUE(ReadBack(run.out, shapes));
    ASSERT_GE(shapes.size(), 9u);
    const int r = steps[shape] + 2;
    for (const ShapeCounts& s : shapes) {
      EXPECT_EQ(s.points, s.declaredPoints);
      EXPECT_EQ(s.points % r, 0) << "points are not whole columns of " << r << " rings";
      EXPECT_LT(s.largestIndex, s.points);
      // Front, back and one quad per band of every outline point.
      EXPECT_EQ(s.polygons, 2 + s.points / r * (r - 1));
    }
  }
}

TEST_F(CommandLineWorld, ColourLightDepthAndHeightReachTheWorld) {
  const RunResult run = RunGlyphkiln(
      m_dir, {"-o", "-", "--color", "00ff80", "--light", "back,left", "--depth", "0.5", "I"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("     diffuseColor 0.00 1.00 0.50\r\n"), std::string::npos);
  EXPECT_NE(run.out.find("  DirectionalLight {direction 0.50 0.20 0.90}\r\n"), std::string::npos);
  EXPECT_NE(run.out.find(" -0.5000,\r\n"), std::string::npos);
  EXPECT_EQ(run.out.find(" -0.2000,\r\n"), std::string::npos);

  // Twice the height: letters twice as tall, the depth as it was.
  const RunResult tall = RunGlyphkiln(m_dir, {"-o", "-", "--height", "2", "I"});
  const RunResult normal = RunGlyphkiln(m_dir, {"-o", "-", "I"});
  ASSERT_EQ(tall.status, 0);
  ASSERT_EQ(normal.status, 0);
  auto largestY = [](const std::string& world) {
    std::istringstream in(world);
    std::string line;
    double largest = 0;
    while (std::getline(in, line)) {
      double x, y, z;
      if (std::sscanf(line.c_str(), "%lf %lf %lf,", &x, &y, &z) == 3) largest = std::max(largest, y);
    }
    return largest;
  };
  EXPECT_NEAR(largestY(tall.out), 2 * largestY(normal.out), 0.001);
  EXPECT_NE(tall.out.find(" -0.2000,\r\n"), std::string::npos);
}

TEST_F(CommandLineWorld, BadValuesAreRefusedAndNothingIsWritten) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--depth", "0", "x"},
                                             {"--depth", "100.5", "x"},
                                             {"--bevel-shape", "5", "x"},
                                             {"--bevel-size", "3", "x"},
                                             {"--color", "ff00", "x"},
                                             {"--color", "fg0000", "x"},
                                             {"--light", "up,left", "x"},
                                             {"--light", "front", "x"},
                                             {"--height", "0.0001", "x"},
                                             {"-o", "x.wrl", "--dump-geometry", "x"}}) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const RunResult run = RunGlyphkiln(m_dir, args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("glyphkiln: "), std::string::npos);
    EXPECT_TRUE(Entries().empty());
  }
}

TEST_F(CommandLineWorld, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  std::ofstream(m_dir / "keep.wrl") << "old\n";
  struct Case {
    std::vector<std::string> args;
    std::string shellPrefix;
  };
  // A file-size limit far below the world's size, a directory that does not
  // exist, a directory as the target, and a full device.
  for (const Case& c : {Case{{"-o", "keep.wrl", "--bevel-shape", "4", "Glyphkiln"}, "ulimit -f 4;"},
                        Case{{"-o", "missing/dir/out.wrl", "A"}, ""}, Case{{"-o", ".", "A"}, ""},
                        Case{{"-o", "/dev/full", "A"}, ""}}) {
    SCOPED_TRACE(c.args[1]);
    const RunResult run = RunGlyphkiln(m_dir, c.args, c.shellPrefix);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Can not create file"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile((m_dir / "keep.wrl").string()), "old\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.wrl"});
  }
}
