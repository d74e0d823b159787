// Reading a mesh file back for checking: STL (binary or text) with the
// project's own reader, split into connected surfaces; OBJ, binary glTF and
// 3MF through assimp's importers, one piece per mesh a node places, with the
// node's transform applied and the node's name kept.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "PieceMesh.h"

// Whether the path names a file of a format ReadMeshFilePieces reads.
bool IsReadableMeshFile(const std::filesystem::path& path);

// False with `error` when the file cannot be read or holds no triangles.
// Corners at the same place are not welded here; the check does that.
bool ReadMeshFilePieces(const std::filesystem::path& path, std::vector<PieceMesh>& pieces, std::string& error);
