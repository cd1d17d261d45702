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
  for (int slot = -1; slot <= kalvor::kIndexSlotCount; ++slot) {
    auto list = index.readIndexSlot(slot);
    index.markSlot(slot, bits);
    if (list && index.slotCount(slot) != list->size()) __builtin_trap();
    if (list && (list->empty() || list->size() * 2 + 2 > size)) __builtin_trap();
    // The lookup must agree with the list it would read (checked on short
    // lists, where a linear search is cheap).
    if (list && list->size() > 64) continue;
    for (kalvor::MineralNumber n : {0, 1, 7, 300, 65535}) {
      const bool listed = list && std::find(list->numbers.begin(), list->numbers.end(), n) !=
                                      list->numbers.end();
      if (index.slotHolds(slot, static_cast<kalvor::MineralNumber>(n)) && !listed) __builtin_trap();
    }
  }
  return 0;
}
