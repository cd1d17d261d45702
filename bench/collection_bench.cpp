// The collection at full size: 100,000 specimens over 5,000 localities,
// added one by one through the entry form's save (each record flushed, the
// order's side file rewritten as the program does), then sorted in each mode,
// read back and its value index rebuilt.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "collection/collection.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "platform/settings.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

// KALVOR_BENCH_SPECIMENS sets a smaller collection for a quick look.
const std::uint32_t kSpecimens = [] {
  const char* v = std::getenv("KALVOR_BENCH_SPECIMENS");
  return v != nullptr ? static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10)) : 100000u;
}();
const std::uint32_t kLocalities = std::max(1u, kSpecimens / 20);
constexpr std::uint32_t kMinerals = 400;

std::string mineralName(std::uint32_t i) {
  static const char* const kStems[] = {"Quarz", "Calcit", "Fluorit", "Baryt", "Pyrit",
                                       "Galenit", "Sphalerit", "Malachit"};
  return std::string(kStems[i % 8]) + "-" + std::to_string(1000 + i);
}

class Fixture {
 public:
  Fixture() {
    dir_ = std::filesystem::temp_directory_path() / ("kalvor-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::vector<NameSource> sources;
    for (std::uint32_t i = 0; i < kMinerals; ++i) sources.push_back({false, mineralName(i)});
    names_ = MineralNameList::build(std::move(sources));
    settings_ = openIniSettings((dir_ / "kalvor.ini").string());
    collection_ = std::make_unique<Collection>(names_, kMinerals, settings_.get());
    collection_->open(dir_.string());
  }
  ~Fixture() {
    collection_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Collection& c() { return *collection_; }
  Settings& settings() { return *settings_; }
  std::uint64_t size(const char* name) const {
    std::error_code ec;
    return std::filesystem::file_size(dir_ / name, ec);
  }

 private:
  std::filesystem::path dir_;
  MineralNameList names_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<Collection> collection_;
};

SpecimenFormFields fieldsFor(std::uint32_t i, std::mt19937& rng) {
  SpecimenFormFields fields;
  fields.mainMinerals = mineralName(rng() % kMinerals) + ", " + mineralName(rng() % kMinerals);
  fields.accompanyingMinerals = mineralName(rng() % kMinerals);
  fields.index = std::string(1, static_cast<char>('A' + rng() % 26)) + std::to_string(rng() % 5000);
  fields.localityItem = static_cast<std::uint16_t>(2 + i % kLocalities);
  fields.collectionPiece = rng() % 4 != 0;
  fields.acquisition = static_cast<Acquisition>(rng() % 3);
  fields.date = std::to_string(1 + rng() % 28) + "." + std::to_string(1 + rng() % 12) + ".19" +
                std::to_string(50 + rng() % 50);
  return fields;
}

void addLocalities(Fixture& f, std::uint32_t count) {
  std::mt19937 rng(42);
  for (std::uint32_t i = 0; i < count; ++i) {
    Locality loc;
    loc.name = "Fundstelle " + std::to_string(rng() % 100000);
    loc.region = "Region " + std::to_string(i % 40);
    loc.country = "Land " + std::to_string(i % 12);
    saveLocalityFromForm(f.c(), loc);
  }
}

// The full-size collection, written record by record without index upkeep
// (the collection marked unavailable) and then indexed by a rebuild.
Fixture& large() {
  static std::unique_ptr<Fixture> f;  // removed with its folder at exit
  if (!f) {
    f = std::make_unique<Fixture>();
    f->c().valueIndex().setUnavailable(true);
    addLocalities(*f, kLocalities);
    std::mt19937 rng(7);
    std::vector<std::vector<std::uint32_t>> lists(kLocalities + 1);
    for (std::uint32_t i = 0; i < kSpecimens; ++i) {
      FormResult r = collectSpecimen(f->c(), fieldsFor(i, rng), 0);
      writeSpecimen(f->c(), 0, r.specimen);
      lists[r.specimen.localityNumber()].push_back(r.specimen.number);
    }
    for (std::uint32_t n = 1; n <= kLocalities; ++n) {
      std::optional<Locality> loc = readLocality(f->c(), n);
      loc->specimens = lists[n];
      recomputeLocalityMinerals(f->c(), *loc, nullptr);
      writeLocality(f->c(), n, *loc);
    }
    f->c().rebuildIndex(nullptr);
  }
  return *f;
}

// KALVOR_BENCH_ADD sets how many specimens are added through the form (default 10,000
// over 500 localities): each save costs the same at any size, but a full-size
// run takes minutes on a loaded machine.
const std::uint32_t kAdded = [] {
  const char* v = std::getenv("KALVOR_BENCH_ADD");
  return v != nullptr ? static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10)) : 10000u;
}();

