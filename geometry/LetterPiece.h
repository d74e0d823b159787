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
  // (y up), then bridges the holes into the merged outline. Runs once, on a
  // piece fresh from FindContours: it appends to the merged outline.
  void CalculateContours();

  // Solid building: offset contours for the bevel, then the mesh.
  void SetBevel(int steps, double size);
  int BuildBevelContours(double size);
  int BuildMesh();
  void AddFace(int base, int a, int b, int c, int d);

  int faceCount = 0;
  std::vector<std::unique_ptr<CContour>> contours;       // [0] outer, then holes
  std::vector<std::unique_ptr<CContour>> bevelContours;  // one per contour, or empty
  int colour = 255;  // COLORREF 0x00BBGGRR
  double depth = 0.2;
  CBoundRect bounds;
  double bevelSize = 0.0;
  int bevelSteps = 0;
  // Merged outline: entry k is point bridgePoint[k] of contour bridgeContour[k].
  std::vector<std::uint32_t> bridgeContour;
  std::vector<std::uint32_t> bridgePoint;
  std::vector<CVertex3F> vertices;
  std::vector<int> frontFace;  // polygon, ends with -1
  std::vector<int> backFace;   // polygon, ends with -1
  std::vector<int> sideFaces;  // quads, each ends with -1
  std::vector<CPoint2D> bridgeEnds;        // working data of the bridging
  std::vector<std::uint32_t> holeMerged;   // 1 once contour j is in the merged outline
};
