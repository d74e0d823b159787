// Makes the start-up picture, resources/splash.bmp: the program's own solid
// letters drawn by its own renderer, dithered to the colour cube, with the
// program's name below, stored as a 414 x 295 bitmap of 256 colours with the
// cube as its colour table. Not part of the build; run it again only to
// change the artwork:
//   g++ -std=c++20 -fPIC splash-make.cpp -I../geometry -I../platform -I../present \
//     -I../present/qt -I../rastel -I../export $(pkg-config --cflags Qt6Gui) \
//     <build>/lib/libzarn_present_qt.a <build>/lib/libzarn_present.a <build>/lib/libzarn_export.a \
//     <build>/lib/libzarn_geometry.a <build>/lib/libzarn_platform.a \
//     $(pkg-config --libs Qt6Gui freetype2 fontconfig) -ldl -o splash-make
//   QT_QPA_PLATFORM=offscreen ./splash-make <build>/bin splash.bmp
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "FrameBlit.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace {

constexpr int kWidth = 414;
constexpr int kHeight = 295;
constexpr int kBandHeight = 72;  // the name band under the letters

class Letters {
 public:
  explicit Letters(std::unique_ptr<CText3D> text) : m_text(std::move(text)) {}
  const CText3D* CurrentText() const { return m_text.get(); }

 private:
  std::unique_ptr<CText3D> m_text;
};

std::unique_ptr<CText3D> BevelledLetters(const Font& font) {
  CGlyphOutline outline;
  const std::string text = "Glyphkiln";
  ExtractGlyphOutlines(outline, text, font);
  TextSettings settings;
  settings.colour = 0x0000FF;
  settings.depth = 0.3;
  settings.lightFlags = 2;
  settings.bevelSteps = 2;
  settings.bevelSize = 0.04;
  auto letters = BuildText3D(text, outline, settings);
  return letters;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: splash-make RENDERER_DIR OUTPUT.bmp\n");
    return 2;
  }
  const std::unique_ptr<Font> font = Font::Open(FontDescription{});
  if (!font)
    return 1;
  RendererBindingOptions options;
  options.directories = {argv[1]};
  options.useSystemSearchPath = false;
  RendererBinding binding(options);
  if (!binding.View()) {
    std::fprintf(stderr, "no renderer in %s\n", argv[1]);
    return 1;
  }
  Letters letters(BevelledLetters(*font));
  binding.SetBackground(0x000000);
  binding.SetViewSize(kWidth + 2, kHeight - kBandHeight);
  binding.FitCamera(letters.CurrentText());
  binding.SetLightFromText(*letters.CurrentText());
  binding.ViewCamera().Zoom(1.0f);
  binding.ViewCamera().Rotate(-0.2f, 0.25f);
  binding.DrawScene(letters.CurrentText());

  // The letters as a 256-colour display would show them: dithered to the cube.
  const QImage frame = FrameImage(binding, 8);
  const QList<QRgb> cube = PaletteColours(binding);

  QImage picture(kWidth, kHeight, QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  // Perspective pushes the letters off centre: centre what was drawn.
  const QRgb background = frame.pixel(0, 0);
  int left = frame.width();
  int right = -1;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixel(x, y) != background) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  const int shift = right >= left ? (kWidth - 1 - right - left) / 2 : 0;
  painter.drawImage(QPoint(shift, 0), frame);
  const QRect band(0, kHeight - kBandHeight, kWidth, kBandHeight);
  painter.fillRect(band, QColor(0, 0, 100));
  painter.fillRect(QRect(0, band.top(), kWidth, 2), QColor(250, 0, 0));
  painter.setPen(QColor(250, 250, 250));
  QFont title(QStringLiteral("Liberation Sans"), 22, QFont::Bold);
  title.setStyleStrategy(QFont::NoAntialias);  // clean edges in 256 colours
  painter.setFont(title);
  painter.drawText(band.adjusted(0, 6, 0, -26), Qt::AlignCenter, QStringLiteral("Stellwick Glyphkiln"));
  QFont line(QStringLiteral("Liberation Sans"), 10);
  line.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(line);
  painter.setPen(QColor(200, 200, 200));
  painter.drawText(band.adjusted(0, 44, 0, -6), Qt::AlignCenter,
                   QStringLiteral("solid letters from a line of text"));
  painter.end();

  // Every colour used is a cube colour, so the mapping back is exact.
  const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, cube, Qt::ThresholdDither);
  return indexed.save(QString::fromLocal8Bit(argv[2]), "BMP") ? 0 : 1;
}
