// Copying the renderer's frame into a window.
#include "FrameBlit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QtMath>
#include <cstdlib>

#include "CubePalette.h"
#include "FramePictures.h"
#include "RendererBinding.h"

namespace {

// Frames larger than this never occur: the binding clamps its view to it.
constexpr int kMaxFrameWidth = 800;
constexpr int kMaxFrameHeight = 600;

// The frame's rows into an image of the same size, the right way up.
void CopyRowsBottomUp(QImage& image, const void* frame, std::size_t rowBytes) {
  CopyFrameTopDown(frame, rowBytes, image.height(), image.bits(), static_cast<std::size_t>(image.bytesPerLine()));
}

}  // namespace

QPoint BlitOrigin(int clientWidth, int clientHeight, int frameWidth, int frameHeight) {
  const int x = clientWidth > kMaxFrameWidth ? (clientWidth - frameWidth) / 2 : 0;
  const int y = clientHeight > kMaxFrameHeight ? (clientHeight - frameHeight) / 2 : 0;
  return {x, y};
}

QImage ImageFrom565(const unsigned short* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0)
    return {};
  QImage image(width, height, QImage::Format_RGB16);
  CopyRowsBottomUp(image, pixels, static_cast<std::size_t>(width) * sizeof(unsigned short));
  return image;
}

QImage ImageFromIndices(const std::uint8_t* indices, int width, int height,
                        const QList<QRgb>& colours) {
  if (!indices || width <= 0 || height <= 0)
    return {};
  QImage image(width, height, QImage::Format_Indexed8);
  QList<QRgb> table = colours;
  table.resize(256, qRgb(0, 0, 0));  // every index must have a colour
  image.setColorTable(table);
  CopyRowsBottomUp(image, indices, static_cast<std::size_t>(width));
  return image;
}

int DisplayDepth() {
  if (const char* forced = std::getenv("GLYPHKILN_DISPLAY_DEPTH")) {
    char* end = nullptr;
    const long depth = std::strtol(forced, &end, 10);
    if (end != forced && *end == '\0' && depth > 0 && depth <= 32)
      return static_cast<int>(depth);
  }
  if (qGuiApp) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      return screen->depth();
  }
  return 24;
}

QList<QRgb> PaletteColours(const RendererBinding& binding) {
  QList<QRgb> colours;
  colours.reserve(CubePalette::kEntries);
  for (const PaletteEntry& entry : binding.Palette().Entries())
    colours.append(qRgb(entry.red, entry.green, entry.blue));
  return colours;
}

QImage FrameImage(RendererBinding& binding, int displayDepth) {
  if (!binding.View() || binding.Width() <= 0 || binding.Height() <= 0)
    return {};
  const int width = binding.Width();
  const int height = binding.Height();
  switch (binding.BitsPerPixel()) {
    case 16:
      if (displayDepth != 8)
        return ImageFrom565(binding.Frame16(), width, height);
      // A 256-colour display: the cube's indices, dithered once per frame.
      [[fallthrough]];
    case 8:
      // The 8-bit library's buffer already holds palette indices.
      return ImageFromIndices(binding.Frame8(), width, height, PaletteColours(binding));
    default:
      return {};
  }
}

void Blit(QPainter& painter, RendererBinding& binding, int clientWidth, int clientHeight,
          int displayDepth, double pixelRatio) {
  QImage frame = FrameImage(binding, displayDepth);
  if (frame.isNull())
    return;
  if (pixelRatio == 1.0) {
    painter.drawImage(BlitOrigin(clientWidth, clientHeight, frame.width(), frame.height()), frame);
    return;
  }
  frame.setDevicePixelRatio(pixelRatio);
  const QSizeF units = frame.deviceIndependentSize();
  painter.drawImage(BlitOrigin(clientWidth, clientHeight, qCeil(units.width()), qCeil(units.height())),
                    frame);
}

QSize DeviceViewSize(int clientWidth, int clientHeight, double pixelRatio) {
  return {qRound(clientWidth * pixelRatio), qRound(clientHeight * pixelRatio)};
}

QSize DeviceViewLimit(double pixelRatio) {
  return DeviceViewSize(kMaxFrameWidth, kMaxFrameHeight, pixelRatio);
}
