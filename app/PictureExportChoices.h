// The choices of File > Export Picture and File > Export Turntable, kept in
// the profile once the user has used either dialog (a profile of a run
// without a picture export is written as it always was), and the request
// they make of the picture files. Free of Qt, so tests read and write it
// without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PictureFiles.h"
#include "Profile.h"

struct PictureExportChoices {
  static constexpr const char* kSection = "Picture Export";
  static constexpr int kMinSide = 4;
  static constexpr int kMaxTurntableFrames = 3600;
  static constexpr double kMinFramesPerSecond = 0.1;
  static constexpr double kMaxFramesPerSecond = 50.0;

  bool gif = false;  // a still picture as GIF rather than PNG
  int width = 640;
  int height = 480;
  int antialias = 1;
  bool transparent = false;  // PNG only
  bool fitExaminer = false;  // the examiner's framing rather than the whole text
  int frames = 36;
  double framesPerSecond = 20.0;
  bool cubePalette = false;  // turntable on the colour cube rather than an adaptive palette

  // The request for a still picture (in the chosen format) or a turntable.
  PictureFileRequest Request(bool turntable) const;
};

// The choices the profile holds, each brought into its range; nothing when
// it holds none.
std::optional<PictureExportChoices> ReadPictureChoices(const Profile& profile);
// The profile entries of kept choices (none without).
void AppendPictureChoices(std::vector<ProfileEntry>& entries, const std::optional<PictureExportChoices>& choices);
