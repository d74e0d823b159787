// Text to VRML world: outline extraction, letters, contours, bridging, bevel
// contours, meshes and the writing of the world, for each bevel shape. The
// world goes to memory, so the disk does not blur the figures; its size is
// reported as the counter "bytes".
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "BenchTexts.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"
#include "TextSettings.h"
#include "VrmlWriter.h"

namespace {

std::size_t TextToWorld(const std::string& text, int steps, double size) {
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, BenchFont());
  TextSettings settings;
  settings.bevelSteps = steps;
  settings.bevelSize = size;
  const auto letters = BuildText3D(text, outline, settings);
  std::ostringstream out;
  WriteVrml(*letters, out);
  return out.str().size();
}

// Argument: the bevel shape choice 0..4 (0, 1, 2, 3 or 7 steps), size 0.06.
void BM_GlyphkilnToWorld(benchmark::State& state) {
  const int steps = ShapeChoices::BevelStepsForChoice(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = TextToWorld("Glyphkiln", steps, ShapeChoices::kBevelSizeOfChoice.back());
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["steps"] = steps;
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GlyphkilnToWorld)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_ThousandCharactersRoundBevelToWorld(benchmark::State& state) {
  const std::string text = ThousandCharacters();
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = TextToWorld(text, ShapeChoices::kBevelStepsOfShape.back(), ShapeChoices::kBevelSizeOfChoice.back());
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ThousandCharactersRoundBevelToWorld)->Unit(benchmark::kMillisecond);

}  // namespace
