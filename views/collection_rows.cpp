// The locality and specimen rows of the list views.
#include <algorithm>
#include <cstdio>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "refdb/strings.h"
#include "views/list_rows.h"

namespace kalvor::views {

namespace {

// Descriptions may hold line ends; a one-line cell shows the first line.
std::string firstLine(std::string_view text) {
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

// The mineral numbers of a locality's entries, all of them or those with or
// without the specimen mark, in name-list order.
std::vector<MineralNumber> localityMinerals(const MineralNameList& names, const Locality& l,
                                            std::size_t column) {
  std::vector<MineralNumber> out;
  for (std::uint16_t entry : l.minerals) {
    const bool fromSpecimen = (entry & locality_format::kFromSpecimen) != 0;
    if (column == kMineralsOnSpecimensColumn && !fromSpecimen) continue;
    if (column == kMineralsNotOnSpecimensColumn && fromSpecimen) continue;
    out.push_back(static_cast<MineralNumber>(entry & locality_format::kMineralMask));
  }
  sortByNameList(names, out);
  return out;
}

// The main (or accompanying) minerals of a specimen in name-list order;
// the stored ids are MineralNumber + 1, 0 naming none.
std::vector<MineralNumber> specimenMinerals(const MineralNameList& names, const Specimen& s,
                                            bool main) {
  const std::size_t split = std::min<std::size_t>(s.mainCount, s.minerals.size());
  std::vector<MineralNumber> out;
  for (std::size_t i = main ? 0 : split; i < (main ? split : s.minerals.size()); ++i)
    if (s.minerals[i] != 0) out.push_back(static_cast<MineralNumber>(s.minerals[i] - 1));
  sortByNameList(names, out);
  return out;
}

std::string joinedNames(const MineralNameList& names, const std::vector<MineralNumber>& minerals) {
  std::string out;
  for (MineralNumber n : minerals) {
    const std::string_view name = names.nameOfMineral(n);
    if (name.empty()) continue;
    if (!out.empty()) out += ',';
    out += name;
  }
  return out;
}

bool isMineralListColumn(std::size_t column) {
  return column == kMineralsOnSpecimensColumn || column == kMineralsNotOnSpecimensColumn ||
         column == kAllMineralsColumn;
}

std::string localityColumnText(const Locality& l, std::int32_t record, std::size_t column) {
  switch (column) {
    case kLocalityNumberColumn:
      return std::to_string(record);
    case kLocalityNameColumn:
      return l.name;
    case kNearestPlaceColumn:
      return l.nearestPlace;
    case kRegionColumn:
      return l.region;
    case kCountryColumn:
      return l.country;
    case kMapReferenceColumn:
      return l.mapReference;
    case kLocalityDescriptionColumn:
      return firstLine(l.description);
    default:
      return {};
  }
}

}  // namespace

// ---- LocalityRowRenderer --------------------------------------------------

LocalityRowRenderer::LocalityRowRenderer(Collection& collection, const MineralNameList& names,
                                         ColumnLayout& layout, RowMetrics metrics)
    : ColumnRowRenderer(layout, metrics, true), collection_(collection), names_(names) {}

int LocalityRowRenderer::drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
                                 std::int32_t record) {
  const int lines = linesPerRecord(rowWidth);
  if (record < 1) return lines;
  const bool isNarrow = narrow(rowWidth);
  const std::optional<Locality> l =
      readLocality(collection_, static_cast<std::uint32_t>(record), isNarrow);
  if (!l) return lines;
  if (isNarrow) {
    drawClippedText(canvas, x, y, x + rowWidth, rowHeight, localityLine(*l));
    return 1;
  }
  for (const ColumnCell& cell : cells(x, y, rowHeight, rowWidth)) {
    if (cell.right <= cell.left) continue;
    const std::string text =
        isMineralListColumn(cell.column)
            ? fittingNameList(canvas, names_, localityMinerals(names_, *l, cell.column),
                              cell.right - cell.left)
            : localityColumnText(*l, record, cell.column);
    drawClippedText(canvas, cell.left, cell.top, cell.right, rowHeight, text);
  }
  return lines;
}

int LocalityRowRenderer::firstCharacter(std::int32_t record) const {
  if (record < 1) return -1;
  const std::optional<Locality> l =
      readLocality(collection_, static_cast<std::uint32_t>(record), true);
  if (!l) return -1;
  const std::string line = localityLine(*l);
  return line.empty() ? -1 : static_cast<unsigned char>(line.front());
}

// ---- SpecimenRowRenderer --------------------------------------------------

SpecimenRowRenderer::SpecimenRowRenderer(Collection& collection, const MineralNameList& names,
                                         ColumnLayout& layout, RowMetrics metrics)
    : ColumnRowRenderer(layout, metrics, true), collection_(collection), names_(names) {}

int SpecimenRowRenderer::drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
                                 std::int32_t record) {
  const int lines = linesPerRecord(rowWidth);
  if (record < 1) return lines;
  const std::optional<Specimen> s = readSpecimen(collection_, static_cast<std::uint32_t>(record));
  if (!s) return lines;
  const std::vector<MineralNumber> main = specimenMinerals(names_, *s, true);
  if (narrow(rowWidth)) {
    // Without an index text the minerals stand alone, not behind a comma.
    const std::string minerals = joinedNames(names_, main);
    drawClippedText(canvas, x, y, x + rowWidth, rowHeight,
                    s->index.empty() ? minerals : s->index + ", " + minerals);
    return 1;
  }
  for (const ColumnCell& cell : cells(x, y, rowHeight, rowWidth)) {
    if (cell.right <= cell.left) continue;
    const int width = cell.right - cell.left;
    std::string text;
    switch (cell.column) {
      case kSpecimenNumberColumn:
        text = std::to_string(record);
        break;
      case kCollectionIndexColumn:
        text = s->index;
        break;
      case kMainMineralsColumn:
        text = fittingNameList(canvas, names_, main, width);
        break;
      case kAccompanyingColumn:
        text = fittingNameList(canvas, names_, specimenMinerals(names_, *s, false), width);
        break;
      case kSpecimenLocalityColumn:
        if (s->localityNumber() == 0) {
          text = loadResourceString(static_cast<unsigned>(CollectionMessage::kUnknownLocality) -
                                    kStringIdBase);
        } else if (const std::optional<Locality> l =
                       readLocality(collection_, s->localityNumber(), true)) {
          text = localityLine(*l);
        }
        break;
      case kDateColumn:
        text = formatSpecimenDate(s->date);
        break;
      case kPriceColumn: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%f", static_cast<double>(s->purchasePrice));
        text = buf;
        break;
      }
      case kSpecimenDescriptionColumn:
        text = firstLine(s->description);
        break;
      default:
        break;
    }
    drawClippedText(canvas, cell.left, cell.top, cell.right, rowHeight, text);
  }
  return lines;
}

}  // namespace kalvor::views
