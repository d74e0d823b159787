// Loading the renderer library, the examiner's camera, and drawing a frame of
// the letters.
#include "RendererBinding.h"

#include <algorithm>
#include <cmath>

#include <system_error>

#include "Text3D.h"

namespace {

void SetVector(float* v, float x, float y, float z) {
  v[0] = x;
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
    : m_maxWidth(options.maxWidth), m_maxHeight(options.maxHeight) {
  Load(options);
}

RendererBinding::~RendererBinding() {
  if (m_view && m_entry.destroyView) m_entry.destroyView(m_view);
  m_view = nullptr;
  m_library.Close();
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

void RendererBinding::SetViewLimit(int maxWidth, int maxHeight) {
  constexpr int kLibraryLimit = 4096;
  m_maxWidth = std::clamp(maxWidth, 0, kLibraryLimit);
  m_maxHeight = std::clamp(maxHeight, 0, kLibraryLimit);
}

void RendererBinding::FitCamera(const CText3D* text) {
  if (!text) return;
  double depth = 0.0;
  text->ForEachPiece([&depth](const CLetter&, std::size_t, const CLetterPiece& piece) {
    depth = std::max(depth, std::fabs(piece.depth) + std::fabs(piece.bevelSize));
  });
  m_camera.Fit(text->bounds, depth);
  SetLightFromText(*text);
}

// The renderer gets the text's light negated: the direction the light travels.
void RendererBinding::SetLightFromText(const CText3D& text) {
  SetVector(m_light, -text.lightDir[0], -text.lightDir[1], -text.lightDir[2]);
}

int RendererBinding::LibraryColour(std::uint32_t colour) const {
  return m_bitsPerPixel == 8 ? NearestColourIndex(colour) : PixelFormat565(colour);
}

void RendererBinding::DrawScene(const CText3D* text) {
  if (!text) return;
  DrawFrame(LibraryColour(m_background), [this, text] {
    std::vector<int> indices;
    // The pieces PieceAt counts, in its order (those of letters with
    // bounds), in one pass.
    text->ForEachPiece([&](const CLetter&, std::size_t, const CLetterPiece& piece) { DrawPiece(piece, indices); });
  });
}

void RendererBinding::DrawFrame(int libraryBackground, const std::function<void()>& drawFaces) {
  if (!HasFrame()) return;
  m_entry.resizeView(m_view, m_width, m_height);
  // The renderer may round the size; from here on the binding uses its size.
  m_entry.getViewSize(m_view, &m_width, &m_height);
  const CameraFrame camera = m_camera.Frame();
  m_entry.setCameraPos(m_view, &camera);
  m_entry.setDLight(m_view, m_light, 1);
  m_entry.setFrontClipPlane(m_view, m_camera.FrontClipDistance());
  m_entry.setBgColor(m_view, libraryBackground);
  m_entry.startFrame(m_view);
  drawFaces();
  m_entry.endFrame(m_view);
  m_dithered = 0;
}

void RendererBinding::DrawPiece(const CLetterPiece& piece, std::vector<int>& indices) {
  if (piece.faceCount <= 0 || piece.vertices.empty()) return;  // no mesh built
  FaceMaterial material{};
  material.colour = LibraryColour(ShadeBaseColour(static_cast<std::uint32_t>(piece.colour)));
  material.lit = 1;
  material.shadeLow = -16;
  material.shadeHigh = 16;
  FaceTexMap texMap{};
  indices.clear();
  indices.insert(indices.end(), piece.frontFace.begin(), piece.frontFace.end());
  indices.insert(indices.end(), piece.backFace.begin(), piece.backFace.end());
  indices.insert(indices.end(), piece.sideFaces.begin(), piece.sideFaces.end());
  m_entry.faceList(m_view, piece.faceCount, static_cast<int>(piece.vertices.size()), &piece.vertices.front().x,
                   indices.data(), &texMap, &material);
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
