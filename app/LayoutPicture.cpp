// The layout view's picture: letters filled flat, selection marks inverted.
#include "LayoutPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "QtEdge.h"
#include "Text3D.h"

namespace {

// Inverts every other pixel along the inside of a rectangle (right and
// bottom outside), like a focus rectangle: drawn twice it is gone.
void InvertDottedRect(QImage& image, int left, int top, int right, int bottom) {
  auto invert = [&image](int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height() || (x + y) % 2 != 0) return;
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    line[x] ^= 0x00FFFFFF;
  };
  if (right <= left || bottom <= top) return;
  for (int x = left; x < right; ++x) {
    invert(x, top);
    if (bottom - 1 != top) invert(x, bottom - 1);
  }
  for (int y = top + 1; y < bottom - 1; ++y) {
    invert(left, y);
    if (right - 1 != left) invert(right - 1, y);
  }
}

void DrawLetters(QImage& image, const CText3D& text, const LayoutFit& fit) {
  QPainter painter(&image);
  // At one device pixel a unit the letters keep their crisp whole-pixel
  // edges; on a denser screen they are drawn smooth at the device's pixels.
  const bool dense = image.devicePixelRatio() != 1.0;
  painter.setRenderHint(QPainter::Antialiasing, dense);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  for (const CLetter& letter : text.letters) {
    for (const auto& piece : letter.pieces) {
      if (piece->contours.empty()) continue;
      // One path per piece with the even-odd rule: holes show the background.
      QPainterPath path;
      path.setFillRule(Qt::OddEvenFill);
      for (const auto& contour : piece->contours) {
        if (contour->Empty()) continue;
        QPolygonF polygon;
        polygon.reserve(static_cast<qsizetype>(contour->Size()) + 1);
        for (const CPoint2D& p : contour->points) {
          polygon.append(dense ? QPointF(p.x * fit.scaleX + fit.offsetX, p.y * fit.scaleY + fit.offsetY)
                               : QPointF(fit.X(p.x), fit.Y(p.y)));
        }
        polygon.append(polygon.front());
        path.addPolygon(polygon);
      }
      painter.setBrush(FromColorref(static_cast<std::uint32_t>(piece->colour)));
      painter.drawPath(path);
    }
  }
}

void DrawMark(QImage& image, const std::vector<PieceRect>& rects, int piece) {
  if (piece < 0 || piece >= static_cast<int>(rects.size())) return;
  // The mark goes round the piece's rectangle in device pixels.
  const double ratio = image.devicePixelRatio();
  const PieceRect& u = rects[static_cast<std::size_t>(piece)];
  const PieceRect r{qRound(u.left * ratio), qRound(u.top * ratio), qRound(u.right * ratio),
                    qRound(u.bottom * ratio)};
  InvertDottedRect(image, r.left - 1, r.top - 1, r.right, r.bottom);
  InvertDottedRect(image, r.left, r.top, r.right + 1, r.bottom + 1);
  InvertDottedRect(image, r.left - 2, r.top - 2, r.right + 2, r.bottom + 2);
}

}  // namespace

QImage LayoutPicture(const CText3D* text, const LayoutFit& fit, const PieceSelection& selection, QSize size,
                     double pixelRatio) {
  QImage image((QSizeF(size) * pixelRatio).toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.setDevicePixelRatio(pixelRatio);
  image.fill(Qt::white);
  if (!text) return image;
  DrawLetters(image, *text, fit);
  for (int piece : selection.Selected()) DrawMark(image, selection.Rects(), piece);
  return image;
}
