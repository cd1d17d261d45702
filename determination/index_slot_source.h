// Where the searches read the lists of the search index from: "kalvor.si"
// in the program, a small fake in tests.
#pragma once

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
};

}  // namespace kalvor
