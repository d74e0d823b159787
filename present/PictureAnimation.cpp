// Turntable frames onto one palette.
#include "PictureAnimation.h"

#include <algorithm>
#include <numbers>

#include "FramePictures.h"
#include "RendererBinding.h"

namespace {

// Bottom row first (as the renderer keeps frames) to top row first.
std::vector<std::uint8_t> TopRowFirst(const std::vector<std::uint8_t>& indices, int width, int height) {
  std::vector<std::uint8_t> rows(indices.size());
  CopyFrameTopDown(indices.data(), static_cast<std::size_t>(width), height, rows.data(),
                   static_cast<std::size_t>(width));
  return rows;
}

}  // namespace

std::vector<double> TurntableTurns(int frames) {
  std::vector<double> turns;
  for (int k = 0; k < frames; ++k) turns.push_back(2.0 * std::numbers::pi * k / frames);
  return turns;
}

std::vector<Rgb8> MapToAdaptivePalette(const std::vector<PictureFrame>& pictures, int colours,
                                       std::vector<std::vector<std::uint8_t>>& indices) {
  ColourHistogram histogram;
  for (const PictureFrame& p : pictures)
    histogram.Add(p.pixels.data(), static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  PaletteMapper mapper(MedianCutPalette(histogram, colours));
  indices.clear();
  for (const PictureFrame& p : pictures) {
    indices.emplace_back(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    mapper.Diffuse(p.pixels.data(), p.width, p.height, indices.back().data());
  }
  return mapper.Palette();
}

TurntableResult BuildTurntable(RendererBinding& binding, const CText3D& text, const PictureSettings& settings,
                               const TurntableOptions& options, GifAnimation& animation,
                               const std::function<bool(int, int)>& progress) {
  const std::vector<double> turns = TurntableTurns(options.frames);
  PictureSettings opaque = settings;
  opaque.transparent = false;  // the GIF's transparency marks unchanged pixels
  PictureRenderer renderer(binding, text, opaque, turns);
  if (!renderer.Ready() || turns.empty()) return TurntableResult::kNothingToDraw;
  animation = GifAnimation{};
  animation.width = renderer.Width();
  animation.height = renderer.Height();
  const auto delays = FrameDelays(static_cast<int>(turns.size()), options.framesPerSecond);
  std::vector<PictureFrame> pictures;
  for (std::size_t k = 0; k < turns.size(); ++k) {
    PictureFrame picture = renderer.Render(turns[k]);
    if (picture.Empty()) return TurntableResult::kNothingToDraw;
    if (options.cubePalette) {
      const auto indices = renderer.CubeIndices(picture);
      if (indices.empty()) return TurntableResult::kNothingToDraw;
      animation.frames.push_back({TopRowFirst(indices, picture.width, picture.height), delays[k]});
    } else {
      pictures.push_back(std::move(picture));
    }
    if (progress && !progress(static_cast<int>(k + 1), static_cast<int>(turns.size())))
      return TurntableResult::kCancelled;
  }
  if (options.cubePalette) {
    const auto& entries = binding.Palette().Entries();
    animation.colourCount = static_cast<int>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      animation.colours[3 * i] = entries[i].red;
      animation.colours[3 * i + 1] = entries[i].green;
      animation.colours[3 * i + 2] = entries[i].blue;
    }
    return TurntableResult::kBuilt;
  }
  // 255 colours, so that one index is left for the pixels a frame keeps.
  std::vector<std::vector<std::uint8_t>> indices;
  const auto palette = MapToAdaptivePalette(pictures, 255, indices);
  animation.colourCount = static_cast<int>(palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i) {
    animation.colours[3 * i] = palette[i].red;
    animation.colours[3 * i + 1] = palette[i].green;
    animation.colours[3 * i + 2] = palette[i].blue;
  }
  for (std::size_t k = 0; k < indices.size(); ++k) animation.frames.push_back({std::move(indices[k]), delays[k]});
  return TurntableResult::kBuilt;
}
