// The picture output of glyphkiln: the letters fitted into the picture (or
// framed as the examiner window shows them right after fitting), turned and
// zoomed on request, saved as a GIF the way the desktop program's Save GIF
// does or with a palette made for the picture, as a full-colour PNG, or as
// an animated GIF of the letters turning once.
#pragma once

#include <string>
#include <vector>

#include "Options.h"

class CText3D;

// The rows of the option table for pictures.
std::vector<OptionSpec> PictureOptionRows();

// Picture settings that cannot go together; false with a usage message.
bool CheckPictureOptions(const CliOptions& options, std::string& error);

// True when --gif or --png was given.
bool WantsPictures(const CliOptions& options);

// Renders the finished text (meshes built) and writes the requested
// pictures. False with a message for the user when the renderer cannot be
// started or a file cannot be written; a file is replaced only by a
// complete picture.
bool WritePictures(const CText3D& text, const CliOptions& options, std::string& error);
