// Computing crystal drawings: kalvor-mkdb does this for every species with a
// cell (about a thousand), and the Drawing window once per turning step.
#include <benchmark/benchmark.h>

#include "crystal/computed_drawing.h"
#include "crystal/point_groups.h"

namespace {

using namespace kalvor::crystal;

MineralForms formsOf(unsigned bit, Cell cell, const char* text) {
  MineralForms m;
  m.set.classBit = bit;
  m.set.cell = cell;
  m.set.forms = *parseForms(text, usesHexagonalAxes(bit));
  m.viewCount = wantsMainAxisView(bit) ? 2 : 1;
  return m;
}

void drawAll(benchmark::State& state, const MineralForms& m) {
  for (auto _ : state) {
    const auto shape = buildCrystalShape(m.set);
    for (std::uint8_t v = 0; v < m.viewCount; ++v)
      benchmark::DoNotOptimize(drawShape(*shape, viewOfDrawing(m, v)));
  }
}

void BM_QuartzDrawings(benchmark::State& state) {
  drawAll(state, formsOf(19, {4.913, 4.913, 5.405, 90, 90, 120}, "{10-10}:1 {10-11}:2.1 {01-11}:2.3"));
}
BENCHMARK(BM_QuartzDrawings);

// The largest shapes: 48 + 24 + 12 faces of the hexoctahedral class.
void BM_HexoctahedronDrawing(benchmark::State& state) {
  drawAll(state, formsOf(31, {}, "{321}:1 {211}:1.02 {110}:1.05"));
}
BENCHMARK(BM_HexoctahedronDrawing);

// One turning step of the Drawing window: the shape exists, only the view changes.
void BM_TurnedView(benchmark::State& state) {
  const MineralForms m = formsOf(26, {4.99, 4.99, 17.06, 90, 90, 120}, "{21-34}:1 {10-14}:1.5");
  const auto shape = buildCrystalShape(m.set);
  double angle = 0;
  for (auto _ : state) {
    angle += 0.1;
    benchmark::DoNotOptimize(drawShape(*shape, viewOfDrawing(m, 0, angle, 0)));
  }
}
BENCHMARK(BM_TurnedView);

}  // namespace
