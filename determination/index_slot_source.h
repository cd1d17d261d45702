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
};

}  // namespace kalvor
