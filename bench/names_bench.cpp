// Building the mineral name list at start-up: sorting the unsorted name file
// of a full database, and loading the stored, already sorted list.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "refdb/names.h"

namespace kalvor {
namespace {

constexpr std::size_t kFullDatabase = 16535;

// Mineral-like names (syllables, capitalised, some umlauts, ß and accents,
// some repeated) in random order, about a fifth of them aliases.
Bytes unsortedNameFile(std::size_t count) {
  static const char* const kSyllables[] = {"al", "bit", "ca", "do", "lo", "mit", "gra", "nat", "qu",
                                           "arz", "sid", "er", "it", "\xE4s", "ch", "yn", "\xF6l",
                                           "\xFC" "b", "\xDF", "r\xE9", "ko", "zir", "ton", "pyr"};
  std::mt19937 random(20240607);
  std::uniform_int_distribution<std::size_t> syllable(0, std::size(kSyllables) - 1);
  std::uniform_int_distribution<int> length(2, 5);
  std::uniform_int_distribution<int> percent(0, 99);
  Bytes out;
  out.reserve(count * kUnsortedNameRecordSize);
  for (std::size_t k = 0; k < count; ++k) {
    std::string name;
    for (int s = length(random); s > 0; --s) name += kSyllables[syllable(random)];
    if (name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    if (percent(random) < 10) name += "-(Ce)";
    name.resize(40, ' ');
    out.push_back(percent(random) < 20 ? 0xFF : 0x00);
    out.insert(out.end(), name.begin(), name.end());
  }
  return out;
}

void BM_BuildNameListFromUnsortedFile(benchmark::State& state) {
  const Bytes na = unsortedNameFile(kFullDatabase);
  for (auto _ : state) {
    MineralNameList list = MineralNameList::fromUnsorted(na);
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFullDatabase));
}
BENCHMARK(BM_BuildNameListFromUnsortedFile)->Unit(benchmark::kMillisecond);

void BM_LoadStoredNameList(benchmark::State& state) {
  const Bytes fl = MineralNameList::fromUnsorted(unsortedNameFile(kFullDatabase)).storedBytes();
  for (auto _ : state) {
    MineralNameList list = MineralNameList::fromStored(fl);
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFullDatabase));
}
BENCHMARK(BM_LoadStoredNameList)->Unit(benchmark::kMillisecond);

void BM_FindMineralByPrefix(benchmark::State& state) {
  const MineralNameList list = MineralNameList::fromUnsorted(unsortedNameFile(kFullDatabase));
  const char* const prefixes[] = {"Qu", "Zir", "\xC4s", "Pyrton", "Nat"};
  std::size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.findMineralByPrefix(prefixes[k++ % std::size(prefixes)]));
  }
}
BENCHMARK(BM_FindMineralByPrefix);

}  // namespace
}  // namespace kalvor
