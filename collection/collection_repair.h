// The repair of a damaged collection: every locality and specimen whose
// block is still intact in "kalvor.fs" / "kalvor.st" is taken into a fresh
// store under its own number, also when the directory, a slot page or the
// count no longer lead to it; the damaged file is kept beside it under a
// dated name, byte for byte; then the value index is rebuilt.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "collection/record_store.h"

namespace kalvor {

class Collection;
class ProgressSink;

// The records found in the bytes of a store file: by record number, each
// payload a complete block's that decodes as the record of its number.
// Blocks the slots lead to come first; the rest of the file is searched
// for blocks no slot leads to any more.
struct SalvagedRecords {
  std::map<std::uint32_t, Bytes> records;
  std::uint32_t numbered = 0;  // the highest number the file still tells of
};
SalvagedRecords salvageRecords(const Bytes& file, const StoreLayout& layout, bool localities);

struct RepairedStore {
  std::string fileName;  // "kalvor.fs" or "kalvor.st"
  bool damaged = false;  // only a damaged file is replaced and kept aside
  std::string keptAs;    // the name it is kept under in the data folder
  std::uint32_t salvaged = 0;
  std::uint32_t lost = 0;  // numbers without an intact block: kept as deleted
                           // (a lost locality that specimens name stays, with a placeholder name)
};

struct RepairResult {
  bool ok = false;
  std::string problem;  // German (Windows-1252) when not ok
  std::vector<RepairedStore> stores;
  bool indexRebuilt = false;
};

// Repairs the collection in its folder: closes it, replaces each damaged
// store by a fresh one with everything salvaged (the damaged one kept as
// "<name>.beschaedigt-<date>", with "-2", "-3" … when that exists), opens
// it again and rebuilds the value index and both sort orders. `date` is
// the day as "YYYY-MM-DD".
RepairResult repairCollection(Collection& collection, const std::string& folder, const std::string& date,
                              ProgressSink* progress);

// The German report of a repair, one line per store, for the CLI and the program.
std::string repairReport(const RepairResult& result);

}  // namespace kalvor
