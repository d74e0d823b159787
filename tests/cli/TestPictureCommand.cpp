// glyphkiln --gif / --png run as a user would: the pictures read back by
// independent decoders, the options that shape them, and the failures.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // top row first

  const unsigned char* At(int x, int y) const { return &rgb[static_cast<std::size_t>((y * width + x) * 3)]; }
  bool IsLetter(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p[0] > 100 && p[0] > p[1] && p[0] > p[2];  // red dominates
  }
  double LetterShare() const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += IsLetter(x, y);
    return static_cast<double>(n) / (width * height);
  }
};

Picture ReadGif(const fs::path& path, std::vector<GifColorType>* table = nullptr) {
  Picture picture;
  int error = 0;
  GifFileType* file = DGifOpenFileName(path.c_str(), &error);
  if (!file) {
    ADD_FAILURE() << "giflib: " << GifErrorString(error);
    return picture;
  }
  if (DGifSlurp(file) != GIF_OK || file->ImageCount != 1 || !file->SColorMap) {
    ADD_FAILURE() << "giflib could not read " << path;
    DGifCloseFile(file, &error);
    return picture;
  }
  picture.width = file->SWidth;
  picture.height = file->SHeight;
  const ColorMapObject* map = file->SColorMap;
  if (table) table->assign(map->Colors, map->Colors + map->ColorCount);
  const GifByteType* pixels = file->SavedImages[0].RasterBits;
  for (int i = 0; i < picture.width * picture.height; ++i) {
    const GifColorType& c = map->Colors[pixels[i]];
    picture.rgb.insert(picture.rgb.end(), {c.Red, c.Green, c.Blue});
  }
  DGifCloseFile(file, &error);
  return picture;
}

Picture ReadPng(const fs::path& path) {
  Picture picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << "libpng could not open " << path;
    return picture;
  }
  image.format = PNG_FORMAT_RGB;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    ADD_FAILURE() << "libpng could not read " << path;
    picture.rgb.clear();
  }
  return picture;
}

class PictureCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("glyphkiln-cli-picture-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Runs the program in the scratch directory; returns its exit status and
  // keeps what it printed on standard error.
  int Run(const std::string& arguments, const fs::path& program = fs::path(GLYPHKILN_BIN_DIR) / "glyphkiln") {
    const std::string command = "cd '" + m_dir.string() + "' && '" + program.string() + "' " + arguments +
                                " >'" + (m_dir / "stdout.txt").string() + "' 2>'" +
                                (m_dir / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream err(m_dir / "stderr.txt");
    m_stderr.assign(std::istreambuf_iterator<char>(err), {});
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The files the run left, the captured output aside.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
      const std::string name = entry.path().filename().string();
      if (name != "stdout.txt" && name != "stderr.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path m_dir;
  std::string m_stderr;
};

TEST_F(PictureCommand, GifIsTheColourCubeWithRedLettersOnCyan) {
  ASSERT_EQ(Run("--gif out.gif Glyphkiln"), 0) << m_stderr;
  std::vector<GifColorType> table;
  const Picture gif = ReadGif(m_dir / "out.gif", &table);
  ASSERT_EQ(gif.width, 640);
  ASSERT_EQ(gif.height, 480);
  ASSERT_EQ(table.size(), 256u);
  for (int j = 0; j < 6; ++j) {
    const GifColorType& c = table[static_cast<std::size_t>(10 + 36 * j + 6 * (5 - j) + j % 3)];
    EXPECT_EQ(c.Red, 50 * j);
    EXPECT_EQ(c.Green, 50 * (5 - j));
    EXPECT_EQ(c.Blue, 50 * (j % 3));
  }
  // Cyan around the letters: no red in the corners, green and blue strong.
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{639, 0}, std::pair{0, 479}, std::pair{639, 479}}) {
    EXPECT_EQ(gif.At(x, y)[0], 0);
    EXPECT_GE(gif.At(x, y)[1], 200);
    EXPECT_GE(gif.At(x, y)[2], 100);
  }
  EXPECT_GT(gif.LetterShare(), 0.05);
  EXPECT_LT(gif.LetterShare(), 0.6);
  // Only the word written: no world unless -o asks for one.
  EXPECT_EQ(Files(), std::vector<std::string>{"out.gif"});
}

TEST_F(PictureCommand, PngIsTheSamePictureInFullColour) {
  ASSERT_EQ(Run("--gif out.gif --png out.png Glyphkiln"), 0) << m_stderr;
  const Picture png = ReadPng(m_dir / "out.png");
  const Picture gif = ReadGif(m_dir / "out.gif");
  ASSERT_EQ(png.width, 640);
  ASSERT_EQ(png.height, 480);
  EXPECT_EQ(png.At(0, 0)[0], 0);
  EXPECT_EQ(png.At(0, 0)[1], 255);
  EXPECT_EQ(png.At(0, 0)[2], 255);
  // The same letters in the same places: the dither only moves colours.
  int differ = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) differ += png.IsLetter(x, y) != gif.IsLetter(x, y);
  EXPECT_LT(differ, 640 * 480 / 100);
  EXPECT_GT(png.LetterShare(), 0.05);
}

