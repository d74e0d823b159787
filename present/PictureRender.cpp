// Framing, supersampling and the transparency mask of file pictures.
#include "PictureRender.h"

#include <algorithm>
#include <cmath>

#include "CubePalette.h"
#include "FaceShades.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace {

// The renderer's view tangent (height over focal length). The binding never
// changes the library's default; pictures set it all the same, because
// framing depends on it.
constexpr float kViewTangent = 0.75f;

// The library's focal length in pixels for a view of this height.
double FocalLength(int height) { return std::floor(static_cast<double>(height) / kViewTangent); }

double Dot(const float* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Lit letters never reach black in any channel (the light scales their
// colour by 0.3 at the least, and their colour is at least 32 in each
// channel), so a black background marks exactly the pixels where no letter
// is drawn.
constexpr std::uint32_t kMaskBackground = 0x000000;

}  // namespace

double FitDistance(const CText3D& text, const float centre[3], const std::vector<CameraFrame>& cameras, int width,
                   int height, double focal, double margin) {
  // Half the picture less the margin, as the tangent of the angle from the
  // view's axis.
  const double spanX = (width / 2.0 - margin) / focal;
  const double spanY = (height / 2.0 - margin) / focal;
  if (!(spanX > 0) || !(spanY > 0)) return 0.0;
  double distance = 0.0;
  for (int n = 0;; ++n) {
    const CLetterPiece* piece = text.PieceAt(n);
    if (!piece) break;
    if (piece->faceCount <= 0) continue;
    for (const CVertex3F& v : piece->vertices) {
      const double p[3] = {v.x - centre[0], v.y - centre[1], v.z - centre[2]};
      for (const CameraFrame& camera : cameras) {
        // The eye at centre + distance * z axis sees the point at depth
        // distance - e; it lies inside while |a| <= spanX * depth and
        // |b| <= spanY * depth.
        const double a = Dot(camera.xAxis, p), b = Dot(camera.yAxis, p), e = Dot(camera.zAxis, p);
        distance = std::max({distance, e + std::abs(a) / spanX, e + std::abs(b) / spanY});
      }
    }
  }
  return distance;
}

PictureRenderer::~PictureRenderer() = default;

PictureRenderer::PictureRenderer(RendererBinding& binding, const CText3D& text, const PictureSettings& settings,
                                 const std::vector<double>& turns)
    : m_binding(binding), m_text(text), m_settings(settings), m_zoom(settings.zoom) {
  m_settings.antialias = std::clamp(m_settings.antialias, 1, kMaxAntialias);
  RenderView* view = binding.View();
  if (!view) return;
  binding.SetViewSize(settings.width, settings.height);
  // The size the library will draw at, by its own rounding and limits.
  const RendererEntryPoints& entry = binding.EntryPoints();
  entry.resizeView(view, binding.Width(), binding.Height());
  entry.getViewSize(view, &m_width, &m_height);
  entry.setViewTan(view, kViewTangent);
  if (!Ready()) return;
  binding.SetViewSize(m_width, m_height);
  if (m_settings.framing != PictureFraming::kText) return;

  std::vector<CameraFrame> cameras;
  m_zoom = 1.0f;
  for (double turn : turns) {
    AimCamera(turn);
    cameras.push_back(binding.ViewCamera().Frame());
  }
  const double margin = kFitMarginShare * std::min(m_width, m_height);
  const Vec3 middle = binding.ViewCamera().Centre();
  const float centre[3] = {middle.x, middle.y, middle.z};
  const double fitted = FitDistance(text, centre, cameras, m_width, m_height, FocalLength(m_height), margin);
  // Text without a mesh keeps the examiner's distance.
  if (fitted > 0 && binding.ViewCamera().FitDistance() > 0)
    m_zoom = static_cast<float>(fitted / binding.ViewCamera().FitDistance()) * settings.zoom;
  else
    m_zoom = settings.zoom;
}

// The examiner's camera for the text, turned and zoomed as asked, then
// turned about the world's vertical axis by `turn`.
void PictureRenderer::AimCamera(double turn) {
  m_binding.FitCamera(&m_text);
  m_binding.ViewCamera().Rotate(m_settings.yaw, m_settings.pitch);
  if (turn != 0.0) m_binding.ViewCamera().Rotate(static_cast<float>(turn), 0.0f);
  m_binding.ViewCamera().Zoom(m_zoom);
}

PictureFrame PictureRenderer::Render(double turn, const std::function<bool(int, int)>& progress) {
  PictureFrame picture;
  if (!Ready()) return picture;
  AimCamera(turn);
  const CameraFrame aimed = m_binding.ViewCamera().Frame();
  const std::uint32_t background = m_binding.Background();
  const bool transparent = m_settings.transparent;
  if (transparent) m_binding.SetBackground(kMaskBackground);

  const int n = m_settings.antialias;
  const std::uint8_t shown[3] = {static_cast<std::uint8_t>(background & 0xFF),
                                 static_cast<std::uint8_t>(background >> 8 & 0xFF),
                                 static_cast<std::uint8_t>(background >> 16 & 0xFF)};
  // Supersampled pictures take each face's colour at 8 bits a channel where
  // the faces have few enough shades; a single sample stays the renderer's
  // own 5-6-5 frame, as the examiner shows it.
  const FaceShades* shades = n > 1 && m_binding.BitsPerPixel() == 16 ? Shades() : nullptr;
  const std::size_t pixels = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
  // Per pixel: the sums of red, green and blue over the samples that hit a
  // letter (all samples without transparency), and how many did.
  std::vector<std::uint16_t> sums(3 * pixels, 0);
  std::vector<std::uint8_t> hits(transparent ? pixels : 0, 0);
  // One sample grid step in world units at the centre's depth: shifting the
  // eye sideways by it moves the picture by a pixel.
  const double focal = FocalLength(m_height);
  const Vec3 middle = m_binding.ViewCamera().Centre();
  const float c[3] = {middle.x, middle.y, middle.z};
  const double toCentre[3] = {c[0] - aimed.origin[0], c[1] - aimed.origin[1], c[2] - aimed.origin[2]};
  const double depth = -Dot(aimed.zAxis, toCentre);
  const double pixelStep = depth / focal;
  bool drawn = true;
  for (int sy = 0; sy < n && drawn; ++sy) {
    for (int sx = 0; sx < n && drawn; ++sx) {
      if (n > 1) {
        CameraFrame shifted = aimed;
        const double dx = ((sx + 0.5) / n - 0.5) * pixelStep;
        const double dy = ((sy + 0.5) / n - 0.5) * pixelStep;
        for (int k = 0; k < 3; ++k)
          shifted.origin[k] = static_cast<float>(aimed.origin[k] + dx * aimed.xAxis[k] + dy * aimed.yAxis[k]);
        m_binding.ViewCamera().SetFrame(shifted);
      }
      if (shades) {
        m_binding.DrawFrame(FaceShades::kBackground, [this] { DrawShades(); });
      } else {
        m_binding.DrawScene(&m_text);
      }
      const unsigned short* frame = m_binding.Frame16();
      if (!frame) {
        drawn = false;
        break;
      }
      // The library's frame is bottom row first.
      std::size_t at = 0;
      for (int y = 0; y < m_height; ++y) {
        const unsigned short* row = FrameRowFromTop(frame, static_cast<std::size_t>(m_width), m_height, y);
        for (int x = 0; x < m_width; ++x, ++at) {
          RgbColour colour{};
          if (shades) {
            // The shade the face names; the background as it is.
            if (row[x] == FaceShades::kBackground) {
              if (transparent) continue;
              colour = {shown[0], shown[1], shown[2]};
            } else {
              colour = shades->Colours()[row[x]];
            }
          } else {
            if (transparent && row[x] == PixelFormat565(kMaskBackground)) continue;
            colour = Expand565(row[x]);
          }
          sums[3 * at] = static_cast<std::uint16_t>(sums[3 * at] + colour.red);
          sums[3 * at + 1] = static_cast<std::uint16_t>(sums[3 * at + 1] + colour.green);
          sums[3 * at + 2] = static_cast<std::uint16_t>(sums[3 * at + 2] + colour.blue);
          if (transparent) ++hits[at];
        }
      }
      if (progress && !progress(sy * n + sx + 1, n * n)) drawn = false;
    }
  }
  if (transparent) m_binding.SetBackground(background);
  m_binding.ViewCamera().SetFrame(aimed);
  if (!drawn) return picture;

  picture.width = m_width;
  picture.height = m_height;
  picture.hasAlpha = transparent;
  const int channels = transparent ? 4 : 3;
  picture.pixels.resize(pixels * static_cast<std::size_t>(channels));
  const unsigned samples = static_cast<unsigned>(n * n);
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint8_t* out = &picture.pixels[i * static_cast<std::size_t>(channels)];
    // Transparent pixels take the colour of the letters that cover them
    // (alpha says how much) or, uncovered, the background colour.
    const unsigned count = transparent ? hits[i] : samples;
    for (int k = 0; k < 3; ++k)
      out[k] = count ? static_cast<std::uint8_t>((sums[3 * i + static_cast<std::size_t>(k)] + count / 2) / count)
                     : shown[k];
    if (transparent) out[3] = static_cast<std::uint8_t>((255u * count + samples / 2) / samples);
  }
  return picture;
}

