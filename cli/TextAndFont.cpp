// Font and text of a command line.
#include "TextAndFont.h"

#include <fstream>
#include <sstream>

#include "ExtractGlyphOutlines.h"
#include "Windows1252.h"

namespace {

FontDescription DescriptionOf(const CliOptions& options) {
  FontDescription description;
  description.faceName = options.fontName;
  description.style = options.fontStyle;
  description.weight = options.bold ? FontDescription::kWeightBold : FontDescription::kWeightNormal;
  description.italic = options.italic;
  return description;
}

// "Ω (U+03A9), 漢 (U+6F22)".
std::string NameCharacters(const std::u32string& characters) {
  std::string names;
  for (char32_t c : characters) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (!names.empty()) names += ", ";
    // Controls and blanks are named by their code alone.
    if (c > U' ' && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
      names += CodePointsToUtf8(std::u32string(1, c)) + " ";
    }
    names += "(" + std::string(code) + ")";
  }
  return names;
}

}  // namespace

std::unique_ptr<Font> OpenFont(const CliOptions& options, std::string& error) {
  if (!options.fontFile.empty()) {
    return Font::OpenFile(options.fontFile, static_cast<int>(options.faceIndex), &error,
                          options.fontStyle);
  }
  // A name that is not installed is an error here, where the desktop
  // program would quietly take a substitute.
  return Font::Open(DescriptionOf(options), true, &error);
}

bool ReadText(const CliOptions& options, std::u32string& text, std::string& error) {
  std::string bytes = options.text;
  if (!options.textFile.empty()) {
    std::ifstream in(options.textFile, std::ios::binary);
    std::ostringstream contents;
    if (in) contents << in.rdbuf();
    if (!in || in.bad()) {
      error = "cannot read text file '" + options.textFile + "'";
      return false;
    }
    bytes = contents.str();
    // A file's last line usually ends in a newline that starts no new line.
    if (!bytes.empty() && bytes.back() == '\n') bytes.pop_back();
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  }
  if (!Utf8ToCodePoints(bytes, text)) {
    text.clear();
    for (char b : bytes) text.push_back(Windows1252ToUnicode(static_cast<unsigned char>(b)));
  }
  return true;
}

std::string LetterBytes(const std::u32string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char32_t c : text) bytes.push_back(static_cast<char>(UnicodeToWindows1252(c)));
  return bytes;
}

void ExtractText(CGlyphOutline& outline, const std::u32string& text, const Font& font,
                 const CliOptions& options, std::FILE* warnings) {
  TextLayout layout;
  layout.kerning = options.kerning;
  layout.align = options.align == "right"    ? LineAlign::Right
                 : options.align == "centre" ? LineAlign::Centre
                                             : LineAlign::Left;
  std::u32string missing = ExtractGlyphOutlines(outline, text, font, layout);
  std::unique_ptr<Font> fallback;
  if (!missing.empty() && options.fontFallback) {
    FontDescription like = DescriptionOf(options);
    if (!options.fontFile.empty()) like.faceName = font.Family();
    // One face for all of them if there is one, else one for the first.
    std::optional<ResolvedFont> resolved = ResolveFaceCovering(missing, like);
    if (!resolved) resolved = ResolveFaceCovering(missing.substr(0, 1), like);
    if (resolved) fallback = Font::Open(*resolved);
    if (fallback) {
      layout.fallback = fallback.get();
      missing = ExtractGlyphOutlines(outline, text, font, layout);
    }
  }
  if (!missing.empty() && warnings) {
    std::fprintf(warnings, "glyphkiln: warning: %s %s has no glyph for %s\n",
                 font.Family().c_str(), font.Style().c_str(), NameCharacters(missing).c_str());
  }
}
