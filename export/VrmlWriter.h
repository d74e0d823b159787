// Writes the solid letters as a VRML 2.0 world: one viewpoint, one directional
// light, and for every letter piece a shape for its front and back faces and
// one for its side wall, sharing one coordinate list.
#pragma once

#include <ostream>

class CText3D;
struct TextSettings;

// Writes the whole world to `out`. Every line ends with carriage return and
// line feed, and numbers are formatted the same whatever the process or the
// stream's locale, so the file is identical everywhere. The stream's state
// tells whether the writing succeeded.
void WriteVrml(const CText3D& text, std::ostream& out);

// The same world, byte for byte, for a text built with
// BuildOptions::lettersOnly: each letter is finished (FinishLetter with
// `settings`) on one of `threads` threads, written in its place and then
// emptied, so a long text never holds more than a few letters' meshes and
// their text at once. Afterwards the text keeps its bounds and light, but
// its letters have no pieces.
void WriteVrmlFinishing(CText3D& text, const TextSettings& settings, std::ostream& out,
                        unsigned threads);
