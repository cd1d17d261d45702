// Measures the reference-file readers: whole-database record reads (the name
// list and the search index rebuild read every entry) and picture decoding.
#include <benchmark/benchmark.h>

#include <random>

#include "refdb/lzw.h"
#include "refdb/mineral_record.h"

namespace kalvor {
namespace {

MineralDatabase sampleDatabase(int entries) {
  MineralFileWriter w;
  for (int i = 0; i < entries; ++i) {
    MineralRecord r;
    if (i % 4 == 3) {
      r.setName("Alias" + std::to_string(i));
      r.setAliasTarget("Ziel" + std::to_string(i));
    } else {
      r.setFlags(kMineralImaRecognised);
      r.setName("Mineral" + std::to_string(i));
      r.setFormula("Ca_5(PO_4)_3F");
      std::vector<CrystalDataEntry> crystals(static_cast<std::size_t>(i % 3));
      r.setCrystalData(crystals);
    }
    w.add(r);
  }
  return *MineralDatabase::fromBytes(w.indexFile(), w.recordFile());
}

void BM_ReadAllMineralRecords(benchmark::State& state) {
  const MineralDatabase db = sampleDatabase(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::size_t full = 0;
    for (MineralNumber n = 0;; ++n) {
      const MineralRecord r = db.readMineralRecord(n);
      if (r.isNoEntry()) break;
      full += r.isFullMineral();
    }
    benchmark::DoNotOptimize(full);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAllMineralRecords)->Arg(5000);

void BM_DecodePicture(benchmark::State& state) {
  const std::size_t width = 400, rows = 300, rowBytes = pictureRowBytes(width);
  Bytes bitmap(rows * rowBytes, 0xFF);
  std::mt19937 rng(1);
  // A drawing-like picture: mostly background with short dark runs.
  for (auto& b : bitmap)
    if (rng() % 8 == 0) b = static_cast<std::uint8_t>(rng());
  const Bytes stream = encodePicture(bitmap, width, rows);
  for (auto _ : state) benchmark::DoNotOptimize(decodePicture(stream, width, rows));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bitmap.size()));
}
BENCHMARK(BM_DecodePicture);

}  // namespace
}  // namespace kalvor
