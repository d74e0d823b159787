// Turns a text and a font into the raw outline stream the letters are built
// from: per character its polygons as unflattened items in font units
// (1/1000 em, y up), placed along the pen, then one character-end item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FontEngine.h"
#include "GlyphOutline.h"

// Refills `outline` from `text` (bytes read as Windows-1252). Characters
// follow one another at the font's advance widths, without kerning. A
// character the font cannot outline adds only its character-end item and
// does not move the pen.
void ExtractGlyphOutlines(CGlyphOutline& outline, const std::string& text, const Font& font);

// Appends one character's polygons, shifted right by penX font units: per
// polygon the start point, its line and quadratic-spline points (the implied
// midpoints between consecutive control points made here), then a
// contour-end item. Cubic records are skipped.
void AppendGlyphPolygons(CGlyphOutline& outline, const std::vector<GlyphPolygon>& polygons,
                         std::int64_t penX);
