// The determination's sources over the opened reference data: the Lapis
// numbers from "kalvor.db", the result order from the name list, the colour
// matching over the colour table, and the search index file kept current.
#pragma once

#include <optional>
#include <string>

#include "determination/colours.h"
#include "determination/determination_search.h"
#include "determination/search_index.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"

namespace kalvor {

// Mineral facts read from the database and the sorted name list.
class ReferenceMineralFacts : public MineralFacts {
 public:
  ReferenceMineralFacts(const MineralDatabase& database, const MineralNameList& names)
      : database_(database), names_(names) {}

  StrunzNumber lapisNumberOf(MineralNumber n) const override;
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber n) const override;

 private:
  const MineralDatabase& database_;
  const MineralNameList& names_;
};

// Colour matching over the grouped colour table.
class ColourTableSlots : public ColourSlotSource {
 public:
  explicit ColourTableSlots(const ColourTable& table) : table_(table) {}

  std::vector<int> matchingColourSlots(int g, int base, bool exact) const override;

 private:
  const ColourTable& table_;
};

// Loads "kalvor.si" from `folder` when it fits the database; otherwise builds
// it anew and writes it there (a failed write still gives the built index).
SearchIndex openOrBuildSearchIndex(const std::string& folder, const MineralDatabase& database,
                                   const ColourGroupOf& colourGroupOf);

}  // namespace kalvor
