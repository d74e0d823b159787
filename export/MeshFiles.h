// Saving the letter meshes in one of the export formats, each file through
// the atomic save. An OBJ file brings its material library: the MTL file of
// the same name beside it, saved first, so an OBJ never names a library that
// was not written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "MeshFormats.h"
#include "PieceMesh.h"

// Where an OBJ file's material library is written and the name the OBJ's
// mtllib line gives it: by default the MTL file beside the OBJ. A caller
// that stages its outputs in temporary files writes the library to its own
// temporary while the OBJ still names the final file.
struct MaterialLibraryTarget {
  std::filesystem::path path;
  std::string name;
};

// `meshes` are in model units, each unit standing for one `settings.unit`.
// STL and 3MF get the letters lying on the bed (lowest point at z = 0), glTF
// metres. `format` must not be VRML. On failure returns false with the
// atomic save's message and reason, naming the file that failed in `failedPath`.
bool SaveMeshFile(const std::filesystem::path& path, MeshFormat format,
                  std::vector<PieceMesh> meshes, const ExportSettings& settings,
                  std::string& message, std::string& reason, std::filesystem::path& failedPath,
                  const MaterialLibraryTarget* library = nullptr);

// The material library's file name for an OBJ file: the same name ending ".mtl".
std::filesystem::path MaterialLibraryPath(const std::filesystem::path& objPath);
