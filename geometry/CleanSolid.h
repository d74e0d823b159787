// Clean solids for printing and CAD: the contours of a letter (or of letters
// that touch, when asked) are unioned into outlines that never overlap, and
// the bevel is cut into the front face by inward offsets of those outlines,
// so the letter's outer edge stays where the font puts it. Every solid is
// checked before it is handed out: closed, consistently oriented, free of
// self-intersection, with positive volume. Where the full bevel does not fit
// (a stroke thinner than twice the bevel), the piece gets the largest smaller
// bevel that passes, down to none.
#pragma once

#include <vector>

#include "PieceMesh.h"

class CText3D;

struct CleanSolidOptions {
  int bevelSteps = 0;     // 0 none, 1 to 3 a chamfer (one straight band), 7 quarter-round fillet
  double bevelSize = 0.0; // model units, inward and into the depth
  bool mergeTouching = false;  // letters that touch or overlap become one piece
};

// One mesh per unioned outline with its holes, in model units, front at z = 0
// facing +z, back at z = -depth of the letter's first piece. The letters'
// contours must be oriented (CalculateContours).
std::vector<PieceMesh> BuildCleanMeshes(const CText3D& text, const CleanSolidOptions& options);
