#include "pages/collection_description.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "collection/collection.h"
#include "collection/record_set.h"
#include "collection/sort_order.h"
#include "collection/value_index.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

constexpr std::size_t kMaxSpecimenText = 1998;
constexpr const char* kUnknownLocality = "unbekannt";

std::string joinedNames(const MineralNameList& names, const std::vector<std::uint16_t>& minerals,
                        std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < minerals.size(); ++i) {
    if (minerals[i] == 0) continue;  // stored form is MineralNumber + 1
    if (!text.empty()) text += ", ";
    text += names.nameOfMineral(static_cast<MineralNumber>(minerals[i] - 1));
  }
  return text;
}

std::string money(float value) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%7.2lf", static_cast<double>(value));
  return buf;
}

// A label at labelX whose value follows one average character behind it, on
// the line with top y; returns the y after it.
int drawSideLabel(DescriptionLayout& layout, int labelX, int y, int label, const std::string& text) {
  Canvas& canvas = layout.canvas();
  int valueX = labelX;
  {
    ScopedFont font(canvas, layout.labelFont(label));
    valueX += canvas.measureText(descriptionLabelText(label)).width + canvas.averageCharWidth();
  }
  return layout.drawLabelledLine(valueX, y, label, text, 0, labelX);
}

}  // namespace

std::vector<MineralLocality> collectionLocalitiesOfMineral(Collection& collection, MineralNumber n) {
  std::vector<MineralLocality> list;
  if (collection.unavailable()) return list;
  ValueIndex& index = collection.valueIndex();
  std::optional<RecordSet> set =
      index.getRecordSet(IndexValue::ofNumber(n), index_field::kLocalityMineral);
  if (!set || set->count() == 0) return list;
  // An absent all-localities set would make every locality a member: no list then.
  set = intersectRecordSets(std::move(set),
                            index.getRecordSet(IndexValue::ofNumber(0), index_field::kLocalityAll));
  if (!set) return list;
  SortOrder order = collection.localityOrder();
  switchOrderForm(order, kOrderList);
  for (std::uint32_t r : order.entries) {
    if (!set->test(r)) continue;
    const std::optional<Locality> locality = readLocality(collection, r);
    if (!locality || locality->deleted()) continue;
    bool onSpecimen = false;
    for (std::uint16_t entry : locality->minerals)
      if ((entry & locality_format::kMineralMask) == n && (entry & locality_format::kFromSpecimen))
        onSpecimen = true;
    list.push_back(MineralLocality{localityLine(*locality), onSpecimen});
  }
  return list;
}

int describeLocality(DescriptionLayout& layout, const LayoutArea& area, const Locality& locality,
                     const MineralNameList& names) {
  Canvas& canvas = layout.canvas();
  ScopedFont textFont(canvas, FontSlot::kText);
  const int valueX = layout.valueColumnOf(area, kLabelMinerals, kLabelLocalityDescription);
  int y = area.top + canvas.measureText("Ag").height;
  y = layout.drawLabelledLine(valueX, y, kLabelLocality, locality.name, 0, area.left);
  y = layout.drawLabelledLine(valueX, y, kLabelNearestPlace, locality.nearestPlace, 0, area.left);
  y = layout.drawLabelledLine(valueX, y, kLabelRegion, locality.region, 0, area.left);
  y = layout.drawLabelledLine(valueX, y, kLabelCountry, locality.country, 0, area.left);
  y = layout.drawLabelledLine(valueX, y, kLabelMapReference, locality.mapReference, 0, area.left);

  struct Cell {
    std::size_t ordinal;
    std::string name;
    bool onSpecimen;
  };
  std::vector<Cell> cells;
  for (std::uint16_t entry : locality.minerals) {
    const MineralNumber n = entry & locality_format::kMineralMask;
    cells.push_back(Cell{names.ordinalOfNumber(n).value_or(names.size()),
                         std::string(names.nameOfMineral(n)),
                         (entry & locality_format::kFromSpecimen) != 0});
  }
  std::stable_sort(cells.begin(), cells.end(),
                   [](const Cell& a, const Cell& b) { return a.ordinal < b.ordinal; });

  canvas.drawLine(area.left, y, area.right, y);
  int cellHeight = 1;
  int cellWidth = 0;
  for (const Cell& c : cells) {
    const TextExtent e = canvas.measureText(c.name);
    cellHeight = std::max(cellHeight, e.height);
    cellWidth = std::max(cellWidth, e.width);
  }
  const int check = canvas.checkMarkWidth();
  cellWidth += canvas.averageCharWidth() + check;
  const int usable = area.width() - canvas.averageCharWidth() * 10 / 4;
  const int columns = std::max(1, usable / std::max(1, cellWidth));
  cellWidth = std::max(cellWidth, usable / columns);
  const int ascent = canvas.ascent();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int row = static_cast<int>(i) / columns;
    const int column = static_cast<int>(i) % columns;
    const int x = area.left + column * cellWidth;
    const int baseline = y + row * cellHeight + ascent;
    if (cells[i].onSpecimen) canvas.drawCheckMark(x, baseline);
    canvas.drawText(x + check, baseline, cells[i].name);
  }
  const int rows = (static_cast<int>(cells.size()) + columns - 1) / columns;
  return y + rows * cellHeight;
}

int describeSpecimen(DescriptionLayout& layout, const LayoutArea& area, const Specimen& specimen,
                     const MineralNameList& names, const std::optional<Locality>& locality) {
  Canvas& canvas = layout.canvas();
  ScopedFont textFont(canvas, FontSlot::kText);
  const int valueX = layout.valueColumnOf(area, kLabelMinerals, kLabelLocalityDescription);
  const int middle = area.left + area.width() / 2;
  int y = area.top + canvas.measureText("Ag").height;
  const std::size_t mainCount = std::min<std::size_t>(specimen.mainCount, specimen.minerals.size());
  y = layout.drawLabelledLine(valueX, y, kLabelMinerals,
                              joinedNames(names, specimen.minerals, 0, mainCount), 0, area.left);
  y = layout.drawLabelledLine(valueX, y, kLabelAccompanying,
                              joinedNames(names, specimen.minerals, mainCount,
                                          specimen.minerals.size()),
                              0, area.left);

  int left = layout.drawLabelledLine(valueX, y, kLabelSpecimenSize, specimen.size, 0, area.left);
  int right = drawSideLabel(layout, middle, y, kLabelCount, std::to_string(specimen.count));
  y = std::max(left, right);

  left = layout.drawLabelledLine(valueX, y, kLabelValue, money(specimen.value), 0, area.left);
  right = y;
  if ((specimen.flags & specimen_format::kFlagBought) != 0 && specimen.purchasePrice != 0)
    right = drawSideLabel(layout, middle, y, kLabelPrice, money(specimen.purchasePrice));
  y = std::max(left, right);

  y = layout.drawLabelledLine(valueX, y, kLabelStorage, specimen.storagePlace, 0, area.left);
  const std::string place =
      specimen.localityValue > 1 && locality ? localityLine(*locality) : kUnknownLocality;
  y = layout.drawLabelledLine(valueX, y, kLabelSpecimenLocality, place, 0, area.left);

  if (!specimen.description.empty()) {
    {
      ScopedFont font(canvas, layout.labelFont(kLabelSpecimenDescription));
      canvas.drawText(area.left, y + canvas.ascent(), descriptionLabelText(kLabelSpecimenDescription));
    }
    const std::string text = specimen.description.substr(0, kMaxSpecimenText);
    y = layout.drawRichText(valueX, y, FontSlot::kText, text, area.right - valueX, 0);
  }
  return y;
}

}  // namespace kalvor
