// Reading an STL file back for checking: binary or text, vertices at the same
// place welded, and the triangles split into the connected surfaces they
// form, one mesh each.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "PieceMesh.h"

// False with `error` when the file cannot be read or is not STL.
bool ReadStlPieces(const std::filesystem::path& path, std::vector<PieceMesh>& pieces, std::string& error);
