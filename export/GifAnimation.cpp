// The GIF89a animation stream: header, global table, loop extension, then
// per frame a graphic control extension and the image of its changed
// rectangle.
#include "GifAnimation.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "GifImage.h"
#include "GifWriter.h"

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
// Disposal "do not dispose": the next frame is drawn over this one.
constexpr int kDisposalLeaveInPlace = 1;

void PutWord(std::ostream& out, int value) {
  out.put(static_cast<char>(value & 0xFF));
  out.put(static_cast<char>((value >> 8) & 0xFF));
}

void PutByte(std::ostream& out, int value) { out.put(static_cast<char>(value & 0xFF)); }

// An index no frame uses, for the pixels a frame leaves as they were; -1
// when every index is taken. The first one past the colours is preferred,
// so that the table grows by as little as possible.
int UnusedIndex(const GifAnimation& animation) {
  std::array<bool, 256> used{};
  for (const auto& frame : animation.frames)
    for (std::uint8_t index : frame.indices) used[index] = true;
  for (int i = animation.colourCount; i < 256; ++i)
    if (!used[static_cast<std::size_t>(i)]) return i;
  for (int i = 0; i < animation.colourCount; ++i)
    if (!used[static_cast<std::size_t>(i)]) return i;
  return -1;
}

int HighestIndex(const GifAnimation& animation) {
  int highest = animation.colourCount - 1;
  for (const auto& frame : animation.frames)
    if (!frame.indices.empty())
      highest = std::max<int>(highest, *std::max_element(frame.indices.begin(), frame.indices.end()));
  return highest;
}

void WriteLoopExtension(std::ostream& out, int loopCount) {
  PutByte(out, kExtensionIntroducer);
  PutByte(out, kApplicationLabel);
  PutByte(out, 11);
  out.write("NETSCAPE2.0", 11);
  PutByte(out, 3);  // sub-block: id 1, then the loop count
  PutByte(out, 1);
  PutWord(out, loopCount);
  PutByte(out, 0);
}

void WriteGraphicControl(std::ostream& out, int delay, int transparentIndex) {
  PutByte(out, kExtensionIntroducer);
  PutByte(out, kGraphicControlLabel);
  PutByte(out, 4);
  PutByte(out, kDisposalLeaveInPlace << 2 | (transparentIndex >= 0 ? 1 : 0));
  PutWord(out, delay);
  PutByte(out, transparentIndex >= 0 ? transparentIndex : 0);
  PutByte(out, 0);
}

// The frame's pixels inside the rectangle; with a transparent index, those
// equal to the previous frame's become transparent.
GifImage RectangleImage(const GifAnimation& animation, std::size_t frame, const ChangedRectangle& r,
                        int transparentIndex) {
  GifImage image;
  image.width = r.width;
  image.height = r.height;
  image.pixels.resize(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
  const auto& now = animation.frames[frame].indices;
  const std::vector<std::uint8_t>* before = frame > 0 && transparentIndex >= 0 ? &animation.frames[frame - 1].indices : nullptr;
  auto out = image.pixels.begin();
  for (int y = r.top; y < r.top + r.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(animation.width);
    for (int x = r.left; x < r.left + r.width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x);
      *out++ = before && (*before)[at] == now[at] ? static_cast<std::uint8_t>(transparentIndex) : now[at];
    }
  }
  return image;
}

}  // namespace

std::vector<int> FrameDelays(int frames, double framesPerSecond) {
  std::vector<int> delays;
  if (frames <= 0 || !(framesPerSecond > 0)) return delays;
  long long previous = 0;
  for (int k = 1; k <= frames; ++k) {
    const auto end = std::llround(100.0 * k / framesPerSecond);
    delays.push_back(static_cast<int>(std::clamp<long long>(end - previous, 1, 65535)));
    previous = std::max(end, previous + 1);
  }
  return delays;
}

ChangedRectangle FindChangedRectangle(const std::vector<std::uint8_t>& before,
                                      const std::vector<std::uint8_t>& after, int width, int height) {
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x) {
      if (before[row + static_cast<std::size_t>(x)] != after[row + static_cast<std::size_t>(x)]) {
        first = x;
        break;
      }
    }
    if (first < 0) continue;
    for (int x = width - 1; x >= first; --x) {
      if (before[row + static_cast<std::size_t>(x)] != after[row + static_cast<std::size_t>(x)]) {
        last = x;
        break;
      }
    }
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

bool WriteGifAnimation(const GifAnimation& animation, std::ostream& out) {
  if (animation.width <= 0 || animation.height <= 0 || animation.width > kGifMaxDimension ||
      animation.height > kGifMaxDimension || animation.frames.empty() || animation.colourCount <= 0 ||
      animation.colourCount > 256)
    return false;
  const std::size_t pixels = static_cast<std::size_t>(animation.width) * static_cast<std::size_t>(animation.height);
  for (const auto& frame : animation.frames)
    if (frame.indices.size() != pixels) return false;

  const int transparentIndex = animation.wholeFrames || animation.frames.size() < 2 ? -1 : UnusedIndex(animation);
  const int highest = std::max(HighestIndex(animation), transparentIndex);
  int bits = 1;
  while (bits < 8 && (1 << bits) <= highest) ++bits;
  const int minimumCodeSize = bits == 1 ? 2 : bits;

  out.write("GIF89a", 6);
  PutWord(out, animation.width);
  PutWord(out, animation.height);
  PutByte(out, 0x80 | (bits - 1) << 4 | (bits - 1));
  PutByte(out, 0);  // background index
  PutByte(out, 0);  // no aspect ratio
  for (int i = 0; i < (1 << bits); ++i) {
    for (int c = 0; c < 3; ++c)
      PutByte(out, i < animation.colourCount ? animation.colours[static_cast<std::size_t>(3 * i + c)] : 0);
  }
  if (animation.frames.size() > 1) WriteLoopExtension(out, animation.loopCount);

  auto encoder = std::make_unique<LzwEncoder>();
  const ChangedRectangle whole{0, 0, animation.width, animation.height};
  for (std::size_t f = 0; f < animation.frames.size(); ++f) {
    ChangedRectangle r = whole;
    if (f > 0 && !animation.wholeFrames) {
      r = FindChangedRectangle(animation.frames[f - 1].indices, animation.frames[f].indices, animation.width,
                               animation.height);
      // Nothing changed: one pixel, transparent where it can be, keeps the
      // frame's delay.
      if (r.width == 0) r = {0, 0, 1, 1};
    }
    WriteGraphicControl(out, animation.frames[f].delayCentiseconds, f > 0 ? transparentIndex : -1);
    PutByte(out, kImageSeparator);
    PutWord(out, r.left);
    PutWord(out, r.top);
    PutWord(out, r.width);
    PutWord(out, r.height);
    PutByte(out, 0);  // no local table, not interlaced
    PutByte(out, minimumCodeSize);
    encoder->Encode(RectangleImage(animation, f, r, f > 0 ? transparentIndex : -1), minimumCodeSize, out);
    PutByte(out, 0);
  }
  PutByte(out, kTrailer);
  out.flush();
  return static_cast<bool>(out);
}
