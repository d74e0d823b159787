// Writes an animated GIF89a: one global colour table for every frame, the
// NETSCAPE2.0 application extension that makes viewers loop, and per frame a
// graphic control extension with its delay. Only the rectangle in which a
// frame differs from the one before is stored, and inside it the pixels
// that stay as they were become transparent, which the LZW coder packs into
// long runs; frames are left in place (disposal 1) so the picture builds up.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

struct GifAnimation {
  int width = 0;   // pixels, 1..65535
  int height = 0;  // pixels, 1..65535
  // The global colour table: colourCount entries (1..256) as red, green, blue.
  std::array<std::uint8_t, 3 * 256> colours{};
  int colourCount = 0;
  // 0: loop for ever; otherwise play that many times more.
  int loopCount = 0;
  // Store each frame whole, without rectangles and transparency (for
  // comparisons with other encoders).
  bool wholeFrames = false;

  struct Frame {
    std::vector<std::uint8_t> indices;  // width x height palette indices, top row first
    int delayCentiseconds = 0;
  };
  std::vector<Frame> frames;
};

// The delay of each of `frames` frames at `framesPerSecond` in the GIF's
// hundredths of a second: rounded so that the whole animation lasts
// frames / framesPerSecond seconds to the nearest hundredth, and never 0.
std::vector<int> FrameDelays(int frames, double framesPerSecond);

// The rectangle of a frame that differs from the one before.
struct ChangedRectangle {
  int left = 0;
  int top = 0;
  int width = 0;  // 0: nothing changed
  int height = 0;
};
ChangedRectangle FindChangedRectangle(const std::vector<std::uint8_t>& before,
                                      const std::vector<std::uint8_t>& after, int width, int height);

// Writes the whole stream. False when the animation is not writable (a size
// outside the GIF's range, frames of the wrong size, no frames, no colours)
// or the stream reports an error; what was written must then be discarded.
bool WriteGifAnimation(const GifAnimation& animation, std::ostream& out);
