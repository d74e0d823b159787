// The layout view's picture at a size: the letters filled flat in their
// colours (holes show the white background) and a dotted mark, drawn by
// inverting, around each selected piece.
#pragma once

#include <QImage>
#include <QSize>

#include "LayoutFit.h"
#include "PieceSelection.h"

class CText3D;

// size is in the window's units; the picture holds pixelRatio device pixels
// to a unit (and says so as its device pixel ratio).
QImage LayoutPicture(const CText3D* text, const LayoutFit& fit, const PieceSelection& selection, QSize size,
                     double pixelRatio = 1.0);
