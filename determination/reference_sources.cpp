#include "determination/reference_sources.h"

#include "base/file_io.h"

namespace kalvor {

StrunzNumber ReferenceMineralFacts::lapisNumberOf(MineralNumber n) const {
  const StrunzField f = database_.readMineralRecord(n).strunz();
  StrunzNumber s;
  s.classNumber = f.cls;
  s.letter = f.subclass;
  s.number = f.group;
  s.spare = f.spare;
  s.rangeEnd = f.rangeEnd;
  return s;
}

std::optional<SearchResultEntry> ReferenceMineralFacts::nameListEntryOf(MineralNumber n) const {
  const std::optional<std::size_t> ordinal = names_.ordinalOfNumber(n);
  if (!ordinal) return std::nullopt;
  const NameListNode& node = names_.node(*ordinal);
  return SearchResultEntry{node.name, static_cast<std::uint16_t>(node.id),
                           static_cast<std::uint32_t>(*ordinal)};
}

std::vector<int> ColourTableSlots::matchingColourSlots(int g, int base, bool exact) const {
  std::vector<int> slots;
  if (g < 1 || g > static_cast<int>(kMaxColourGroups)) return slots;
  for (ColourGroup group : table_.matchingColourGroups(static_cast<ColourGroup>(g), exact)) {
    slots.push_back(base + group);
  }
  return slots;
}

SearchIndex openOrBuildSearchIndex(const std::string& folder, const MineralDatabase& database,
                                   const ColourGroupOf& colourGroupOf) {
  const std::string path = joinPath(folder, "kalvor.si");
  if (std::optional<SearchIndex> stored = SearchIndex::open(path)) {
    if (stored->fits(database.entryCount())) return std::move(*stored);
  }
  Bytes built = buildSearchIndex(database, colourGroupOf);
  writeWholeFile(path, built);
  return SearchIndex(std::move(built));
}

}  // namespace kalvor
