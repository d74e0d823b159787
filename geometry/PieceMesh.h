// The triangle mesh of one letter piece as the export formats want it: the
// front and back faces cut into triangles, the side wall's quads split in
// two, equal vertices welded into one, so that a piece whose letter geometry
// is closed becomes one watertight surface wound counter-clockwise seen from
// outside.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "LetterPiece.h"

class CText3D;

struct PieceMesh {
  std::vector<CVertex3F> vertices;
  std::vector<std::array<std::uint32_t, 3>> triangles;
  int colour = 255;     // COLORREF 0x00BBGGRR
  int letterCode = 0;   // the letter's byte, sign-extended as in CLetter
  int letterIndex = 0;  // position of the letter in the text
  int pieceIndex = 0;   // position of the piece in its letter
  std::string name;     // the piece's name in a file it was read from
};

// The mesh of a piece whose mesh has been built (BuildMesh). Triangles that
// repeat a vertex after welding are dropped; triangles without area whose
// long edge is shared are turned into two with the neighbour across it.
PieceMesh BuildPieceMesh(const CLetterPiece& piece);

// Welds vertices at the same place into one, drops triangles that then
// repeat a vertex, turns triangles without area as BuildPieceMesh does and
// keeps only the vertices a triangle uses.
void WeldMesh(PieceMesh& mesh);

// Every piece with at least one triangle, letter by letter, each scaled by
// `scale` about the origin.
std::vector<PieceMesh> BuildTextMeshes(const CText3D& text, double scale = 1.0);

// "A" for a letter or digit, "U+00C5" style for other bytes: a name usable in
// file formats that take identifiers.
std::string LetterName(int letterCode);
