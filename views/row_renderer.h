// What a list window needs from the rows it shows: the list control scrolls,
// selects and finds; a row renderer knows what one record's row contains,
// which columns it has and how wide they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace kalvor::views {

// Fixed measures the renderers need, taken from the fonts once.
struct RowMetrics {
  int averageCharWidth = 8;  // of the system font: column widths are quarters of it
  int widestName = 0;        // widest name of the full mineral list in the list font + 10/4 avg widths
};

// True iff a row of `rowWidth` pixels is below the narrow threshold:
// 30 quarter character widths plus the widest mineral name.
inline bool isNarrowRow(const RowMetrics& metrics, int rowWidth) {
  return rowWidth < 30 * metrics.averageCharWidth / 4 + metrics.widestName;
}

// One header cell: a visible column of the layout, x relative to the row's left edge.
struct HeaderCell {
  std::string name;
  int line = 1;
  int position = 0;
  int left = 0;
  int right = 0;
  bool resizable = true;
};

class RowRenderer {
 public:
  virtual ~RowRenderer() = default;
  // Draws the record's row (top-left x, y) in the canvas's current text colour;
  // returns the text lines used. Mineral rows get the MineralNumber, the others
  // the record number.
  virtual int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth,
                      std::int32_t record) = 0;
  // Text lines per record at this row width (narrow lists: 1).
  virtual int linesPerRecord(int rowWidth) const = 0;
  // Visible columns in drawing order with their cells; empty when narrow or without columns.
  virtual std::vector<HeaderCell> headerCells(int rowWidth) const = 0;
  // Column `position` (0-based among the visible columns of `line`): whether it
  // can be resized; setting a width in quarter average character widths is
  // ignored for a column that runs to the row's end and marks the entry changed.
  virtual bool columnResizable(int line, int position) const = 0;
  virtual void setColumnWidth(int line, int position, int quarterWidths) = 0;
  // First character (Windows-1252 byte) of the record for type-ahead, or -1.
  virtual int firstCharacter(std::int32_t record) const = 0;
};

}  // namespace kalvor::views
