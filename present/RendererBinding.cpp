// Loading the renderer library, the examiner's camera, and drawing a frame of
// the letters.
#include "RendererBinding.h"

#include <cmath>
#include <system_error>

#include "Text3D.h"

namespace {

constexpr const char* kViewSection = "3D View";
constexpr const char* kBackgroundKey = "Background";
// Nearest depth drawn, in model units in front of the eye.
constexpr float kFrontClipDistance = 0.1f;

void SetVector(float* v, float x, float y, float z) {
  v[0] = x;
  v[1] = y;
  v[2] = z;
}

// The camera at (x, y, z) with the world's axes, looking down -z.
CameraFrame StraightCamera(float x, float y, float z) {
  CameraFrame camera{};
  SetVector(camera.origin, x, y, z);
  SetVector(camera.xAxis, 1, 0, 0);
  SetVector(camera.yAxis, 0, 1, 0);
  SetVector(camera.zAxis, 0, 0, 1);
  return camera;
}

// Turns v about the world y axis by theta: x' = x cos + z sin, z' = z cos - x sin.
void TurnAboutY(float* v, float cosine, float sine) {
  const float x = v[0] * cosine + v[2] * sine;
  const float z = v[2] * cosine - v[0] * sine;
  v[0] = x;
  v[2] = z;
}

// Turns v about the world x axis by phi: y' = y cos - z sin, z' = y sin + z cos.
void TurnAboutX(float* v, float cosine, float sine) {
  const float y = v[1] * cosine - v[2] * sine;
  const float z = v[1] * sine + v[2] * cosine;
  v[1] = y;
  v[2] = z;
}

}  // namespace

bool RendererEntryPoints::HasViewFunctions() const {
  return createView && destroyView && resizeView && getViewSize && setCameraPos && setBgColor &&
         setViewTan && setFrontClipPlane && setDLight && targetMode && startFrame && endFrame &&
         setTransform && faceList && getBuf;
}

RendererBindingOptions RendererBindingOptions::Default() {
  RendererBindingOptions options;
  if (auto dir = ExecutableDirectory(); !dir.empty()) options.directories.push_back(dir);
  return options;
}

RendererBinding::RendererBinding() : RendererBinding(RendererBindingOptions::Default()) {}

RendererBinding::RendererBinding(const RendererBindingOptions& options)
    : m_profile(options.profilePath.empty() ? Profile::DefaultPath() : options.profilePath),
      m_keepSettings(options.keepSettings),
      m_maxWidth(options.maxWidth),
      m_maxHeight(options.maxHeight) {
  // Read whether or not a library loads: the setting is written back on
  // exit either way, and must come back as the user left it.
  if (m_keepSettings) {
    m_background = static_cast<std::uint32_t>(
        m_profile.GetInt(kViewSection, kBackgroundKey, static_cast<int>(kDefaultBackground)));
  }
  Load(options);
}

RendererBinding::~RendererBinding() {
  if (m_view && m_entry.destroyView) m_entry.destroyView(m_view);
  m_view = nullptr;
  m_library.Close();
  // Written also when no library was loaded. A failed write costs only this
  // one setting and must not stop the program from closing.
  if (m_keepSettings) m_profile.WriteInt(kViewSection, kBackgroundKey, static_cast<int>(m_background));
}

// Each candidate library in turn; the first that loads decides the frame
// format. If it lacks a function the view needs, it is unloaded and there is
// no view (the bits per pixel stay as loaded).
void RendererBinding::Load(const RendererBindingOptions& options) {
  for (const auto& candidate : options.libraries) {
    if (OpenLibrary(options, candidate.name)) {
      m_bitsPerPixel = candidate.bitsPerPixel;
      break;
    }
  }
  m_palette = CubePalette(m_bitsPerPixel == 8 ? 8 : 16);
  if (!m_library.IsOpen()) return;
  BindEntryPoints();
  if (m_entry.HasViewFunctions() && (m_bitsPerPixel == 8 || m_entry.dither)) {
    m_view = m_entry.createView();
    return;
  }
  m_entry = RendererEntryPoints{};
  m_library.Close();
}

