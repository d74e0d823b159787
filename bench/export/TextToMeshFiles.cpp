// Text to the mesh formats: the whole letter build, the export meshes and the
// writing of each format into memory, for "Glyphkiln" and for a thousand
// characters, both with the round bevel. The file's size is reported as the
// counter "bytes" (for OBJ the material library included).
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "BenchTexts.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "MeshWriters.h"
#include "PieceMesh.h"
#include "Text3D.h"

namespace {

// Formats by argument: STL binary, STL text, OBJ with MTL, binary glTF, 3MF.
const char* const kFormatNames[] = {"stl", "stl-ascii", "obj+mtl", "glb", "3mf"};

std::size_t TextToFile(const std::string& text, int format) {
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, BenchFont());
  const auto letters = BuildText3D(text, outline,
                                   {.colour = 255, .height = 1.0, .depth = 0.2, .lightFlags = 0,
                                    .bevelSteps = 7, .bevelSize = 0.06});
  const std::vector<PieceMesh> meshes = BuildTextMeshes(*letters);
  std::ostringstream out;
  std::string error;
  switch (format) {
    case 0: WriteStl(meshes, out, false); break;
    case 1: WriteStl(meshes, out, true); break;
    case 2: WriteObj(meshes, "letters.mtl", out); WriteMtl(meshes, out); break;
    case 3: WriteGlb(meshes, 0.001, out); break;
    default: WriteThreeMf(meshes, LengthUnit::Millimetre, out, error); break;
  }
  return out.str().size();
}

void Run(benchmark::State& state, const std::string& text) {
  const int format = static_cast<int>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = TextToFile(text, format);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetLabel(kFormatNames[format]);
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_GlyphkilnRoundBevelToFile(benchmark::State& state) { Run(state, "Glyphkiln"); }
BENCHMARK(BM_GlyphkilnRoundBevelToFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_ThousandCharactersRoundBevelToFile(benchmark::State& state) { Run(state, ThousandCharacters()); }
BENCHMARK(BM_ThousandCharactersRoundBevelToFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
