#include "reports/collection_list.h"

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "refdb/strings.h"
#include "reports/page_flow.h"

namespace kalvor {

namespace {

constexpr unsigned kStringPageFooter = 10095;       // "- Sammlungsliste Seite %d -"
constexpr unsigned kStringCollectionPiece = 10107;  // "Sammlungsstufe"
constexpr unsigned kStringExchangePiece = 10108;    // "Tauschstufe"

std::string formatted(unsigned id, long a, long b) {
  const std::string format = loadResourceString(id - kStringIdBase);
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format.c_str(), a, b);
  return buffer;
}

// The locality line of a specimen, "unbekannt" when it has none (value 0 or
// 1) or its locality cannot be read.
std::string specimenLocalityText(Collection& collection, const Specimen& s) {
  if (s.localityNumber() != 0) {
    const std::optional<Locality> l = readLocality(collection, s.localityNumber(), true);
    if (l && !l->deleted()) return localityLine(*l);
  }
  return collectionMessageText(CollectionMessage::kUnknownLocality);
}

int drawEntry(DescriptionLayout& layout, const PrintFrame& f, Collection& collection, const Specimen& s,
              const std::string& localityText, int y) {
  Canvas& canvas = layout.canvas();
  const LayoutArea& a = f.area;
  const int wrap = a.right - f.valueX;
  const int top = y;
  y += labelValueLine(layout, s.index, kLabelCollectionIndex, a.left, y, f.valueX);
  {
    // The mark at the right edge, unless it would run into the index.
    ScopedFont font(canvas, layout.labelFont(kLabelAccompanying));
    const bool collectionPiece = (s.flags & specimen_format::kFlagCollection) != 0;
    const std::string mark =
        loadResourceString((collectionPiece ? kStringCollectionPiece : kStringExchangePiece) - kStringIdBase);
    const int markX = a.right - canvas.measureText(mark).width;
    int indexEnd = f.valueX;
    {
      ScopedFont indexFont(canvas, layout.labelFont(kLabelCollectionIndex));
      indexEnd += canvas.measureText(s.index).width;
    }
    if (markX > indexEnd) canvas.drawText(markX, top + canvas.ascent(), mark);
  }
  const MineralNameList& names = collection.names();
  y += labelValueLine(layout, specimenMineralNames(names, s, true, ", "), kLabelMinerals, a.left, y, f.valueX,
                      wrap);
  y += labelValueLine(layout, specimenMineralNames(names, s, false, ", "), kLabelAccompanying, a.left, y,
                      f.valueX, wrap);
  y += labelValueLine(layout, localityText, kLabelSpecimenLocality, a.left, y, f.valueX, wrap);
  y += labelValueLine(layout, s.storagePlace, kLabelStorage, a.left, y, f.valueX);
  if (!s.description.empty())
    y = labelRichText(layout, kLabelSpecimenDescription, s.description, a.left, y, f.valueX, wrap);
  y += f.eighths(5);
  drawHorizontalLine(canvas, a.left, a.right, y);
  return y + f.eighths(5);
}

}  // namespace

std::string specimenListFooter(int page) {
  const std::string format = loadResourceString(kStringPageFooter - kStringIdBase);
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format.c_str(), page);
  return buffer;
}

PrintResult printSpecimenList(PageCanvas& device, Collection& collection, const std::optional<RecordSet>& set,
                              const DescriptionSources& sources, PrintProgress* progress) {
  PrintResult result;
  if (collection.unavailable()) return result;
  SortOrder order = collection.specimenOrder();
  switchOrderForm(order, kOrderList);
  const long total = static_cast<long>(order.entries.size());

  WindowedCanvas measure(device);
  DescriptionLayout layout(measure, sources, DescriptionOptions{}, LabelFontTable::kPrint);
  const PrintFrame f =
      beginPrintJob(device, layout, kLabelMinerals, kLabelSpecimenDescription - kLabelMinerals + 1);
  PageFlow flow(device, f, f.area.bottom - f.eighths(20), nullptr, [&f](PageCanvas& d, int page) {
    ScopedFont font(d, FontSlot::kText);
    const std::string text = specimenListFooter(page);
    const int x = f.area.left + (f.area.width() - d.measureText(text).width) / 2;
    d.drawText(x, f.area.bottom - f.eighths(10) + d.ascent(), text);
  });
  // The flow's layout draws through the flow's windowed canvas.
  DescriptionLayout flowLayout(flow.canvas(), sources, DescriptionOptions{}, LabelFontTable::kPrint);
  flow.setLineTops(&flowLayout.lineTops());
  // Many specimens share a locality: its line is read once.
  std::unordered_map<std::uint32_t, std::string> localityTexts;
  bool cancelled = false;
  long position = 0;
  for (std::uint32_t r : order.entries) {
    ++position;
    if (progress && progress->cancelled()) {
      cancelled = true;
      break;
    }
    if (!testRecord(set, r)) continue;
    if (progress)
      progress->show(
          formatted(static_cast<unsigned>(CollectionMessage::kProcessingSpecimen), position, total));
    const std::optional<Specimen> s = readSpecimen(collection, r);
    if (!s || s->deleted()) continue;
    if (flow.page() == 0 && !flow.start()) break;
    auto known = localityTexts.find(s->localityNumber());
    if (known == localityTexts.end())
      known = localityTexts.emplace(s->localityNumber(), specimenLocalityText(collection, *s)).first;
    const std::string& localityText = known->second;
    if (!flow.place([&](int y) { return drawEntry(flowLayout, f, collection, *s, localityText, y); }, true))
      break;
  }
  if (flow.page() == 0) return result;
  flow.finish();
  result.pages = flow.pagesEnded();
  result.outcome = flow.failed() ? PrintOutcome::kDeviceFailed
                   : cancelled   ? PrintOutcome::kCancelled
                                 : PrintOutcome::kPrinted;
  return result;
}

}  // namespace kalvor
