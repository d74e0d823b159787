// --dump-outline: the raw outline stream as text.
#pragma once

#include <cstdio>

#include "GlyphOutline.h"

// One line per item, "x y kind" with four decimals, in font units and in
// stream order. False when writing failed.
bool DumpOutline(const CGlyphOutline& outline, std::FILE* out);
