// Pictures from the command line through the same renderer binding, palette
// and GIF path as the desktop program's examiner window.
#include "PictureOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "CubePalette.h"
#include "GifAnimation.h"
#include "GifWriter.h"
#include "PictureAnimation.h"
#include "PictureFiles.h"
#include "PictureRender.h"
#include "PngWriter.h"
#include "RendererBinding.h"
#include "SaveFile.h"
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

bool WriteStillGif(RendererBinding& binding, PictureRenderer& renderer, const PictureFrame& picture,
                   const CliOptions& options, std::string& error) {
  const std::string& path = options.gifPath;
  const bool adaptive = options.gifPalette == CliOptions::Palette::kAdaptive;
  const auto image = StillGifImage(binding, renderer, picture, adaptive);
  if (!image) return ReportGifResult(SaveGifResult::kNothingToSave, path, error);
  const auto write = [&image](std::ostream& out) { return WriteGifStream(*image, out); };
  if (adaptive) return SaveOutput(path, write, error);
  return ReportGifResult(SaveAtomically(path, write) ? SaveGifResult::kSaved : SaveGifResult::kCanNotCreateFile,
                         path, error);
}

bool WriteTurntable(RendererBinding& binding, const CText3D& text, const PictureSettings& settings,
                    const CliOptions& options, std::string& error) {
  TurntableOptions turntable;
  turntable.frames = options.turntableFrames;
  turntable.framesPerSecond = options.framesPerSecond;
  turntable.cubePalette = options.gifPalette == CliOptions::Palette::kCube;
  GifAnimation animation;
  if (BuildTurntable(binding, text, settings, turntable, animation) != TurntableResult::kBuilt)
    return ReportGifResult(SaveGifResult::kNothingToSave, options.gifPath, error);
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
  RendererBinding binding(PictureBindingOptions());
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
  // A turntable's PNG is its first frame, framed as the turntable is.
  const std::vector<double> turns = TurntableTurns(std::max(options.turntableFrames, 1));
  PictureRenderer renderer(binding, text, settings, turns);
  // Without a transparent PNG the same picture serves both files.
  PictureFrame picture;
  bool pictureIsOpaque = true;
  if (!options.pngPath.empty()) {
    PictureSettings pngSettings = settings;
    pngSettings.transparent = options.transparent;
    PictureRenderer pngRenderer(binding, text, pngSettings, turns);
    picture = pngRenderer.Render();
    pictureIsOpaque = !options.transparent;
    if (!WritePng(picture, options.pngPath, error)) return false;
  }
  if (options.gifPath.empty()) return true;
  if (options.turntableFrames > 0) return WriteTurntable(binding, text, settings, options, error);
  if (options.pngPath.empty() || !pictureIsOpaque) picture = renderer.Render();
  return WriteStillGif(binding, renderer, picture, options, error);
}
