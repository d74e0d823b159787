// The letters of one line of text: built from the font's outline stream,
// split into pieces, oriented and bridged, then bevelled and meshed. The
// layout view owns exactly one; it is replaced by every rebuild.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BoundRect.h"
#include "GlyphOutline.h"
#include "Letter.h"

class CText3D {
 public:
  // Builds letters, pieces and contours from the outline extracted from the
  // same text; height is model units per em, depth the extrusion depth.
  CText3D(const std::string& text, const CGlyphOutline& outline, int colour, double height,
          double depth);

  // Takes ownership and widens the bounds by the letter's bounds.
  void AddLetter(CLetter letter);

  // Decides outer contours and holes by nesting and regroups every letter so
  // that each piece holds one outer contour followed by its holes.
  void FindContours();
  // Orients outer contours clockwise and holes counter-clockwise (y up) and
  // bridges the holes into one merged outline per piece.
  void CalculateContours();
  // Bit 0: light from the back, bit 1: light from the left.
  void SetLight(int flags);
  void SetColour(int colour);
  void SetDepth(double depth);
  // Multiplies every contour point (bevel contours included) and every
  // bounds by factor; depth, bevel size and light are left alone.
  void Scale(double factor);
  void SetBevel(int steps, double size);
  void BuildMeshes();

  // The n-th piece over the letters whose bounds are not degenerate, counting
  // every piece of such a letter; null when n is out of range.
  CLetterPiece* PieceAt(int n) const;

  std::string text;
  std::vector<CLetter> letters;
  CBoundRect bounds;
  // The light direction stored as z, y, x: consumers take (x, y, z) as
  // (lightDir[2], lightDir[1], lightDir[0]).
  float lightDir[3] = {0.0f, 0.0f, 0.0f};
};

// Everything the whole build takes besides the text and its outline stream.
struct TextBuildSettings {
  int colour;  // COLORREF 0x00BBGGRR
  double height;
  double depth;
  int lightFlags;  // as SetLight
  int bevelSteps;
  double bevelSize;
};
// The letters of text carried through the whole build: construction from the
// outline stream, FindContours, CalculateContours, SetLight, SetBevel and
// BuildMeshes.
std::unique_ptr<CText3D> BuildText3D(const std::string& text, const CGlyphOutline& outline,
                                     const TextBuildSettings& settings);

// Per-piece (colour, depth) pairs recorded before a font change and applied
// by position to the letters built with the new font.
struct PieceAttributes {
  int colour;
  double depth;
};
std::vector<PieceAttributes> RecordPieceAttributes(const CText3D& text, int colourSetting,
                                                   double depthSetting);
void ApplyPieceAttributes(CText3D& text, const std::vector<PieceAttributes>& recorded);
