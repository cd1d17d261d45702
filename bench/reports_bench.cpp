// The specimen list of a collection of 10,000 specimens over 500 localities:
// laid out on the measuring canvas (every entry measured before it is
// placed; the layout alone) and written as a PDF through cairo (what
// kalvor-cli drucke stufenliste does). Goal for the layout: under 1 s.
#include <benchmark/benchmark.h>

#include <cstdio>
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
#include "render/measuring_canvas.h"
#include "reports/collection_list.h"
#if KALVOR_HAVE_CAIRO
#include "render/pdf_canvas.h"
#endif

namespace kalvor {
namespace {

constexpr std::uint32_t kSpecimens = 10000;
constexpr std::uint32_t kLocalities = 500;
constexpr std::uint32_t kMinerals = 200;

std::string mineralName(std::uint32_t i) {
  static const char* const kStems[] = {"Quarz", "Calcit", "Fluorit", "Baryt", "Pyrit", "Galenit"};
  return std::string(kStems[i % 6]) + "-" + std::to_string(100 + i);
}

class NoSources : public DescriptionSources {
 public:
  MineralRecord mineralRecord(MineralNumber) const override { return {}; }
  std::optional<MineralNumber> findMineral(std::string_view) const override { return {}; }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view) const override { return {}; }
  std::string colourName(std::uint16_t) const override { return {}; }
  std::optional<std::string> strunzText(const StrunzNumber&) const override { return {}; }
  std::optional<std::string> heyText(const HeyNumber&) const override { return {}; }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber) const override { return {}; }
};

class Fixture {
 public:
  Fixture() {
    dir_ = std::filesystem::temp_directory_path() /
           ("kalvor-bench-reports-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::vector<NameSource> sources;
    for (std::uint32_t i = 0; i < kMinerals; ++i) sources.push_back({false, mineralName(i)});
    names_ = MineralNameList::build(std::move(sources));
    settings_ = openIniSettings((dir_ / "kalvor.ini").string());
    collection_ = std::make_unique<Collection>(names_, kMinerals, settings_.get());
    collection_->open(dir_.string());
    Collection& c = *collection_;
    c.valueIndex().setUnavailable(true);
    std::mt19937 rng(11);
    for (std::uint32_t i = 0; i < kLocalities; ++i) {
      Locality loc;
      loc.name = "Fundstelle " + std::to_string(rng() % 100000);
      loc.nearestPlace = "Ort " + std::to_string(i);
      loc.region = "Region " + std::to_string(i % 40);
      loc.country = "Land " + std::to_string(i % 12);
      saveLocalityFromForm(c, loc);
    }
    for (std::uint32_t i = 0; i < kSpecimens; ++i) {
      SpecimenFormFields f;
      f.mainMinerals = mineralName(rng() % kMinerals) + ", " + mineralName(rng() % kMinerals);
      f.accompanyingMinerals = mineralName(rng() % kMinerals);
      f.index = "S" + std::to_string(i);
      f.storagePlace = "Schrank " + std::to_string(rng() % 20);
      f.localityItem = static_cast<std::uint16_t>(i % 10 ? 2 + i % kLocalities : 0);
      f.collectionPiece = rng() % 4 != 0;
      // Every fifth specimen has a description of a few lines.
      if (i % 5 == 0)
        for (int w = 0; w < 40; ++w) f.description += "Kristalle auf Matrix ";
      FormResult r = collectSpecimen(c, f, 0);
      writeSpecimen(c, 0, r.specimen);
    }
    c.rebuildIndex(nullptr);
    c.resortSpecimens();
  }
  ~Fixture() {
    collection_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Collection& c() { return *collection_; }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
  MineralNameList names_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<Collection> collection_;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_SpecimenList10000OnTheMeasuringCanvas(benchmark::State& state) {
  Fixture& f = fixture();
  const NoSources sources;
  int pages = 0;
  for (auto _ : state) {
    MeasuringCanvas canvas;
    canvas.setGeometry(PageGeometry{2400, 3400, 300, 300, 0, 0});
    pages = printSpecimenList(canvas, f.c(), std::nullopt, sources, nullptr).pages;
    benchmark::DoNotOptimize(canvas.texts().size());
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_SpecimenList10000OnTheMeasuringCanvas)->Unit(benchmark::kMillisecond);

#if KALVOR_HAVE_CAIRO
void BM_SpecimenList10000AsPdf(benchmark::State& state) {
  Fixture& f = fixture();
  const NoSources sources;
  const std::string path = (f.dir() / "liste.pdf").string();
  int pages = 0;
  for (auto _ : state) {
    std::unique_ptr<PdfCanvas> pdf = PdfCanvas::create(path, 300);
    pages = printSpecimenList(*pdf, f.c(), std::nullopt, sources, nullptr).pages;
    pdf->finish();
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_SpecimenList10000AsPdf)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace kalvor
