// One glyph that is a square with N small square holes in rows, the shape
// of a hostile font: the letter build up to the bridged contours, for 1,000
// and 4,000 holes. The outline stream is made here; no font is read.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "GlyphOutline.h"
#include "Text3D.h"
#include "TextSettings.h"

namespace {

// Font units: holes of 20 on a pitch of 40, well apart from the outer edge.
CGlyphOutline HoleField(int holes) {
  const int perRow = static_cast<int>(std::ceil(std::sqrt(holes)));
  const double pitch = 40.0, side = 20.0, extent = pitch * (perRow + 1);
  CGlyphOutline outline;
  auto square = [&outline](double x0, double y0, double x1, double y1) {
    outline.Add(x0, y0, kContourStart);
    outline.Add(x0, y1, kLinePoint);
    outline.Add(x1, y1, kLinePoint);
    outline.Add(x1, y0, kLinePoint);
    outline.Add(0, 0, kContourEnd);
  };
  square(0, 0, extent, extent);
  for (int k = 0; k < holes; ++k) {
    const double x = pitch * (k % perRow + 1), y = pitch * (k / perRow + 1);
    square(x, y, x + side, y + side);
  }
  outline.Add(0, 0, kCharacterEnd);
  return outline;
}

void BM_ManyHolesBridged(benchmark::State& state) {
  const CGlyphOutline outline = HoleField(static_cast<int>(state.range(0)));
  BuildOptions options;
  options.contoursOnly = true;
  std::size_t entries = 0;
  for (auto _ : state) {
    const auto letters = BuildText3D("x", outline, TextSettings{}, options);
    entries = letters->letters[0].pieces[0]->mergedOutline.size();
    benchmark::DoNotOptimize(entries);
  }
  state.counters["outline"] = static_cast<double>(entries);
}

}  // namespace

BENCHMARK(BM_ManyHolesBridged)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
