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

OptionalNumberList ColourTableSlots::colourSlots(int g, int base, bool exact) const {
  if (g < 1 || g > static_cast<int>(kMaxColourGroups)) return std::nullopt;
  return table_.colourSlots(static_cast<ColourGroup>(g), base, exact,
                            [this](int slot) { return index_.readIndexSlot(slot); });
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
