// What a picture of the default letters costs: drawing one 800 x 600 frame,
// encoding it as a GIF, and a whole `glyphkiln --gif` run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "FramePictures.h"
#include "GifWriter.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace fs = std::filesystem;

namespace {

// "Glyphkiln" as the desktop program first builds it: depth 0.2, no bevel
// rings (bevel size 1/30), light from the front right.
std::unique_ptr<CText3D> DefaultLetters() {
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, "Glyphkiln", *font);
  return BuildText3D("Glyphkiln", outline,
                     {.colour = 255, .height = 1.0, .depth = 0.2, .lightFlags = 0,
                      .bevelSteps = 0, .bevelSize = 1.0 / 30.0});
}

std::unique_ptr<RendererBinding> RealBinding() {
  RendererBindingOptions options;
  options.directories = {GLYPHKILN_BIN_DIR};
  options.useSystemSearchPath = false;
  return std::make_unique<RendererBinding>(options);
}

void BM_DrawSceneDefaultLetters800x600(benchmark::State& state) {
  auto text = DefaultLetters();
  auto binding = RealBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  binding->SetViewSize(800, 600);
  binding->FitCamera(text.get());
  for (auto _ : state) {
    binding->DrawScene(text.get());
    benchmark::DoNotOptimize(binding->Frame16());
  }
}
BENCHMARK(BM_DrawSceneDefaultLetters800x600)->Unit(benchmark::kMillisecond);

void BM_WriteGifStreamOfLetters800x600(benchmark::State& state) {
  auto text = DefaultLetters();
  auto binding = RealBinding();
  if (!text || !binding->View()) {
    state.SkipWithError("no font or no renderer library");
    return;
  }
  binding->SetViewSize(800, 600);
  binding->FitCamera(text.get());
  binding->DrawScene(text.get());
  auto image = GifImageFromFrame(binding->Frame8(), binding->Width(), binding->Height(), binding->Palette());
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out(std::ios::binary);
    WriteGifStream(*image, out);
    bytes = out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600);
}
BENCHMARK(BM_WriteGifStreamOfLetters800x600)->Unit(benchmark::kMillisecond);

// The whole program: start, font, letters, renderer, dither, GIF, exit.
void BM_GlyphkilnGifRun(benchmark::State& state) {
  const fs::path out = fs::temp_directory_path() / ("glyphkiln-bench-" + std::to_string(getpid()) + ".gif");
  const std::string command = std::string("'") + GLYPHKILN_BIN_DIR + "/glyphkiln' --gif '" + out.string() +
                              "' Glyphkiln >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("glyphkiln --gif failed");
      break;
    }
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(fs::file_size(out, ec));
  fs::remove(out, ec);
}
BENCHMARK(BM_GlyphkilnGifRun)->Unit(benchmark::kMillisecond);

}  // namespace
