// The mesh exports of glyphkiln: their options (format, unit, em height, STL
// form) and the writing of the output file in the format it asks for.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"
#include "PieceMesh.h"

class CText3D;

// The rows of the option table for the exports.
std::vector<OptionSpec> MeshOptionRows();

// The options with the letters' height, depth and bevel multiplied so that one
// em has the length --em-height asks for; unchanged without it.
CliOptions ScaledToEmHeight(const CliOptions& options);

// The format the output goes out in: --format, else the -o file's extension.
MeshFormat OutputFormat(const CliOptions& options);

// --check: one line per piece (closed, oriented, self-intersecting and
// degenerate triangles, volume) and a total; kExitFailure if any piece is
// not a sound solid. ChecksFile tells whether TEXT names a mesh file (STL,
// OBJ, GLB, 3MF) to check rather than a text to build.
bool ChecksFile(const CliOptions& options);
int CheckFile(const CliOptions& options, std::string& error);
int CheckText(const CText3D& text, const CliOptions& options);
int CheckSolids(const std::vector<PieceMesh>& pieces, std::FILE* out);

// Writes the finished text (meshes built) to the output file: the VRML world,
// or the meshes in an export format. False with a message for the user.
bool WriteOutputFile(const CText3D& text, const CliOptions& options, std::string& error);
