// The turntable animation: the letters drawn turning once about the
// vertical axis, every frame mapped onto one palette (the colour cube or one
// chosen from all frames) and laid out for the GIF writer. Shared by the
// command line and the desktop program's export.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "GifAnimation.h"
#include "PaletteQuantizer.h"
#include "PictureRender.h"

// `frames` equal steps of one full turn from 0: the frame after the last
// would be the first again.
std::vector<double> TurntableTurns(int frames);

// One palette of at most `colours` for all the pictures, and each picture
// error-diffused onto it (indices top row first, one vector per picture).
std::vector<Rgb8> MapToAdaptivePalette(const std::vector<PictureFrame>& pictures, int colours,
                                       std::vector<std::vector<std::uint8_t>>& indices);

struct TurntableOptions {
  int frames = 36;
  double framesPerSecond = 20.0;
  bool cubePalette = false;  // the renderer's colour cube and dither instead of an adaptive palette
};

enum class TurntableResult { kBuilt, kNothingToDraw, kCancelled };

// Draws the frames with `settings` (fitted framing covers every turn) and
// fills `animation`. `progress`, when given, hears (frames drawn, frames)
// after each frame and cancels by returning false.
TurntableResult BuildTurntable(RendererBinding& binding, const CText3D& text, const PictureSettings& settings,
                               const TurntableOptions& options, GifAnimation& animation,
                               const std::function<bool(int done, int total)>& progress = {});
