// The renderer as its callers see it: the built libRastel16.so loaded by
// name and its sixteen entry points looked up, plus helpers that place
// faces in whole or sub-pixel screen positions.
#ifndef TESTS_RASTEL_RASTELFIXTURE_H
#define TESTS_RASTEL_RASTELFIXTURE_H

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "rastel.h"

struct RastelLibrary {
  void* handle = nullptr;
  decltype(&::RenderCreateView) CreateView = nullptr;
  decltype(&::RenderDestroyView) DestroyView = nullptr;
  decltype(&::RenderResizeView) ResizeView = nullptr;
  decltype(&::RenderGetViewSize) GetViewSize = nullptr;
  decltype(&::RenderGetBuf) GetBuf = nullptr;
  decltype(&::RenderSetCameraPos) SetCameraPos = nullptr;
  decltype(&::RenderSetTransform) SetTransform = nullptr;
  decltype(&::RenderSetBgColor) SetBgColor = nullptr;
  decltype(&::RenderSetViewTan) SetViewTan = nullptr;
  decltype(&::RenderSetFrontClipPlane) SetFrontClipPlane = nullptr;
  decltype(&::RenderSetDLight) SetDLight = nullptr;
  decltype(&::RenderTargetMode) TargetMode = nullptr;
  decltype(&::RenderStartFrame) StartFrame = nullptr;
  decltype(&::RenderEndFrame) EndFrame = nullptr;
  decltype(&::RenderFaceList) FaceList = nullptr;
  decltype(&::MLDither) Dither = nullptr;

  bool Complete() const {
    return CreateView && DestroyView && ResizeView && GetViewSize && GetBuf && SetCameraPos &&
           SetTransform && SetBgColor && SetViewTan && SetFrontClipPlane && SetDLight && TargetMode &&
           StartFrame && EndFrame && FaceList && Dither;
  }
};

// Loaded once per test program, from the build's bin directory, by name.
inline const RastelLibrary& Rastel() {
  static const RastelLibrary library = [] {
    RastelLibrary lib;
    lib.handle = dlopen(GLYPHKILN_BIN_DIR "/libRastel16.so", RTLD_NOW | RTLD_LOCAL);
    if (!lib.handle) return lib;
    auto bind = [&lib](auto& slot, const char* name) {
      slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(lib.handle, name));
    };
    bind(lib.CreateView, "RenderCreateView");
    bind(lib.DestroyView, "RenderDestroyView");
    bind(lib.ResizeView, "RenderResizeView");
    bind(lib.GetViewSize, "RenderGetViewSize");
    bind(lib.GetBuf, "RenderGetBuf");
    bind(lib.SetCameraPos, "RenderSetCameraPos");
    bind(lib.SetTransform, "RenderSetTransform");
    bind(lib.SetBgColor, "RenderSetBgColor");
    bind(lib.SetViewTan, "RenderSetViewTan");
    bind(lib.SetFrontClipPlane, "RenderSetFrontClipPlane");
    bind(lib.SetDLight, "RenderSetDLight");
    bind(lib.TargetMode, "RenderTargetMode");
    bind(lib.StartFrame, "RenderStartFrame");
    bind(lib.EndFrame, "RenderEndFrame");
    bind(lib.FaceList, "RenderFaceList");
    bind(lib.Dither, "MLDither");
    return lib;
  }();
  return library;
}

struct Point3 {
  float x, y, z;
};

constexpr std::uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F, kGrey = 0x8410;
constexpr std::uint16_t kBackground = 0x1234;

inline FaceMaterial FlatMaterial(std::uint16_t colour) {
  FaceMaterial m{};
  m.colour = colour;  // unlit, shade range 0: drawn exactly in this colour
  return m;
}

inline CameraFrame IdentityCamera() { return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; }

// A view with the identity camera and a view tangent of 1, so that the
// focal length equals the height: a point at distance `focal` in front of
// the eye lands on the pixel grid with one model unit per pixel.
class RastelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Rastel().handle, nullptr) << dlerror();
    ASSERT_TRUE(Rastel().Complete());
    view = Rastel().CreateView();
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override { Rastel().DestroyView(view); }

  void Open(int w, int h) {
    const RastelLibrary& r = Rastel();
    r.ResizeView(view, w, h);
    r.GetViewSize(view, &width, &height);
    r.SetViewTan(view, 1.0f);
    r.SetFrontClipPlane(view, 1.0f);
    const CameraFrame camera = IdentityCamera();
    r.SetCameraPos(view, &camera);
    r.SetBgColor(view, kBackground);
    r.StartFrame(view);
  }

  float Focal() const { return static_cast<float>(height); }

  // Model point seen at pixel corner (px, py) from the bottom left, at the
  // given distance along the view direction.
  Point3 At(float px, float py, float distance) const {
    const float s = distance / Focal();
    return {(px - width / 2.0f) * s, (py - height / 2.0f) * s, -distance};
  }
  Point3 At(float px, float py) const { return At(px, py, Focal()); }

  int Draw(const std::vector<Point3>& points, const std::vector<int>& indices,
           const FaceMaterial* material, const FaceTexMap* texMap = nullptr) {
    int faces = 0;
    for (int i : indices) faces += i == -1;
    return Rastel().FaceList(view, faces, static_cast<int>(points.size()),
                             reinterpret_cast<const float*>(points.data()), indices.data(), texMap,
                             material);
  }
  int Draw(const std::vector<Point3>& points, const std::vector<int>& indices, std::uint16_t colour) {
    const FaceMaterial m = FlatMaterial(colour);
    return Draw(points, indices, &m);
  }

  // A rectangle of pixels [x0, x1) x [y0, y1), counter-clockwise.
  int DrawRect(float x0, float y0, float x1, float y1, float distance, std::uint16_t colour) {
    return Draw({At(x0, y0, distance), At(x1, y0, distance), At(x1, y1, distance), At(x0, y1, distance)},
                {0, 1, 2, 3, -1}, colour);
  }

  // Pixel (x, y) counted from the bottom row, the buffer's first.
  std::uint16_t Pixel(int x, int y) const { return Rastel().GetBuf(view)[y * width + x]; }

  int Count(std::uint16_t colour) const {
    int n = 0;
    for (int i = 0; i < width * height; ++i) n += Rastel().GetBuf(view)[i] == colour;
    return n;
  }

  std::vector<std::uint16_t> Picture() const {
    const unsigned short* buf = Rastel().GetBuf(view);
    return std::vector<std::uint16_t>(buf, buf + width * height);
  }

  RenderView* view = nullptr;
  int width = 0;
  int height = 0;
};

#endif  // TESTS_RASTEL_RASTELFIXTURE_H
