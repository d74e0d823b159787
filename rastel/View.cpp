// The view and the library's exported entry points other than the face list
// and the dither: creating, sizing and destroying views, camera, light,
// background, view angle, front clip plane, picking and frame start and end.
#include <cmath>
#include <new>

#include "RasterCore.h"

namespace rastel {
namespace {

// A focal length beyond this is no picture anyone can want; it keeps the
// conversion to pixels defined for absurdly small view tangents.
constexpr float kMaxFocal = 1 << 20;

void NormalOrZero(float x, float y, float z, float out[3]) {
  const float lengthSquared = x * x + y * y + z * z;
  if (lengthSquared == 0) {
    out[0] = out[1] = out[2] = 0;
    return;
  }
  const float length = std::sqrt(lengthSquared);
  out[0] = x / length;
  out[1] = y / length;
  out[2] = z / length;
}

int RoundUp(int value, int step) { return (value + step - 1) / step * step; }

}  // namespace

RasterCore::RasterCore() : modelToCamera(IdentityFrame()), material() { ComputeDepthScale(); }

RasterCore::~RasterCore() = default;

void RasterCore::SetViewRectangle(int width, int height) {
  left = -width / 2;
  right = width / 2;
  bottom = -height / 2;
  top = height / 2;
  stride = width;
}

// Inward normals of the four side planes through the eye and the edges of
// the view rectangle at the focal distance.
void RasterCore::ComputeSidePlanes() {
  const float f = static_cast<float>(focal);
  NormalOrZero(-f, 0, static_cast<float>(-right), sideNormal[kRight]);
  NormalOrZero(f, 0, static_cast<float>(left), sideNormal[kLeft]);
  NormalOrZero(0, -f, static_cast<float>(-top), sideNormal[kTop]);
  NormalOrZero(0, f, static_cast<float>(bottom), sideNormal[kBottom]);
}

void RasterCore::ComputeDepthScale() {
  depthOffset = kDepthRange * frontDistance;
  depthScale = focal != 0 ? depthOffset / static_cast<float>(focal) : 0.0f;
}

BufferLayer::~BufferLayer() = default;

void BufferLayer::ReleaseBuffers() {
  colourBuffer.reset();
  depthBuffer.reset();
  maskStorage.reset();
  spanStorage.reset();
  spans = SpanRows();
  textureGrid.reset();
  colour = depth = nullptr;
  depthRowsFrom = depthRowsTo = 0;
  faceMask = holeMask = CoverageMask();
  width = height = 0;
  pickArmed = false;
  pickCell = nullptr;
}

void BufferLayer::ComputeFocalLength() {
  const float f = static_cast<float>(height) / viewTangent;
  focal = f < kMaxFocal ? static_cast<int>(f) : static_cast<int>(kMaxFocal);
  ComputeSidePlanes();
  ComputeDepthScale();
}

// The size is clamped to the largest view, the width rounded up to whole
// mask bytes and the height to an even number so that
// the view rectangle stays centred on whole pixels. The same size again
// keeps the buffers and the picture.
void BufferLayer::Resize(int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0) return;
  newWidth = RoundUp(newWidth < kMaxWidth ? newWidth : kMaxWidth, 8);
  newHeight = RoundUp(newHeight < kMaxHeight ? newHeight : kMaxHeight, 2);
  if (newWidth == width && newHeight == height) return;

  ReleaseBuffers();
  const std::size_t pixels = static_cast<std::size_t>(newWidth) * newHeight;
  // Mask rows to a whole number of 8-row texture blocks, and whole words.
  const int rowWords = (newWidth + 31) / 32;
  const std::size_t maskWords = static_cast<std::size_t>(RoundUp(newHeight, 8)) * rowWords;
  // calloc gives at least 16-byte alignment, more than the 8 the byte
  // routines need.
  colourBuffer.reset(static_cast<std::uint16_t*>(std::calloc(pixels, sizeof(std::uint16_t))));
  depthBuffer.reset(static_cast<std::uint16_t*>(std::calloc(pixels, sizeof(std::uint16_t))));
  maskStorage.reset(static_cast<std::uint32_t*>(std::calloc(2 * maskWords, sizeof(std::uint32_t))));
  textureGrid.reset(static_cast<std::uint8_t*>(std::malloc(TextureGridBytes(newWidth, newHeight))));
  spanStorage.reset(static_cast<int*>(std::malloc(2 * sizeof(int) * static_cast<std::size_t>(newHeight))));
  if (!colourBuffer || !depthBuffer || !maskStorage || !textureGrid || !spanStorage) {
    ReleaseBuffers();
    SetViewRectangle(0, 0);
    ComputeFocalLength();
    return;
  }
  width = newWidth;
  height = newHeight;
  colour = colourBuffer.get();
  depth = depthBuffer.get();
  faceMask.rows = maskStorage.get();
  holeMask.rows = faceMask.rows + maskWords;
  faceMask.rowWords = holeMask.rowWords = rowWords;
  spans.first = spanStorage.get();
  spans.second = spans.first + newHeight;
  SetViewRectangle(width, height);
  ComputeFocalLength();
}

