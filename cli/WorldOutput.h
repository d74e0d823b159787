// The VRML world output of glyphkiln: its options (output file, depth, bevel
// shape and size, colour, light) and the writing of the world.
#pragma once

#include <string>
#include <vector>

#include "Options.h"

class CText3D;
struct TextSettings;

// The rows of the option table for the world output.
std::vector<OptionSpec> WorldOptionRows();

// The file the world goes to: the -o value, or "g.wrl" in the current
// directory as the desktop program's Test command writes it.
std::string WorldPath(const CliOptions& options);

// Writes the world of the finished text (meshes built) to `path`, "-" being
// standard output. The file is replaced only by a complete world; false with
// a message for the user otherwise.
bool WriteWorldFile(const CText3D& text, const std::string& path, std::string& error);

// Whether the run's one output is a VRML world: then the letters need not be
// built whole first (BuildOptions::lettersOnly) but are finished and written
// one by one, on every core, through WriteWorldFileFinishing.
bool WritesOnlyWorld(const CliOptions& options);

// The same world as WriteWorldFile, for letters built with lettersOnly;
// each is finished with `settings` and emptied once written.
bool WriteWorldFileFinishing(CText3D& text, const TextSettings& settings, const std::string& path,
                             std::string& error);
