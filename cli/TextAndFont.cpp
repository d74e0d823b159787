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

void ExtractText(CGlyphOutline& outline, const std::u32string& text, const Font& font,
                 const CliOptions& options, std::FILE* warnings) {
  TextLayout layout;
  layout.kerning = options.kerning;
  layout.align = options.align == "right"    ? LineAlign::Right
                 : options.align == "centre" ? LineAlign::Centre
                                             : LineAlign::Left;
  FontDescription like = DescriptionOf(options);
  if (!options.fontFile.empty()) like.faceName = font.Family();
  const std::u32string missing =
      ExtractWithFallback(outline, text, font, layout, options.fontFallback ? &like : nullptr);
  if (!missing.empty() && warnings) {
    std::fprintf(warnings, "glyphkiln: warning: %s\n", MissingGlyphWarning(font, missing).c_str());
  }
}