void BufferLayer::SetViewTangent(float tangent) {
  // A tangent of zero, below zero or not a number gives no view at all.
  if (!(tangent > 0) || !std::isfinite(tangent) || tangent == viewTangent) return;
  viewTangent = tangent;
  ComputeFocalLength();
}

}  // namespace rastel

RenderView::RenderView() {
  camera = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
}

using rastel::Frame;

extern "C" {

RASTEL_API RenderView* RenderCreateView(void) { return new (std::nothrow) RenderView(); }

RASTEL_API void RenderDestroyView(RenderView* view) { std::unique_ptr<RenderView> owned(view); }

RASTEL_API void RenderResizeView(RenderView* view, int width, int height) {
  if (view) view->Resize(width, height);
}

RASTEL_API void RenderGetViewSize(RenderView* view, int* width, int* height) {
  if (width) *width = view ? view->width : 0;
  if (height) *height = view ? view->height : 0;
}

RASTEL_API unsigned short* RenderGetBuf(RenderView* view) { return view ? view->colour : nullptr; }

RASTEL_API void RenderSetCameraPos(RenderView* view, const CameraFrame* camera) {
  if (!view || !camera) return;
  view->camera = *camera;
  rastel::InverseApply(rastel::FrameFromCamera(view->camera), view->worldLight, view->light);
}

RASTEL_API void RenderSetTransform(RenderView* view, const CameraFrame* model) {
  if (!view || !model) return;
  const Frame cameraInModel =
      rastel::SeenFrom(rastel::FrameFromCamera(view->camera), rastel::FrameFromCamera(*model));
  view->modelToCamera = rastel::SeenFrom(rastel::IdentityFrame(), cameraInModel);
}

RASTEL_API void RenderSetBgColor(RenderView* view, int colour) {
  if (view) view->background = static_cast<std::uint16_t>(colour & 0xFFFF);
}

RASTEL_API void RenderSetViewTan(RenderView* view, float tangent) {
  if (view) view->SetViewTangent(tangent);
}

RASTEL_API void RenderSetFrontClipPlane(RenderView* view, float distance) {
  if (!view) return;
  view->frontDistance = distance;
  view->ComputeDepthScale();
}

RASTEL_API void RenderSetDLight(RenderView* view, const float* direction, int on) {
  if (!view || !direction) return;
  for (int i = 0; i < 3; ++i) view->worldLight[i] = direction[i];
  view->lightOn = on != 0;
  rastel::InverseApply(rastel::FrameFromCamera(view->camera), view->worldLight, view->light);
}

// The pick pixel is given from the top of the picture; the buffers run
// bottom-up.
RASTEL_API void RenderTargetMode(RenderView* view, int on, int x, int y) {
  if (!view) return;
  if (!on) {
    view->pickArmed = false;
    return;
  }
  if (x < 0 || x >= view->width || y < 0 || y >= view->height) return;
  view->pickCell = view->colour + static_cast<std::ptrdiff_t>(view->height - 1 - y) * view->stride + x;
  view->pickArmed = true;
}

RASTEL_API void RenderStartFrame(RenderView* view) {
  if (!view) return;
  view->depthMode = rastel::DepthMode::kTestAndWrite;
  view->modelToCamera =
      rastel::SeenFrom(rastel::IdentityFrame(), rastel::FrameFromCamera(view->camera));
  if (!view->colour) return;
  rastel::ClearBuffers(*view, static_cast<std::size_t>(view->width) * view->height, view->background);
}

RASTEL_API void RenderEndFrame(RenderView* view) {
  if (view) view->pickArmed = false;
}

RASTEL_API int RenderFaceList(RenderView* view, int faceCount, int vertexCount,
                              const float* vertices, const int* indices,
                              const FaceTexMap* texMap, const FaceMaterial* material) {
  if (!view || !vertices || !indices) return 0;
  return rastel::DrawFaceList(*view, faceCount, vertexCount, vertices, indices, texMap, material);
}

}  // extern "C"