bool RendererBinding::OpenLibrary(const RendererBindingOptions& options, const std::string& name) {
  for (const auto& dir : options.directories) {
    std::error_code ec;
    const auto path = dir / name;
    if (std::filesystem::exists(path, ec) && m_library.Open(path)) return true;
  }
  return options.useSystemSearchPath && m_library.Open(std::filesystem::path(name));
}

void RendererBinding::BindEntryPoints() {
  const SharedLibrary& lib = m_library;
  m_entry.createView = lib.Get<decltype(m_entry.createView)>("RenderCreateView");
  m_entry.destroyView = lib.Get<decltype(m_entry.destroyView)>("RenderDestroyView");
  m_entry.resizeView = lib.Get<decltype(m_entry.resizeView)>("RenderResizeView");
  m_entry.getViewSize = lib.Get<decltype(m_entry.getViewSize)>("RenderGetViewSize");
  m_entry.setCameraPos = lib.Get<decltype(m_entry.setCameraPos)>("RenderSetCameraPos");
  m_entry.setBgColor = lib.Get<decltype(m_entry.setBgColor)>("RenderSetBgColor");
  m_entry.setViewTan = lib.Get<decltype(m_entry.setViewTan)>("RenderSetViewTan");
  m_entry.setFrontClipPlane = lib.Get<decltype(m_entry.setFrontClipPlane)>("RenderSetFrontClipPlane");
  m_entry.setDLight = lib.Get<decltype(m_entry.setDLight)>("RenderSetDLight");
  m_entry.targetMode = lib.Get<decltype(m_entry.targetMode)>("RenderTargetMode");
  m_entry.startFrame = lib.Get<decltype(m_entry.startFrame)>("RenderStartFrame");
  m_entry.endFrame = lib.Get<decltype(m_entry.endFrame)>("RenderEndFrame");
  m_entry.setTransform = lib.Get<decltype(m_entry.setTransform)>("RenderSetTransform");
  m_entry.faceList = lib.Get<decltype(m_entry.faceList)>("RenderFaceList");
  m_entry.getBuf = lib.Get<decltype(m_entry.getBuf)>("RenderGetBuf");
  m_entry.dither = lib.Get<decltype(m_entry.dither)>("MLDither");
}

void RendererBinding::SetViewSize(int w, int h) {
  m_width = w > m_maxWidth ? m_maxWidth : (w <= 3 ? 0 : w);
  m_height = h > m_maxHeight ? m_maxHeight : (h < 4 ? 0 : h);
}

void RendererBinding::FitCamera(const CText3D* text) {
  if (!text) return;
  const CBoundRect& b = text->bounds;
  const auto cx = static_cast<float>(b.left * 0.5 + b.right * 0.5);
  const auto cy = static_cast<float>(b.bottom * 0.5 + b.top * 0.5);
  // Far enough to show the whole width, or the height with room around it.
  const double width = b.right - b.left;
  const double height = 2.0 * (b.top - b.bottom);
  m_distance = static_cast<float>(width > height ? width : height);
  m_camera = StraightCamera(cx, cy, m_distance);
  SetVector(m_centre, cx, cy, 0);
  SetLightFromText(*text);
}

// The text keeps its light as (z, y, x); the renderer gets the negated
// (x, y, z), the direction the light travels.
void RendererBinding::SetLightFromText(const CText3D& text) {
  SetVector(m_light, -text.lightDir[0], -text.lightDir[1], -text.lightDir[2]);
}

void RendererBinding::Rotate(float yaw, float pitch) {
  float* eye = m_camera.origin;
  for (int i = 0; i < 3; ++i) eye[i] -= m_centre[i];
  float* vectors[4] = {eye, m_camera.xAxis, m_camera.yAxis, m_camera.zAxis};
  const float theta = -yaw;
  const float phi = -pitch;
  const float cosTheta = std::cos(theta), sinTheta = std::sin(theta);
  const float cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  for (float* v : vectors) TurnAboutY(v, cosTheta, sinTheta);
  for (float* v : vectors) TurnAboutX(v, cosPhi, sinPhi);
  for (int i = 0; i < 3; ++i) eye[i] += m_centre[i];
  Redraw();
}

