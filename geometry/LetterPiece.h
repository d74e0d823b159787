// One solid piece of a letter: an outer contour with the holes directly
// inside it, the merged outline that joins them, and the extruded mesh.
// A piece owns the contours in both of its contour arrays.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "BoundRect.h"
#include "Contour.h"

// One mesh vertex: three packed floats, handed to the renderer and the VRML
// writer as one block of floats.
struct CVertex3F {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
static_assert(sizeof(CVertex3F) == 12, "vertices are passed on as packed float triples");

// One entry of a merged outline: point `point` of contour `contour`.
struct OutlinePoint {
  std::uint32_t contour = 0;
  std::uint32_t point = 0;
  friend bool operator==(const OutlinePoint&, const OutlinePoint&) = default;
};

class CLetterPiece {
 public:
  CLetterPiece(int colour, double depth) : colour(colour), depth(depth) {}

  // Takes ownership and widens the bounds by the contour's bounds.
  void AddContour(std::unique_ptr<CContour> contour);
  // Resets the bounds and takes the union of every contour in `contours`.
  void RecomputeBounds();

  void SetColour(int c) { colour = c; }
  void SetDepth(double d) { depth = d; }
  void Scale(double factor);

  // Orients the outer contour clockwise and the holes counter-clockwise
  // (y up), then bridges the holes into the merged outline, which it
  // replaces.
  void CalculateContours();

  // Solid building: offset contours for the bevel, then the mesh.
  void SetBevel(int steps, double size);
  void BuildBevelContours(double size);
  void BuildMesh();
  void AddFace(int base, int a, int b, int c, int d);

  int faceCount = 0;
  std::vector<std::unique_ptr<CContour>> contours;       // [0] outer, then holes
  std::vector<std::unique_ptr<CContour>> bevelContours;  // one per contour, or empty
  int colour = 255;  // COLORREF 0x00BBGGRR
  double depth = 0.2;
  CBoundRect bounds;
  double bevelSize = 0.0;
  int bevelSteps = 0;
  // The outer contour with every hole that could be bridged spliced in: out
  // along a bridge, round the hole and back. Empty for a piece without holes.
  std::vector<OutlinePoint> mergedOutline;
  std::vector<CVertex3F> vertices;
  std::vector<int> frontFace;  // polygon, ends with -1
  std::vector<int> backFace;   // polygon, ends with -1
  std::vector<int> sideFaces;  // quads, each ends with -1
};
