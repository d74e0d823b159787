// Text to VRML world: outline extraction, letters, contours, bridging, bevel
// contours, meshes and the writing of the world, for each bevel shape. The
// world is counted, not kept, so that neither the disk nor a growing string
// blurs the figures; its size is reported as the counter "bytes". The command line's way (letters finished
// on every core and written as they are done) is timed on the wall clock
// for 10 to 20,000 characters, with "per_char" the time per character; the
// writer alone reports the bytes it formats per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>

#include "BenchTexts.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "MemoryReuse.h"
#include "Text3D.h"
#include "TextSettings.h"
#include "VrmlWriter.h"

namespace {

// As the command line does, so that its way of writing is timed as it runs.
const bool kMemoryKept = [] {
  KeepFreedMemoryForReuse();
  return true;
}();

// Counts what is written and keeps none of it, so that only the writer's
// own work is timed.
class CountingBuffer : public std::streambuf {
 public:
  std::size_t count = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    count += static_cast<std::size_t>(n);
    return n;
  }
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) ++count;
    return traits_type::not_eof(c);
  }
};

std::size_t TextToWorld(const std::string& text, int steps, double size) {
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, BenchFont());
  TextSettings settings;
  settings.bevelSteps = steps;
  settings.bevelSize = size;
  const auto letters = BuildText3D(text, outline, settings);
  CountingBuffer counted;
  std::ostream out(&counted);
  WriteVrml(*letters, out);
  return counted.count;
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

TextSettings RoundBevel() {
  TextSettings settings;
  settings.bevelSteps = ShapeChoices::kBevelStepsOfShape.back();
  settings.bevelSize = ShapeChoices::kBevelSizeOfChoice.back();
  return settings;
}

// Argument: the number of characters. Outline extraction, the letters and
// their finishing on every core, and the world, as glyphkiln -o does it.
void BM_LettersFinishedToWorld(benchmark::State& state) {
  const std::string text = Characters(static_cast<std::size_t>(state.range(0)));
  const TextSettings settings = RoundBevel();
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::size_t bytes = 0;
  for (auto _ : state) {
    CGlyphOutline outline;
    ExtractGlyphOutlines(outline, text, BenchFont());
    BuildOptions options;
    options.lettersOnly = true;
    const auto letters = BuildText3D(text, outline, settings, options);
    CountingBuffer counted;
    std::ostream out(&counted);
    WriteVrmlFinishing(*letters, settings, out, threads);
    bytes = counted.count;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["threads"] = threads;
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["per_char"] = benchmark::Counter(static_cast<double>(text.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_LettersFinishedToWorld)
    ->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Arg(20000)
    ->UseRealTime()->Unit(benchmark::kMillisecond);

// The writer alone on the finished letters of 1,000 characters: bytes per
// second of world text.
void BM_VrmlWriter(benchmark::State& state) {
  const std::string text = ThousandCharacters();
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, BenchFont());
  const auto letters = BuildText3D(text, outline, RoundBevel());
  std::size_t bytes = 0;
  for (auto _ : state) {
    CountingBuffer counted;
    std::ostream out(&counted);
    WriteVrml(*letters, out);
    bytes = counted.count;
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_VrmlWriter)->Unit(benchmark::kMillisecond);

}  // namespace
