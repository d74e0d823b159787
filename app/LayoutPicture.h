// The layout view's picture at a size: the letters filled flat in their
// colours (holes show the white background) and a dotted mark, drawn by
// inverting, around each selected piece.
#pragma once

#include <QImage>
#include <QSize>

#include "LayoutFit.h"
#include "PieceSelection.h"

class CText3D;

QImage LayoutPicture(const CText3D* text, const LayoutFit& fit, const PieceSelection& selection, QSize size);
