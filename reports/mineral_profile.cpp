#include "reports/mineral_profile.h"

#include <string>
#include <vector>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "crystal/drawing_preparation.h"
#include "pages/collection_description.h"
#include "refdb/drawing_blocks.h"
#include "refdb/strings.h"
#include "reports/page_flow.h"

namespace kalvor {

namespace {

constexpr unsigned kStringOtherNameFor = 10090;  // " ist ein anderer Name für:"
constexpr unsigned kStringFrom = 10089;          // " von "
constexpr int kMaxAliasDepth = 5;
constexpr const char* kAliasDash = " \x97 ";

// The mineral an alias names: the text between its first two "@", or all of it.
std::string_view aliasMeant(std::string_view target) {
  const std::size_t at = target.find('@');
  const std::size_t end = at == std::string_view::npos ? at : target.find('@', at + 1);
  return end == std::string_view::npos ? target : target.substr(at + 1, end - at - 1);
}

int drawAliasLine(DescriptionLayout& layout, const LayoutArea& area, const MineralRecord& alias, int y) {
  Canvas& canvas = layout.canvas();
  const std::string name = alias.name();
  const std::string target = alias.aliasTarget();
  int x = area.left;
  int height = 0;
  int baseline = 0;
  {
    ScopedFont heading(canvas, FontSlot::kHeading);
    baseline = y + canvas.ascent();
    canvas.drawText(x, baseline, name);
    x += canvas.measureText(name).width;
    height = canvas.measureText("Ag").height;
  }
  ScopedFont text(canvas, FontSlot::kText);
  // The rest of the line stands on the name's baseline.
  if (target.find(' ') == std::string::npos) {
    canvas.drawText(x, baseline, loadResourceString(kStringOtherNameFor - kStringIdBase));
    return y + height;
  }
  canvas.drawText(x, baseline, kAliasDash);
  x += canvas.measureText(kAliasDash).width;
  ScopedFont secondary(canvas, FontSlot::kSecondary);
  const int textTop = baseline - canvas.ascent();
  return std::max(y + height,
                  layout.drawRichText(x, textTop, FontSlot::kSecondary, target, area.right - x, 0));
}

void drawCrystalDrawing(PageCanvas& device, std::span<const std::uint32_t> values, const LayoutArea& box,
                        const PrintFrame& f) {
  const std::optional<std::vector<std::uint32_t>> prepared = crystal::prepareDrawing(
      values, crystal::DrawingArea{box.width(), box.bottom - box.top, f.charWidth, f.lineHeight});
  if (!prepared) return;
  int lastX = box.left, lastY = box.top;
  bool hidden = false;
  for (std::uint32_t v : *prepared) {
    const int x = box.left + static_cast<int>(v & 0x7FFF);
    const int y = box.top + static_cast<int>((v >> 16) & 0x7FFF);
    if (v & 0x80000000u) {
      hidden = (v & 0x8000u) != 0;
    } else if (hidden) {
      device.drawDottedLine(lastX, lastY, x, y);
    } else {
      device.drawLine(lastX, lastY, x, y);
    }
    lastX = x;
    lastY = y;
  }
}

// The user's specimens with mineral n, in the specimen sort order.
std::vector<std::string> specimenLines(Collection& collection, MineralNumber n) {
  std::vector<std::string> lines;
  if (collection.unavailable()) return lines;
  ValueIndex& index = collection.valueIndex();
  std::optional<RecordSet> set = index.getRecordSet(IndexValue::ofNumber(n), index_field::kSpecimenMineral);
  if (!set || set->count() == 0) return lines;
  set = intersectRecordSets(std::move(set),
                            index.getRecordSet(IndexValue::ofNumber(0), index_field::kSpecimenAll));
  if (!set) return lines;
  SortOrder order = collection.specimenOrder();
  switchOrderForm(order, kOrderList);
  for (std::uint32_t r : order.entries) {
    if (!set->test(r)) continue;
    const std::optional<Specimen> s = readSpecimen(collection, r);
    if (!s || s->deleted()) continue;
    std::string where = collectionMessageText(CollectionMessage::kUnknownLocality);
    if (s->localityNumber() != 0) {
      const std::optional<Locality> l = readLocality(collection, s->localityNumber(), true);
      if (l && !l->deleted()) where = localityLine(*l);
    }
    lines.push_back(s->index + loadResourceString(kStringFrom - kStringIdBase) + where);
  }
  return lines;
}

// The sources of the description without the radioactivity picture: a
// printed profile has none.
class PrintedDescriptionSources : public DescriptionSources {
 public:
  explicit PrintedDescriptionSources(const DescriptionSources& s) : s_(s) {}
  MineralRecord mineralRecord(MineralNumber n) const override { return s_.mineralRecord(n); }
  std::optional<MineralNumber> findMineral(std::string_view name) const override {
    return s_.findMineral(name);
  }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const override {
    return s_.findGlossaryEntry(word);
  }
  std::string colourName(std::uint16_t colour) const override { return s_.colourName(colour); }
  std::optional<std::string> strunzText(const StrunzNumber& n) const override { return s_.strunzText(n); }
  std::optional<std::string> heyText(const HeyNumber& n) const override { return s_.heyText(n); }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const override {
    return s_.localitiesOfMineral(n);
  }
  void beep() const override { s_.beep(); }

