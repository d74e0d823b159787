// The steps of joining a piece's holes to its outer contour by bridges. They
// work on the piece's merged outline (bridgeContour / bridgePoint) and its
// holeMerged flags, and are public so that each can be checked on its own.
#pragma once

#include <cstddef>

#include "LetterPiece.h"

// The point at one position of the merged outline.
const CPoint2D& MergedPoint(const CLetterPiece& piece, std::size_t position);

// Whether a bridge from v (on the merged outline) to h (on an unjoined
// hole) would meet an edge of the merged outline other than those at v, or
// an edge of an unjoined hole other than those at h.
bool Blocked(const CLetterPiece& piece, const CPoint2D& v, const CPoint2D& h);

// The hole point a bridge from v goes to: the first one v can see, or its
// successor when that is visible too and nearer. -1 when none is visible.
int FindBridgeTarget(const CLetterPiece& piece, const CPoint2D& v, std::size_t hole);

// Inserts the whole of hole `hole`, from point `holePoint` round to it again,
// after merged position `position`, followed by a copy of that position, so
// the outline goes out along the bridge, round the hole and back.
void Splice(CLetterPiece& piece, std::size_t hole, std::size_t holePoint, std::size_t position);
