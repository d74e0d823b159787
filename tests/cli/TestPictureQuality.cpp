// glyphkiln's pictures beyond the examiner's frame: text fitted into any
// aspect with its margin, supersampled edges, transparent PNGs, and the
// turntable GIF as giflib, PIL and ImageMagick play it.
#include <dlfcn.h>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "RunGlyphkiln.h"

namespace fs = std::filesystem;

namespace {

struct Rgba {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // red, green, blue, alpha; top row first
  const unsigned char* At(int x, int y) const { return &pixels[static_cast<std::size_t>((y * width + x) * 4)]; }
  std::uint32_t Colour(int x, int y) const { return At(x, y)[0] << 16 | At(x, y)[1] << 8 | At(x, y)[2]; }
};

Rgba ReadPng(const fs::path& path) {
  Rgba picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << "libpng could not open " << path;
    return picture;
  }
  image.format = PNG_FORMAT_RGBA;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) ADD_FAILURE() << path;
  return picture;
}

struct PlayedGif {
  std::vector<Rgba> shown;  // the picture after each frame
  std::vector<int> delays;
  bool loops = false;
};

// Plays the GIF as a viewer does: each frame over the last, transparent
// pixels leaving the picture below.
PlayedGif PlayGif(const fs::path& path) {
  PlayedGif played;
  int error = 0;
  GifFileType* file = DGifOpenFileName(path.c_str(), &error);
  if (!file || DGifSlurp(file) != GIF_OK || !file->SColorMap) {
    ADD_FAILURE() << "giflib could not read " << path;
    if (file) DGifCloseFile(file, &error);
    return played;
  }
  Rgba canvas{file->SWidth, file->SHeight, std::vector<unsigned char>(static_cast<std::size_t>(file->SWidth * file->SHeight * 4), 0)};
  for (int i = 0; i < file->ImageCount; ++i) {
    const SavedImage& image = file->SavedImages[i];
    for (int e = 0; e < image.ExtensionBlockCount; ++e)
      played.loops = played.loops || (image.ExtensionBlocks[e].Function == APPLICATION_EXT_FUNC_CODE &&
                                      image.ExtensionBlocks[e].ByteCount == 11 &&
                                      std::string(reinterpret_cast<char*>(image.ExtensionBlocks[e].Bytes), 11) == "NETSCAPE2.0");
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(file, i, &control);
    played.delays.push_back(control.DelayTime);
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[y * d.Width + x];
        if (index == control.TransparentColor) continue;
        const GifColorType& c = file->SColorMap->Colors[index];
        unsigned char* p = &canvas.pixels[static_cast<std::size_t>(((d.Top + y) * canvas.width + d.Left + x) * 4)];
        p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
      }
    played.shown.push_back(canvas);
  }
  DGifCloseFile(file, &error);
  return played;
}

// Whether two pictures' pixels differ by no more than the renderer's 5-6-5
// rounding: two steps, as it cuts the base colour to 5-6-5 before shading.
bool WithinStep565(const Rgba& a, const Rgba& b, int x, int y) {
  const int step[3] = {16, 8, 16};
  for (int k = 0; k < 3; ++k)
    if (std::abs(a.At(x, y)[k] - b.At(x, y)[k]) > step[k]) return false;
  return true;
}

// The bounding box of the pixels that are not the background colour.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box LetterBox(const Rgba& picture, std::uint32_t background) {
  Box box;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (picture.Colour(x, y) != background) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      }
  return box;
}

