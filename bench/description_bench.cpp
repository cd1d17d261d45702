// Laying out a mineral description: the description window lays the page out
// again at every scroll step and every paint, so it must take far less than
// a frame. Measured on the measuring canvas (the layout alone) and on the
// text canvas with its rendering (what kalvor-cli zeige does).
#include <benchmark/benchmark.h>

#include "determination/description.h"
#include "render/measuring_canvas.h"
#include "render/text_canvas.h"

namespace {

using namespace kalvor;

class BenchSources : public DescriptionSources {
 public:
  MineralRecord mineralRecord(MineralNumber) const override { return {}; }
  std::optional<MineralNumber> findMineral(std::string_view) const override { return {}; }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view) const override { return {}; }
  std::string colourName(std::uint16_t c) const override { return c == 1 ? "gr\xFCn" : "blau"; }
  std::optional<std::string> strunzText(const StrunzNumber&) const override { return {}; }
  std::optional<std::string> heyText(const HeyNumber&) const override { return {}; }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber) const override {
    std::vector<MineralLocality> list;
    for (int i = 0; i < 40; ++i) list.push_back({"Grube " + std::to_string(i) + ", Harz, Deutschland", i % 3 == 0});
    return list;
  }
};

MineralRecord sample() {
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Pyromorphit");
  r.setFormula("Pb_5(PO_4)_3Cl");
  r.setHardness(7, 8);
  r.setDensity({6, 70}, {7, 10});
  const std::uint16_t colours[] = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};
  r.setColours(colours);
  r.setCrystalSystems(0x0020);
  r.setLustre(0x0028);
  r.setStrunz({7, 'B', 39, 0, 0});
  CrystalDataEntry e;
  e.classes = 1u << 8;
  e.z = 2;
  e.a0 = 9.97;
  e.c0 = 7.32;
  const CrystalDataEntry entries[] = {e, e};
  r.setCrystalData(entries);
  return r;
}

void BM_DescribeMineralPageMeasuring(benchmark::State& state) {
  const BenchSources sources;
  const MineralRecord record = sample();
  for (auto _ : state) {
    MeasuringCanvas canvas;
    DescriptionLayout layout(canvas, sources, DescriptionOptions{});
    benchmark::DoNotOptimize(layout.describeEntry(LayoutArea{0, 0, 500, 4000}, record, 3));
  }
}
BENCHMARK(BM_DescribeMineralPageMeasuring);

void BM_DescribeMineralPageAsText(benchmark::State& state) {
  const BenchSources sources;
  const MineralRecord record = sample();
  for (auto _ : state) {
    TextCanvas canvas;
    DescriptionLayout layout(canvas, sources, DescriptionOptions{});
    layout.describeEntry(LayoutArea{0, 0, 78, 4000}, record, 3);
    benchmark::DoNotOptimize(canvas.renderText());
  }
}
BENCHMARK(BM_DescribeMineralPageAsText);

}  // namespace
