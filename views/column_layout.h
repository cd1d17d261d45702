// The column layouts of the three record lists with columns (minerals,
// localities, specimens): their built-in defaults, their entries "Feld%d" in
// "kalvor.ini", and where each visible column's cell lies in a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {
class Settings;
}

namespace kalvor::views {

// Width value of a column that reaches to the row's right edge.
inline constexpr int kWidthToRowEnd = -1;
// Largest width accepted from the settings file, in quarter character widths.
inline constexpr int kMaxColumnWidth = 4000;
// Largest line number accepted from the settings file.
inline constexpr int kMaxColumnLine = 9;

// One column of a layout.
struct ColumnEntry {
  std::uint8_t order = 0;    // 0 = hidden, else the 1-based drawing position
  std::uint8_t line = 1;     // the record's text line (1-based) it is drawn on
  std::int32_t width = 0;    // quarter average character widths; kWidthToRowEnd = to the row end
  std::string name;          // header text (Windows-1252)
  bool changed = false;      // the width was changed in this run: saved at exit
  bool operator==(const ColumnEntry&) const = default;
};

// The columns of one list kind with the settings section they are kept in.
struct ColumnLayout {
  std::string section;          // "Mineralliste", "Fundortliste" or "Stufenliste"
  int linesPerRecord = 1;       // text lines of one record in the wide form
  int continuationIndent = 0;   // indent of the second and later lines, quarter widths
  std::vector<ColumnEntry> columns;
  bool operator==(const ColumnLayout&) const = default;
};

// Column indexes of the mineral layout.
enum MineralColumn : std::size_t {
  kMineralNameColumn = 0, kFormulaColumn = 1, kHardnessColumn = 2, kDensityColumn = 3,
  kColourColumn = 4, kStreakColumn = 5, kCrystalSystemColumn = 6, kFractureColumn = 7,
  kLustreColumn = 8, kCleavageColumn = 9, kSystematicsColumn = 10,
};
// Column indexes of the locality layout.
enum LocalityColumn : std::size_t {
  kLocalityNumberColumn = 0, kLocalityNameColumn = 1, kNearestPlaceColumn = 2,
  kRegionColumn = 3, kCountryColumn = 4, kMineralsOnSpecimensColumn = 5,
  kMineralsNotOnSpecimensColumn = 6, kLocalityDescriptionColumn = 7, kMapReferenceColumn = 8,
  kAllMineralsColumn = 9,
};
// Column indexes of the specimen layout.
enum SpecimenColumn : std::size_t {
  kSpecimenNumberColumn = 0, kCollectionIndexColumn = 1, kMainMineralsColumn = 2,
  kAccompanyingColumn = 3, kSpecimenLocalityColumn = 4, kDateColumn = 5, kPriceColumn = 6,
  kSpecimenDescriptionColumn = 7,
};

// The built-in layouts, sections "Mineralliste", "Fundortliste", "Stufenliste".
ColumnLayout defaultMineralLayout();
ColumnLayout defaultLocalityLayout();
ColumnLayout defaultSpecimenLayout();

// Order, line and width of a settings value "%d,%d,%d" for a layout of
// `columnCount` columns; nothing when the value is not three integers
// separated by commas, or the order lies outside 0..columnCount, the line
// outside 1..kMaxColumnLine or the width outside -1..kMaxColumnWidth.
std::optional<ColumnEntry> parseColumnValue(std::string_view value, std::size_t columnCount);
// The settings value of an entry: "%d,%d,%d" of order, line and width.
std::string formatColumnValue(const ColumnEntry& entry);

// Takes order, line and width of every entry whose key "Feld%d" in the
// layout's section is present and valid; absent, empty or malformed values
// keep the entry as it is. Names and changed flags stay.
void loadColumnLayout(ColumnLayout& layout, const Settings& settings);
// Writes the key of every changed entry; returns false when a write failed.
bool saveColumnLayout(const ColumnLayout& layout, Settings& settings);

// The three layouts of the program, built from the defaults.
struct ColumnLayouts {
  ColumnLayout minerals = defaultMineralLayout();
  ColumnLayout localities = defaultLocalityLayout();
  ColumnLayout specimens = defaultSpecimenLayout();

  // Loads all three (at start-up).
  void load(const Settings& settings);
  // Saves the changed entries of all three (at exit); false when a write failed.
  bool save(Settings& settings) const;
};

// Pixels of a width in quarter average character widths (integer division).
constexpr int quarterWidthsToPixels(int quarterWidths, int averageCharWidth) {
  return quarterWidths * averageCharWidth / 4;
}

// The cell of a visible column in a row.
struct ColumnCell {
  std::size_t column = 0;  // index of the entry in the layout
  int line = 1;            // the entry's line
  int position = 0;        // 0-based among the visible columns of that line, in order
  int row = 0;             // 0-based visual row of the record the cell lies in
  int left = 0;
  int top = 0;
  int right = 0;           // exclusive; never left of `left`
  int bottom = 0;          // top + row height
};

// Places the visible columns (order 1, 2, ... up to the first order that no
// entry has) in a record whose first row has its top-left corner at
// (left, top): each column starts at the previous cell's right edge, or one
// row lower at left + continuation indent when its line differs from the
// previous cell's; a width of -1, or a right edge beyond left + rowWidth,
// ends the cell at the row's right edge.
std::vector<ColumnCell> placeColumns(const ColumnLayout& layout, int left, int top, int rowHeight,
                                     int rowWidth, int averageCharWidth);

// Visual rows a record of this layout needs: the layout's lines per record,
// or more when the visible columns change line more often than that (those
// cells lie below the record's last line, so the record grows to hold them).
int recordRows(const ColumnLayout& layout);

}  // namespace kalvor::views
