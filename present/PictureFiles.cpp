// Still pictures and turntables encoded in memory.
#include "PictureFiles.h"

#include <sstream>

#include "GifAnimation.h"
#include "GifWriter.h"
#include "PngWriter.h"

namespace {

std::vector<std::uint8_t> StreamBytes(const std::ostringstream& out) {
  const std::string text = out.str();
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

RendererBindingOptions PictureBindingOptions() {
  RendererBindingOptions options = RendererBindingOptions::Default();
  options.maxWidth = kMaxPictureSide;
  options.maxHeight = kMaxPictureSide;
  return options;
}

std::unique_ptr<GifImage> StillGifImage(RendererBinding& binding, const PictureRenderer& renderer,
                                        const PictureFrame& picture, bool adaptivePalette) {
  if (!adaptivePalette) {
    if (renderer.Antialias() == 1) {
      // The binding still holds the one frame drawn.
      const std::uint8_t* frame = binding.Frame8();
      return frame ? GifImageFromFrame(frame, binding.Width(), binding.Height(), binding.Palette()) : nullptr;
    }
    const auto indices = renderer.CubeIndices(picture);
    if (indices.empty()) return nullptr;
    return GifImageFromFrame(indices.data(), picture.width, picture.height, binding.Palette());
  }
  if (picture.Empty()) return nullptr;
  std::vector<std::vector<std::uint8_t>> indices;
  const auto palette = MapToAdaptivePalette({picture}, 256, indices);
  auto image = GifImageCreate(picture.width, picture.height);
  if (!image) return nullptr;
  for (std::size_t i = 0; i < palette.size(); ++i)
    GifImageSetColor(*image, static_cast<int>(i), palette[i].red, palette[i].green, palette[i].blue);
  image->pixels = std::move(indices.front());
  return image;
}

PictureFileResult EncodePictureFile(RendererBinding& binding, const CText3D& text, const PictureFileRequest& request,
                                    std::vector<std::uint8_t>& bytes, const PictureProgress& progress) {
  bytes.clear();
  bool cancelled = false;
  const PictureProgress heard = [&](int done, int total) {
    cancelled = progress && !progress(done, total);
    return !cancelled;
  };
  std::ostringstream out;
  if (request.kind == PictureFileKind::kTurntable) {
    GifAnimation animation;
    const TurntableResult built = BuildTurntable(binding, text, request.settings, request.turntable, animation, heard);
    if (built == TurntableResult::kCancelled) return PictureFileResult::kCancelled;
    if (built != TurntableResult::kBuilt || !WriteGifAnimation(animation, out)) return PictureFileResult::kNothingToDraw;
    bytes = StreamBytes(out);
    return PictureFileResult::kEncoded;
  }
  PictureSettings settings = request.settings;
  const bool png = request.kind == PictureFileKind::kPng;
  settings.transparent = png && settings.transparent;
  PictureRenderer renderer(binding, text, settings);
  const PictureFrame picture = renderer.Render(0.0, heard);
  if (cancelled) return PictureFileResult::kCancelled;
  if (png) {
    bytes = EncodePng(picture.pixels, picture.width, picture.height, picture.hasAlpha);
    return bytes.empty() ? PictureFileResult::kNothingToDraw : PictureFileResult::kEncoded;
  }
  const auto image = StillGifImage(binding, renderer, picture, request.adaptivePalette);
  if (!image || !WriteGifStream(*image, out)) return PictureFileResult::kNothingToDraw;
  bytes = StreamBytes(out);
  return PictureFileResult::kEncoded;
}
