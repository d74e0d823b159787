// The font and the text of a command line: the face opened from a name or a
// file, the text read as characters (from the argument or a file), and the
// outline stream set with the layout options, warning about characters no
// face has.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "FontEngine.h"
#include "GlyphOutline.h"
#include "Options.h"

// The face the options name; null with the reason in `error`.
std::unique_ptr<Font> OpenFont(const CliOptions& options, std::string& error);

// The characters of the text: the argument or the file's contents as UTF-8;
// text that is not UTF-8 is read byte for byte as Windows-1252. False with
// the reason when the file cannot be read.
bool ReadText(const CliOptions& options, std::u32string& text, std::string& error);

// Refills `outline` from the text with the options' layout and, with
// --font-fallback, a fallback face found through fontconfig. Characters no
// face has are named in one warning on `warnings`.
void ExtractText(CGlyphOutline& outline, const std::u32string& text, const Font& font,
                 const CliOptions& options, std::FILE* warnings);
