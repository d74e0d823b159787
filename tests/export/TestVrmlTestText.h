// Hand-built texts for the world writer's tests: letters, pieces and meshes
// filled in directly, so the writer is checked on its own.
#pragma once

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GlyphOutline.h"
#include "Letter.h"
#include "LetterPiece.h"
#include "Text3D.h"
#include "VrmlWriter.h"

namespace vrmltest {

inline CText3D EmptyText() { return CText3D("", CGlyphOutline{}, 255, 1.0, 0.2); }

// A clockwise triangle extruded to depth 0.25 with a straight side: six
// vertices, front 4 2 0, back 1 3 5 and three side quads.
inline std::unique_ptr<CLetterPiece> TrianglePiece(CPoint2D a, CPoint2D b, CPoint2D c, int colour) {
  auto piece = std::make_unique<CLetterPiece>(colour, 0.25);
  auto contour = std::make_unique<CContour>();
  for (const CPoint2D& p : {a, b, c}) contour->Add(p);
  piece->AddContour(std::move(contour));
  for (const CPoint2D& p : {a, b, c}) {
    piece->vertices.push_back(CVertex3F{float(p.x), float(p.y), 0.0f});
    piece->vertices.push_back(CVertex3F{float(p.x), float(p.y), -0.25f});
  }
  piece->frontFace = {4, 2, 0, -1};
  piece->backFace = {1, 3, 5, -1};
  piece->sideFaces = {1, 0, 2, 3, -1, 3, 2, 4, 5, -1, 5, 4, 0, 1, -1};
  piece->faceCount = 5;
  return piece;
}

// A letter whose pieces are given; an empty pointer stands for a piece
// without contours (the first piece of a split letter, or a blank).
inline CLetter MakeLetter(int code, std::vector<std::unique_ptr<CLetterPiece>> pieces) {
  CLetter letter;
  letter.code = code;
  for (auto& piece : pieces) {
    letter.AddPiece(piece ? std::move(piece) : std::make_unique<CLetterPiece>(255, 0.25));
  }
  return letter;
}

inline std::string WorldOf(const CText3D& text) {
  std::ostringstream out;
  WriteVrml(text, out);
  return out.str();
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vrmltest