void RendererBinding::Zoom(float factor) {
  for (int i = 0; i < 3; ++i)
    m_camera.origin[i] = m_centre[i] + factor * (m_camera.origin[i] - m_centre[i]);
  Redraw();
}

void RendererBinding::ResetCamera() {
  m_camera = StraightCamera(m_centre[0], m_centre[1], m_distance);
  m_centre[2] = 0;
  Redraw();
}

void RendererBinding::Redraw() {
  if (!m_provider) return;
  if (const CText3D* text = m_provider->CurrentText()) DrawScene(text);
}

int RendererBinding::LibraryColour(std::uint32_t colour) const {
  return m_bitsPerPixel == 8 ? NearestColourIndex(colour) : PixelFormat565(colour);
}

void RendererBinding::DrawScene(const CText3D* text) {
  if (!HasFrame() || !text) return;
  m_entry.resizeView(m_view, m_width, m_height);
  // The renderer may round the size; from here on the binding uses its size.
  m_entry.getViewSize(m_view, &m_width, &m_height);
  m_entry.setCameraPos(m_view, &m_camera);
  m_entry.setDLight(m_view, m_light, 1);
  m_entry.setFrontClipPlane(m_view, kFrontClipDistance);
  m_entry.setBgColor(m_view, LibraryColour(m_background));
  m_entry.startFrame(m_view);

  std::vector<int> indices;
  for (int n = 0;; ++n) {
    const CLetterPiece* piece = text->PieceAt(n);
    if (!piece) break;
    if (piece->faceCount <= 0 || piece->vertices.empty()) continue;  // no mesh built
    FaceMaterial material{};
    material.colour = LibraryColour(ShadeBaseColour(static_cast<std::uint32_t>(piece->colour)));
    material.lit = 1;
    material.shadeLow = -16;
    material.shadeHigh = 16;
    FaceTexMap texMap{};
    indices.clear();
    indices.insert(indices.end(), piece->frontFace.begin(), piece->frontFace.end());
    indices.insert(indices.end(), piece->backFace.begin(), piece->backFace.end());
    indices.insert(indices.end(), piece->sideFaces.begin(), piece->sideFaces.end());
    m_entry.faceList(m_view, piece->faceCount, static_cast<int>(piece->vertices.size()),
                     &piece->vertices.front().x, indices.data(), &texMap, &material);
  }
  m_entry.endFrame(m_view);
  m_dithered = 0;
}

// The library's buffer has the size it was last drawn at; after a SetViewSize
// without a new frame the binding's size no longer describes it, and reading
// width x height pixels from it could run past its end.
bool RendererBinding::FrameMatchesSize() const {
  if (!HasFrame()) return false;
  int width = 0;
  int height = 0;
  m_entry.getViewSize(m_view, &width, &height);
  return width == m_width && height == m_height;
}

const unsigned short* RendererBinding::Frame16() const {
  if (!FrameMatchesSize() || m_bitsPerPixel != 16) return nullptr;
  return m_entry.getBuf(m_view);
}

const std::uint8_t* RendererBinding::Frame8() {
  if (!FrameMatchesSize()) return nullptr;
  const unsigned short* buffer = m_entry.getBuf(m_view);
  if (!buffer) return nullptr;
  if (m_bitsPerPixel == 8) return reinterpret_cast<const std::uint8_t*>(buffer);
  if (m_bitsPerPixel != 16 || !m_entry.dither) return nullptr;
  if (!m_dithered) {
    m_frame8.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0);
    m_entry.dither(m_frame8.data(), buffer, m_width, m_height);
    m_dithered = 1;
  }
  return m_frame8.data();
}

SaveGifResult RendererBinding::SaveGif(const std::filesystem::path& path) {
  if (!HasFrame()) return SaveGifResult::kNothingToSave;
  const std::uint8_t* indices = Frame8();
  if (!indices) return SaveGifResult::kNothingToSave;
  return SaveFrameAsGif(path, indices, m_width, m_height, m_palette);
}
