// Feeds arbitrary bytes to the "kalvor.si" reader: every slot must read
// without leaving the data, and every list it hands out must fit the file.
#include <cstddef>
#include <cstdint>

#include "determination/search_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvor::SearchIndex index(kalvor::Bytes(data, data + size));
  (void)index.fits(size);
  for (int slot = -1; slot <= kalvor::kIndexSlotCount; ++slot) {
    auto list = index.readIndexSlot(slot);
    if (list && (list->empty() || list->size() * 2 + 2 > size)) __builtin_trap();
  }
  return 0;
}
