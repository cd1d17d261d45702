#include "determination/elements.h"


namespace kalvor {

namespace {

// Membership by element index, worked out once at compile time: the index
// builder asks for every element of every mineral.
template <std::size_t N>
constexpr std::array<bool, ElementTable::kCount> membership(
    const std::array<std::string_view, N>& symbols) {
  std::array<bool, ElementTable::kCount> in{};
  for (std::string_view s : symbols) {
    for (std::size_t i = 0; i < ElementTable::kCount; ++i) {
      if (ElementTable::kSymbols[i] == s) in[i] = true;
    }
  }
  return in;
}

constexpr auto kUnseen = membership(UnseenElements::kSymbols);
constexpr auto kRareEarth = membership(RareEarthElements::kSymbols);

bool holds(const std::array<bool, ElementTable::kCount>& table, int i) {
  return i >= 0 && i < static_cast<int>(ElementTable::kCount) && table[static_cast<std::size_t>(i)];
}

}  // namespace

int ElementTable::indexOf(std::string_view symbol) {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (kSymbols[i] == symbol) return static_cast<int>(i);
  }
  return -1;
}

bool UnseenElements::contains(int i) { return holds(kUnseen, i); }

bool RareEarthElements::contains(int i) { return holds(kRareEarth, i); }

}  // namespace kalvor
