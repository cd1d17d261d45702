#include "views/list_rows.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "determination/colours.h"
#include "determination/determination_search.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "refdb/systematics.h"
#include "refdb/vocabulary.h"
#include "render/formula_drawing.h"

namespace kalvor::views {

namespace {

constexpr std::size_t kMaxColours = 20;
constexpr std::size_t kMaxStreakColours = 4;
// Sort key of a mineral number without a node in the name list: last.
constexpr std::size_t kNoNode = std::numeric_limits<std::size_t>::max();

std::uint16_t densityWord(DensityValue d) {
  return static_cast<std::uint16_t>((d.whole << 8) | d.hundredths);
}

std::vector<std::int16_t> colourCodes(const std::vector<std::uint16_t>& list) {
  return std::vector<std::int16_t>(list.begin(), list.end());
}

std::string withoutAt(std::string text) {
  std::erase(text, '@');
  return text;
}

// The text of a full mineral's column as the description shows it.
std::string mineralColumnText(const MineralRecord& r, std::size_t column) {
  switch (column) {
    case kMineralNameColumn:
      return r.name();
    case kHardnessColumn:
      return formatHardness(static_cast<std::uint16_t>((r.hardnessMin() << 8) | r.hardnessMax()),
                            true);
    case kDensityColumn:
      return formatDensity(densityWord(r.densityMin()), densityWord(r.densityMax()), true);
    case kColourColumn:
      return formatColourList(colourCodes(r.colours()), kMaxColours, colourNameText);
    case kStreakColumn:
      return formatColourList(colourCodes(r.streaks()), kMaxStreakColours, colourNameText);
    case kCrystalSystemColumn:
      return formatCrystalSystems(r.crystalSystems());
    case kFractureColumn:
      return formatFracture(r.fracture());
    case kLustreColumn:
      return formatLustre(r.lustre());
    case kCleavageColumn:
      return formatCleavage(r.cleavage());
    case kSystematicsColumn: {
      const StrunzField s = r.strunz();
      if (s.cls == 0) return {};
      return formatStrunzNumber(StrunzNumber{s.cls, s.subclass, s.group, s.spare, s.rangeEnd});
    }
    default:
      return {};
  }
}

}  // namespace

void sortByNameList(const MineralNameList& names, std::vector<MineralNumber>& minerals) {
  auto key = [&names](MineralNumber n) { return names.ordinalOfNumber(n).value_or(kNoNode); };
  std::stable_sort(minerals.begin(), minerals.end(),
                   [&key](MineralNumber a, MineralNumber b) { return key(a) < key(b); });
}

std::string fittingNameList(Canvas& canvas, const MineralNameList& names,
                            const std::vector<MineralNumber>& minerals, int width) {
  std::string text;
  for (MineralNumber n : minerals) {
    const std::string_view name = names.nameOfMineral(n);
    if (name.empty()) continue;
    if (text.empty()) {
      text = name;
      continue;
    }
    std::string longer = text + ",";
    longer += name;
    if (canvas.measureText(longer).width > width) break;
    text = std::move(longer);
  }
  return text;
}

std::optional<std::string> glossaryTerm(std::string_view entry) {
  if (entry.empty() || entry.front() != '#') return std::nullopt;
  entry.remove_prefix(1);
  std::size_t end = entry.find('#');
  if (end == std::string_view::npos) end = entry.find_first_of("\r\n");
  return std::string(entry.substr(0, end));
}

void drawClippedText(Canvas& canvas, int left, int top, int right, int rowHeight,
                     std::string_view text) {
  if (text.empty() || right <= left) return;
  ScopedClip clip(canvas, left, top, right, top + rowHeight);
  canvas.drawText(left, top + rowHeight * 4 / 5, text);
}

// ---- ColumnRowRenderer ----------------------------------------------------

int ColumnRowRenderer::linesPerRecord(int rowWidth) const {
  return narrow(rowWidth) ? 1 : recordRows(layout_);
}

std::vector<HeaderCell> ColumnRowRenderer::headerCells(int rowWidth) const {
  std::vector<HeaderCell> out;
  if (narrow(rowWidth)) return out;
  for (const ColumnCell& c : placeColumns(layout_, 0, 0, 1, rowWidth, metrics_.averageCharWidth)) {
    const ColumnEntry& e = layout_.columns[c.column];
    out.push_back(HeaderCell{e.name, c.line, c.position, c.left, c.right,
                             e.width != kWidthToRowEnd});
  }
  return out;
}

std::vector<ColumnCell> ColumnRowRenderer::cells(int x, int y, int rowHeight, int rowWidth) const {
  return placeColumns(layout_, x, y, rowHeight, rowWidth, metrics_.averageCharWidth);
}

const ColumnEntry* ColumnRowRenderer::visibleEntry(int line, int position) const {
  // Line and position do not depend on the geometry; a zero width suffices.
  for (const ColumnCell& c : placeColumns(layout_, 0, 0, 1, 0, metrics_.averageCharWidth))
    if (c.line == line && c.position == position) return &layout_.columns[c.column];
  return nullptr;
}

ColumnEntry* ColumnRowRenderer::visibleEntry(int line, int position) {
  return const_cast<ColumnEntry*>(std::as_const(*this).visibleEntry(line, position));
}

bool ColumnRowRenderer::columnResizable(int line, int position) const {
  const ColumnEntry* e = visibleEntry(line, position);
  return e != nullptr && e->width != kWidthToRowEnd;
}

void ColumnRowRenderer::setColumnWidth(int line, int position, int quarterWidths) {
  ColumnEntry* e = visibleEntry(line, position);
  if (e == nullptr || e->width == kWidthToRowEnd) return;
  // A header dragged to nothing gives 0; anything past the settings' limit
  // could not be read back at the next start.
  e->width = std::clamp(quarterWidths, 0, kMaxColumnWidth);
  e->changed = true;
}

// ---- MineralRowRenderer ---------------------------------------------------

MineralRowRenderer::MineralRowRenderer(const MineralDatabase& database, ColumnLayout& layout,
                                       RowMetrics metrics)
    : ColumnRowRenderer(layout, metrics, false), database_(database) {}

int MineralRowRenderer::drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
                                std::int32_t record) {
  const int lines = linesPerRecord(rowWidth);
  if (record < 0 || record >= static_cast<std::int32_t>(database_.entryCount())) return lines;
  const MineralRecord r = database_.readMineralRecord(static_cast<MineralNumber>(record));
  if (r.isNoEntry()) return lines;
  const int right = x + rowWidth;
  const std::vector<ColumnCell> placed = cells(x, y, rowHeight, rowWidth);

  if (!r.isFullMineral()) {
    // An alias row: its name in the first cell, then where the name and
    // systematics columns end by default width, the name it stands for.
    const int nameRight = placed.empty() ? right : placed.front().right;
    drawClippedText(canvas, x, y, nameRight, rowHeight, r.name());
    const int avg = metrics_.averageCharWidth;
    const int targetX = x +
                        (layout_.columns[kMineralNameColumn].width + 2) * avg / 4 +
                        (layout_.columns[kSystematicsColumn].width + 2) * avg / 4;
    drawClippedText(canvas, targetX, y, right, rowHeight, withoutAt(r.aliasTarget()));
    return 1;
  }

  for (const ColumnCell& cell : placed) {
    if (cell.right <= cell.left) continue;
    if (cell.column == kFormulaColumn) {
      ScopedClip clip(canvas, cell.left, cell.top, cell.right, cell.bottom);
      const FormulaFonts fonts{canvas.currentFont(), FontSlot::kSmall, FontSlot::kGreek};
      drawFormula(canvas, cell.left, cell.top + rowHeight * 4 / 5, r.formula(), fonts, false);
      continue;
    }
    drawClippedText(canvas, cell.left, cell.top, cell.right, rowHeight,
                    mineralColumnText(r, cell.column));
  }
  return lines;
}

// ---- GlossaryRowRenderer --------------------------------------------------

std::optional<std::string> GlossaryRowRenderer::termOf(std::int32_t record) const {
  if (record < 1 || record > 0x10000) return std::nullopt;
  const std::optional<std::string> entry = glossary_.entry(static_cast<std::uint16_t>(record - 1));
  if (!entry) return std::nullopt;
  return glossaryTerm(*entry);
}

int GlossaryRowRenderer::drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
                                 std::int32_t record) {
  const std::optional<std::string> term = termOf(record);
  if (term) drawClippedText(canvas, x, y, x + rowWidth, rowHeight, *term);
  return 1;
}

int GlossaryRowRenderer::firstCharacter(std::int32_t record) const {
  const std::optional<std::string> term = termOf(record);
  if (!term || term->empty()) return -1;
  return static_cast<unsigned char>(term->front());
}

}  // namespace kalvor::views
