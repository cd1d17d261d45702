// Laying out glossary text for the description window: every paint of a new
// entry lays the text out with the fit check and again narrower when it
// needs its scroll bar, then draws the visible lines. Measured on the
// measuring canvas (the layout alone).
#include <benchmark/benchmark.h>

#include <string>

#include "determination/laid_out_text.h"
#include "render/measuring_canvas.h"

namespace {

using namespace kalvor;

// A long entry with every kind of markup, about 2 400 characters.
std::string longEntry() {
  std::string text;
  for (int i = 0; i < 20; ++i) {
    text += "Ein #Mineral# der @Gruppe@ mit der Formel $Pb_5(PO_4)_3Cl$ bildet oft ";
    text += "tafelige Kristalle und derbe Massen.~";
  }
  return text;
}

void BM_LayOutGlossaryTextWithScrollBar(benchmark::State& state) {
  const std::string text = longEntry();
  for (auto _ : state) {
    MeasuringCanvas canvas;
    TextLayout checked = layOutText(canvas, text, 600, 400);
    if (!checked.fits) checked = layOutText(canvas, text, 580);
    benchmark::DoNotOptimize(drawLaidOutText(canvas, text, checked, 0, 0, 0, 400, 12));
  }
}
BENCHMARK(BM_LayOutGlossaryTextWithScrollBar);

void BM_ScrollGlossaryTextOneLine(benchmark::State& state) {
  const std::string text = longEntry();
  MeasuringCanvas layoutCanvas;
  const TextLayout layout = layOutText(layoutCanvas, text, 580);
  int first = 0;
  for (auto _ : state) {
    MeasuringCanvas canvas;
    first = clampScrollLine(first + 1, lastScrollLine(layout, 400));
    if (first == lastScrollLine(layout, 400)) first = 0;
    benchmark::DoNotOptimize(drawLaidOutText(canvas, text, layout, first, 0, 0, 400, 12));
  }
}
BENCHMARK(BM_ScrollGlossaryTextOneLine);

}  // namespace
