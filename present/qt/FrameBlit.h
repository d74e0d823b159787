// Shows the renderer's frame in a window. The frame lives in the renderer
// library as 5-6-5 pixels, bottom row first; it is copied into a QImage the
// right way up and drawn at the top left of a window up to 800 x 600 pixels,
// centred in a larger one. On a 256-colour display (GLYPHKILN_DISPLAY_DEPTH=8)
// the frame is first dithered to the colour cube, once per frame, and shown
// through the cube's colours.
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRgb>
#include <QSize>
#include <cstdint>

class QPainter;
class RendererBinding;

// Where a frame of frameWidth x frameHeight goes in the client area.
QPoint BlitOrigin(int clientWidth, int clientHeight, int frameWidth, int frameHeight);

// A copy of a bottom-up 5-6-5 frame as a top-down image; null image when the
// frame is missing or has no size.
QImage ImageFrom565(const unsigned short* pixels, int width, int height);
// A copy of a bottom-up frame of palette indices (width bytes a row) as a
// top-down indexed image with the given 256 colours.
QImage ImageFromIndices(const std::uint8_t* indices, int width, int height,
                        const QList<QRgb>& colours);

// The colour depth the frame is shown for: GLYPHKILN_DISPLAY_DEPTH when it
// holds a positive number, else the primary screen's depth (24 without one).
int DisplayDepth();

// The colours of the binding's library as Qt colours (256 entries): what an
// 8-bit frame's indices refer to; the cube for the 16-bit library. The
// platform's palette realisation has no counterpart here.
QList<QRgb> PaletteColours(const RendererBinding& binding);

// The binding's current frame as it is shown on a display of the given
// depth: null when there is no renderer view, no size or an unknown library.
// On an 8-bit display a 16-bit frame is dithered, but only once per frame.
QImage FrameImage(RendererBinding& binding, int displayDepth);

// Paints the current frame into a client area of the given size. Draws
// nothing when there is nothing to show; the area then keeps what it had.
// On a high-density screen the frame holds device pixels, pixelRatio of
// them to a unit of the client area.
void Blit(QPainter& painter, RendererBinding& binding, int clientWidth, int clientHeight,
          int displayDepth, double pixelRatio = 1.0);

// The view size in device pixels for a client area on a screen with this
// pixel ratio, and the largest view for it (the frame's 800 x 600 units).
QSize DeviceViewSize(int clientWidth, int clientHeight, double pixelRatio);
QSize DeviceViewLimit(double pixelRatio);
