// Frame costs of the renderer: the examiner's picture of "Glyphkiln" as the
// program draws it, the same letters repeated to about 100,000 faces, a
// frame start against the bare memory cost of clearing both buffers, and
// the 8-bit dither of a whole picture. Where Mesa's off-screen renderer is
// installed, the same frame drawn by llvmpipe (one thread and its default)
// and the ratios, measured side by side in one run.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "CubePalette.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "RendererBinding.h"
#include "Text3D.h"
#include "rastel.h"
#ifdef GLYPHKILN_HAVE_OSMESA
#include "MesaPeer.h"
#endif

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

#ifdef GLYPHKILN_HAVE_OSMESA

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The scene of BM_FrameGlyphkiln for llvmpipe: its triangles, and one peer
// per thread setting (1 and llvmpipe's default).
struct MesaScene {
  const Scene* scene = nullptr;
  mesapeer::View view{};
  std::vector<mesapeer::Triangle> triangles;
  std::unique_ptr<mesapeer::Peer> single, threaded;
};

MesaScene& Mesa() {
  static MesaScene mesa = [] {
    static const Scene scene = MakeScene("Glyphkiln");
    MesaScene m;
    m.scene = &scene;
    std::vector<mesapeer::FaceList> lists;
    for (const PieceList& piece : scene.pieces)
      lists.push_back({&piece.vertices[0].x, piece.indices.data(), piece.faceCount,
                       static_cast<std::uint16_t>(piece.material.colour)});
    m.triangles = mesapeer::Triangulate(lists, scene.light);
    // the renderer's view: 800 x 600, tangent 0.75 (focal 800), front plane 0.1
    m.view = {kWidth, kHeight, kHeight / 0.75f, 0.1f, scene.camera,
              {scene.light[0], scene.light[1], scene.light[2]}, PixelFormat565(0xFFFF00)};
    m.single = std::make_unique<mesapeer::Peer>(m.view, m.triangles, 1);
    m.threaded = std::make_unique<mesapeer::Peer>(m.view, m.triangles, 0);
    return m;
  }();
  return mesa;
}

void RunPeer(benchmark::State& state, mesapeer::Peer& peer) {
  MesaScene& m = Mesa();
  if (m.triangles.empty()) {
    state.SkipWithError("GLU tessellator not loaded");
    return;
  }
  int covered = 0;
  for (auto _ : state) {
    const mesapeer::FrameResult r = peer.Frame();
    if (r.seconds < 0) {
      state.SkipWithError("llvmpipe did not draw");
      return;
    }
    covered = r.covered;
    state.SetIterationTime(r.seconds);
  }
  state.counters["triangles"] = static_cast<double>(m.triangles.size());
  state.counters["covered_px"] = covered;
}

void BM_LlvmpipeGlyphkilnOneThread(benchmark::State& state) { RunPeer(state, *Mesa().single); }
BENCHMARK(BM_LlvmpipeGlyphkilnOneThread)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LlvmpipeGlyphkilnDefaultThreads(benchmark::State& state) { RunPeer(state, *Mesa().threaded); }
BENCHMARK(BM_LlvmpipeGlyphkilnDefaultThreads)->UseManualTime()->Unit(benchmark::kMillisecond);

