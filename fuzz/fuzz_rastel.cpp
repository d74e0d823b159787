// The renderer library's sixteen entry points driven by a byte program: each
// step reads an operation and its arguments. Cameras, transforms and faces
// are mostly placed where they are drawn (faces in front of the eye, beyond
// the front plane), so the rasteriser rather than the culling sees them;
// one value in eight is taken raw, NaN, infinity and extremes included.
// Arrays handed over always hold what the interface says they hold: the
// library is trusted with every value, not with the caller's memory.
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "FuzzInput.h"
#include "rastel.h"

namespace {

// The values a careless caller might pass where a small number belongs.
int ExtremeInt(FuzzInput& in) {
  static constexpr int kExtremes[] = {0, -1, 1, INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1, 801, 601, 65536};
  return kExtremes[in.Byte() % (sizeof kExtremes / sizeof kExtremes[0])];
}

int SmallOrWild(FuzzInput& in, int lo, int hi) {
  switch (in.Byte() % 8) {
    case 0: return in.Raw<int>();
    case 1: return ExtremeInt(in);
    default: return static_cast<int>(in.Int(lo, hi));
  }
}

float FloatOrWild(FuzzInput& in, float lo, float hi) {
  return in.Byte() % 8 == 0 ? in.Raw<float>() : in.Float(lo, hi);
}

// An orthonormal frame turned about z then x by angles from the input, with
// its origin near the world's; or, now and then, raw numbers.
CameraFrame Frame(FuzzInput& in) {
  CameraFrame f{};
  if (in.Byte() % 8 == 0) {
    float* all = &f.origin[0];
    for (int i = 0; i < 12; ++i) all[i] = in.Raw<float>();
    return f;
  }
  const float a = in.Float(-0.5f, 0.5f), b = in.Float(-0.5f, 0.5f);
  const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  const float x[3] = {ca, sa, 0}, y[3] = {-sa * cb, ca * cb, sb}, z[3] = {sa * sb, -ca * sb, cb};
  for (int i = 0; i < 3; ++i) {
    f.origin[i] = in.Float(-0.5f, 0.5f);
    f.xAxis[i] = x[i];
    f.yAxis[i] = y[i];
    f.zAxis[i] = z[i];
  }
  return f;
}

unsigned short* Texture() {
  static std::vector<unsigned short> texels = [] {
    std::vector<unsigned short> t(256 * 256);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<unsigned short>(i * 2654435761u >> 16) & 0x39E7;
    return t;
  }();
  return texels.data();
}

const unsigned char kStipple[8] = {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0x0F, 0xFF, 0x00};

// A face list in front of the eye: vertices at depths 0.5 to 40 inside a
// cone a little wider than the view; index runs mostly in range, with holes
// and the odd index past the list.
int DrawFaces(FuzzInput& in, RenderView* view) {
  const int vertexCount = static_cast<int>(in.Int(0, 48));
  std::vector<float> vertices;
  for (int v = 0; v < vertexCount; ++v) {
    const float depth = in.Float(0.5f, 40.0f);
    vertices.push_back(FloatOrWild(in, -1.5f, 1.5f) * depth);
    vertices.push_back(in.Float(-1.5f, 1.5f) * depth);
    vertices.push_back(-depth);
  }
  std::vector<int> indices;
  const int faceCount = static_cast<int>(in.Int(0, 8));
  for (int face = 0; face < faceCount; ++face) {
    for (int k = static_cast<int>(in.Int(0, 10)); k > 0; --k) {
      const std::uint8_t pick = in.Byte();
      if (pick % 16 == 0) indices.push_back(-2);  // a hole's contour follows
      else if (pick % 16 == 1) indices.push_back(SmallOrWild(in, 0, vertexCount + 2));
      else indices.push_back(vertexCount ? pick % vertexCount : 0);
    }
    indices.push_back(-1);
  }

  FaceTexMap map{};
  map.on = in.Bool();
  for (int& v : map.vertex) v = static_cast<int>(in.Int(-1, vertexCount));
  for (float& uv : map.uv) uv = FloatOrWild(in, -4.0f, 4.0f);

  FaceMaterial material{};
  material.colour = in.Raw<int>();
  material.texture = in.Bool() ? Texture() : nullptr;
  material.texelsU = SmallOrWild(in, -512, 512);
  material.texelsV = SmallOrWild(in, -512, 512);
  material.lit = in.Bool();
  material.shadeLow = SmallOrWild(in, -32, 32);
  material.shadeHigh = SmallOrWild(in, -32, 32);
  material.transparent = in.Bool();
  material.stipple = in.Bool() ? kStipple : nullptr;
  const bool withMaterial = in.Byte() % 8 != 0;

  return RenderFaceList(view, faceCount, vertexCount, vertexCount ? vertices.data() : nullptr,
                        indices.empty() ? nullptr : indices.data(), in.Bool() ? &map : nullptr,
                        withMaterial ? &material : nullptr);
}

// Reads every pixel the view says it has, so a buffer smaller than its
// stated size shows under the address checker.
void ReadFrame(RenderView* view) {
  int width = -1, height = -1;
  RenderGetViewSize(view, &width, &height);
  const unsigned short* pixels = RenderGetBuf(view);
  if (!pixels || width <= 0 || height <= 0) return;
  volatile unsigned sum = 0;
  for (long i = 0; i < static_cast<long>(width) * height; ++i) sum = sum + pixels[i];
}

void Dither(FuzzInput& in) {
  const int width = static_cast<int>(in.Int(-2, 64));
  const int height = static_cast<int>(in.Int(-2, 16));
  const std::size_t pixels = width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 1;
  std::vector<unsigned short> source(pixels);
  for (unsigned short& p : source) p = in.Raw<unsigned short>();
  std::vector<unsigned char> target(pixels);
  MLDither(target.data(), source.data(), width, height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  RenderView* views[2] = {RenderCreateView(), nullptr};
  // A small view looking down -z from the origin, a frame begun: the
  // program's faces are drawn from the first step on.
  const CameraFrame eye = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  RenderResizeView(views[0], 64, 48);
  RenderSetViewTan(views[0], 1.0f);
  RenderSetFrontClipPlane(views[0], 0.25f);
  RenderSetCameraPos(views[0], &eye);
  RenderStartFrame(views[0]);
  for (int steps = 0; !in.Empty() && steps < 64; ++steps) {
    const std::uint8_t op = in.Byte();
    RenderView*& view = views[(op >> 4) & 1];  // now and then the null view
    switch (op % 16) {
      case 0: if (!view) view = RenderCreateView(); break;
      case 1: RenderDestroyView(view); view = nullptr; break;
      case 2: {
        const int w = SmallOrWild(in, -8, 900);
        RenderResizeView(view, w, SmallOrWild(in, -8, 700));
        break;
      }
      case 3: ReadFrame(view); break;
      case 4: {
        int w = 0, h = 0;
        RenderGetViewSize(view, &w, &h);
        break;
      }
      case 5: {
        const CameraFrame f = Frame(in);
        RenderSetCameraPos(view, in.Byte() % 16 ? &f : nullptr);
        break;
      }
      case 6: {
        const CameraFrame f = Frame(in);
        RenderSetTransform(view, in.Byte() % 16 ? &f : nullptr);
        break;
      }
      case 7: RenderSetBgColor(view, in.Raw<int>()); break;
      case 8: RenderSetViewTan(view, FloatOrWild(in, 0.05f, 3.0f)); break;
      case 9: RenderSetFrontClipPlane(view, FloatOrWild(in, 0.0f, 2.0f)); break;
      case 10: {
        float direction[3];
        for (float& d : direction) d = FloatOrWild(in, -1.0f, 1.0f);
        RenderSetDLight(view, in.Byte() % 16 ? direction : nullptr, in.Bool());
        break;
      }
      case 11: {
        const int on = in.Bool();
        const int x = SmallOrWild(in, -10, 810);
        RenderTargetMode(view, on, x, SmallOrWild(in, -10, 610));
        break;
      }
      case 12: RenderStartFrame(view); break;
      case 13: RenderEndFrame(view); break;
      case 14: DrawFaces(in, view); break;
      case 15: Dither(in); break;
    }
  }
  for (RenderView* view : views) RenderDestroyView(view);
  return 0;
}
