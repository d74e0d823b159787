// Writers of the letter meshes in the formats other programs load: STL for
// printers, OBJ with its material library for modelling and rendering
// programs, binary glTF for the web and game engines, 3MF for slicers. Each
// writes into a stream and leaves the saving to the caller; the stream's
// state (and the return value where a library can fail) tells whether the
// writing succeeded.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "MeshFormats.h"
#include "PieceMesh.h"

// One solid holding every piece. Binary: an 80-byte header, the triangle
// count, and per triangle its normal and corners as little-endian floats.
void WriteStl(const std::vector<PieceMesh>& meshes, std::ostream& out, bool ascii);

// One object per piece, named letter_position_piece, with the material of its
// colour from the library `mtlName`, which sits beside the OBJ file.
void WriteObj(const std::vector<PieceMesh>& meshes, const std::string& mtlName, std::ostream& out);
// One material per colour used, named colour_RRGGBB.
void WriteMtl(const std::vector<PieceMesh>& meshes, std::ostream& out);
// The material name of a COLORREF colour.
std::string ColourMaterialName(int colour);

// glTF 2.0 binary: one node and one mesh per piece, one material per colour,
// y up, coordinates multiplied by `metresPerUnit` (glTF's unit is the metre).
void WriteGlb(const std::vector<PieceMesh>& meshes, double metresPerUnit, std::ostream& out);

// 3MF: one object per piece, with its colour as a base material and the
// model's unit stated; false with `error` filled when the library fails.
bool WriteThreeMf(const std::vector<PieceMesh>& meshes, LengthUnit unit, std::ostream& out,
                  std::string& error);

// Moves every mesh up so that the lowest point of all of them lies at z = 0:
// the letters' backs rest on a printer's bed.
void PlaceOnBed(std::vector<PieceMesh>& meshes);