const FaceShades* PictureRenderer::Shades() {
  // The light comes with the text (the camera was fitted to it), so the
  // shades hold for every frame of this renderer.
  if (!m_shades) m_shades = std::make_unique<FaceShades>(m_text, m_binding.Light());
  return m_shades->Ready() ? m_shades.get() : nullptr;
}

void PictureRenderer::DrawShades() {
  const RendererEntryPoints& entry = m_binding.EntryPoints();
  FaceTexMap texMap{};
  for (const FaceShades::Batch& batch : m_shades->Batches()) {
    // Unlit, without a shade range: the renderer fills the faces with the
    // colour as given.
    FaceMaterial material{};
    material.colour = batch.shade;
    entry.faceList(m_binding.View(), batch.faceCount, static_cast<int>(batch.vertices.size() / 3),
                   batch.vertices.data(), batch.indices.data(), &texMap, &material);
  }
}

std::vector<std::uint8_t> PictureRenderer::CubeIndices(const PictureFrame& picture) const {
  const RendererEntryPoints& entry = m_binding.EntryPoints();
  if (!entry.dither || picture.Empty() || picture.hasAlpha || picture.width != m_width ||
      picture.height != m_height)
    return {};
  const std::size_t pixels = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
  std::vector<unsigned short> frame(pixels);
  for (int y = 0; y < m_height; ++y) {
    // Top row first to the renderer's bottom row first: the same flip.
    const std::uint8_t* in = FrameRowFromTop(picture.pixels.data(), 3 * static_cast<std::size_t>(m_width), m_height, y);
    unsigned short* out = &frame[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width)];
    for (int x = 0; x < m_width; ++x, in += 3)
      out[x] = PixelFormat565(static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
                              static_cast<std::uint32_t>(in[2]) << 16);
  }
  std::vector<std::uint8_t> indices(pixels, 0);
  entry.dither(indices.data(), frame.data(), m_width, m_height);
  return indices;
}
