// The row renderers of the list views: mineral rows with their property
// columns, locality and specimen rows (one line when narrow, the layout's
// columns when wide) and glossary rows with the entry's term.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "refdb/names.h"
#include "views/column_layout.h"
#include "views/row_renderer.h"

namespace kalvor {
class Collection;
class Glossary;
class MineralDatabase;
}  // namespace kalvor

namespace kalvor::views {

// Sorts mineral numbers into the order of the mineral name list (numbers
// without a name last, in their given order).
void sortByNameList(const MineralNameList& names, std::vector<MineralNumber>& minerals);

// The names of `minerals` joined by ",", extended name by name only while
// the text still fits into `width` pixels in the canvas's current font, so it
// ends with the last name that fits and never with ",". When not even the
// first name fits, that name alone (the cell's clip cuts it).
std::string fittingNameList(Canvas& canvas, const MineralNameList& names,
                            const std::vector<MineralNumber>& minerals, int width);

// The term of a glossary entry: the text between its leading "#" and the
// next "#" (to the end of the first line when there is no second "#");
// nothing when the entry does not begin with "#".
std::optional<std::string> glossaryTerm(std::string_view entry);

// Draws `text` in the canvas's current font at (left, top + rowHeight * 4 / 5)
// on the baseline, clipped to the rectangle left..right, top..top + rowHeight.
void drawClippedText(Canvas& canvas, int left, int top, int right, int rowHeight,
                     std::string_view text);

// What the three column renderers share: the narrow threshold, the record's
// lines, header cells and resizing over one ColumnLayout.
class ColumnRowRenderer : public RowRenderer {
 public:
  int linesPerRecord(int rowWidth) const override;
  std::vector<HeaderCell> headerCells(int rowWidth) const override;
  bool columnResizable(int line, int position) const override;
  void setColumnWidth(int line, int position, int quarterWidths) override;

  // True iff rows of this width take the one-line narrow form (never for
  // minerals: the list control shows plain names itself when it is narrow).
  bool narrow(int rowWidth) const { return narrowForm_ && isNarrowRow(metrics_, rowWidth); }

 protected:
  // `layout` must outlive the renderer; widths set here change it.
  ColumnRowRenderer(ColumnLayout& layout, RowMetrics metrics, bool narrowForm)
      : layout_(layout), metrics_(metrics), narrowForm_(narrowForm) {}
  // The cells of a record whose first row's top-left corner is (x, y).
  std::vector<ColumnCell> cells(int x, int y, int rowHeight, int rowWidth) const;
  // The entry of the visible column `position` of `line`, or null.
  ColumnEntry* visibleEntry(int line, int position);
  const ColumnEntry* visibleEntry(int line, int position) const;

  ColumnLayout& layout_;
  RowMetrics metrics_;
  bool narrowForm_;
};

// Rows of the mineral lists: the record is a MineralNumber.
class MineralRowRenderer : public ColumnRowRenderer {
 public:
  // `database` and `layout` must outlive the renderer.
  MineralRowRenderer(const MineralDatabase& database, ColumnLayout& layout, RowMetrics metrics);

  // Full minerals: the visible columns (layout lines); aliases: the name and
  // the target text without "@" (1 line). Rows have no narrow form.
  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
              std::int32_t record) override;
  int firstCharacter(std::int32_t) const override { return -1; }

 private:
  const MineralDatabase& database_;
};

// Rows of the locality list: the record is the locality number.
class LocalityRowRenderer : public ColumnRowRenderer {
 public:
  // All references must outlive the renderer.
  LocalityRowRenderer(Collection& collection, const MineralNameList& names, ColumnLayout& layout,
                      RowMetrics metrics);

  // Narrow: the display line (1 line); wide: the visible columns.
  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
              std::int32_t record) override;
  // The first character of the display line, -1 when it is empty or unreadable.
  int firstCharacter(std::int32_t record) const override;

 private:
  Collection& collection_;
  const MineralNameList& names_;
};

// Rows of the specimen list: the record is the specimen number.
class SpecimenRowRenderer : public ColumnRowRenderer {
 public:
  // All references must outlive the renderer.
  SpecimenRowRenderer(Collection& collection, const MineralNameList& names, ColumnLayout& layout,
                      RowMetrics metrics);

  // Narrow: "%s, %s" of index and main minerals (1 line); wide: the visible columns.
  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
              std::int32_t record) override;
  int firstCharacter(std::int32_t) const override { return -1; }

 private:
  Collection& collection_;
  const MineralNameList& names_;
};

// Rows of the glossary: the record is the entry number + 1.
class GlossaryRowRenderer : public RowRenderer {
 public:
  // `glossary` must outlive the renderer.
  explicit GlossaryRowRenderer(const Glossary& glossary) : glossary_(glossary) {}

  // The entry's term, clipped to the row; always 1 line.
  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
              std::int32_t record) override;
  int linesPerRecord(int) const override { return 1; }
  std::vector<HeaderCell> headerCells(int) const override { return {}; }
  bool columnResizable(int, int) const override { return false; }
  void setColumnWidth(int, int, int) override {}
  // The term's first character; -1 for an entry without a term.
  int firstCharacter(std::int32_t record) const override;

 private:
  std::optional<std::string> termOf(std::int32_t record) const;

  const Glossary& glossary_;
};

}  // namespace kalvor::views
