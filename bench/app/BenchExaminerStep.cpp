// One interactive step of the examiner at full size: turn the camera (which
// draws the next frame of the default letters) and blit the frame into an
// image the size of the window. A held button or the spin pays this per
// step; the spin shows a step every 50 ms, so a step must stay well below.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "FrameBlit.h"
#include "RendererBinding.h"
#include "Text3D.h"

namespace {

// The letters the program starts with: "Glyphkiln", red, depth 0.2, no bevel.
std::unique_ptr<CText3D> DefaultLetters() {
  const std::unique_ptr<Font> font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  if (!font)
    throw std::runtime_error("font missing: " GLYPHKILN_LIBERATION_SANS);
  CGlyphOutline outline;
  const std::string text = "Glyphkiln";
  ExtractGlyphOutlines(outline, text, *font);
  return BuildText3D(text, outline,
                     {.colour = 0x0000FF, .height = 1.0, .depth = 0.2, .lightFlags = 0,
                      .bevelSteps = 0, .bevelSize = 1.0 / 30.0});
}

class Letters {
 public:
  Letters() : m_text(DefaultLetters()) {}
  const CText3D* CurrentText() const { return m_text.get(); }

 private:
  std::unique_ptr<CText3D> m_text;
};

double Percentile95(const std::vector<double>& values) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  if (sorted.empty())
    return 0.0;
  return sorted[std::min(sorted.size() - 1, sorted.size() * 95 / 100)];
}

void ExaminerStep(benchmark::State& state, int displayDepth) {
  RendererBindingOptions options;
  options.directories = {GLYPHKILN_BIN_DIR};
  options.useSystemSearchPath = false;
  RendererBinding binding(options);
  if (!binding.View()) {
    state.SkipWithError("libRastel16.so not found beside the benchmark");
    return;
  }
  Letters letters;
  binding.SetViewSize(800, 600);
  binding.FitCamera(letters.CurrentText());
  binding.SetLightFromText(*letters.CurrentText());
  QImage window(800, 600, QImage::Format_ARGB32_Premultiplied);

  for (auto _ : state) {
    // The fast drag step at the window's edge: a quarter radian.
    binding.ViewCamera().Rotate(0.25f, 0.05f);
    binding.DrawScene(letters.CurrentText());
    QPainter painter(&window);
    Blit(painter, binding, window.width(), window.height(), displayDepth);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}

// One step per repetition, so that the median and the 95th percentile are
// those of single steps.
BENCHMARK_CAPTURE(ExaminerStep, TrueColour, 24)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ExaminerStep, EightBitDisplay, 8)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

}  // namespace
