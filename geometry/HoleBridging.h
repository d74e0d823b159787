// Joining a piece's holes to its outer contour by bridges, so that a piece
// with holes can be filled as one (non-convex) polygon.
#pragma once

#include <memory>
#include <vector>

#include "Contour.h"
#include "LetterPiece.h"

// The merged outline of an outer contour (contours[0], clockwise with y up)
// and its holes (the rest, counter-clockwise). Empty when there are no holes.
//
// The rules: the scan walks the outline forward from its first point. From
// a point v that does not already carry a bridge, the first hole (in contour
// order) with a point v can see gets a bridge to its first visible point, or
// to that point's successor when the successor is visible too and nearer
// (Manhattan distance). When the outline's next point also carries no bridge
// and reaches the same hole by a shorter bridge, the bridge starts there
// instead. The hole is spliced in after the bridge's start: round the hole
// from the target back to it, then back to the start. The scan goes on from
// the hole's first point, so a hole can be reached through another hole
// joined before it; a hole that no point after it can see stays out.
//
// v sees h when the segment vh touches no edge of the merged outline other
// than those ending at v, and no edge of a hole not yet joined other than
// those ending at h.
std::vector<OutlinePoint> BridgeHoles(const std::vector<std::unique_ptr<CContour>>& contours);
