#include "AppSettings.h"

#include <algorithm>

#include "LayoutFit.h"

namespace {

// Model lengths are kept as whole thousandths, cut toward zero.
int Thousandths(double value) { return TruncToInt(value * 1000.0); }

const char* UnitName(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Centimetre: return "cm";
    case LengthUnit::Metre: return "m";
    case LengthUnit::Inch: return "in";
    default: return "mm";
  }
}

// The export choices, when the profile holds any; a value the export dialog
// could not have stored reads as that choice's default.
std::optional<ExportSettings> ReadExportChoices(const Profile& profile) {
  const char* e = AppSettings::kExport;
  const std::string unit = profile.GetString(e, "Unit", "");
  const std::string emHeight = profile.GetString(e, "EmHeight", "");
  const std::string solid = profile.GetString(e, "Solid", "");
  if (unit.empty() && emHeight.empty() && solid.empty()) return std::nullopt;
  ExportSettings choices;
  choices.unit = ParseLengthUnit(unit).value_or(LengthUnit::Millimetre);
  if (ParseLength(emHeight, choices.unit)) choices.emHeight = emHeight;
  choices.solid = solid == "exact" ? SolidMode::Exact : SolidMode::Clean;
  return choices;
}

}  // namespace

AppSettings ReadAppSettings(const Profile& profile) {
  AppSettings s;
  const char* p = AppSettings::kParameters;
  TextSettings& text = s.text;
  text.lightFlags = profile.GetInt(p, "Light", TextSettings::kDefaultLightFlags) & 3;
  text.colour = static_cast<int>(
      static_cast<std::uint32_t>(profile.GetInt(p, "Color", TextSettings::kDefaultColour)) & 0x00FFFFFF);
  // Thousandths, read unsigned; a depth the Shape dialog could not have set
  // (a damaged or negative entry) falls back to the default.
  const auto depth =
      static_cast<std::uint32_t>(profile.GetInt(p, "Depth", Thousandths(TextSettings::kDefaultDepth)));
  text.depth = depth * 0.001;
  if (!TextSettings::DepthInRange(text.depth)) text.depth = TextSettings::kDefaultDepth;
  // Each run starts from the height the last one ended with.
  text.height = profile.GetInt(p, "Height", Thousandths(TextSettings::kDefaultHeight)) * 0.001;
  if (!TextSettings::HeightInRange(text.height)) text.height = TextSettings::kDefaultHeight;

  s.autoRotate = profile.GetInt(p, "AutoRotate", s.autoRotate);
  // Above fast is fast. Below slow would give a divisor above 5 and no speed
  // the options dialog can show, so it is read as slow.
  s.rotationSpeed = std::clamp(profile.GetInt(p, "RotationSpeed", s.rotationSpeed), AppSettings::kSlow,
                               AppSettings::kFast);
  s.background = static_cast<std::uint32_t>(
      profile.GetInt(AppSettings::kView, "Background", static_cast<int>(RendererBinding::kDefaultBackground)));

  if (profile.GetInt(AppSettings::kToolBarSection, "BarID", 0) == AppSettings::kToolBarId) {
    s.toolBarKnown = true;
    s.toolBarDock = profile.GetInt(AppSettings::kToolBarSection, "DockBarID", AppSettings::kDockTop);
    s.toolBarVisible = profile.GetInt(AppSettings::kToolBarSection, "Visible", 1) != 0;
  }
  if (profile.GetInt(AppSettings::kStatusBarSection, "BarID", 0) == AppSettings::kStatusBarId) {
    s.statusBarKnown = true;
    s.statusBarVisible = profile.GetInt(AppSettings::kStatusBarSection, "Visible", 1) != 0;
  }
  s.exportChoices = ReadExportChoices(profile);
  s.pictureChoices = ReadPictureChoices(profile);
  return s;
}

std::vector<ProfileEntry> AppSettingsEntries(const AppSettings& s) {
  auto entry = [](const char* section, const char* key, long long value) {
    return ProfileEntry{section, key, std::to_string(value)};
  };
  const char* p = AppSettings::kParameters;
  std::vector<ProfileEntry> entries = {
      entry(AppSettings::kBarSummary, "Bars", 2),
      entry(AppSettings::kBarSummary, "ScreenCX", s.screenWidth),
      entry(AppSettings::kBarSummary, "ScreenCY", s.screenHeight),
      entry(AppSettings::kToolBarSection, "BarID", AppSettings::kToolBarId),
      entry(AppSettings::kToolBarSection, "Visible", s.toolBarVisible ? 1 : 0),
      entry(AppSettings::kToolBarSection, "DockBarID", s.toolBarDock),
      entry(AppSettings::kStatusBarSection, "BarID", AppSettings::kStatusBarId),
      entry(AppSettings::kStatusBarSection, "Visible", s.statusBarVisible ? 1 : 0),
      entry(p, "Light", s.text.lightFlags),
      entry(p, "Color", s.text.colour),
      entry(p, "Height", Thousandths(s.text.height)),
      entry(p, "Depth", Thousandths(s.text.depth)),
      entry(p, "AutoRotate", s.autoRotate),
      entry(p, "RotationSpeed", s.rotationSpeed),
      // Written as the signed 32-bit number it has always been stored as.
      entry(AppSettings::kView, "Background", static_cast<int>(s.background)),
  };
  if (s.exportChoices) {
    const char* e = AppSettings::kExport;
    entries.push_back({e, "Unit", UnitName(s.exportChoices->unit)});
    entries.push_back({e, "EmHeight", s.exportChoices->emHeight});
    entries.push_back({e, "Solid", s.exportChoices->solid == SolidMode::Exact ? "exact" : "clean"});
  }
  AppendPictureChoices(entries, s.pictureChoices);
  return entries;
}

bool WriteAppSettings(const Profile& profile, const AppSettings& settings, std::string* reason) {
  return profile.WriteAll(AppSettingsEntries(settings), reason);
}
