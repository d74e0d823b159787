// Pictures from the command line through the same renderer binding, palette
// and GIF path as the desktop program's examiner window.
#include "PictureOutput.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <ostream>

#include "CubePalette.h"
#include "GifAnimation.h"
#include "GifWriter.h"
#include "PaletteQuantizer.h"
#include "PictureRender.h"
#include "PngWriter.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace {

constexpr const char* kCanNotStartViewer = "Can not start 3D viewer";
// Pictures no smaller than the view's own lower limits, no larger than the
// 16-bit limits of the file formats; larger sizes are drawn at the largest
// the renderer allows (kMaxPictureSide at most).
constexpr long kMinPictureWidth = 4;
constexpr long kMinPictureHeight = 4;
constexpr long kMaxSizeArgument = 65535;
constexpr double kMaxAngle = 1.0e6;  // radians; only to keep the value finite
constexpr double kMinZoom = 1.0e-6;
constexpr double kMaxZoom = 1.0e6;
constexpr long kMaxTurntableFrames = 3600;
// Viewers wait at least a hundredth of a second between frames; many treat
// shorter delays as long ones.
constexpr double kMaxFramesPerSecond = 50.0;

bool ParseSize(const std::string& value, int& width, int& height, std::string& error) {
  const auto x = value.find_first_of("xX");
  long w = 0, h = 0;
  std::string ignored;
  if (x == std::string::npos ||
      !ParseInteger("--size", value.substr(0, x), kMinPictureWidth, kMaxSizeArgument, w, ignored) ||
      !ParseInteger("--size", value.substr(x + 1), kMinPictureHeight, kMaxSizeArgument, h, ignored)) {
    error = "--size: expected WIDTHxHEIGHT, each 4 .. 65535, got '" + value + "'";
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool ParseFloat(const char* option, const std::string& value, double min, double max, float& out,
                std::string& error) {
  double number = 0;
  if (!ParseNumber(option, value, min, max, number, error)) return false;
  out = static_cast<float>(number);
  return true;
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  return SaveOutput(
      path,
      [&bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
      },
      error);
}

bool WritePng(const PictureFrame& picture, const std::string& path, std::string& error) {
  if (picture.Empty()) {
    error = "Nothing to save";
    return false;
  }
  const auto bytes = EncodePng(picture.pixels, picture.width, picture.height, picture.hasAlpha);
  if (bytes.empty()) {
    error = "Can not build PNG";
    return false;
  }
  return SaveBytes(path, bytes, error);
}

bool ReportGifResult(SaveGifResult result, const std::string& path, std::string& error) {
  if (result == SaveGifResult::kSaved) return true;
  error = SaveGifMessage(result);
  if (result == SaveGifResult::kCanNotCreateFile) error += " '" + path + "'";
  return false;
}

// One palette for all the pictures (at most `colours` entries), and each
// picture error-diffused onto it, top row first.
std::vector<Rgb8> AdaptivePalette(const std::vector<PictureFrame>& pictures, int colours,
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

// Bottom row first (as the renderer keeps frames) to top row first.
std::vector<std::uint8_t> TopRowFirst(const std::vector<std::uint8_t>& indices, int width, int height) {
  std::vector<std::uint8_t> rows(indices.size());
  const auto w = static_cast<std::size_t>(width);
  for (int y = 0; y < height; ++y)
    std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(height - 1 - y) * w), w,
                rows.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * w));
  return rows;
}

