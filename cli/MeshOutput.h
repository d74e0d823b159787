// The mesh exports of glyphkiln: their options (format, unit, em height, STL
// form) and the writing of the output file in the format it asks for.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "MeshFiles.h"
#include "Options.h"
#include "PieceMesh.h"
#include "StagedOutputs.h"

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

// The output file registered with `outputs` to be committed with the other
// outputs: for an OBJ file its material library first, then the OBJ, each
// written to its own temporary file. The paths to write them to, and the
// targets to mark as written.
struct StagedOutputFile {
  std::string path;
  std::optional<MaterialLibraryTarget> library;
  std::vector<std::string> targets;
};
StagedOutputFile StageOutputFile(const CliOptions& options, StagedOutputs& outputs);

// Writes the finished text (meshes built) to the staged output file: the VRML
// world, or the meshes in an export format. False with a message for the user.
bool WriteOutputFile(const CText3D& text, const CliOptions& options, const StagedOutputFile& staged,
                     std::string& error);
