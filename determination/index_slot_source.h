// Where the searches read the lists of the search index from: "kalvor.si"
// in the program, a small fake in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "determination/number_list.h"

namespace kalvor {

class IndexSlotSource {
 public:
  virtual ~IndexSlotSource() = default;
  // The minerals filed under `slot`; absent for an empty slot or a slot
  // number outside 0 - 944.
  virtual OptionalNumberList readIndexSlot(int slot) const = 0;
  // True iff mineral n is filed under `slot`.
  virtual bool slotHolds(int slot, MineralNumber n) const {
    const OptionalNumberList list = readIndexSlot(slot);
    return list && list->contains(n);
  }
  // Number of minerals filed under `slot`.
  virtual std::size_t slotCount(int slot) const {
    const OptionalNumberList list = readIndexSlot(slot);
    return list ? list->size() : 0;
  }
  // Sets bit n of `bits` (65536 bits, 64 to a word) for every mineral n of `slot`.
  virtual void markSlot(int slot, std::vector<std::uint64_t>& bits) const {
    if (const OptionalNumberList list = readIndexSlot(slot)) {
      for (MineralNumber n : list->numbers) bits[n >> 6] |= std::uint64_t{1} << (n & 63);
    }
  }
};

}  // namespace kalvor
