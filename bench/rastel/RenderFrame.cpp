// Frame costs of the renderer: the examiner's picture of "Glyphkiln" as the
// program draws it, the same letters repeated to about 100,000 faces, a
// frame start against the bare memory cost of clearing both buffers, and
// the 8-bit dither of a whole picture.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CubePalette.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "RendererBinding.h"
#include "Text3D.h"
#include "rastel.h"

namespace {

struct Library {
  void* handle = nullptr;
  decltype(&::RenderCreateView) CreateView = nullptr;
  decltype(&::RenderDestroyView) DestroyView = nullptr;
  decltype(&::RenderResizeView) ResizeView = nullptr;
  decltype(&::RenderGetBuf) GetBuf = nullptr;
  decltype(&::RenderSetCameraPos) SetCameraPos = nullptr;
  decltype(&::RenderSetBgColor) SetBgColor = nullptr;
  decltype(&::RenderSetFrontClipPlane) SetFrontClipPlane = nullptr;
  decltype(&::RenderSetDLight) SetDLight = nullptr;
  decltype(&::RenderStartFrame) StartFrame = nullptr;
  decltype(&::RenderEndFrame) EndFrame = nullptr;
  decltype(&::RenderFaceList) FaceList = nullptr;
  decltype(&::MLDither) Dither = nullptr;
};

const Library& Rastel() {
  static const Library lib = [] {
    Library l;
    l.handle = dlopen(GLYPHKILN_BIN_DIR "/libRastel16.so", RTLD_NOW | RTLD_LOCAL);
    if (!l.handle) return l;
    auto bind = [&l](auto& slot, const char* name) {
      slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(l.handle, name));
    };
    bind(l.CreateView, "RenderCreateView");
    bind(l.DestroyView, "RenderDestroyView");
    bind(l.ResizeView, "RenderResizeView");
    bind(l.GetBuf, "RenderGetBuf");
    bind(l.SetCameraPos, "RenderSetCameraPos");
    bind(l.SetBgColor, "RenderSetBgColor");
    bind(l.SetFrontClipPlane, "RenderSetFrontClipPlane");
    bind(l.SetDLight, "RenderSetDLight");
    bind(l.StartFrame, "RenderStartFrame");
    bind(l.EndFrame, "RenderEndFrame");
    bind(l.FaceList, "RenderFaceList");
    bind(l.Dither, "MLDither");
    return l;
  }();
  return lib;
}

constexpr int kWidth = 800, kHeight = 600;

// One piece as the program hands it over: its vertices and one index list
// of front, back and side faces.
struct PieceList {
  std::vector<CVertex3F> vertices;
  std::vector<int> indices;
  int faceCount = 0;
  FaceMaterial material{};
};

// The letters, camera and light of one examiner picture.
struct Scene {
  std::vector<PieceList> pieces;
  CameraFrame camera{};
  float light[3] = {0, 0, 0};
  int faces = 0;
};

std::unique_ptr<CText3D> BuildLetters(const std::string& text) {
  std::string error;
  const auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  return BuildText3D(text, outline,
                     {.colour = 255, .height = 1.0, .depth = 0.2, .lightFlags = 0,
                      .bevelSteps = 7, .bevelSize = 0.06});  // the round bevel
}

// The examiner's camera on the text, as the renderer binding fits and turns
// it: yaw about the world y axis, then pitch about the world x axis. No
// library is loaded; the binding only does the camera and light.
void FitAndTurn(const CText3D& text, float yaw, float pitch, Scene& scene) {
  RendererBindingOptions options;
  options.libraries.clear();
  options.useSystemSearchPath = false;
  RendererBinding binding(options);
  binding.FitCamera(&text);
  binding.ViewCamera().Rotate(yaw, pitch);
  scene.camera = binding.ViewCamera().Frame();
  std::copy(binding.Light(), binding.Light() + 3, scene.light);
}

Scene MakeScene(const std::string& text) {
  Scene scene;
  const auto letters = BuildLetters(text);
  if (!letters) return scene;
  for (int n = 0; CLetterPiece* piece = letters->PieceAt(n); ++n) {
    PieceList list;
    list.vertices = piece->vertices;
    for (const auto* part : {&piece->frontFace, &piece->backFace, &piece->sideFaces})
      list.indices.insert(list.indices.end(), part->begin(), part->end());
    list.faceCount = piece->faceCount;
    list.material.colour = PixelFormat565(ShadeBaseColour(static_cast<std::uint32_t>(piece->colour)));
    list.material.lit = 1;
    list.material.shadeLow = -16;
    list.material.shadeHigh = 16;
    scene.faces += list.faceCount;
    scene.pieces.push_back(std::move(list));
  }
  FitAndTurn(*letters, 0.4f, 0.3f, scene);
  return scene;
}

