// The one path from letters to a mesh export, shared by glyphkiln and the
// desktop program so that both write the same bytes for the same settings:
// the em-height scaling of the settings, the meshes for the solid mode and
// the writer for the format.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "MeshFiles.h"
#include "MeshFormats.h"
#include "PieceMesh.h"
#include "TextSettings.h"

class CText3D;
class CGlyphOutline;

// The settings with the letters' height, depth and bevel multiplied so that
// one em has the length the export's em height asks for; unchanged without it.
TextSettings ScaledToEmHeight(const TextSettings& settings, const ExportSettings& exportSettings);

// The export meshes of letters built at `settings`: clean solids or the
// letters' exact geometry, as `exportSettings.solid` asks.
std::vector<PieceMesh> ExportMeshes(const CText3D& text, const TextSettings& settings,
                                    const ExportSettings& exportSettings);

// Writes letters built at `settings` (already scaled to the em height) to
// `path` in `format`: the meshes, or for VRML the world of the letters as
// built. False with a message for the user naming the file that failed.
// `library` places an OBJ's material library elsewhere (see SaveMeshFile).
bool SaveTextMeshes(const std::filesystem::path& path, MeshFormat format, const CText3D& text,
                    const TextSettings& settings, const ExportSettings& exportSettings, std::string& error,
                    const MaterialLibraryTarget* library = nullptr);

// The export of letters as built for display: `built` came from `bytes` and
// `outline` at the unscaled `settings`. With an em height the letters are
// rebuilt from the outline at the scaled settings, the build the command line
// makes for the same options (the VRML world too); without one `built` is
// written as it is.
bool ExportBuiltText(const std::filesystem::path& path, MeshFormat format, const std::string& bytes,
                     const CGlyphOutline& outline, const CText3D& built, const TextSettings& settings,
                     const ExportSettings& exportSettings, std::string& error);