bool WriteStillGif(RendererBinding& binding, PictureRenderer& renderer, const PictureFrame& picture,
                   const CliOptions& options, std::string& error) {
  const std::string& path = options.gifPath;
  if (options.gifPalette != CliOptions::Palette::kAdaptive) {
    // The binding still holds the one frame drawn: the desktop program's save.
    if (options.antialias == 1) return ReportGifResult(binding.SaveGif(path), path, error);
    const auto indices = renderer.CubeIndices(picture);
    if (indices.empty()) return ReportGifResult(SaveGifResult::kNothingToSave, path, error);
    return ReportGifResult(SaveFrameAsGif(path, indices.data(), picture.width, picture.height, binding.Palette()),
                           path, error);
  }
  if (picture.Empty()) return ReportGifResult(SaveGifResult::kNothingToSave, path, error);
  std::vector<std::vector<std::uint8_t>> indices;
  const auto palette = AdaptivePalette({picture}, 256, indices);
  auto image = GifImageCreate(picture.width, picture.height);
  if (!image) return ReportGifResult(SaveGifResult::kCanNotBuildGif, path, error);
  for (std::size_t i = 0; i < palette.size(); ++i)
    GifImageSetColor(*image, static_cast<int>(i), palette[i].red, palette[i].green, palette[i].blue);
  image->pixels = std::move(indices.front());
  if (!SaveOutput(path, [&image](std::ostream& out) { return WriteGifStream(*image, out); }, error)) return false;
  return true;
}

bool WriteTurntable(RendererBinding& binding, PictureRenderer& renderer, const std::vector<double>& turns,
                    const CliOptions& options, std::string& error) {
  GifAnimation animation;
  animation.width = renderer.Width();
  animation.height = renderer.Height();
  const auto delays = FrameDelays(static_cast<int>(turns.size()), options.framesPerSecond);
  std::vector<PictureFrame> pictures;
  const bool cube = options.gifPalette == CliOptions::Palette::kCube;
  for (std::size_t k = 0; k < turns.size(); ++k) {
    PictureFrame picture = renderer.Render(turns[k]);
    if (picture.Empty()) return ReportGifResult(SaveGifResult::kNothingToSave, options.gifPath, error);
    if (cube) {
      const auto indices = renderer.CubeIndices(picture);
      if (indices.empty()) return ReportGifResult(SaveGifResult::kNothingToSave, options.gifPath, error);
      animation.frames.push_back({TopRowFirst(indices, picture.width, picture.height), delays[k]});
    } else {
      pictures.push_back(std::move(picture));
    }
  }
  if (cube) {
    const auto& entries = binding.Palette().Entries();
    animation.colourCount = static_cast<int>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      animation.colours[3 * i] = entries[i].red;
      animation.colours[3 * i + 1] = entries[i].green;
      animation.colours[3 * i + 2] = entries[i].blue;
    }
  } else {
    // 255 colours, so that one index is left for the pixels a frame keeps.
    std::vector<std::vector<std::uint8_t>> indices;
    const auto palette = AdaptivePalette(pictures, 255, indices);
    pictures.clear();
    animation.colourCount = static_cast<int>(palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
      animation.colours[3 * i] = palette[i].red;
      animation.colours[3 * i + 1] = palette[i].green;
      animation.colours[3 * i + 2] = palette[i].blue;
    }
    for (std::size_t k = 0; k < indices.size(); ++k) animation.frames.push_back({std::move(indices[k]), delays[k]});
  }
  return SaveOutput(options.gifPath, [&animation](std::ostream& out) { return WriteGifAnimation(animation, out); },
                    error);
}

}  // namespace