// The largest view the renderer library beside glyphkiln draws.
std::pair<int, int> LibraryViewLimit() {
  void* library = dlopen((std::string(GLYPHKILN_BIN_DIR) + "/libRastel16.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return {0, 0};
  using Create = void* (*)();
  using Resize = void (*)(void*, int, int);
  using Size = void (*)(void*, int*, int*);
  using Destroy = void (*)(void*);
  auto create = reinterpret_cast<Create>(dlsym(library, "RenderCreateView"));
  auto resize = reinterpret_cast<Resize>(dlsym(library, "RenderResizeView"));
  auto size = reinterpret_cast<Size>(dlsym(library, "RenderGetViewSize"));
  auto destroy = reinterpret_cast<Destroy>(dlsym(library, "RenderDestroyView"));
  void* view = create();
  resize(view, 4096, 4096);
  int width = 0, height = 0;
  size(view, &width, &height);
  destroy(view);
  dlclose(library);
  return {width, height};
}

class PictureQuality : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("glyphkiln-quality-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  std::string File(const std::string& name) const { return (m_dir / name).string(); }
  void Draw(std::vector<std::string> args) {
    const CliRun run = RunGlyphkiln(args);
    ASSERT_EQ(run.status, 0) << run.err;
  }
  fs::path m_dir;
};

constexpr std::uint32_t kCyan = 0x00FFFF;

}  // namespace

TEST_F(PictureQuality, FittedTextKeepsItsMarginInEveryAspect) {
  struct Case {
    const char* size;
    const char* text;
    std::vector<std::string> more;
  };
  const Case cases[] = {
      {"320x600", "Wide text line", {}},
      {"800x120", "Hello, World!", {}},
      {"120x640", "Ig", {}},
      {"640x480", "Glyphkiln", {"--depth", "1.5", "--bevel-shape", "4"}},
      {"400x400", "gjpqy|ÀÉ", {"--pitch", "0.4"}},
      {"640x480", "Hello, World!", {"--yaw", "0.9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.size) + " " + c.text);
    std::vector<std::string> args{"--png", File("fit.png"), "--size", c.size, c.text};
    args.insert(args.end(), c.more.begin(), c.more.end());
    Draw(args);
    const Rgba picture = ReadPng(File("fit.png"));
    const double margin = 0.05 * std::min(picture.width, picture.height);
    const Box box = LetterBox(picture, kCyan);
    ASSERT_GE(box.right, 0) << "letters drawn";
    // Inside, with the margin less a pixel of rounding on every side...
    EXPECT_GE(box.left, margin - 1);
    EXPECT_GE(box.top, margin - 1);
    EXPECT_LE(box.right, picture.width - 1 - (margin - 1));
    EXPECT_LE(box.bottom, picture.height - 1 - (margin - 1));
    // ...and as large as that allows: reaching the margin on some side, give
    // or take a few pixels (perspective makes the far face smaller).
    const double slack = std::min({box.left - margin, box.top - margin, picture.width - 1 - margin - box.right,
                                   picture.height - 1 - margin - box.bottom});
    EXPECT_LT(slack, 0.02 * std::max(picture.width, picture.height));
  }
}

TEST_F(PictureQuality, ExaminerFramingIsTheDefaultPictureOfOld) {
  // The examiner's frame of a wide text cuts it off; the fitted one does not.
  Draw({"--png", File("examiner.png"), "--fit", "examiner", "--size", "320x600", "Wide text line"});
  Draw({"--png", File("again.png"), "--fit", "examiner", "--antialias", "1", "--size", "320x600", "Wide text line"});
  const Rgba examiner = ReadPng(File("examiner.png"));
  EXPECT_EQ(examiner.pixels, ReadPng(File("again.png")).pixels);
  const Box box = LetterBox(examiner, kCyan);
  EXPECT_TRUE(box.left == 0 || box.right == examiner.width - 1);
}

TEST_F(PictureQuality, SupersamplingSmoothsEdgesAndKeepsCoverage) {
  Draw({"--png", File("sharp.png"), "--size", "400x300", "--color", "ff0000", "AV"});
  Draw({"--png", File("smooth.png"), "--size", "400x300", "--color", "ff0000", "--antialias", "3", "AV"});
  const Rgba sharp = ReadPng(File("sharp.png"));
  const Rgba smooth = ReadPng(File("smooth.png"));
  ASSERT_EQ(sharp.width, smooth.width);
  ASSERT_EQ(sharp.height, smooth.height);
  std::set<std::uint32_t> sharpColours;
  for (int y = 0; y < sharp.height; ++y)
    for (int x = 0; x < sharp.width; ++x) sharpColours.insert(sharp.Colour(x, y));
  // Edge pixels: cyan mixed with the letters' red gives colours with green
  // above the letters' and below the background's; none of them in the
  // sharp picture.
  int mixed = 0, changed = 0, letters = 0, blended = 0;
  double sharpCover = 0, smoothCover = 0;
  for (int y = 0; y < smooth.height; ++y)
    for (int x = 0; x < smooth.width; ++x) {
      const std::uint32_t c = smooth.Colour(x, y);
      mixed += !sharpColours.count(c);
      changed += !WithinStep565(smooth, sharp, x, y);
      letters += sharp.Colour(x, y) != kCyan;
      blended += smooth.At(x, y)[1] > 60 && smooth.At(x, y)[1] < 200;
      sharpCover += 255 - sharp.At(x, y)[1];
      smoothCover += 255 - smooth.At(x, y)[1];
    }
  EXPECT_GT(mixed, 200) << "intermediate colours along the slanted edges";
  EXPECT_GT(blended, 100);
  EXPECT_LT(changed, letters) << "the letters' insides stay as they were, to the 5-6-5 rounding";
  EXPECT_NEAR(smoothCover / sharpCover, 1.0, 0.02) << "the box filter keeps how much the letters cover";
}

// Supersampled pictures take the faces' shades at 8 bits a channel: inside
// the letters each pixel is the renderer's own shade to within its rounding
// (the same light, the same faces lit), but the steps between the faces of
// a round bevel are finer than 5-6-5 pixels can be, so bevels show no bands.
TEST_F(PictureQuality, SupersampledFacesKeepTheirFullColour) {
  for (const char* colour : {"ff0000", "3060ff"}) {
    SCOPED_TRACE(colour);
    const std::vector<std::string> common = {"--size", "480x360", "--bevel-shape", "4", "--bevel-size", "2",
                                             "--color", colour, "--light", "back,left", "Os"};
    std::vector<std::string> sharpArgs = {"--png", File("sharp.png")}, fullArgs = {"--png", File("full.png"),
                                                                                  "--antialias", "2"};
    sharpArgs.insert(sharpArgs.end(), common.begin(), common.end());
    fullArgs.insert(fullArgs.end(), common.begin(), common.end());
    Draw(sharpArgs);
    Draw(fullArgs);
    const Rgba sharp = ReadPng(File("sharp.png"));
    const Rgba full = ReadPng(File("full.png"));
    ASSERT_EQ(sharp.width, full.width);
    int inside = 0, near = 0, offGrid = 0;
    std::set<std::uint32_t> sharpShades, fullShades;
    for (int y = 1; y + 1 < sharp.height; ++y)
      for (int x = 1; x + 1 < sharp.width; ++x) {
        // Inside a face: the sharp picture is one colour around the pixel.
        bool flat = sharp.Colour(x, y) != kCyan;
        for (int dy = -1; dy <= 1 && flat; ++dy)
          for (int dx = -1; dx <= 1 && flat; ++dx) flat = sharp.Colour(x + dx, y + dy) == sharp.Colour(x, y);
        if (!flat) continue;
        ++inside;
        near += WithinStep565(full, sharp, x, y);
        sharpShades.insert(sharp.Colour(x, y));
        fullShades.insert(full.Colour(x, y));
      }
    for (const std::uint32_t shade : fullShades) {
      // A 5-6-5 red widened to 8 bits repeats its top 3 bits.
      const unsigned red = shade >> 16;
      offGrid += red != ((red >> 3) << 3 | red >> 5);
    }
    ASSERT_GT(inside, 1000);
    EXPECT_GT(near, inside * 95 / 100) << "the same shading, to the 5-6-5 rounding";
    EXPECT_GT(offGrid, static_cast<int>(fullShades.size()) / 2) << "colours between the 5-6-5 steps";
    EXPECT_GT(fullShades.size(), sharpShades.size() * 3 / 2) << "finer steps across the bevel";
  }
}

TEST_F(PictureQuality, TransparentPngShowsOnlyTheLetters) {
  Draw({"--png", File("opaque.png"), "--size", "320x240", "Ab"});
  Draw({"--png", File("clear.png"), "--size", "320x240", "--transparent", "Ab"});
  Draw({"--png", File("soft.png"), "--size", "320x240", "--transparent", "--antialias", "2", "Ab"});
  const Rgba opaque = ReadPng(File("opaque.png"));
  const Rgba clear = ReadPng(File("clear.png"));
  const Rgba soft = ReadPng(File("soft.png"));
  int partial = 0;
  for (int y = 0; y < clear.height; ++y)
    for (int x = 0; x < clear.width; ++x) {
      const bool letter = opaque.Colour(x, y) != kCyan;
      ASSERT_EQ(clear.At(x, y)[3], letter ? 255 : 0) << x << "," << y;
      if (letter) {
        ASSERT_EQ(clear.Colour(x, y), opaque.Colour(x, y));
      }
      partial += soft.At(x, y)[3] > 0 && soft.At(x, y)[3] < 255;
    }
  EXPECT_GT(partial, 50) << "edges partly covered";
  EXPECT_EQ(soft.At(0, 0)[3], 0);
}

TEST_F(PictureQuality, PicturesGrowToTheRenderersLimit) {
  const auto [width, height] = LibraryViewLimit();
  ASSERT_GE(width, 800);
  ASSERT_GE(height, 600);
  Draw({"--png", File("big.png"), "--size", "1024x768", "Glyphkiln"});
  const Rgba big = ReadPng(File("big.png"));
  EXPECT_EQ(big.width, std::min(1024, width));
  EXPECT_EQ(big.height, std::min(768, height));
}

TEST_F(PictureQuality, TurntableLoopsOnceRoundAsEveryDecoderReadsIt) {
  Draw({"--gif", File("turn.gif"), "--turntable", "12", "--fps", "16", "--size", "320x240", "Glyphkiln"});
  const PlayedGif played = PlayGif(File("turn.gif"));
  ASSERT_EQ(played.shown.size(), 12u);
  EXPECT_TRUE(played.loops);
  int total = 0;
  for (int d : played.delays) total += d;
  EXPECT_EQ(total, 75) << "12 frames at 16 per second";
  // The background's colour exactly, in every frame.
  for (const Rgba& frame : played.shown) {
    EXPECT_EQ(frame.Colour(0, 0), kCyan);
    EXPECT_EQ(frame.Colour(frame.width - 1, frame.height - 1), kCyan);
  }
  // Once round: the step from the last frame back to the first is no larger
  // than the steps between frames.
  auto differ = [](const Rgba& a, const Rgba& b) {
    int n = 0;
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) n += a.Colour(x, y) != b.Colour(x, y);
    return n;
  };
  int largestStep = 0;
  for (std::size_t k = 1; k < played.shown.size(); ++k)
    largestStep = std::max(largestStep, differ(played.shown[k - 1], played.shown[k]));
  EXPECT_LE(differ(played.shown.back(), played.shown.front()), largestStep * 1.2);

  // PIL and ImageMagick see the same frames, loop and delays.
  const std::string pil =
      "/usr/bin/python3 -c \"from PIL import Image, ImageSequence; im = Image.open('" + File("turn.gif") +
      "'); print(im.n_frames, im.info.get('loop'), sum(f.info['duration'] for f in ImageSequence.Iterator(im)))\" > " +
      File("pil.txt");
  ASSERT_EQ(std::system(pil.c_str()), 0);
  EXPECT_EQ(ReadWhole(File("pil.txt")), "12 0 750\n");
  const std::string magick = "identify -format '%T,' " + File("turn.gif") + " > " + File("identify.txt");
  ASSERT_EQ(std::system(magick.c_str()), 0);
  std::string expected;
  for (int d : played.delays) expected += std::to_string(d) + ",";
  EXPECT_EQ(ReadWhole(File("identify.txt")), expected);
}

TEST_F(PictureQuality, TurntableFramesAreTheStillPicturesAtEvenTurns) {
  // With the cube palette each frame is dithered alone: frame k of 4 turns
  // is frame 2k of 8, and the first is the still GIF. (A fitted turntable
  // fits every turn it shows, so these keep the examiner's framing.)
  const std::vector<std::string> common{"--palette", "cube", "--fit", "examiner", "--size", "240x160", "o8e"};
  auto with = [&common](std::vector<std::string> args) {
    args.insert(args.end(), common.begin(), common.end());
    return args;
  };
  Draw(with({"--gif", File("four.gif"), "--turntable", "4"}));
  Draw(with({"--gif", File("eight.gif"), "--turntable", "8"}));
  Draw(with({"--gif", File("still.gif")}));
  const PlayedGif four = PlayGif(File("four.gif"));
  const PlayedGif eight = PlayGif(File("eight.gif"));
  const PlayedGif still = PlayGif(File("still.gif"));
  ASSERT_EQ(four.shown.size(), 4u);
  ASSERT_EQ(eight.shown.size(), 8u);
  ASSERT_EQ(still.shown.size(), 1u);
  EXPECT_EQ(four.shown[0].pixels, still.shown[0].pixels);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(four.shown[k].pixels, eight.shown[2 * k].pixels) << k;
  EXPECT_NE(four.shown[1].pixels, four.shown[0].pixels);
}

TEST_F(PictureQuality, PictureOptionsThatDoNotGoTogetherAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--turntable", "12", "--png", File("a.png"), "A"},
        {"--transparent", "--gif", File("a.gif"), "A"},
        {"--fit", "page", "--png", File("a.png"), "A"},
        {"--antialias", "9", "--png", File("a.png"), "A"},
        {"--antialias", "0", "--png", File("a.png"), "A"},
        {"--turntable", "0", "--gif", File("a.gif"), "A"},
        {"--fps", "0", "--turntable", "3", "--gif", File("a.gif"), "A"},
        {"--palette", "web", "--gif", File("a.gif"), "A"}}) {
    const CliRun run = RunGlyphkiln(args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_TRUE(fs::is_empty(m_dir));
}