void DrawFrame(RenderView* view, const Scene& scene) {
  const Library& r = Rastel();
  const FaceTexMap noTexture{};
  r.ResizeView(view, kWidth, kHeight);
  r.SetCameraPos(view, &scene.camera);
  r.SetDLight(view, scene.light, 1);
  r.SetFrontClipPlane(view, 0.1f);
  r.SetBgColor(view, PixelFormat565(0xFFFF00));
  r.StartFrame(view);
  for (const PieceList& piece : scene.pieces)
    r.FaceList(view, piece.faceCount, static_cast<int>(piece.vertices.size()),
               &piece.vertices[0].x, piece.indices.data(), &noTexture, &piece.material);
  r.EndFrame(view);
}

void RunFrames(benchmark::State& state, const Scene& scene) {
  const Library& r = Rastel();
  if (!r.handle || scene.pieces.empty()) {
    state.SkipWithError(!r.handle ? "libRastel16.so not loaded" : "no letters built");
    return;
  }
  RenderView* view = r.CreateView();
  for (auto _ : state) {
    DrawFrame(view, scene);
    benchmark::DoNotOptimize(r.GetBuf(view));
  }
  state.counters["faces"] = scene.faces;
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  r.DestroyView(view);
}

void BM_FrameGlyphkiln(benchmark::State& state) {
  static const Scene scene = MakeScene("Glyphkiln");
  RunFrames(state, scene);
}
BENCHMARK(BM_FrameGlyphkiln)->Unit(benchmark::kMillisecond);

// The word repeated until the text holds about 100,000 faces; the fitted
// camera then sees many small letters.
void BM_FrameHundredThousandFaces(benchmark::State& state) {
  static const Scene scene = [] {
    const Scene once = MakeScene("Glyphkiln");
    const int repeats = once.faces > 0 ? (100000 + once.faces - 1) / once.faces : 1;
    std::string text;
    for (int i = 0; i < repeats; ++i) text += "Glyphkiln";
    return MakeScene(text);
  }();
  RunFrames(state, scene);
}
BENCHMARK(BM_FrameHundredThousandFaces)->Unit(benchmark::kMillisecond);

void BM_StartFrame(benchmark::State& state) {
  const Library& r = Rastel();
  if (!r.handle) {
    state.SkipWithError("libRastel16.so not loaded");
    return;
  }
  RenderView* view = r.CreateView();
  r.ResizeView(view, kWidth, kHeight);
  r.SetBgColor(view, 0x07FF);
  for (auto _ : state) {
    r.StartFrame(view);
    benchmark::DoNotOptimize(r.GetBuf(view));
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  r.DestroyView(view);
}
BENCHMARK(BM_StartFrame)->Unit(benchmark::kMicrosecond);

// The floor under a frame start: writing both 800 x 600 buffers once.
void BM_MemsetBothBuffers(benchmark::State& state) {
  std::vector<std::uint16_t> colour(kWidth * kHeight), depth(kWidth * kHeight);
  for (auto _ : state) {
    std::memset(colour.data(), 0x5A, colour.size() * sizeof(std::uint16_t));
    std::memset(depth.data(), 0, depth.size() * sizeof(std::uint16_t));
    benchmark::DoNotOptimize(colour.data());
    benchmark::DoNotOptimize(depth.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemsetBothBuffers)->Unit(benchmark::kMicrosecond);

void BM_Dither800x600(benchmark::State& state) {
  const Library& r = Rastel();
  if (!r.handle) {
    state.SkipWithError("libRastel16.so not loaded");
    return;
  }
  std::vector<std::uint16_t> picture(kWidth * kHeight);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint16_t>(i * 2654435761u >> 9);
  std::vector<std::uint8_t> out(kWidth * kHeight);
  for (auto _ : state) {
    r.Dither(out.data(), picture.data(), kWidth, kHeight);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Dither800x600)->Unit(benchmark::kMicrosecond);

}  // namespace