std::vector<OptionSpec> PictureOptionRows() {
  return {
      {"--gif", "FILE", "write the picture as a GIF (256-colour cube, dithered)",
       FileNameOption(&CliOptions::gifPath, "--gif")},
      {"--png", "FILE", "write the same picture in full colour as a PNG",
       FileNameOption(&CliOptions::pngPath, "--png")},
      {"--size", "WxH", "picture size in pixels (default 640x480, at most 4096x4096 as the renderer allows)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseSize(v, o.pictureWidth, o.pictureHeight, error);
       }},
      {"--yaw", "A", "turn the letters about the vertical axis by A radians",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseFloat("--yaw", v, -kMaxAngle, kMaxAngle, o.yaw, error);
       }},
      {"--pitch", "B", "then tip them about the horizontal axis by B radians",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseFloat("--pitch", v, -kMaxAngle, kMaxAngle, o.pitch, error);
       }},
      {"--zoom", "F", "move the eye to F times its distance (default 1; below 1 is nearer)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseFloat("--zoom", v, kMinZoom, kMaxZoom, o.zoom, error);
       }},
      {"--background", "RRGGBB", "background colour of the picture in hex (default 00ffff, cyan)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseHexColour("--background", v, o.background, error);
       }},
      {"--fit", "text|examiner", "frame the whole text with a 5% margin (default), or as the examiner does",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v != "text" && v != "examiner") {
           error = "--fit: expected text or examiner, got '" + v + "'";
           return false;
         }
         o.fitExaminer = v == "examiner";
         return true;
       }},
      {"--antialias", "N", "draw N x N samples per pixel and average them (1 .. 8, default 1)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long n = 1;
         if (!ParseInteger("--antialias", v, 1, kMaxAntialias, n, error)) return false;
         o.antialias = static_cast<int>(n);
         return true;
       }},
      {"--transparent", "", "make the PNG transparent where the background shows",
       [](CliOptions& o, const std::string&, std::string&) {
         o.transparent = true;
         return true;
       }},
      {"--turntable", "N", "write the GIF as N frames turning the letters once about the vertical axis",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long n = 0;
         if (!ParseInteger("--turntable", v, 1, kMaxTurntableFrames, n, error)) return false;
         o.turntableFrames = static_cast<int>(n);
         return true;
       }},
      {"--fps", "F", "frames per second of the turntable (default 20, at most 50)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseNumber("--fps", v, 0.1, kMaxFramesPerSecond, o.framesPerSecond, error);
       }},
      {"--palette", "cube|adaptive",
       "GIF colours: the colour cube, or 256 chosen for the picture (default for turntables)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v != "cube" && v != "adaptive") {
           error = "--palette: expected cube or adaptive, got '" + v + "'";
           return false;
         }
         o.gifPalette = v == "cube" ? CliOptions::Palette::kCube : CliOptions::Palette::kAdaptive;
         return true;
       }},
  };
}

bool CheckPictureOptions(const CliOptions& o, std::string& error) {
  if (o.turntableFrames > 0 && o.gifPath.empty()) {
    error = "--turntable writes an animated GIF; give --gif FILE";
    return false;
  }
  if (o.transparent && o.pngPath.empty()) {
    error = "--transparent applies to the PNG; give --png FILE";
    return false;
  }
  return true;
}

bool WantsPictures(const CliOptions& options) {
  return !options.gifPath.empty() || !options.pngPath.empty();
}

bool WritePictures(const CText3D& text, const CliOptions& options, std::string& error) {
  RendererBindingOptions bindingOptions = RendererBindingOptions::Default();
  bindingOptions.keepSettings = false;  // the desktop program's settings stay as they are
  bindingOptions.maxWidth = kMaxPictureSide;
  bindingOptions.maxHeight = kMaxPictureSide;
  RendererBinding binding(bindingOptions);
  if (!binding.View()) {
    error = kCanNotStartViewer;
    return false;
  }
  binding.SetBackground(options.background);

  PictureSettings settings;
  settings.width = options.pictureWidth;
  settings.height = options.pictureHeight;
  settings.yaw = options.yaw;
  settings.pitch = options.pitch;
  settings.zoom = options.zoom;
  settings.framing = options.fitExaminer ? PictureFraming::kExaminer : PictureFraming::kText;
  settings.antialias = options.antialias;
  // Turns of a turntable: once round in equal steps, so that the frame after
  // the last would be the first again.
  std::vector<double> turns{0.0};
  for (int k = 1; k < options.turntableFrames; ++k) turns.push_back(2.0 * std::numbers::pi * k / options.turntableFrames);
  // Without a transparent PNG the same picture serves both files.
  PictureRenderer renderer(binding, text, settings, turns);
  PictureFrame picture;
  bool pictureIsOpaque = true;
  if (!options.pngPath.empty()) {
    settings.transparent = options.transparent;
    PictureRenderer pngRenderer(binding, text, settings, turns);
    picture = pngRenderer.Render();
    pictureIsOpaque = !options.transparent;
    if (!WritePng(picture, options.pngPath, error)) return false;
  }
  if (options.gifPath.empty()) return true;
  if (options.turntableFrames > 0) return WriteTurntable(binding, renderer, turns, options, error);
  if (options.pngPath.empty() || !pictureIsOpaque) picture = renderer.Render();
  return WriteStillGif(binding, renderer, picture, options, error);
}