TEST_F(PictureCommand, SizeBackgroundTurnAndZoomShapeThePicture) {
  ASSERT_EQ(Run("--png plain.png Glyphkiln"), 0) << m_stderr;
  ASSERT_EQ(Run("--size 1024x768 --background 000000 --png big.png Glyphkiln"), 0) << m_stderr;
  ASSERT_EQ(Run("--yaw 0.6 --pitch 0.3 --png turned.png Glyphkiln"), 0) << m_stderr;
  ASSERT_EQ(Run("--zoom 0.5 --png near.png Glyphkiln"), 0) << m_stderr;
  const Picture plain = ReadPng(m_dir / "plain.png");
  const Picture big = ReadPng(m_dir / "big.png");
  const Picture turned = ReadPng(m_dir / "turned.png");
  const Picture near = ReadPng(m_dir / "near.png");
  EXPECT_EQ(big.width, 1024);  // pictures beyond the desktop view's 800 x 600
  EXPECT_EQ(big.height, 768);
  EXPECT_EQ(big.At(0, 0)[0] + big.At(0, 0)[1] + big.At(0, 0)[2], 0);
  EXPECT_NE(turned.rgb, plain.rgb);
  EXPECT_GT(near.LetterShare(), plain.LetterShare() * 1.5);
}

TEST_F(PictureCommand, WorldIsWrittenOnlyWhenAskedFor) {
  ASSERT_EQ(Run("-o w.wrl --gif p.gif Ab"), 0) << m_stderr;
  EXPECT_EQ(Files(), (std::vector<std::string>{"p.gif", "w.wrl"}));
}

TEST_F(PictureCommand, BadPictureOptionsAreUsageErrors) {
  for (const char* args : {"--size 2x2 --gif a.gif A", "--size 640 --gif a.gif A", "--size x480 --gif a.gif A",
                           "--background 12345 --gif a.gif A", "--background gg0000 --gif a.gif A",
                           "--zoom 0 --gif a.gif A", "--yaw nan --gif a.gif A",
                           "--gif a.gif --dump-geometry A"}) {
    EXPECT_EQ(Run(args), 2) << args;
    EXPECT_FALSE(m_stderr.empty()) << args;
  }
  EXPECT_TRUE(Files().empty());
}

TEST_F(PictureCommand, FailedWriteSaysSoAndLeavesNothing) {
  EXPECT_EQ(Run("--gif missing/out.gif Glyphkiln"), 1);
  EXPECT_NE(m_stderr.find("Can not create file"), std::string::npos) << m_stderr;
  EXPECT_EQ(Run("--png missing/out.png Glyphkiln"), 1);
  EXPECT_NE(m_stderr.find("Can not create file"), std::string::npos) << m_stderr;
  EXPECT_TRUE(Files().empty());
  // A device that refuses the data: the error after the image data is
  // reported, not ignored.
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(Run("--gif /dev/full Glyphkiln"), 1);
    EXPECT_NE(m_stderr.find("Can not create file"), std::string::npos) << m_stderr;
  }
}

TEST_F(PictureCommand, WithoutTheRendererLibraryTheViewerCannotStart) {
  // A copy of the program in a directory without the library beside it, and
  // no search path that leads to one.
  const fs::path alone = m_dir / "alone";
  fs::create_directory(alone);
  fs::copy_file(fs::path(GLYPHKILN_BIN_DIR) / "glyphkiln", alone / "glyphkiln");
  unsetenv("LD_LIBRARY_PATH");
  EXPECT_EQ(Run("--gif out.gif Glyphkiln", alone / "glyphkiln"), 1);
  EXPECT_NE(m_stderr.find("Can not start 3D viewer"), std::string::npos) << m_stderr;
  EXPECT_FALSE(fs::exists(m_dir / "out.gif"));
}

// Two outputs on one file would leave only the last one written: a usage
// error before anything is built, however the path is spelt.
TEST_F(PictureCommand, OneFileForTwoOutputsIsAUsageError) {
  fs::create_directory(m_dir / "sub");
  fs::create_symlink("w.wrl", m_dir / "link.wrl");
  for (const char* args : {"-o x --gif x A", "-o x.png --png ./x.png A", "--gif a --png sub/../a A",
                           "-o link.wrl --gif w.wrl A", "-o w.wrl --png p.png --gif ./sub/../w.wrl A"}) {
    EXPECT_EQ(Run(args), 2) << args;
    EXPECT_NE(m_stderr.find("name the same file"), std::string::npos) << args << ": " << m_stderr;
  }
  EXPECT_EQ(Files(), (std::vector<std::string>{"link.wrl", "sub"}));
  // Standard output is no file.
  EXPECT_NE(Run("-o - --png - A"), 2) << m_stderr;
}

