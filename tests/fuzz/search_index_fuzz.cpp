// Feeds arbitrary bytes to the "kalvor.si" reader: every slot must read
// without leaving the data, and every list it hands out must fit the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "determination/search_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvor::SearchIndex index(kalvor::Bytes(data, data + size));
  (void)index.fits(size);
  std::vector<std::uint64_t> bits(65536 / 64);
  // Forged offsets let every slot name the same long list: the lists are
  // copied and marked until a budget is spent, the cheap checks go on for
  // every slot. It bounds the work per input, not what is checked: the
  // budget is above the longest list an input of the fuzzer's size can hold.
  std::size_t budget = 1 << 12;
  for (int slot = -1; slot <= kalvor::kIndexSlotCount; ++slot) {
    const std::size_t count = index.slotCount(slot);
    // Most slots of a damaged file are empty; one look is enough for them.
    if (count == 0) {
      if (index.slotHolds(slot, 0) || index.readIndexSlot(slot)) __builtin_trap();
      continue;
    }
    if (count > budget) {
      for (kalvor::MineralNumber n : {0, 1, 7, 300, 65535}) (void)index.slotHolds(slot, n);
      continue;
    }
    budget -= count;
    auto list = index.readIndexSlot(slot);
    index.markSlot(slot, bits);
    if (list && index.slotCount(slot) != list->size()) __builtin_trap();
    if (list && (list->empty() || list->size() * 2 + 2 > size)) __builtin_trap();
    // A number the lookup finds must be in the list it would read (the
    // linear search runs only then, so it costs little).
    for (kalvor::MineralNumber n : {0, 1, 7, 300, 65535}) {
      if (!index.slotHolds(slot, n)) continue;
      if (!list || std::find(list->numbers.begin(), list->numbers.end(), n) == list->numbers.end())
        __builtin_trap();
    }
  }
  return 0;
}
