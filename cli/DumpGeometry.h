// --dump-geometry: the letters after nesting and bridging, as JSON.
#pragma once

#include <cstdio>
#include <string>

#include "Text3D.h"

// {"text", "bounds": [l, t, r, b], "letters": [{"code", "bounds", "pieces":
// [{"contours": [[[x, y], ...], ...], "merged": [[contour, point], ...],
// "holeMerged": [...]}]}]} in model units at full double precision. The
// text is given back as UTF-8.
std::string GeometryJson(const CText3D& text);

// Writes GeometryJson and a newline; false when writing failed.
bool DumpGeometry(const CText3D& text, std::FILE* out);
