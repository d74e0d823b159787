// A stand-in renderer library for the binding's tests: it exports the
// renderer's entry points under their plain names, records what it was asked
// to do, and fills its frame with the background colour. Built three ways:
// complete (16-bit), as an 8-bit library without MLDither, and with one view
// function missing.
#include <cstring>
#include <vector>

#include "FakeRastelState.h"

#define FAKE_API extern "C" __attribute__((visibility("default")))

struct RenderView {
  int width = 0;
  int height = 0;
  std::vector<unsigned short> colour;
};

namespace {

FakeRastelState g_state;

#ifdef FAKE_EIGHT_BIT
constexpr int PixelBytes() { return 1; }
#else
constexpr int PixelBytes() { return 2; }
#endif

}  // namespace

FAKE_API FakeRastelState* FakeRastelGetState() { return &g_state; }

FAKE_API RenderView* RenderCreateView(void) {
  ++g_state.createCount;
  return new RenderView;
}

FAKE_API void RenderDestroyView(RenderView* view) {
  if (!view) return;
  ++g_state.destroyCount;
  delete view;
}

// Widths are rounded down to a multiple of 8, as a renderer that works in
// groups of pixels may do; the binding must take the size it reports.
FAKE_API void RenderResizeView(RenderView* view, int width, int height) {
  if (!view) return;
  view->width = width / 8 * 8;
  view->height = height;
  // Room for 16-bit pixels either way; an 8-bit frame uses the first half.
  view->colour.assign(static_cast<std::size_t>(view->width) * static_cast<std::size_t>(view->height), 0);
}

FAKE_API void RenderGetViewSize(RenderView* view, int* width, int* height) {
  if (width) *width = view ? view->width : 0;
  if (height) *height = view ? view->height : 0;
}

FAKE_API unsigned short* RenderGetBuf(RenderView* view) {
  if (!view || view->colour.empty()) return nullptr;
  return view->colour.data();
}

FAKE_API void RenderSetCameraPos(RenderView* view, const CameraFrame* camera) {
  if (view && camera) g_state.camera = *camera;
}

FAKE_API void RenderSetTransform(RenderView*, const CameraFrame*) {}

FAKE_API void RenderSetBgColor(RenderView* view, int colour) {
  if (view) g_state.background = colour;
}

FAKE_API void RenderSetViewTan(RenderView*, float) {}

FAKE_API void RenderSetFrontClipPlane(RenderView* view, float distance) {
  if (view) g_state.frontClip = distance;
}

FAKE_API void RenderSetDLight(RenderView* view, const float* direction, int on) {
  if (!view || !direction) return;
  std::memcpy(g_state.light, direction, sizeof g_state.light);
  g_state.lightOn = on;
}

#ifndef FAKE_MISSING_FUNCTION
FAKE_API void RenderTargetMode(RenderView*, int, int, int) {}
#endif

FAKE_API void RenderStartFrame(RenderView* view) {
  if (!view) return;
  ++g_state.startCount;
  g_state.faceListCount = 0;
  if (PixelBytes() == 1) {
    std::memset(view->colour.data(), g_state.background & 0xFF, view->colour.size());
  } else {
    for (auto& p : view->colour) p = static_cast<unsigned short>(g_state.background);
  }
}

FAKE_API void RenderEndFrame(RenderView* view) {
  if (view) ++g_state.endCount;
}

// Records the call and marks pixel n of the first row with the material
// colour of the n-th face list, so tests can tell that pieces were drawn.
FAKE_API int RenderFaceList(RenderView* view, int faceCount, int vertexCount, const float* vertices,
                            const int* indices, const FaceTexMap* texMap, const FaceMaterial* material) {
  if (!view || !material || !indices || !vertices) return 0;
  const int n = g_state.faceListCount++;
  if (n < kFakeMaxLists) {
    FakeFaceList& list = g_state.lists[n];
    list.faceCount = faceCount;
    list.vertexCount = vertexCount;
    list.colour = material->colour;
    list.lit = material->lit;
    list.shadeLow = material->shadeLow;
    list.shadeHigh = material->shadeHigh;
    list.textured = material->texture != nullptr || (texMap && texMap->on);
    // Count the polygons (each ends with -1) and the largest index used.
    int polygons = 0;
    int largest = -1;
    for (int i = 0; polygons < faceCount && i < 1 << 20; ++i) {
      if (indices[i] == -1) ++polygons;
      else if (indices[i] > largest) largest = indices[i];
    }
    list.polygons = polygons;
    list.largestIndex = largest;
  }
  if (n < view->width) {
    if (PixelBytes() == 1) reinterpret_cast<unsigned char*>(view->colour.data())[n] = static_cast<unsigned char>(material->colour);
    else view->colour[static_cast<std::size_t>(n)] = static_cast<unsigned short>(material->colour);
  }
  return 1;
}

#ifndef FAKE_EIGHT_BIT
// Index = the pixel's low byte; counts its calls.
FAKE_API int MLDither(void* dst, const void* src, int width, int height) {
  ++g_state.ditherCount;
  auto* out = static_cast<unsigned char*>(dst);
  const auto* in = static_cast<const unsigned short*>(src);
  const long count = static_cast<long>(width) * height;
  for (long i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(in[i] & 0xFF);
  return 0;
}
#endif
