// Pictures of the letters for files: the camera framed either as the
// examiner frames it or so that the whole text fits with a margin, turned
// on request (also step by step for a turntable), drawn N x N times with
// sub-pixel camera shifts and box-filtered into 24-bit colour (supersampled
// pictures from each face's 8-bit shade rather than the renderer's 5-6-5
// pixels, so round bevels show no bands), with an alpha
// channel where the background shows if asked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "rastel.h"

class CText3D;
class FaceShades;
class RendererBinding;

// The largest side of a picture; the renderer library may allow less.
constexpr int kMaxPictureSide = 4096;
// The largest N of N x N supersampling.
constexpr int kMaxAntialias = 8;
// Fitted text leaves this share of the picture's shorter side free on every
// side.
constexpr double kFitMarginShare = 0.05;

enum class PictureFraming {
  kExaminer,  // the examiner's camera after fitting, as the desktop view shows it
  kText,      // the camera drawn back or in until the text just fits, margin kept
};

struct PictureSettings {
  int width = 640;  // asked for; the renderer may round it up (see PictureRenderer)
  int height = 480;
  float yaw = 0.0f;  // radians, as the examiner's turn
  float pitch = 0.0f;
  float zoom = 1.0f;
  PictureFraming framing = PictureFraming::kText;
  int antialias = 1;         // N of N x N samples per pixel, 1..kMaxAntialias
  bool transparent = false;  // alpha 0 where only the background shows
};

// A full-colour picture: width x height pixels, top row first, red, green,
// blue and (with alpha) alpha bytes.
struct PictureFrame {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  std::vector<std::uint8_t> pixels;
  bool Empty() const { return pixels.empty(); }
};

// The distance from `centre` along each camera's z axis at which every mesh
// vertex of the text projects inside a width x height view of focal length
// `focal` pixels, `margin` pixels short of each edge, for every camera given
// (only their axes count). 0 when the text has no mesh.
double FitDistance(const CText3D& text, const float centre[3], const std::vector<CameraFrame>& cameras, int width,
                   int height, double focal, double margin);

class PictureRenderer {
 public:
  // `turns` are the extra turns about the vertical axis (radians) that will
  // be drawn; fitted framing keeps the text inside the picture at each.
  PictureRenderer(RendererBinding& binding, const CText3D& text, const PictureSettings& settings,
                  const std::vector<double>& turns = {0.0});
  ~PictureRenderer();
  PictureRenderer(const PictureRenderer&) = delete;
  PictureRenderer& operator=(const PictureRenderer&) = delete;

  // False without a renderer view or with a picture size it refuses.
  bool Ready() const { return m_width > 0 && m_height > 0; }
  // The picture's size: the asked size as the renderer rounds it.
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  int Antialias() const { return m_settings.antialias; }

  // Draws the letters turned by `turn` more about the vertical axis. Empty
  // when the renderer gives no 16-bit frame (the binding still holds the
  // last frame drawn, e.g. for an 8-bit library's own GIF). `progress`, when
  // given, hears (sample passes drawn, passes) after each pass and cancels
  // the picture (empty) by returning false.
  PictureFrame Render(double turn = 0.0, const std::function<bool(int done, int total)>& progress = {});

  // The picture dithered onto the colour cube by the renderer library's own
  // dither, bottom row first as the library keeps frames; empty without the
  // dither or for a picture of another size.
  std::vector<std::uint8_t> CubeIndices(const PictureFrame& picture) const;

 private:
  void AimCamera(double turn);
  // The faces' 24-bit shades, made on first use; null when there are too many.
  const FaceShades* Shades();
  // Hands the faces to the renderer unlit, each in the value naming its shade.
  void DrawShades();

  RendererBinding& m_binding;
  const CText3D& m_text;
  PictureSettings m_settings;
  int m_width = 0;
  int m_height = 0;
  float m_zoom = 1.0f;  // the eye's distance as a multiple of the examiner's
  std::unique_ptr<FaceShades> m_shades;
};
