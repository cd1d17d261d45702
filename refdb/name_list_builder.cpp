#include "refdb/name_list_builder.h"

namespace kalvor {

std::vector<NameSource> nameSourcesOf(const MineralDatabase& database) {
  std::vector<NameSource> entries;
  const std::uint32_t count = database.entryCount();
  entries.reserve(count);
  for (std::uint32_t n = 0; n < count; ++n) {
    const MineralRecord record = database.readMineralRecord(static_cast<MineralNumber>(n));
    entries.push_back({!record.isFullMineral(), record.name()});
  }
  return entries;
}

MineralNameList buildMineralNameList(const MineralDatabase& database) {
  return MineralNameList::build(nameSourcesOf(database));
}

}  // namespace kalvor
