// Exchange lists at a realistic size: 10,000 exchange pieces over 500
// localities exported to a *.ktl file, and the first opening of that file,
// which builds the list's own value index inside it and sorts both orders.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "collection/collection.h"
#include "collection/exchange_list.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "platform/settings.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

constexpr std::uint32_t kPieces = 10000;
constexpr std::uint32_t kPlaces = 500;
constexpr std::uint32_t kMinerals = 400;

class ExchangeFixture {
 public:
  ExchangeFixture() {
    dir_ = std::filesystem::temp_directory_path() / ("kalvor-exchange-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::vector<NameSource> sources;
    for (std::uint32_t i = 0; i < kMinerals; ++i) sources.push_back({false, "Mineral-" + std::to_string(1000 + i)});
    names_ = MineralNameList::build(std::move(sources));
    settings_ = openIniSettings((dir_ / "kalvor.ini").string());
    collection_ = std::make_unique<Collection>(names_, kMinerals, settings_.get());
    collection_->open(dir_.string());
    std::mt19937 rng(7);
    for (std::uint32_t i = 0; i < kPlaces; ++i) {
      Locality loc;
      loc.name = "Grube " + std::to_string(rng() % 100000);
      loc.country = i % 2 ? "Deutschland" : "Norwegen";
      writeLocality(*collection_, 0, loc);
      addLocalityKeys(*collection_, loc);
    }
    // Every second specimen is a collection piece, so the export has to skip.
    for (std::uint32_t i = 0; i < 2 * kPieces; ++i) {
      Specimen s;
      s.flags = static_cast<std::uint16_t>((i % 2 ? specimen_format::kFlagCollection : specimen_format::kFlagExchange) |
                                           specimen_format::kFlagBought);
      s.index = "T" + std::to_string(rng() % 50000);
      s.minerals = {static_cast<std::uint16_t>(1 + rng() % kMinerals), static_cast<std::uint16_t>(1 + rng() % kMinerals)};
      s.mainCount = 1;
      s.localityValue = static_cast<std::uint16_t>(2 + rng() % kPlaces);
      s.purchasePrice = 10;
      writeSpecimen(*collection_, 0, s);
      addSpecimenKeys(*collection_, s);
    }
  }
  ~ExchangeFixture() {
    collection_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Collection& c() { return *collection_; }
  std::string file(const char* name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
  MineralNameList names_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<Collection> collection_;
};

ExchangeFixture& fixture() {
  static std::unique_ptr<ExchangeFixture> f = std::make_unique<ExchangeFixture>();
  return *f;
}

void BM_ExportExchangeList(benchmark::State& state) {
  ExchangeFixture& f = fixture();
  for (auto _ : state) {
    const ExchangeExportResult r = exportExchangeList(f.c(), f.file("bench.ktl"), nullptr);
    if (r.specimens != kPieces) state.SkipWithError("wrong number of pieces exported");
  }
  state.counters["ktl_MB"] = static_cast<double>(std::filesystem::file_size(f.file("bench.ktl"))) / 1e6;
}
BENCHMARK(BM_ExportExchangeList)->Unit(benchmark::kMillisecond);

void BM_OpenExchangeListFirstTime(benchmark::State& state) {
  ExchangeFixture& f = fixture();
  exportExchangeList(f.c(), f.file("fresh.ktl"), nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(f.file("fresh.ktl"), f.file("open.ktl"),
                               std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    if (openExchangeList(f.c(), f.file("open.ktl"), nullptr) != ExchangeOpenStatus::kOpened)
      state.SkipWithError("not opened");
    leaveExchangeList(f.c());
  }
}
BENCHMARK(BM_OpenExchangeListFirstTime)->Unit(benchmark::kMillisecond);

void BM_OpenExchangeListAgain(benchmark::State& state) {
  ExchangeFixture& f = fixture();
  for (auto _ : state) {
    if (openExchangeList(f.c(), f.file("open.ktl"), nullptr) != ExchangeOpenStatus::kOpened)
      state.SkipWithError("not opened");
    leaveExchangeList(f.c());
  }
}
BENCHMARK(BM_OpenExchangeListAgain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvor
