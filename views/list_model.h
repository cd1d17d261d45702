// The item model behind the list control: which entries the list shows, in
// which order, which one is selected and which rows are visible; the
// type-ahead search over mineral names and the letter search over records;
// and how the text of a watched edit field turns into a search or a
// completion. Portable, so every rule can be tested without a window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "collection/record_set.h"
#include "collection/sort_order.h"
#include "refdb/names.h"

namespace kalvor::views {

// Longest type-ahead text, in characters.
inline constexpr std::size_t kMaxTypeAheadLength = 39;
// Longest edit text that is read at all.
inline constexpr std::size_t kMaxWatchedTextLength = 1999;

// What a watched edit field's text asks for.
struct WatchedText {
  std::string text;       // after the last comma, leading blanks skipped, at most 39 characters
  bool complete = false;  // a trailing blank (on at least 2 characters) was removed: complete
};

// Reads a watched edit field's text: the part after its last comma with
// leading blanks skipped, cut to 39 characters; a trailing blank on a text of
// at least 2 characters is removed and asks for completion.
WatchedText parseWatchedText(std::string_view raw);

// The record numbers of a sort order in display order, whichever form it is kept in.
std::vector<std::uint32_t> displayOrderOf(const SortOrder& order);

class ListModel {
 public:
  // Mineral mode over every name of `names` (with its letter buckets);
  // selects the node of `ordinal` (row == ordinal). `names` must outlive the model.
  static ListModel allNames(const MineralNameList& names, std::uint32_t ordinal);
  // Mineral mode over some nodes of `names` (ordinals in list order, no
  // buckets); selects the last node whose ordinal is at most `ordinal`.
  static ListModel someNames(const MineralNameList& names, std::vector<std::uint32_t> ordinals,
                             std::uint32_t ordinal);
  // Range mode over the records first..last; selects `record` (row 0 when not listed).
  static ListModel range(std::int32_t first, std::int32_t last, std::int32_t record);
  // Range mode over the members of `set`, walked in `displayOrder` (record
  // numbers in display order) when it is not empty, else in number order.
  static ListModel recordSet(const RecordSet& set, std::span<const std::uint32_t> displayOrder,
                             std::int32_t record);

  bool mineralMode() const { return names_ != nullptr; }
  // Number of rows (one per entry).
  int count() const { return count_; }
  // The entry of a row: the node's ordinal in mineral mode, the record number in range mode.
  std::int32_t itemAt(int row) const;
  // The row of a record number (range mode) or of an ordinal (mineral mode), if listed.
  std::optional<int> rowOf(std::int32_t item) const;
  // The node of a row (mineral mode only).
  const NameListNode& nodeAt(int row) const { return names_->node(static_cast<std::size_t>(itemAt(row))); }

  int selection() const { return selection_; }
  int topRow() const { return top_; }
  int visibleRows() const { return visible_; }
  // The largest top row: count - visible rows, at least 0.
  int lastTop() const;
  // True iff all rows fit, so no scroll bar is needed.
  bool allVisible() const { return count_ <= visible_; }

  // The selected mineral's id (MineralNumber + 1), 0 in range mode or when empty.
  std::uint32_t selectedMineralId() const;
  // The selected node's ordinal, nothing in range mode or when empty.
  std::optional<std::uint32_t> selectedOrdinal() const;
  // The selected record number, 0 in mineral mode or when empty.
  std::int32_t selectedRecord() const;

  // Sets how many rows fit (at least 1) and keeps the selection visible.
  void setVisibleRows(int rows);
  // Scrolls so that `row` is the top row, clamped to 0..lastTop; the selection stays.
  void scrollTo(int row);
  // Selects `row` (clamped to the rows) and scrolls just far enough to show it.
  // Returns true iff the selection changed.
  bool select(int row);

  // The keys. Each returns false ("beep") when it would move past an end,
  // and then changes nothing.
  bool lineUp();
  bool lineDown();
  bool pageUp();
  bool pageDown();
  void home();
  void end();

  // Mineral-mode type-ahead: walks from the letter bucket of the text's
  // initial (the first row without buckets) while the text sorts after the
  // name, and selects the name reached unless the text sorts after it. Nothing
  // moves when the selected name already equals the text. Returns true iff the
  // selection changed.
  bool searchName(std::string_view text);
  // Completion of a typed prefix: the full name when one name begins with it,
  // else the longest prefix that all names beginning with it share; nothing
  // ("beep") when the selected name does not begin with it. Selects the match.
  std::optional<std::string> complete(std::string_view text);
  // Range-mode letter search from the selection: back while the previous
  // record's folded first character is at or after the letter, then forward
  // while it is before. `firstChar` returns a Windows-1252 byte or -1.
  // Returns true iff the selection changed.
  bool searchLetter(char letter, const std::function<int(std::int32_t)>& firstChar);

 private:
  ListModel() = default;
  void keepSelectionVisible();

  const MineralNameList* names_ = nullptr;
  bool buckets_ = false;                 // mineral mode over the full list
  std::vector<std::uint32_t> ordinals_;  // mineral mode over some names
  std::int32_t first_ = 1;               // range mode without a set
  std::vector<std::int32_t> records_;    // range mode with a set, in display order
  bool useRecords_ = false;
  int count_ = 0;
  int selection_ = 0;
  int top_ = 0;
  int visible_ = 1;
};

}  // namespace kalvor::views
