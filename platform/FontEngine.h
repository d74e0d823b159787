// The font engine: the look-up of installed faces (FontLookup.h, fontconfig
// underneath) and the opened face that hands out outlines and advances
// (Font.h, FreeType underneath). No FreeType or fontconfig type appears in
// either header.
#pragma once

#include "Font.h"
#include "FontLookup.h"