// A run whose outputs cannot all be written replaces none of them, says why
// the failing one failed as a single-output run would, and names the fate
// of each other output; no temporary file is left behind.
TEST_F(PictureCommand, OutputsAreReplacedAllOrNone) {
  fs::create_directory(m_dir / "dir.wrl");
  struct Case {
    const char* args;
    const char* failing;
  };
  for (const Case& c : {Case{"-o w.wrl --png p.png --gif missing/out.gif Glyphkiln", "missing/out.gif"},
                        Case{"-o w.wrl --png missing/out.png --gif p.gif Glyphkiln", "missing/out.png"},
                        Case{"-o dir.wrl --png p.png --gif p.gif Glyphkiln", "dir.wrl"}}) {
    for (const char* name : {"w.wrl", "p.png", "p.gif"}) std::ofstream(m_dir / name) << "old";
    EXPECT_EQ(Run(c.args), 1) << c.args;
    EXPECT_NE(m_stderr.find(std::string("'") + c.failing + "'"), std::string::npos) << m_stderr;
    for (const char* name : {"w.wrl", "p.png", "p.gif"}) {
      std::ifstream in(m_dir / name);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << c.args << ": " << name;
      const bool named = std::string(c.args).find(name) != std::string::npos;
      EXPECT_EQ(m_stderr.find(std::string("'") + name + "' was not written; the old file is kept") !=
                    std::string::npos,
                named)
          << c.args << ": " << m_stderr;
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"dir.wrl", "p.gif", "p.png", "w.wrl"})) << c.args;
  }
  // Alone, a failing output gives exactly the message it always gave.
  EXPECT_EQ(Run("--gif missing/out.gif Glyphkiln"), 1);
  EXPECT_EQ(m_stderr, "glyphkiln: Can not create file 'missing/out.gif'\n");
}

// An OBJ file and its material library are two outputs staged and committed
// with the others: a failure anywhere replaces neither, and each is named
// with its fate; on success the OBJ names the library's final file.
TEST_F(PictureCommand, ObjAndItsLibraryCommitWithTheOtherOutputs) {
  fs::create_directory(m_dir / "m.mtl");  // a library that cannot be replaced
  const char* const names[] = {"w.obj", "w.mtl", "m.obj", "p.png"};
  struct Case {
    const char* args;
    const char* failing;
  };
  for (const Case& c : {Case{"-o w.obj --png p.png --gif missing/out.gif Glyphkiln", "missing/out.gif"},
                        Case{"-o m.obj --png p.png Glyphkiln", "m.mtl"}}) {
    for (const char* name : names) std::ofstream(m_dir / name) << "old";
    EXPECT_EQ(Run(c.args), 1) << c.args;
    EXPECT_NE(m_stderr.find(std::string("'") + c.failing + "'"), std::string::npos) << m_stderr;
    for (const char* name : names) {
      std::ifstream in(m_dir / name);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << c.args << ": " << name;
    }
    const std::string other = std::string(c.args).find("w.obj") != std::string::npos ? "w.mtl" : "m.obj";
    EXPECT_NE(m_stderr.find("'" + other + "' was not written; the old file is kept"), std::string::npos)
        << c.args << ": " << m_stderr;
    EXPECT_EQ(Files(), (std::vector<std::string>{"m.mtl", "m.obj", "p.png", "w.mtl", "w.obj"})) << c.args;
  }
  ASSERT_EQ(Run("-o w.obj --png p.png Glyphkiln"), 0) << m_stderr;
  std::ifstream obj(m_dir / "w.obj"), mtl(m_dir / "w.mtl");
  const std::string objText(std::istreambuf_iterator<char>(obj), {}), mtlText(std::istreambuf_iterator<char>(mtl), {});
  EXPECT_NE(objText.find("mtllib w.mtl"), std::string::npos);
  EXPECT_NE(mtlText.find("newmtl"), std::string::npos);
  EXPECT_EQ(Files(), (std::vector<std::string>{"m.mtl", "m.obj", "p.png", "w.mtl", "w.obj"}));
}

// On success every output is replaced; a replaced file keeps its
// permissions and a link keeps pointing at the file it names.
TEST_F(PictureCommand, CommittedOutputsKeepModeAndLinks) {
  std::ofstream(m_dir / "p.png") << "old";
  fs::permissions(m_dir / "p.png", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::ofstream(m_dir / "real.gif") << "old";
  fs::create_symlink("real.gif", m_dir / "p.gif");
  ASSERT_EQ(Run("-o w.wrl --png p.png --gif p.gif Glyphkiln"), 0) << m_stderr;
  EXPECT_EQ(Files(), (std::vector<std::string>{"p.gif", "p.png", "real.gif", "w.wrl"}));
  EXPECT_TRUE(fs::is_symlink(m_dir / "p.gif"));
  EXPECT_EQ(fs::status(m_dir / "p.png").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(ReadPng(m_dir / "p.png").width, 640);
  EXPECT_EQ(ReadGif(m_dir / "real.gif").width, 640);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(m_dir / "w.wrl").permissions()), 0666 & ~mask);
}

}  // namespace
