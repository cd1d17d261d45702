// Rebuilding the value index of 100,000 specimens over 5,000 localities,
// from records held in memory (the reading of the records is not measured).
//   build/native/bench/kalvor_bench --benchmark_filter=ValueIndex
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "collection/value_index.h"

namespace kalvor {
namespace {

class GeneratedCollection : public IndexRebuildSource {
 public:
  GeneratedCollection() {
    std::mt19937 rng(5);
    const char* countries[] = {"Deutschland", "Namibia", "Marokko", "Mexiko", "Italien", "USA", "China"};
    for (std::uint32_t n = 1; n <= 5000; ++n) {
      Locality l;
      l.country = countries[rng() % 7];
      l.region = "Region " + std::to_string(rng() % 300);
      for (int i = 0; i < 6; ++i) l.minerals.push_back(static_cast<std::uint16_t>(rng() % 4000));
      localities_.push_back(l);
    }
    for (std::uint32_t n = 1; n <= 100000; ++n) {
      Specimen s;
      s.flags = static_cast<std::uint16_t>((rng() % 2 ? 0x01 : 0x02) | (0x04 << (rng() % 3)));
      for (int i = 0; i < 3; ++i) s.minerals.push_back(static_cast<std::uint16_t>(1 + rng() % 4000));
      s.localityValue = static_cast<std::uint16_t>(2 + rng() % 5000);
      specimens_.push_back(s);
    }
  }
  std::uint32_t localityCount() override { return static_cast<std::uint32_t>(localities_.size()); }
  std::uint32_t specimenCount() override { return static_cast<std::uint32_t>(specimens_.size()); }
  std::optional<Locality> readLocality(std::uint32_t n) override { return localities_[n - 1]; }
  std::optional<Specimen> readSpecimen(std::uint32_t n) override { return specimens_[n - 1]; }
  bool replaceLocalitySpecimens(std::uint32_t, const std::vector<std::uint32_t>&) override { return true; }

 private:
  std::vector<Locality> localities_;
  std::vector<Specimen> specimens_;
};

void BM_ValueIndexRebuild(benchmark::State& state) {
  GeneratedCollection collection;
  const auto dir = std::filesystem::temp_directory_path() / "kalvor_bench_vi";
  std::filesystem::create_directories(dir);
  ValueIndex index(4000, nullptr, nullptr);
  index.openValueIndex((dir / "kalvor.vi").string(), 0);
  for (auto _ : state) {
    if (!index.rebuildValueIndex(collection, nullptr, false)) state.SkipWithError("rebuild failed");
  }
  state.counters["entries"] = index.entryCount();
  state.counters["file_bytes"] = static_cast<double>(index.store()->fileSize());
}

BENCHMARK(BM_ValueIndexRebuild)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvor
