// What file pictures cost: a 36-frame 640 x 480 turntable with the adaptive
// palette (time and bytes, beside gifsicle -O3 on the same frames for size
// and giflib writing the same frames for time), and supersampled stills (a
// 1920 x 1080 frame at 2 x 2, and 640 x 480 at 1, 2 and 4).
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "GifAnimation.h"
#include "PictureAnimation.h"
#include "PictureRender.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CText3D> Letters(const char* text) {
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  return BuildText3D(text, outline,
                     {.colour = 255, .height = 1.0, .depth = 0.2, .lightFlags = 0, .bevelSteps = 0,
                      .bevelSize = 1.0 / 30.0});
}

std::unique_ptr<RendererBinding> PictureBinding() {
  RendererBindingOptions options;
  options.directories = {GLYPHKILN_BIN_DIR};
  options.useSystemSearchPath = false;
  options.maxWidth = kMaxPictureSide;
  options.maxHeight = kMaxPictureSide;
  return std::make_unique<RendererBinding>(options);
}

// The turntable as glyphkiln --gif --turntable builds it.
GifAnimation Turntable(RendererBinding& binding, const CText3D& text, int frames) {
  TurntableOptions options;
  options.frames = frames;
  GifAnimation animation;
  BuildTurntable(binding, text, PictureSettings{}, options, animation);
  return animation;
}

std::string Encode(const GifAnimation& animation) {
  std::ostringstream out(std::ios::binary);
  WriteGifAnimation(animation, out);
  return out.str();
}

// The size gifsicle -O3 makes of the same frames stored whole; 0 without
// gifsicle.
double GifsicleBytes(GifAnimation animation) {
  animation.wholeFrames = true;
  const fs::path dir = fs::temp_directory_path();
  const fs::path in = dir / ("bench-turntable-" + std::to_string(getpid()) + ".gif");
  const fs::path out = dir / ("bench-turntable-" + std::to_string(getpid()) + "-O3.gif");
  {
    std::ofstream file(in, std::ios::binary);
    file << Encode(animation);
  }
  const std::string command = "gifsicle -O3 '" + in.string() + "' -o '" + out.string() + "' 2>/dev/null";
  std::error_code ec;
  const double bytes = std::system(command.c_str()) == 0 ? static_cast<double>(fs::file_size(out, ec)) : 0.0;
  fs::remove(in, ec);
  fs::remove(out, ec);
  return bytes;
}

void BM_Turntable36Frames640x480(benchmark::State& state) {
  auto text = Letters("Glyphkiln");
  auto binding = PictureBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  binding->SetBackground(RendererBinding::kDefaultBackground);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = Encode(Turntable(*binding, *text, 36)).size();
    benchmark::DoNotOptimize(bytes);
  }
  const GifAnimation animation = Turntable(*binding, *text, 36);
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["whole_frames_bytes"] = [&] {
    GifAnimation whole = animation;
    whole.wholeFrames = true;
    return static_cast<double>(Encode(whole).size());
  }();
  // Without gifsicle the comparison is left out.
  if (const double gifsicle = GifsicleBytes(animation); gifsicle > 0)
    state.counters["gifsicle_O3_bytes"] = gifsicle;
  else
    state.SetLabel("gifsicle not installed: no -O3 size");
}
BENCHMARK(BM_Turntable36Frames640x480)->Unit(benchmark::kMillisecond)->Iterations(3);

// Only the GIF writing of the same 36 frames (changed rectangles and LZW).
void BM_TurntableGifWriting(benchmark::State& state) {
  auto text = Letters("Glyphkiln");
  auto binding = PictureBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  const GifAnimation animation = Turntable(*binding, *text, 36);
  for (auto _ : state) benchmark::DoNotOptimize(Encode(animation).size());
}
BENCHMARK(BM_TurntableGifWriting)->Unit(benchmark::kMillisecond);

// giflib's writer on the same frames: whole frames with the same palette,
// loop extension and delays, into memory.
int AppendToString(GifFileType* file, const GifByteType* bytes, int count) {
  static_cast<std::string*>(file->UserData)->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

std::size_t GiflibEncode(const GifAnimation& animation) {
  std::string out;
  int error = 0;
  GifFileType* file = EGifOpen(&out, AppendToString, &error);
  if (!file) return 0;
  EGifSetGifVersion(file, true);
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  for (int i = 0; i < animation.colourCount; ++i)
    map->Colors[i] = {animation.colours[static_cast<std::size_t>(3 * i)], animation.colours[static_cast<std::size_t>(3 * i + 1)],
                      animation.colours[static_cast<std::size_t>(3 * i + 2)]};
  bool ok = EGifPutScreenDesc(file, animation.width, animation.height, 8, 0, map) == GIF_OK;
  GifByteType loop[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(file, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(file, 3, loop) == GIF_OK &&
       EGifPutExtensionTrailer(file) == GIF_OK;
  for (const GifAnimation::Frame& frame : animation.frames) {
    GraphicsControlBlock control{};
    control.DelayTime = frame.delayCentiseconds;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    ok = ok && EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK &&
         EGifPutImageDesc(file, 0, 0, animation.width, animation.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < animation.height; ++y)
      ok = EGifPutLine(file, const_cast<GifPixelType*>(&frame.indices[static_cast<std::size_t>(y * animation.width)]),
                       animation.width) == GIF_OK;
  }
  EGifCloseFile(file, &error);
  GifFreeMapObject(map);
  return ok ? out.size() : 0;
}

void BM_TurntableGiflibWriting(benchmark::State& state) {
  auto text = Letters("Glyphkiln");
  auto binding = PictureBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  const GifAnimation animation = Turntable(*binding, *text, 36);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = GiflibEncode(animation);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TurntableGiflibWriting)->Unit(benchmark::kMillisecond);

// One picture of "Hello, World!" at width x height with N x N samples.
void BM_SupersampledPicture(benchmark::State& state) {
  auto text = Letters("Hello, World!");
  auto binding = PictureBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  PictureSettings settings;
  settings.width = static_cast<int>(state.range(0));
  settings.height = static_cast<int>(state.range(1));
  settings.antialias = static_cast<int>(state.range(2));
  PictureRenderer renderer(*binding, *text, settings);
  for (auto _ : state) benchmark::DoNotOptimize(renderer.Render().pixels.data());
  // The size drawn: smaller than asked while the library limits its views.
  state.counters["width"] = renderer.Width();
  state.counters["height"] = renderer.Height();
}
BENCHMARK(BM_SupersampledPicture)
    ->Args({1920, 1080, 2})
    ->Args({640, 480, 1})
    ->Args({640, 480, 2})
    ->Args({640, 480, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace
