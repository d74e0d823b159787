// --dump-geometry: the letters after nesting and bridging, as JSON.
#pragma once

#include <cstdio>
#include <string>

#include "Text3D.h"

// {"text", "bounds": [l, t, r, b], "letters": [{"code", "bounds", "pieces":
// [{"contours": [[[x, y], ...], ...], "merged": [[contour, point], ...],
// "holeMerged": [...]}]}]} in model units at full double precision. The
// text is the characters the letters were made from, as UTF-8 (JSON
// escapes for control characters such as the line feed).
std::string GeometryJson(const CText3D& text, const std::u32string& characters);

// Writes GeometryJson and a newline; false when writing failed.
bool DumpGeometry(const CText3D& text, const std::u32string& characters, std::FILE* out);
