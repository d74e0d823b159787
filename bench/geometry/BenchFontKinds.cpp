// Font to bridged contours for the same design as a TrueType face and as a
// CFF face (whose cubic segments become quadratic pieces), on the printable
// ASCII characters. "time_per_char" is the time per character.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"

namespace {

std::string PrintableAscii() {
  std::string text;
  for (char c = 33; c < 127; ++c) text.push_back(c);
  return text;
}

std::unique_ptr<Font> OpenOrAbort(const char* path) {
  std::string error;
  auto font = Font::OpenFile(path, 0, &error);
  if (!font) {
    std::fprintf(stderr, "cannot open %s: %s\n", path, error.c_str());
    std::abort();
  }
  return font;
}

void RunFont(benchmark::State& state, const char* path) {
  const std::unique_ptr<Font> font = OpenOrAbort(path);
  const std::string text = PrintableAscii();
  CGlyphOutline outline;
  for (auto _ : state) {
    ExtractGlyphOutlines(outline, text, *font);
    CText3D letters(text, outline, 255, 1.0, 0.2);
    letters.FindContours();
    letters.CalculateContours();
    benchmark::DoNotOptimize(letters.letters.data());
  }
  state.counters["time_per_char"] = benchmark::Counter(
      static_cast<double>(text.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ContoursTrueType(benchmark::State& state) { RunFont(state, GLYPHKILN_LIBERATION_SANS); }
void BM_ContoursCff(benchmark::State& state) { RunFont(state, GLYPHKILN_NIMBUS_SANS_CFF); }

}  // namespace

BENCHMARK(BM_ContoursTrueType)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContoursCff)->Unit(benchmark::kMillisecond);
