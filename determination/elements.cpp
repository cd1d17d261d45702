#include "determination/elements.h"

#include <algorithm>
#include <span>

namespace kalvor {

namespace {

bool symbolListHolds(std::span<const std::string_view> list, int i) {
  if (i < 0 || i >= static_cast<int>(ElementTable::kCount)) return false;
  return std::find(list.begin(), list.end(), ElementTable::kSymbols[static_cast<std::size_t>(i)]) !=
         list.end();
}

}  // namespace

int ElementTable::indexOf(std::string_view symbol) {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (kSymbols[i] == symbol) return static_cast<int>(i);
  }
  return -1;
}

bool UnseenElements::contains(int i) { return symbolListHolds(kSymbols, i); }

bool RareEarthElements::contains(int i) { return symbolListHolds(kSymbols, i); }

}  // namespace kalvor