 private:
  const DescriptionSources& s_;
};

}  // namespace

std::vector<LayoutArea> crystalDrawingBoxes(const PrintFrame& f, std::size_t count) {
  std::vector<LayoutArea> boxes;
  const int left = f.area.right - f.quarters(70) + f.quarters(10);
  for (int top = f.area.top + f.eighths(40); boxes.size() < count; top += f.eighths(65)) {
    const LayoutArea box{left, top, left + f.quarters(59), top + f.eighths(60)};
    if (box.bottom > f.area.bottom) break;
    boxes.push_back(box);
  }
  return boxes;
}

PrintResult printMineralProfile(PageCanvas& device, const MineralProfileSources& sources, MineralNumber n) {
  PrintResult result;
  const PrintedDescriptionSources printed(sources.description);
  MineralRecord record = printed.mineralRecord(n);
  if (record.isNoEntry()) return result;

  WindowedCanvas measure(device);
  DescriptionLayout measuring(measure, printed, sources.options, LabelFontTable::kPrint);
  const PrintFrame f = beginPrintJob(device, measuring, kLabelMineral, kLabelEnglish + 1);
  PageFlow flow(device, f, f.area.bottom - f.eighths(14), nullptr);
  DescriptionLayout layout(flow.canvas(), printed, sources.options, LabelFontTable::kPrint);
  flow.setLineTops(&layout.lineTops());
  if (!flow.start()) {
    result.outcome = PrintOutcome::kDeviceFailed;
    return result;
  }

  // The alias chain down to the mineral meant; an alias whose mineral cannot
  // be found prints its line alone.
  std::optional<MineralNumber> reached = n;
  for (int depth = 1; reached && !record.isFullMineral(); ++depth) {
    if (depth > kMaxAliasDepth) {
      printed.beep();
      reached.reset();
      break;
    }
    const MineralRecord alias = record;
    flow.place([&](int y) { return drawAliasLine(layout, f.area, alias, y); }, true);
    reached = printed.findMineral(aliasMeant(alias.aliasTarget()));
    if (!reached) break;
    record = printed.mineralRecord(*reached);
    if (record.isNoEntry()) reached.reset();
    // The mineral meant goes on half a line below.
    else
      flow.skip(f.eighths(4));
  }

  if (reached) {
    // The drawings take the right column of the first page; the text keeps out of it.
    std::optional<DrawingBlock> drawings;
    if (sources.drawings) drawings = sources.drawings->drawingBlockFor(*reached);
    LayoutArea text = f.area;
    if (drawings && !drawings->drawings.empty()) {
      text.right = f.area.right - f.quarters(70);
      const std::vector<LayoutArea> boxes = crystalDrawingBoxes(f, drawings->drawings.size());
      for (std::size_t i = 0; i < boxes.size(); ++i)
        drawCrystalDrawing(device, drawings->valuesOf(i), boxes[i], f);
    }
    flow.place([&](int y) { return layout.describeMineral(text, record, y); }, false);

    // The lists share the description's value column.
    const int valueX = layout.valueColumn(text);
    auto list = [&](const std::vector<std::string>& lines, int firstLabel) {
      if (lines.empty()) return;
      flow.skip(f.eighths(10));
      for (std::size_t i = 0; i < lines.size(); ++i) {
        flow.place(
            [&](int y) {
              return y + labelValueLine(layout, lines[i], i == 0 ? firstLabel : kLabelEmpty, text.left, y,
                                        valueX, text.right - valueX);
            },
            true);
      }
    };
    if (sources.collection) {
      list(specimenLines(*sources.collection, *reached), kLabelSpecimens);
      std::vector<std::string> localities;
      for (const MineralLocality& l : collectionLocalitiesOfMineral(*sources.collection, *reached))
        localities.push_back(l.line);
      list(localities, kLabelLocalities);
    }
  }
  flow.finish();
  result.pages = flow.pagesEnded();
  result.outcome = flow.failed() ? PrintOutcome::kDeviceFailed : PrintOutcome::kPrinted;
  return result;
}

}  // namespace kalvor
