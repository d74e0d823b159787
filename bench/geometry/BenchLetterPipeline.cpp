// The letter-geometry pipeline from font to bridged contours: extraction,
// construction, nesting and bridging, on a short word and on a paragraph.
// "time_per_char" is the time per character of the text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"
#include "TextSettings.h"

namespace {

// About a thousand characters of plain English prose.
const std::string kParagraph =
    "The workshop sat at the end of a narrow lane, behind a bakery whose ovens warmed the "
    "shared wall through every winter. Inside, the letters waited on long shelves: capitals "
    "cut from pine, small letters turned from pear wood, numerals cast in brass for the "
    "clock makers across the river. Every morning the old printer chose a line of text, "
    "set it in the press, and pulled a single proof to see whether the spacing was right. "
    "Most days it was not, and he moved a thin copper strip between two letters, or took "
    "one away, and pulled another proof. His apprentice learned that a round letter must "
    "reach a little below the line and a little above it, or it looks too small beside "
    "the straight ones; that the hole of an o is as much a part of the letter as the ring "
    "around it; and that a word is read by its shape long before its letters are known. "
    "In the evenings they swept the shavings into a sack for the bakery, locked the door, "
    "and walked home along the river while the lamps came on, one by one, like letters.";

const Font& Liberation() {
  static const std::unique_ptr<Font> font = [] {
    std::string error;
    auto f = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
    if (!f) {
      std::fprintf(stderr, "cannot open %s: %s\n", GLYPHKILN_LIBERATION_SANS, error.c_str());
      std::abort();
    }
    return f;
  }();
  return *font;
}

void RunPipeline(benchmark::State& state, const std::string& text) {
  const Font& font = Liberation();
  CGlyphOutline outline;
  BuildOptions options;
  options.contoursOnly = true;
  for (auto _ : state) {
    ExtractGlyphOutlines(outline, text, font);
    const auto letters = BuildText3D(text, outline, TextSettings{}, options);
    benchmark::DoNotOptimize(letters->letters.data());
  }
  state.counters["chars"] = static_cast<double>(text.size());
  state.counters["time_per_char"] = benchmark::Counter(
      static_cast<double>(text.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PipelineWord(benchmark::State& state) { RunPipeline(state, "Glyphkiln"); }
void BM_PipelineParagraph(benchmark::State& state) { RunPipeline(state, kParagraph); }

}  // namespace

BENCHMARK(BM_PipelineWord)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PipelineParagraph)->Unit(benchmark::kMillisecond);
