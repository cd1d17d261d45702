#include "views/column_layout.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/settings.h"

namespace kalvor::views {

namespace {

ColumnEntry entry(const char* name, int order, int line, int width) {
  return ColumnEntry{static_cast<std::uint8_t>(order), static_cast<std::uint8_t>(line), width,
                     name, false};
}

// Reads an optionally signed decimal integer after optional blanks; moves
// `text` past it and any blanks that follow.
std::optional<long> readInteger(std::string_view& text) {
  auto skipBlanks = [&text] {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  };
  skipBlanks();
  long value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr == begin) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
  skipBlanks();
  return value;
}

std::string keyOf(std::size_t index) { return "Feld" + std::to_string(index); }

}  // namespace

ColumnLayout defaultMineralLayout() {
  return ColumnLayout{"Mineralliste", 1, 5,
                      {entry("Mineralname", 1, 1, 80), entry("Formel", 3, 1, kWidthToRowEnd),
                       entry("H\xE4rte", 0, 1, 50), entry("Dichte", 0, 1, 50),
                       entry("Farbe", 0, 2, 150), entry("Strichfarbe", 0, 2, 100),
                       entry("Kristallsystem", 0, 3, 100), entry("Bruch", 0, 3, 80),
                       entry("Glanz", 0, 3, 80), entry("Spaltbarkeit", 0, 3, 80),
                       entry("Systematik", 2, 1, 55)}};
}

ColumnLayout defaultLocalityLayout() {
  return ColumnLayout{"Fundortliste", 2, 10,
                      {entry("Fundstellennummer", 1, 1, 30), entry("Fundortname", 2, 1, 80),
                       entry("n\xE4" "chster Ort", 3, 1, 80), entry("Region", 4, 1, 80),
                       entry("Land", 5, 1, 80), entry("Minerale auf Stufen", 0, 2, kWidthToRowEnd),
                       entry("Minerale nicht auf Stufen", 0, 3, 100),
                       entry("Beschreibung", 0, 3, 80), entry("Kartenreferenz", 0, 1, 80),
                       entry("alle Minerale", 6, 2, kWidthToRowEnd)}};
}

ColumnLayout defaultSpecimenLayout() {
  return ColumnLayout{"Stufenliste", 2, 10,
                      {entry("Stufennummer", 0, 1, 40), entry("Sammlungsindex", 1, 1, 80),
                       entry("Minerale", 2, 1, 150), entry("Begleitminerale", 3, 1, kWidthToRowEnd),
                       entry("Fundort", 4, 2, kWidthToRowEnd), entry("Fund-/Kaufdatum", 0, 2, 100),
                       entry("Preis", 0, 3, 100), entry("Beschreibung", 0, 3, 80)}};
}

std::optional<ColumnEntry> parseColumnValue(std::string_view value, std::size_t columnCount) {
  long numbers[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::optional<long> n = readInteger(value);
    if (!n) return std::nullopt;
    numbers[i] = *n;
    if (i < 2) {
      if (value.empty() || value.front() != ',') return std::nullopt;
      value.remove_prefix(1);
    }
  }
  if (!value.empty()) return std::nullopt;
  const long order = numbers[0], line = numbers[1], width = numbers[2];
  // An order past the column count could never be reached by the walk over
  // orders 1, 2, ...; a line 0 has no row; widths are checked so that the
  // pixel arithmetic cannot overflow.
  if (order < 0 || order > static_cast<long>(columnCount)) return std::nullopt;
  if (line < 1 || line > kMaxColumnLine) return std::nullopt;
  if (width < kWidthToRowEnd || width > kMaxColumnWidth) return std::nullopt;
  ColumnEntry e;
  e.order = static_cast<std::uint8_t>(order);
  e.line = static_cast<std::uint8_t>(line);
  e.width = static_cast<std::int32_t>(width);
  return e;
}

std::string formatColumnValue(const ColumnEntry& entry) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%d,%d,%d", entry.order, entry.line, entry.width);
  return buf;
}

void loadColumnLayout(ColumnLayout& layout, const Settings& settings) {
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    const std::string value = settings.getString(layout.section, keyOf(i), "");
    if (value.empty()) continue;
    const std::optional<ColumnEntry> parsed = parseColumnValue(value, layout.columns.size());
    if (!parsed) continue;
    ColumnEntry& e = layout.columns[i];
    e.order = parsed->order;
    e.line = parsed->line;
    e.width = parsed->width;
  }
}

bool saveColumnLayout(const ColumnLayout& layout, Settings& settings) {
  bool ok = true;
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    const ColumnEntry& e = layout.columns[i];
    if (e.changed && !settings.writeString(layout.section, keyOf(i), formatColumnValue(e)))
      ok = false;
  }
  return ok;
}

void ColumnLayouts::load(const Settings& settings) {
  loadColumnLayout(minerals, settings);
  loadColumnLayout(localities, settings);
  loadColumnLayout(specimens, settings);
}

bool ColumnLayouts::save(Settings& settings) const {
  const bool a = saveColumnLayout(minerals, settings);
  const bool b = saveColumnLayout(localities, settings);
  const bool c = saveColumnLayout(specimens, settings);
  return a && b && c;
}

std::vector<ColumnCell> placeColumns(const ColumnLayout& layout, int left, int top, int rowHeight,
                                     int rowWidth, int averageCharWidth) {
  std::vector<ColumnCell> cells;
  const int rowRight = left + std::max(0, rowWidth);
  const int indent = quarterWidthsToPixels(layout.continuationIndent, averageCharWidth);
  int positions[kMaxColumnLine + 1] = {};
  for (std::size_t order = 1; order <= layout.columns.size(); ++order) {
    const auto it = std::find_if(layout.columns.begin(), layout.columns.end(),
                                 [order](const ColumnEntry& e) { return e.order == order; });
    if (it == layout.columns.end()) break;
    ColumnCell cell;
    cell.column = static_cast<std::size_t>(it - layout.columns.begin());
    cell.line = std::clamp<int>(it->line, 1, kMaxColumnLine);
    if (cells.empty()) {
      cell.left = left;
    } else if (cell.line != cells.back().line) {
      cell.row = cells.back().row + 1;
      cell.left = left + indent;
    } else {
      cell.row = cells.back().row;
      cell.left = cells.back().right;
    }
    cell.top = top + cell.row * rowHeight;
    cell.bottom = cell.top + rowHeight;
    cell.position = positions[cell.line]++;
    int right = rowRight;
    if (it->width != kWidthToRowEnd)
      right = std::min(rowRight, cell.left + quarterWidthsToPixels(it->width, averageCharWidth));
    cell.right = std::max(cell.left, right);
    cells.push_back(cell);
  }
  return cells;
}

int recordRows(const ColumnLayout& layout) {
  const std::vector<ColumnCell> cells = placeColumns(layout, 0, 0, 1, 0, 0);
  const int used = cells.empty() ? 1 : cells.back().row + 1;
  return std::max(std::max(1, layout.linesPerRecord), used);
}

}  // namespace kalvor::views
