// The list control's work per key stroke over a full name list: the
// type-ahead walk from a letter bucket, the walk from the head for a text
// without a bucket, completion over a long run of names, and paging.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "views/list_model.h"

namespace kalvor {
namespace {

constexpr std::size_t kNames = 6500;  // about the shipped list

MineralNameList sampleList() {
  static const char* const kSyllables[] = {"al", "bit", "ca", "do", "lo", "mit", "gra", "nat", "qu",
                                           "arz", "sid", "er", "it", "\xE4s", "ch", "yn", "\xF6l",
                                           "ko", "zir", "ton", "pyr", "sa", "ru", "te"};
  std::mt19937 random(20261206);
  std::uniform_int_distribution<std::size_t> syllable(0, std::size(kSyllables) - 1);
  std::uniform_int_distribution<int> length(2, 5);
  std::vector<NameSource> entries;
  for (std::size_t k = 0; k < kNames; ++k) {
    std::string name;
    for (int s = length(random); s > 0; --s) name += kSyllables[syllable(random)];
    name[0] = static_cast<char>(name[0] >= 'a' && name[0] <= 'z' ? name[0] - 'a' + 'A' : name[0]);
    entries.push_back({false, name});
  }
  return MineralNameList::build(std::move(entries));
}

void BM_TypeAheadFromBucket(benchmark::State& state) {
  const MineralNameList names = sampleList();
  views::ListModel model = views::ListModel::allNames(names, 0);
  const char* const texts[] = {"zirt", "sazz", "tez", "pyrzz", "ruzz"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(model.searchName(texts[i++ % std::size(texts)]));
}
BENCHMARK(BM_TypeAheadFromBucket);

void BM_TypeAheadFromHeadWithoutBuckets(benchmark::State& state) {
  const MineralNameList names = sampleList();
  std::vector<std::uint32_t> all(names.size());
  for (std::uint32_t k = 0; k < all.size(); ++k) all[k] = k;
  views::ListModel model = views::ListModel::someNames(names, all, 0);
  bool flip = false;
  for (auto _ : state) benchmark::DoNotOptimize(model.searchName((flip = !flip) ? "zzz" : "aaa"));
}
BENCHMARK(BM_TypeAheadFromHeadWithoutBuckets)->Unit(benchmark::kMicrosecond);

void BM_CompleteOneLetter(benchmark::State& state) {
  const MineralNameList names = sampleList();
  views::ListModel model = views::ListModel::allNames(names, 0);
  for (auto _ : state) benchmark::DoNotOptimize(model.complete("k"));
}
BENCHMARK(BM_CompleteOneLetter)->Unit(benchmark::kMicrosecond);

void BM_PageThroughTheList(benchmark::State& state) {
  const MineralNameList names = sampleList();
  views::ListModel model = views::ListModel::allNames(names, 0);
  model.setVisibleRows(50);
  for (auto _ : state) {
    if (!model.pageDown()) model.home();
  }
}
BENCHMARK(BM_PageThroughTheList);

}  // namespace
}  // namespace kalvor