void BM_AddSpecimensOneByOne(benchmark::State& state) {
  Fixture f;
  addLocalities(f, std::max(1u, kAdded / 20));
  std::mt19937 rng(7);
  for (auto _ : state) {
    for (std::uint32_t i = 0; i < kAdded; ++i) {
      SpecimenFormFields fields = fieldsFor(i, rng);
      fields.localityItem = static_cast<std::uint16_t>(2 + i % std::max(1u, kAdded / 20));
      const FormResult r = collectAndSaveSpecimen(f.c(), fields, 0);
      if (r.status != FormStatus::kSaved) state.SkipWithError("save failed");
    }
  }
  state.counters["per_specimen_us"] = benchmark::Counter(
      static_cast<double>(kAdded), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["st_MB"] = static_cast<double>(f.size("kalvor.st")) / 1e6;
  state.counters["fs_MB"] = static_cast<double>(f.size("kalvor.fs")) / 1e6;
  state.counters["vi_MB"] = static_cast<double>(f.size("kalvor.vi")) / 1e6;
  state.counters["specimens"] = kAdded;
}
BENCHMARK(BM_AddSpecimensOneByOne)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RewriteSpecimens(benchmark::State& state) {
  Fixture& f = large();
  std::mt19937 rng(11);
  const std::uint64_t before = f.size("kalvor.st");
  for (auto _ : state) {
    for (std::uint32_t i = 0; i < 10000; ++i) {
      const std::uint32_t n = 1 + rng() % f.c().specimenCount();
      SpecimenFormFields fields = fieldsFor(n, rng);
      if (i % 2 == 0) fields.description = std::string(rng() % 600, 'b');  // grows and shrinks
      collectAndSaveSpecimen(f.c(), fields, n);
    }
  }
  state.counters["st_growth_MB"] = static_cast<double>(f.size("kalvor.st") - before) / 1e6;
}
BENCHMARK(BM_RewriteSpecimens)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadAllSpecimens(benchmark::State& state) {
  Fixture& f = large();
  for (auto _ : state) {
    std::uint32_t read = 0;
    for (std::uint32_t n = 1; n <= f.c().specimenCount(); ++n) read += readSpecimen(f.c(), n) ? 1 : 0;
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadAllSpecimens)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SortSpecimens(benchmark::State& state) {
  Fixture& f = large();
  f.settings().writeInt("Optionen", "Stufensortierung", static_cast<int>(state.range(0)));
  for (auto _ : state) f.c().resortSpecimens();
}
BENCHMARK(BM_SortSpecimens)->DenseRange(0, 4)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SortLocalities(benchmark::State& state) {
  Fixture& f = large();
  for (auto _ : state) f.c().resortLocalities();
}
BENCHMARK(BM_SortLocalities)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RebuildValueIndex(benchmark::State& state) {
  Fixture& f = large();
  for (auto _ : state) f.c().rebuildIndex(nullptr);
  state.counters["specimens"] = f.c().specimenCount();
  state.counters["vi_MB"] = static_cast<double>(f.size("kalvor.vi")) / 1e6;
}
BENCHMARK(BM_RebuildValueIndex)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvor
