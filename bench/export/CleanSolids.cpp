// Export meshes in both solid modes, for "Glyphkiln" and for a thousand
// characters with the round bevel: the letter build and the meshes, exact
// (the letters' own geometry) beside clean (unioned outlines, inward bevel,
// every piece checked). The counter "s_per_char" is the time per character.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchTexts.h"
#include "ExtractGlyphOutlines.h"
#include "MeshExport.h"
#include "Text3D.h"

namespace {

const char* const kModeNames[] = {"exact", "clean"};

void Run(benchmark::State& state, const std::string& text) {
  const auto mode = static_cast<int>(state.range(0));
  const TextSettings settings{.colour = 255, .height = 1.0, .depth = 0.2, .lightFlags = 0,
                              .bevelSteps = 7, .bevelSize = 0.06};
  ExportSettings exportSettings;
  exportSettings.solid = mode == 0 ? SolidMode::Exact : SolidMode::Clean;
  std::size_t triangles = 0;
  for (auto _ : state) {
    CGlyphOutline outline;
    ExtractGlyphOutlines(outline, text, BenchFont());
    const auto letters = BuildText3D(text, outline, settings);
    triangles = 0;
    for (const PieceMesh& mesh : ExportMeshes(*letters, settings, exportSettings)) triangles += mesh.triangles.size();
    benchmark::DoNotOptimize(triangles);
  }
  state.SetLabel(kModeNames[mode]);
  state.counters["triangles"] = static_cast<double>(triangles);
  state.counters["s_per_char"] = benchmark::Counter(static_cast<double>(text.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_GlyphkilnSolid(benchmark::State& state) { Run(state, "Glyphkiln"); }
BENCHMARK(BM_GlyphkilnSolid)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_ThousandCharactersSolid(benchmark::State& state) { Run(state, ThousandCharacters()); }
BENCHMARK(BM_ThousandCharactersSolid)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
