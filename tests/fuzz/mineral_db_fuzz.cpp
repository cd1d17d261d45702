// Fuzzes the reader of kalvor.mi + kalvor.db. Input: u16 length L of the
// kalvor.mi part, L bytes of kalvor.mi, the rest is kalvor.db.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "refdb/mineral_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvor;
  if (size < 2) return 0;
  std::size_t indexLength = static_cast<std::size_t>(data[0] | (data[1] << 8));
  if (indexLength > size - 2) indexLength = size - 2;
  Bytes index(data + 2, data + 2 + indexLength);
  Bytes records(data + 2 + indexLength, data + size);
  std::optional<MineralDatabase> db = MineralDatabase::fromBytes(index, records);
  if (!db) return 0;
  // Every entry and the end marker behind the last one.
  const std::uint32_t n = db->entryCount() < 512 ? db->entryCount() + 1 : 513;
  for (std::uint32_t i = 0; i < n; ++i) {
    const auto number = static_cast<MineralNumber>(i);
    const std::uint8_t flags = db->readMineralFlags(number);
    const MineralRecord r = db->readMineralRecord(number);
    if (i >= db->entryCount() && (flags != kMineralNoEntry || !r.isNoEntry())) std::abort();
    std::size_t touched = r.name().size() + r.formula().size() + r.englishName().size() +
                          r.aliasTarget().size() + r.englishAliasName().size() +
                          r.englishAliasTarget().size() + r.colours().size() + r.streaks().size();
    if (r.crystalData().size() > 6 || touched > 4 * MineralRecord::kSize) std::abort();
    // A record written back and read again keeps its texts.
    if (r.isFullMineral()) {
      MineralFileWriter w;
      w.add(r);
      std::optional<MineralDatabase> again = MineralDatabase::fromBytes(w.indexFile(), w.recordFile());
      if (!again || again->readMineralRecord(0).name() != r.name()) std::abort();
    }
  }
  return 0;
}