// The ratios in one run: frames of Rastel16, llvmpipe with one thread and
// with its default taken in turn, medians of each; a ratio is llvmpipe's
// time over Rastel16's (above 1: Rastel16 is faster). ratio1 compares CPU
// time with one llvmpipe thread (steady on a loaded machine), ratioN wall
// time with llvmpipe's default threads, ratio_best wall time against the
// faster of the two. The covered-pixel counts show that both draw the same
// picture area.
void BM_RatioGlyphkilnAgainstLlvmpipe(benchmark::State& state) {
  MesaScene& m = Mesa();
  const Library& r = Rastel();
  if (!r.handle || m.triangles.empty()) {
    state.SkipWithError("libRastel16.so or GLU not loaded");
    return;
  }
  RenderView* view = r.CreateView();
  std::vector<double> rastel, rastelCpu, single, singleCpu, threaded;
  int llvmCovered = 0;
  for (auto _ : state) {
    for (int round = 0; round < 61; ++round) {
      const double cpu = ThreadCpuSeconds();
      const auto start = std::chrono::steady_clock::now();
      DrawFrame(view, *m.scene);
      rastel.push_back(Seconds(start));
      rastelCpu.push_back(ThreadCpuSeconds() - cpu);
      const mesapeer::FrameResult one = m.single->Frame();
      const mesapeer::FrameResult many = m.threaded->Frame();
      if (one.seconds < 0 || many.seconds < 0) {
        state.SkipWithError("llvmpipe did not draw");
        r.DestroyView(view);
        return;
      }
      llvmCovered = one.covered > 0 ? one.covered : llvmCovered;
      single.push_back(one.seconds);
      singleCpu.push_back(one.cpuSeconds);
      threaded.push_back(many.seconds);
    }
  }
  const unsigned short* buf = r.GetBuf(view);
  int covered = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) covered += buf[i] != buf[0];
  const double rt = Median(rastel), lt1 = Median(single), ltN = Median(threaded);
  const double rc = Median(rastelCpu), lc1 = Median(singleCpu);
  state.counters["rastel_ms"] = 1e3 * rt;
  state.counters["rastel_cpu_ms"] = 1e3 * rc;
  state.counters["llvmpipe1_ms"] = 1e3 * lt1;
  state.counters["llvmpipe1_cpu_ms"] = 1e3 * lc1;
  state.counters["llvmpipeN_ms"] = 1e3 * ltN;
  state.counters["ratio1"] = lc1 / rc;
  state.counters["ratioN"] = ltN / rt;
  state.counters["ratio_best"] = std::min(lt1, ltN) / rt;
  state.counters["rastel_px"] = covered;
  state.counters["llvmpipe_px"] = llvmCovered;
  r.DestroyView(view);
}
BENCHMARK(BM_RatioGlyphkilnAgainstLlvmpipe)->Iterations(1)->Unit(benchmark::kMillisecond);

#endif  // GLYPHKILN_HAVE_OSMESA

// A frame start against memset of both buffers, medians of alternating
// runs in one benchmark; ratio = StartFrame's time over memset's.
void BM_RatioStartFrameAgainstMemset(benchmark::State& state) {
  const Library& r = Rastel();
  if (!r.handle) {
    state.SkipWithError("libRastel16.so not loaded");
    return;
  }
  RenderView* view = r.CreateView();
  r.ResizeView(view, kWidth, kHeight);
  r.SetBgColor(view, 0x07FF);
  std::vector<std::uint16_t> colour(kWidth * kHeight), depth(kWidth * kHeight);
  std::vector<double> start, fill;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    for (int round = 0; round < 401; ++round) {
      auto t0 = Clock::now();
      r.StartFrame(view);
      benchmark::DoNotOptimize(r.GetBuf(view));
      benchmark::ClobberMemory();
      auto t1 = Clock::now();
      std::memset(colour.data(), 0x5A, colour.size() * sizeof(std::uint16_t));
      std::memset(depth.data(), 0, depth.size() * sizeof(std::uint16_t));
      benchmark::DoNotOptimize(colour.data());
      benchmark::DoNotOptimize(depth.data());
      benchmark::ClobberMemory();
      auto t2 = Clock::now();
      start.push_back(std::chrono::duration<double>(t1 - t0).count());
      fill.push_back(std::chrono::duration<double>(t2 - t1).count());
    }
  }
  std::sort(start.begin(), start.end());
  std::sort(fill.begin(), fill.end());
  state.counters["startframe_us"] = 1e6 * start[start.size() / 2];
  state.counters["memset_us"] = 1e6 * fill[fill.size() / 2];
  state.counters["ratio"] = start[start.size() / 2] / fill[fill.size() / 2];
  r.DestroyView(view);
}
BENCHMARK(BM_RatioStartFrameAgainstMemset)->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace
