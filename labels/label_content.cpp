#include "labels/label_content.h"

#include "refdb/collation.h"

namespace kalvor {

std::string lookupLabelFormula(const MineralNameList& names, const MineralDatabase& database,
                               std::string_view text) {
  const std::size_t end = text.find_first_of(", ");
  const std::string_view key = text.substr(0, end);
  if (key.empty()) return {};
  const auto& nodes = names.nodes();
  std::size_t i = 0;
  const char initial = foldInitial(key.front());
  if (initial >= 'a' && initial <= 'z') {
    const std::optional<std::size_t> start = names.bucketStart(initial - 'a');
    if (!start) return {};
    i = *start;
  }
  const int length = static_cast<int>(key.size());
  const int folded = foldedPrefixLength(key, length);
  while (i < nodes.size() && collateCompare(nodes[i].name, key, length, folded) < 0) ++i;
  // The entry must begin with the text: the first one after it names another mineral.
  if (i >= nodes.size() || collateCompare(nodes[i].name, key, length, folded) != 0) return {};
  const bool whole = collateCompare(nodes[i].name, key, kNameCompareLength, kNameCompareLength) == 0;
  // An abbreviation that several names begin with names none of them,
  // but a name typed in full is that mineral even when longer names follow.
  if (!whole && i + 1 < nodes.size() && collateCompare(nodes[i + 1].name, key, length, folded) == 0)
    return {};
  if (nodes[i].id == 0 || nodes[i].id > 0xFFFF) return {};
  const MineralNumber number = static_cast<MineralNumber>(nodes[i].id - 1);
  if (!database.entryOffset(number)) return {};
  const MineralRecord record = database.readMineralRecord(number);
  if (!record.isFullMineral()) return {};
  return record.formula();
}

std::string labelQrText(std::string_view index, std::string_view minerals, std::string_view accompanying) {
  std::string text;
  if (!index.empty()) text = std::string(index) + ": ";
  text += minerals;
  if (!accompanying.empty()) {
    if (!minerals.empty()) text += ", ";
    text += accompanying;
  }
  return text;
}

LabelContent specimenLabelContent(const Specimen& specimen, const MineralNameList& names,
                                  const std::optional<Locality>& locality, const MineralDatabase* database) {
  LabelContent c;
  c.mineral = specimenMineralNames(names, specimen, true, ", ");
  c.accompanying = specimenMineralNames(names, specimen, false, ", ");
  if (locality) c.locality = localityLine(*locality);
  c.freeLine = specimen.index;
  if (database) c.formula = lookupLabelFormula(names, *database, c.mineral);
  c.qrText = labelQrText(specimen.index, c.mineral, c.accompanying);
  return c;
}

}  // namespace kalvor
