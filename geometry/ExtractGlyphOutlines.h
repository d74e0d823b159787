// Turns a text and a font into the raw outline stream the letters are built
// from: per character its polygons as unflattened items in font units
// (1/1000 em, y up), placed along the pen and down the lines, then one
// character-end item. The layout (lines, alignment, shaping, fallback face)
// is decided here, so that the letter build only sees placed outlines.
#pragma once

#include <string>
#include <vector>

#include "FontEngine.h"
#include "GlyphOutline.h"

enum class LineAlign { Left, Centre, Right };

// How a text is set besides its font.
struct TextLayout {
  // Shape every line (kerning pairs, ligatures, marks, right-to-left runs);
  // without it characters follow one another at their advance widths.
  bool kerning = false;
  // Where the shorter lines of a text of several go, against the longest.
  LineAlign align = LineAlign::Left;
  // Characters the font lacks are taken from this face when it has them.
  const Font* fallback = nullptr;
};

// Refills `outline` from `text`, a sequence of Unicode characters. A line
// feed (or carriage return and line feed) starts a new line one line height
// of the font lower; it is a character of its own with no outline. Every
// character gets its character-end item, in text order, and its letter code
// in outline.codes: the signed Windows-1252 byte for a character the code
// page holds (so the letters of such a text are those of its bytes), the
// code point for any other. A character the font cannot outline adds only
// its character-end item and does not move the pen. Returns the characters
// that neither the font nor the fallback holds (they get the font's
// missing-glyph box), each once, in text order.
std::u32string ExtractGlyphOutlines(CGlyphOutline& outline, const std::u32string& text,
                                    const Font& font, const TextLayout& layout = {});

// The same, and with `fallbackLike` the characters the font lacks are taken
// from the installed face fontconfig prefers near that description among
// those holding them (one face for all of them when there is one, else one
// for the first); layout.fallback is not read. Returns the characters that
// are still missing.
std::u32string ExtractWithFallback(CGlyphOutline& outline, const std::u32string& text, const Font& font,
                                   TextLayout layout, const FontDescription* fallbackLike);

// The warning for characters no face has: "<family> <style> has no glyph
// for Ω (U+03A9), ..."; empty when none is missing.
std::string MissingGlyphWarning(const Font& font, const std::u32string& missing);

// The same for letter bytes read as Windows-1252, one line, no shaping.
void ExtractGlyphOutlines(CGlyphOutline& outline, const std::string& text, const Font& font);

// Appends one character's polygons, shifted right by penX and up by penY
// font units: per polygon the start point, its line and quadratic-spline
// points (the implied midpoints between consecutive control points made
// here), then a contour-end item.
void AppendGlyphPolygons(CGlyphOutline& outline, const std::vector<GlyphPolygon>& polygons,
                         double penX, double penY = 0.0);
