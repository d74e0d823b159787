#include "PictureExportChoices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const kKeys[] = {"Format", "Width", "Height", "Antialias", "Transparent",
                             "Fit",    "Frames", "FramesPerSecond", "Palette"};

std::string NumberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

PictureFileRequest PictureExportChoices::Request(bool turntable) const {
  PictureFileRequest request;
  request.kind = turntable ? PictureFileKind::kTurntable : gif ? PictureFileKind::kGif : PictureFileKind::kPng;
  request.settings.width = width;
  request.settings.height = height;
  request.settings.antialias = antialias;
  request.settings.framing = fitExaminer ? PictureFraming::kExaminer : PictureFraming::kText;
  request.settings.transparent = transparent && request.kind == PictureFileKind::kPng;
  request.turntable.frames = frames;
  request.turntable.framesPerSecond = framesPerSecond;
  request.turntable.cubePalette = cubePalette;
  return request;
}

std::optional<PictureExportChoices> ReadPictureChoices(const Profile& profile) {
  const char* s = PictureExportChoices::kSection;
  const bool any = std::any_of(std::begin(kKeys), std::end(kKeys),
                               [&](const char* key) { return !profile.GetString(s, key, "").empty(); });
  if (!any) return std::nullopt;
  PictureExportChoices c;
  c.gif = profile.GetString(s, "Format", "png") == "gif";
  c.width = std::clamp(profile.GetInt(s, "Width", c.width), PictureExportChoices::kMinSide, kMaxPictureSide);
  c.height = std::clamp(profile.GetInt(s, "Height", c.height), PictureExportChoices::kMinSide, kMaxPictureSide);
  c.antialias = std::clamp(profile.GetInt(s, "Antialias", c.antialias), 1, kMaxAntialias);
  c.transparent = profile.GetInt(s, "Transparent", 0) != 0;
  c.fitExaminer = profile.GetString(s, "Fit", "text") == "examiner";
  c.frames = std::clamp(profile.GetInt(s, "Frames", c.frames), 1, PictureExportChoices::kMaxTurntableFrames);
  const double fps = std::strtod(profile.GetString(s, "FramesPerSecond", "").c_str(), nullptr);
  if (std::isfinite(fps) && fps > 0)
    c.framesPerSecond =
        std::clamp(fps, PictureExportChoices::kMinFramesPerSecond, PictureExportChoices::kMaxFramesPerSecond);
  c.cubePalette = profile.GetString(s, "Palette", "adaptive") == "cube";
  return c;
}

void AppendPictureChoices(std::vector<ProfileEntry>& entries, const std::optional<PictureExportChoices>& choices) {
  if (!choices) return;
  const char* s = PictureExportChoices::kSection;
  const PictureExportChoices& c = *choices;
  entries.push_back({s, "Format", c.gif ? "gif" : "png"});
  entries.push_back({s, "Width", std::to_string(c.width)});
  entries.push_back({s, "Height", std::to_string(c.height)});
  entries.push_back({s, "Antialias", std::to_string(c.antialias)});
  entries.push_back({s, "Transparent", c.transparent ? "1" : "0"});
  entries.push_back({s, "Fit", c.fitExaminer ? "examiner" : "text"});
  entries.push_back({s, "Frames", std::to_string(c.frames)});
  entries.push_back({s, "FramesPerSecond", NumberText(c.framesPerSecond)});
  entries.push_back({s, "Palette", c.cubePalette ? "cube" : "adaptive"});
}
