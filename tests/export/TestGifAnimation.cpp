// Animated GIFs read back by giflib and played the way a viewer plays them
// (each frame drawn over the last, transparent pixels leaving it showing):
// every shown picture must be the frame that was given, with its delay, and
// the stream must ask viewers to loop.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <sstream>

#include "GifAnimation.h"

namespace {

struct PlayedGif {
  std::vector<std::vector<std::uint8_t>> shown;  // the picture after each frame, as indices
  std::vector<int> delays;
  int loopCount = -1;  // -1: no NETSCAPE2.0 extension
  int storedPixels = 0;  // in the frames after the first
};

int ReadFromString(GifFileType* file, GifByteType* bytes, int length) {
  auto* in = static_cast<std::istringstream*>(file->UserData);
  in->read(reinterpret_cast<char*>(bytes), length);
  return static_cast<int>(in->gcount());
}

PlayedGif Play(const std::string& stream) {
  PlayedGif played;
  std::istringstream in(stream);
  int error = 0;
  GifFileType* file = DGifOpen(&in, ReadFromString, &error);
  if (!file || DGifSlurp(file) != GIF_OK) {
    ADD_FAILURE() << "giflib: " << GifErrorString(file ? file->Error : error);
    if (file) DGifCloseFile(file, &error);
    return played;
  }
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(file->SWidth * file->SHeight), 0);
  for (int i = 0; i < file->ImageCount; ++i) {
    const SavedImage& image = file->SavedImages[i];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(file, i, &control);
    played.delays.push_back(control.DelayTime);
    for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = image.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0") {
        const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
        played.loopCount = data.Bytes[1] | data.Bytes[2] << 8;
      }
    }
    const GifImageDesc& d = image.ImageDesc;
    if (i > 0) played.storedPixels += d.Width * d.Height;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const std::uint8_t index = image.RasterBits[y * d.Width + x];
        if (index != control.TransparentColor)
          canvas[static_cast<std::size_t>((d.Top + y) * file->SWidth + d.Left + x)] = index;
      }
    played.shown.push_back(canvas);
  }
  DGifCloseFile(file, &error);
  return played;
}

// A square of colour `k % colours` that moves across a background of
// colour 0, so that consecutive frames differ in a small rectangle.
GifAnimation MovingSquare(int width, int height, int frames, int colours, bool still = false) {
  GifAnimation animation;
  animation.width = width;
  animation.height = height;
  animation.colourCount = colours;
  for (int i = 0; i < 3 * colours; ++i) animation.colours[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
  for (int k = 0; k < frames; ++k) {
    GifAnimation::Frame frame{std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 0), 3 + k};
    const int left = still ? 2 : (5 * k) % (width - 6);
    for (int y = 3; y < 9; ++y)
      for (int x = left; x < left + 6; ++x)
        frame.indices[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(1 + k % (colours - 1));
    animation.frames.push_back(std::move(frame));
  }
  return animation;
}

std::string Write(const GifAnimation& animation) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteGifAnimation(animation, out));
  return out.str();
}

}  // namespace

TEST(GifAnimation, ViewersShowEveryFrameAsGivenWithItsDelayAndLoop) {
  struct Case {
    const char* name;
    GifAnimation animation;
  };
  GifAnimation fullTable = MovingSquare(40, 12, 4, 256);
  // Every index in use: no index is left for transparency.
  for (int i = 0; i < 256; ++i) fullTable.frames[0].indices[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  GifAnimation whole = MovingSquare(33, 17, 5, 3);
  whole.wholeFrames = true;
  GifAnimation looped = MovingSquare(20, 12, 3, 4);
  looped.loopCount = 7;
  const Case cases[] = {
      {"moving square, few colours", MovingSquare(48, 16, 9, 5)},
      {"nothing changes between frames", MovingSquare(20, 12, 4, 2, true)},
      {"all 256 indices used", fullTable},
      {"whole frames", whole},
      {"counted loop", looped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlayedGif played = Play(Write(c.animation));
    ASSERT_EQ(played.shown.size(), c.animation.frames.size());
    for (std::size_t k = 0; k < played.shown.size(); ++k) {
      EXPECT_EQ(played.shown[k], c.animation.frames[k].indices) << "frame " << k;
      EXPECT_EQ(played.delays[k], c.animation.frames[k].delayCentiseconds) << "frame " << k;
    }
    EXPECT_EQ(played.loopCount, c.animation.loopCount);
    const int whole = c.animation.width * c.animation.height * static_cast<int>(c.animation.frames.size() - 1);
    if (c.animation.wholeFrames)
      EXPECT_EQ(played.storedPixels, whole);
    else
      EXPECT_LT(played.storedPixels, whole / 2) << "only the changed rectangles are stored";
  }
}

TEST(GifAnimation, UnwritableAnimationsAreRefused) {
  GifAnimation wrongSize = MovingSquare(20, 12, 2, 3);
  wrongSize.frames[1].indices.pop_back();
  GifAnimation noFrames = MovingSquare(20, 12, 0, 3);
  GifAnimation noColours = MovingSquare(20, 12, 2, 3);
  noColours.colourCount = 0;
  for (const GifAnimation* a : {&wrongSize, &noFrames, &noColours}) {
    std::ostringstream out;
    EXPECT_FALSE(WriteGifAnimation(*a, out));
  }
}

TEST(GifAnimation, DelaysAddUpToTheAnimationsLength) {
  for (const auto& [frames, fps] : {std::pair{36, 20.0}, {7, 3.0}, {24, 30.0}, {10, 50.0}, {1, 0.5}, {100, 7.0}}) {
    const std::vector<int> delays = FrameDelays(frames, fps);
    ASSERT_EQ(delays.size(), static_cast<std::size_t>(frames));
    const int total = std::accumulate(delays.begin(), delays.end(), 0);
    EXPECT_EQ(total, std::lround(100.0 * frames / fps)) << frames << " at " << fps;
    const auto [low, high] = std::minmax_element(delays.begin(), delays.end());
    EXPECT_GE(*low, 1);
    EXPECT_LE(*high - *low, 1) << "even pacing";
  }
}

TEST(GifAnimation, ChangedRectangleIsTheTightBoxOfTheDifferences) {
  std::mt19937 random(7);
  const int width = 31, height = 19;
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<std::uint8_t> before(width * height), after;
    for (auto& p : before) p = static_cast<std::uint8_t>(random() % 4);
    after = before;
    const int changes = static_cast<int>(random() % 4);
    for (int n = 0; n < changes; ++n) after[random() % after.size()] ^= 1;
    const ChangedRectangle r = FindChangedRectangle(before, after, width, height);
    int minX = width, maxX = -1, minY = height, maxY = -1;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (before[y * width + x] != after[y * width + x]) {
          minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    if (maxX < 0) {
      EXPECT_EQ(r.width, 0);
      continue;
    }
    EXPECT_EQ(r.left, minX);
    EXPECT_EQ(r.top, minY);
    EXPECT_EQ(r.width, maxX - minX + 1);
    EXPECT_EQ(r.height, maxY - minY + 1);
  }
}
