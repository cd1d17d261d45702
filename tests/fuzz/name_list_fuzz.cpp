// Feeds arbitrary bytes to the "kalvor.fl" loader and checks that the list it
// builds is consistent: every lookup stays in bounds, and what is loaded
// survives a save and a reload unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "refdb/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvor;
  const std::span<const std::uint8_t> bytes(data, size);
  const MineralNameList list = MineralNameList::fromStored(bytes);

  for (std::size_t k = 0; k < list.size(); ++k) {
    if (list.node(k).ordinal != k) std::abort();
  }
  for (std::uint32_t n = 0; n <= list.size() + 1 && n <= 0xFFFF; ++n) {
    const auto ordinal = list.ordinalOfNumber(static_cast<MineralNumber>(n));
    if (ordinal && list.node(*ordinal).id != n + 1) std::abort();
    (void)list.nameOfMineral(static_cast<MineralNumber>(n));
  }
  for (int letter = 0; letter < 26; ++letter) {
    const auto start = list.bucketStart(letter);
    if (start && *start >= list.size()) std::abort();
  }
  if (!list.empty()) {
    const std::string& first = list.node(0).name;
    (void)list.findMineralByPrefix(first.substr(0, 2));
    (void)list.findMineralByPrefix(std::string_view(reinterpret_cast<const char*>(data), size < 3 ? size : 3));
  }

  const Bytes saved = list.storedBytes();
  const MineralNameList again = MineralNameList::fromStored(saved);
  if (again.size() != list.size() || again.storedBytes() != saved) std::abort();
  // Whole records are stored exactly as read.
  if (saved.size() > size || !std::equal(saved.begin(), saved.end(), data)) std::abort();
  return 0;
}
