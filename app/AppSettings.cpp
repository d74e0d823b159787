#include "AppSettings.h"

#include <algorithm>
#include <cstdio>

#include "LayoutFit.h"
#include "Windows1252.h"

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

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

bool InCodePage(char32_t c) { return UnicodeToWindows1252(c) != '?' || c == U'?'; }

// What Text holds for any text: its bytes when it is plain, else the
// nearest plain text.
std::string PlainForm(const std::u32string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char32_t c : text) {
    if (c == U'\n') bytes.push_back(' ');
    else if (IsControl(c)) bytes.push_back('?');
    else bytes.push_back(static_cast<char>(UnicodeToWindows1252(c)));
  }
  const std::size_t first = bytes.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return bytes.substr(first, bytes.find_last_not_of(' ') - first + 1);
}

bool IsPlain(const std::u32string& text) {
  if (!text.empty() && (text.front() == U' ' || text.back() == U' ')) return false;
  return std::all_of(text.begin(), text.end(), [](char32_t c) { return InCodePage(c) && !IsControl(c); });
}

std::string EscapedUtf8(const std::u32string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const bool atEnd = i == 0 || i + 1 == text.size();
    if (c == U'\\') out += "\\\\";
    else if (c == U'\n') out += "\\n";
    else if (c == U'\r') out += "\\r";
    else if (c == U'\t') out += "\\t";
    else if (IsControl(c) || (c == U' ' && atEnd)) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(c));
      out += code;
    } else {
      out += CodePointsToUtf8(std::u32string(1, c));
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The text of an escaped value; nothing when an escape or the UTF-8 is broken.
std::optional<std::u32string> UnescapedUtf8(const std::string& value) {
  std::string utf8;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      utf8.push_back(value[i]);
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case '\\': utf8.push_back('\\'); break;
      case 'n': utf8.push_back('\n'); break;
      case 'r': utf8.push_back('\r'); break;
      case 't': utf8.push_back('\t'); break;
      case 'x': {
        const int high = i + 2 < value.size() ? HexDigit(value[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(value[i + 2]) : -1;
        if (low < 0 || high > 7) return std::nullopt;
        utf8.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  std::u32string text;
  if (!Utf8ToCodePoints(utf8, text)) return std::nullopt;
  return text;
}

const char* AlignName(LineAlign align) {
  switch (align) {
    case LineAlign::Centre: return "centre";
    case LineAlign::Right: return "right";
    default: return "left";
  }
}

// The text options, when the profile holds any; an unknown alignment reads as left.
std::optional<TextOptions> ReadTextOptions(const Profile& profile) {
  const char* p = AppSettings::kParameters;
  const std::string align = profile.GetString(p, "Align", "");
  const std::string kerning = profile.GetString(p, "Kerning", "");
  const std::string fallback = profile.GetString(p, "FontFallback", "");
  if (align.empty() && kerning.empty() && fallback.empty()) return std::nullopt;
  TextOptions options;
  options.align = align == "centre" ? LineAlign::Centre : align == "right" ? LineAlign::Right : LineAlign::Left;
  options.kerning = kerning == "1";
  options.fontFallback = fallback == "1";
  return options;
}

}  // namespace

std::pair<std::string, std::string> StoredTextEntries(const std::u32string& text) {
  if (IsPlain(text)) return {PlainForm(text), std::string()};
  return {PlainForm(text), EscapedUtf8(text)};
}

std::u32string TextFromStored(const std::string& text, const std::string& textUtf8) {
  if (!textUtf8.empty()) {
    if (const std::optional<std::u32string> full = UnescapedUtf8(textUtf8); full && PlainForm(*full) == text) {
      return *full;
    }
  }
  std::u32string characters;
  characters.reserve(text.size());
  for (char b : text) characters.push_back(Windows1252ToUnicode(static_cast<unsigned char>(b)));
  return characters;
}

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
  // A value never holds a line break, so this default tells a missing key.
  const std::string storedText = profile.GetString(p, "Text", "\n");
  if (storedText != "\n") s.characters = TextFromStored(storedText, profile.GetString(p, "TextUtf8", ""));
  s.textOptions = ReadTextOptions(profile);
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
  if (s.characters) {
    const auto [text, textUtf8] = StoredTextEntries(*s.characters);
    entries.push_back({p, "Text", text});
    entries.push_back({p, "TextUtf8", textUtf8});
  }
  if (s.textOptions) {
    entries.push_back({p, "Align", AlignName(s.textOptions->align)});
    entries.push_back(entry(p, "Kerning", s.textOptions->kerning ? 1 : 0));
    entries.push_back(entry(p, "FontFallback", s.textOptions->fontFallback ? 1 : 0));
  }
  return entries;
}

bool WriteAppSettings(const Profile& profile, const AppSettings& settings, std::string* reason) {
  return profile.WriteAll(AppSettingsEntries(settings), reason);
}
