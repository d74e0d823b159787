// Pictures from the command line through the same renderer binding, palette
// and GIF path as the desktop program's examiner window.
#include "PictureOutput.h"

#include <png.h>

#include <cstdlib>
#include <ostream>

#include "CubePalette.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace {

constexpr const char* kCanNotStartViewer = "Can not start 3D viewer";
// Pictures no smaller than the view's own lower limits, no larger than the
// 16-bit limits of the file formats; the renderer clamps to 800 x 600 anyway.
constexpr long kMinPictureWidth = 4;
constexpr long kMinPictureHeight = 4;
constexpr long kMaxPictureSide = 65535;
constexpr double kMaxAngle = 1.0e6;  // radians; only to keep the value finite
constexpr double kMinZoom = 1.0e-6;
constexpr double kMaxZoom = 1.0e6;

bool ParseSize(const std::string& value, int& width, int& height, std::string& error) {
  const auto x = value.find_first_of("xX");
  long w = 0, h = 0;
  std::string ignored;
  if (x == std::string::npos ||
      !ParseInteger("--size", value.substr(0, x), kMinPictureWidth, kMaxPictureSide, w, ignored) ||
      !ParseInteger("--size", value.substr(x + 1), kMinPictureHeight, kMaxPictureSide, h, ignored)) {
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

// The PNG of a frame, in memory; empty when libpng refuses it.
std::vector<unsigned char> EncodePng(const std::vector<unsigned char>& rgb, int width, int height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return {};
  std::vector<unsigned char> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) return {};
  bytes.resize(size);
  return bytes;
}

bool WritePng(RendererBinding& binding, const std::string& path, std::string& error) {
  const unsigned short* frame = binding.Frame16();
  if (!frame) {
    error = "Nothing to save";
    return false;
  }
  const auto bytes = EncodePng(ExpandFrameToRgb(frame, binding.Width(), binding.Height()),
                               binding.Width(), binding.Height());
  if (bytes.empty()) {
    error = "Can not build PNG";
    return false;
  }
  return SaveOutput(
      path,
      [&bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
      },
      error);
}

}  // namespace

std::vector<OptionSpec> PictureOptionRows() {
  return {
      {"--gif", "FILE", "write the examiner's picture as a GIF (256-colour cube, dithered)",
       FileNameOption(&CliOptions::gifPath, "--gif")},
      {"--png", "FILE", "write the same picture in full colour as a PNG",
       FileNameOption(&CliOptions::pngPath, "--png")},
      {"--size", "WxH", "picture size in pixels (default 640x480, at most 800x600)",
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
  };
}

bool WantsPictures(const CliOptions& options) {
  return !options.gifPath.empty() || !options.pngPath.empty();
}

std::vector<unsigned char> ExpandFrameToRgb(const unsigned short* frame, int width, int height) {
  return FrameRgb(frame, width, height);
}

bool WritePictures(const CText3D& text, const CliOptions& options, std::string& error) {
  RendererBindingOptions bindingOptions = RendererBindingOptions::Default();
  RendererBinding binding(bindingOptions);
  if (!binding.View()) {
    error = kCanNotStartViewer;
    return false;
  }
  binding.SetBackground(options.background);
  binding.SetViewSize(options.pictureWidth, options.pictureHeight);
  // As the examiner shows new letters: fitted camera and the text's light,
  // then the requested turn and zoom.
  binding.FitCamera(&text);
  binding.ViewCamera().Rotate(options.yaw, options.pitch);
  binding.ViewCamera().Zoom(options.zoom);
  binding.DrawScene(&text);

  // The PNG first: it needs the 5-6-5 frame, which the GIF's dither leaves
  // intact in any case.
  if (!options.pngPath.empty() && !WritePng(binding, options.pngPath, error)) return false;
  if (!options.gifPath.empty()) {
    const SaveGifResult result = binding.SaveGif(options.gifPath);
    if (result != SaveGifResult::kSaved) {
      error = SaveGifMessage(result);
      if (result == SaveGifResult::kCanNotCreateFile) error += " '" + options.gifPath + "'";
      return false;
    }
  }
  return true;
}
