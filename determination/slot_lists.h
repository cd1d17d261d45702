// Sorted lists of mineral numbers as the search index hands them out, and the
// two ways the searches combine them. An absent list is the empty set when it
// comes from a slot, and "no restriction yet" when it is a running result.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kalvor {

using MineralNumber = std::uint16_t;

// Mineral numbers in ascending order without repeats.
using MineralList = std::vector<MineralNumber>;

// Where the searches read the lists of the search index from.
class IndexSlotSource {
 public:
  virtual ~IndexSlotSource() = default;
  // The minerals filed under `slot`; nothing for an empty slot or a slot
  // number outside 0 - 944.
  virtual std::optional<MineralList> readIndexSlot(int slot) const = 0;
};

// Union of two lists; absent only when both are absent or empty.
std::optional<MineralList> uniteMineralLists(std::optional<MineralList> a,
                                             std::optional<MineralList> b);

// Restricts a running search result: an absent running result takes `next`
// as it is; otherwise the intersection, absent when nothing is left.
std::optional<MineralList> restrictMineralList(std::optional<MineralList> running,
                                               std::optional<MineralList> next);

}  // namespace kalvor
