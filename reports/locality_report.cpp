#include "reports/locality_report.h"

#include <algorithm>
#include <string>
#include <vector>

#include "refdb/names.h"
#include "reports/page_flow.h"

namespace kalvor {

namespace {

struct MineralCell {
  std::size_t ordinal = 0;
  std::string name;
  bool onSpecimen = false;
};

std::vector<MineralCell> sortedMinerals(const Locality& locality, const MineralNameList& names) {
  std::vector<MineralCell> cells;
  for (std::uint16_t entry : locality.minerals) {
    const MineralNumber n = entry & locality_format::kMineralMask;
    cells.push_back(MineralCell{names.ordinalOfNumber(n).value_or(names.size()),
                                std::string(names.nameOfMineral(n)),
                                (entry & locality_format::kFromSpecimen) != 0});
  }
  std::stable_sort(cells.begin(), cells.end(),
                   [](const MineralCell& a, const MineralCell& b) { return a.ordinal < b.ordinal; });
  return cells;
}

// Cells first .. first+count-1 in three columns filled one after the other.
int drawMineralGrid(Canvas& canvas, const PrintFrame& f, const std::vector<MineralCell>& cells,
                    std::size_t first, std::size_t count, int y) {
  const int rows = static_cast<int>((count + 2) / 3);
  const int side = f.eighths(4);
  ScopedFont font(canvas, FontSlot::kSecondary);
  for (std::size_t k = 0; k < count; ++k) {
    const int column = static_cast<int>(k) / rows;
    const int row = static_cast<int>(k) % rows;
    const int x = f.area.left + column * f.area.width() / 3;
    const int rowTop = y + row * f.eighths(8);
    const MineralCell& c = cells[first + k];
    drawCheckBox(canvas, x, rowTop + f.eighths(5), side, c.onSpecimen);
    // The name stands on the line of the box's lower edge.
    canvas.drawText(x + f.eighths(6), rowTop + f.eighths(5), c.name);
  }
  return y + rows * f.eighths(8);
}

}  // namespace

PrintResult printLocalityDescription(PageCanvas& device, const Locality& locality,
                                     const MineralNameList& names, const DescriptionSources& sources) {
  WindowedCanvas measure(device);
  DescriptionLayout measuring(measure, sources, DescriptionOptions{}, LabelFontTable::kPrint);
  const PrintFrame f =
      beginPrintJob(device, measuring, kLabelLocality, kLabelLocalityDescription - kLabelLocality + 1);
  // The text keeps clear of the paper's lower edge, as the profile's does.
  const int bottom = f.area.bottom - f.eighths(14);
  PageFlow flow(device, f, bottom, nullptr);
  DescriptionLayout layout(flow.canvas(), sources, DescriptionOptions{}, LabelFontTable::kPrint);
  flow.setLineTops(&layout.lineTops());
  PrintResult result;
  if (!flow.start()) {
    result.outcome = PrintOutcome::kDeviceFailed;
    return result;
  }
  const LayoutArea& a = f.area;
  flow.place(
      [&](int y) {
        y += labelValueLine(layout, locality.name, kLabelLocality, a.left, y, f.valueX);
        y += labelValueLine(layout, locality.nearestPlace, kLabelNearestPlace, a.left, y, f.valueX);
        y += labelValueLine(layout, locality.region, kLabelRegion, a.left, y, f.valueX);
        y += labelValueLine(layout, locality.country, kLabelCountry, a.left, y, f.valueX);
        y += labelValueLine(layout, locality.mapReference, kLabelMapReference, a.left, y, f.valueX);
        return y;
      },
      true);
  if (!locality.description.empty()) {
    flow.place(
        [&](int y) {
          return labelRichText(layout, kLabelLocalityDescription, locality.description, a.left, y, f.valueX,
                               a.right - f.valueX);
        },
        false);
  }
  flow.skip(f.eighths(4));

  // The minerals: as many rows as the page has room for, the columns filled
  // one after the other; the rest on the next page the same way.
  const std::vector<MineralCell> cells = sortedMinerals(locality, names);
  std::size_t first = 0;
  while (first < cells.size() && !flow.failed()) {
    const int roomRows = (bottom - flow.y()) / std::max(1, f.eighths(8));
    if (roomRows < 1) {
      flow.newPage();
      continue;
    }
    const std::size_t count = std::min(cells.size() - first, static_cast<std::size_t>(roomRows) * 3);
    flow.place([&](int y) { return drawMineralGrid(layout.canvas(), f, cells, first, count, y); }, true);
    first += count;
  }
  flow.finish();
  result.pages = flow.pagesEnded();
  result.outcome = flow.failed() ? PrintOutcome::kDeviceFailed : PrintOutcome::kPrinted;
  return result;
}

}  // namespace kalvor
