// The desktop program's settings kept between runs, in one place: read once
// when the main window is made and written once when it closes. Every key of
// the table below is written each time, also when nothing changed, in the
// order the settings file has always had them. Free of Qt, so tests read and
// write it without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MeshFormats.h"
#include "PictureExportChoices.h"
#include "Profile.h"
#include "RendererBinding.h"
#include "TextOptions.h"
#include "TextSettings.h"

struct AppSettings {
  // Section names, literal as the file has them.
  static constexpr const char* kParameters = "ZARN Parameters";
  static constexpr const char* kView = "3D View";
  static constexpr const char* kBarSummary = "Layouts-Summary";
  static constexpr const char* kToolBarSection = "Layouts-Bar0";
  static constexpr const char* kStatusBarSection = "Layouts-Bar1";
  static constexpr const char* kExport = "Export";
  // Ids of the two bars and of the dock edges as kept in the bar state.
  static constexpr int kToolBarId = 59392;
  static constexpr int kStatusBarId = 59393;
  static constexpr int kDockTop = 59419;
  static constexpr int kDockLeft = 59420;
  static constexpr int kDockRight = 59421;
  static constexpr int kDockBottom = 59422;
  // Rotation speeds as stored and offered by the examiner's options.
  static constexpr int kSlow = 0;
  static constexpr int kFast = 2;

  // Colour, height, depth and light; the bevel is not kept between runs.
  TextSettings text;
  int autoRotate = 0;
  int rotationSpeed = kFast;
  std::uint32_t background = RendererBinding::kDefaultBackground;  // COLORREF 0x00BBGGRR

  // The bars as last left. A bar whose id the file does not hold keeps the
  // window's own placement (known is false).
  bool toolBarKnown = false;
  int toolBarDock = kDockTop;
  bool toolBarVisible = true;
  bool statusBarKnown = false;
  bool statusBarVisible = true;
  // The export's unit, em height and solid mode. Kept once the user has
  // exported (nothing otherwise: a profile of a run without an export is
  // written as it always was); the format comes from each file's name.
  std::optional<ExportSettings> exportChoices;
  // File > Export Picture and Export Turntable; kept likewise once used.
  std::optional<PictureExportChoices> pictureChoices;
  // The text the letters are made from and how its lines are set, each kept
  // once the user has chosen it (or the profile held it); a run that never
  // touches them writes the profile as it always was. The text's keys are
  // described at StoredTextEntries.
  std::optional<std::u32string> characters;
  std::optional<TextOptions> textOptions;
  // Written for the record, never read back.
  int screenWidth = 0;
  int screenHeight = 0;
};

// The settings in the profile; odd stored values are brought to sane ones.
AppSettings ReadAppSettings(const Profile& profile);
// Writes every key with one atomic write of the file; false with the reason
// (which may be null) when the file cannot be written.
bool WriteAppSettings(const Profile& profile, const AppSettings& settings, std::string* reason = nullptr);
// The stored text. Older profiles have no text; older programs read none
// and keep both keys untouched. The rule:
// - Text holds the text's Windows-1252 bytes (the bytes the letters are
//   made from) when the text is plain: every character in Windows-1252, no
//   control character such as a line break, no blank at either end (the
//   file trims values). TextUtf8 is then written empty.
// - Otherwise Text holds the nearest plain form (line breaks as blanks,
//   other control characters and characters outside the code page as '?',
//   trimmed) and TextUtf8
//   the whole text as UTF-8 with backslash escapes: \\ for a backslash,
//   \n, \r, \t, and \xHH for other control characters and for a blank
//   at either end.
// - Reading takes TextUtf8 when it is well formed and its plain form is
//   Text (so a Text edited by hand or by another program wins over a stale
//   TextUtf8), else Text read as Windows-1252 bytes.
// The two values for a text, Text first.
std::pair<std::string, std::string> StoredTextEntries(const std::u32string& text);
// The text the two stored values stand for.
std::u32string TextFromStored(const std::string& text, const std::string& textUtf8);

// The whole table as written, in order.
std::vector<ProfileEntry> AppSettingsEntries(const AppSettings& settings);
