#include "views/list_model.h"

#include <algorithm>

#include "refdb/collation.h"

namespace kalvor::views {
namespace {

int foldedByte(int c) {
  if (c < 0) return -1;
  return static_cast<unsigned char>(foldInitial(static_cast<char>(c)));
}

// Compares `text` with `name` only as far as the text reaches (folded).
int comparePrefix(std::string_view text, std::string_view name) {
  const int n = static_cast<int>(text.size());
  return collateCompare(text, name, n, foldedPrefixLength(text, n));
}

bool beginsWith(std::string_view name, std::string_view text) { return comparePrefix(text, name) == 0; }

}  // namespace

WatchedText parseWatchedText(std::string_view raw) {
  raw = raw.substr(0, std::min(raw.size(), kMaxWatchedTextLength));
  if (const auto comma = raw.rfind(','); comma != std::string_view::npos) raw.remove_prefix(comma + 1);
  while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
  raw = raw.substr(0, std::min(raw.size(), kMaxTypeAheadLength));
  WatchedText out{std::string(raw), false};
  if (out.text.size() >= 2 && out.text.back() == ' ') {
    out.text.pop_back();
    out.complete = true;
  }
  return out;
}

std::vector<std::uint32_t> displayOrderOf(const SortOrder& order) {
  if (order.form == kOrderList) return order.entries;
  // Form 2 holds each record's 0-based display position: invert it.
  std::vector<std::uint32_t> list(order.entries.size(), 0);
  for (std::size_t r = 0; r < order.entries.size(); ++r) {
    if (order.entries[r] < list.size()) list[order.entries[r]] = static_cast<std::uint32_t>(r + 1);
  }
  return list;
}

ListModel ListModel::allNames(const MineralNameList& names, std::uint32_t ordinal) {
  ListModel m;
  m.names_ = &names;
  m.buckets_ = true;
  m.count_ = static_cast<int>(names.size());
  m.selection_ = std::min<int>(static_cast<int>(ordinal), std::max(0, m.count_ - 1));
  return m;
}

ListModel ListModel::someNames(const MineralNameList& names, std::vector<std::uint32_t> ordinals,
                               std::uint32_t ordinal) {
  ListModel m;
  m.names_ = &names;
  m.ordinals_ = std::move(ordinals);
  m.count_ = static_cast<int>(m.ordinals_.size());
  // The last node at or before the wanted one: the list is in ordinal order.
  const auto after = std::upper_bound(m.ordinals_.begin(), m.ordinals_.end(), ordinal);
  m.selection_ = after == m.ordinals_.begin() ? 0 : static_cast<int>(after - m.ordinals_.begin()) - 1;
  return m;
}

ListModel ListModel::range(std::int32_t first, std::int32_t last, std::int32_t record) {
  ListModel m;
  m.first_ = first;
  m.count_ = std::max(0, last - first + 1);
  m.selection_ = m.rowOf(record).value_or(0);
  return m;
}

ListModel ListModel::recordSet(const RecordSet& set, std::span<const std::uint32_t> displayOrder,
                               std::int32_t record) {
  ListModel m;
  m.useRecords_ = true;
  if (displayOrder.empty()) {
    for (std::uint32_t r : set.members()) m.records_.push_back(static_cast<std::int32_t>(r));
  } else {
    for (std::uint32_t r : displayOrder)
      if (set.test(r)) m.records_.push_back(static_cast<std::int32_t>(r));
  }
  m.count_ = static_cast<int>(m.records_.size());
  m.selection_ = m.rowOf(record).value_or(0);
  return m;
}

std::int32_t ListModel::itemAt(int row) const {
  if (names_) return buckets_ ? row : static_cast<std::int32_t>(ordinals_[static_cast<std::size_t>(row)]);
  if (useRecords_) return records_[static_cast<std::size_t>(row)];
  return first_ + row;
}

std::optional<int> ListModel::rowOf(std::int32_t item) const {
  if (names_ && buckets_) {
    if (item < 0 || item >= count_) return std::nullopt;
    return item;
  }
  if (names_) {
    const auto it = std::lower_bound(ordinals_.begin(), ordinals_.end(), static_cast<std::uint32_t>(item));
    if (it == ordinals_.end() || *it != static_cast<std::uint32_t>(item)) return std::nullopt;
    return static_cast<int>(it - ordinals_.begin());
  }
  if (useRecords_) {
    const auto it = std::find(records_.begin(), records_.end(), item);
    if (it == records_.end()) return std::nullopt;
    return static_cast<int>(it - records_.begin());
  }
  if (item < first_ || item - first_ >= count_) return std::nullopt;
  return item - first_;
}

int ListModel::lastTop() const { return std::max(0, count_ - visible_); }

std::uint32_t ListModel::selectedMineralId() const {
  if (!names_ || count_ == 0) return 0;
  return nodeAt(selection_).id;
}

std::optional<std::uint32_t> ListModel::selectedOrdinal() const {
  if (!names_ || count_ == 0) return std::nullopt;
  return static_cast<std::uint32_t>(itemAt(selection_));
}

std::int32_t ListModel::selectedRecord() const {
  if (names_ || count_ == 0) return 0;
  return itemAt(selection_);
}

void ListModel::setVisibleRows(int rows) {
  visible_ = std::max(1, rows);
  top_ = std::clamp(top_, 0, lastTop());
  keepSelectionVisible();
}

void ListModel::scrollTo(int row) { top_ = std::clamp(row, 0, lastTop()); }

void ListModel::keepSelectionVisible() {
  if (selection_ < top_) top_ = selection_;
  else if (selection_ >= top_ + visible_) top_ = selection_ - visible_ + 1;
  top_ = std::clamp(top_, 0, lastTop());
}

bool ListModel::select(int row) {
  if (count_ == 0) return false;
  row = std::clamp(row, 0, count_ - 1);
  const bool changed = row != selection_;
  selection_ = row;
  keepSelectionVisible();
  return changed;
}

bool ListModel::lineUp() {
  if (selection_ <= 0) return false;
  return select(selection_ - 1);
}

bool ListModel::lineDown() {
  if (selection_ >= count_ - 1) return false;
  return select(selection_ + 1);
}

bool ListModel::pageUp() {
  if (selection_ <= 0) return false;
  return select(std::max(0, selection_ - visible_));
}

bool ListModel::pageDown() {
  if (selection_ >= count_ - 1) return false;
  return select(std::min(count_ - 1, selection_ + visible_));
}

void ListModel::home() { select(0); }

void ListModel::end() { select(count_ - 1); }

bool ListModel::searchName(std::string_view text) {
  if (!names_ || count_ == 0 || text.empty()) return false;
  if (nodeAt(selection_).name == text) return false;
  int row = 0;
  const char initial = foldInitial(text.front());
  if (buckets_ && initial >= 'a' && initial <= 'z') {
    if (const auto start = names_->bucketStart(initial - 'a')) row = static_cast<int>(*start);
  }
  const int n = static_cast<int>(text.size());
  const int m = foldedPrefixLength(text, n);
  while (row < count_ - 1 && collateCompare(text, nodeAt(row).name, n, m) > 0) ++row;
  if (collateCompare(text, nodeAt(row).name, n, m) > 0) return false;
  return select(row);
}

std::optional<std::string> ListModel::complete(std::string_view text) {
  if (!names_ || count_ == 0 || text.empty()) return std::nullopt;
  // The type-ahead has already moved the selection to the first name that
  // does not sort before the text; completing starts from there.
  searchName(text);
  if (!beginsWith(nodeAt(selection_).name, text)) return std::nullopt;
  int firstRow = selection_;
  while (firstRow > 0 && beginsWith(nodeAt(firstRow - 1).name, text)) --firstRow;
  int lastRow = selection_;
  while (lastRow < count_ - 1 && beginsWith(nodeAt(lastRow + 1).name, text)) ++lastRow;
  const std::string& model = nodeAt(firstRow).name;
  std::string result;
  if (firstRow == lastRow) {
    result = model;
  } else {
    // The longest prefix of the first name that every name of the run shares.
    std::size_t k = model.size();
    for (; k > text.size(); --k) {
      const std::string_view prefix(model.data(), k);
      bool shared = true;
      for (int r = firstRow + 1; r <= lastRow && shared; ++r) shared = beginsWith(nodeAt(r).name, prefix);
      if (shared) break;
    }
    result = k > text.size() ? model.substr(0, k) : std::string(text);
  }
  select(firstRow);
  searchName(result);
  return result;
}

bool ListModel::searchLetter(char letter, const std::function<int(std::int32_t)>& firstChar) {
  if (names_ || count_ == 0) return false;
  const int target = foldedByte(static_cast<unsigned char>(letter));
  // Records without a first character (specimens) cannot be found by letter.
  if (foldedByte(firstChar(itemAt(selection_))) < 0) return false;
  int row = selection_;
  while (row > 0 && foldedByte(firstChar(itemAt(row - 1))) >= target) --row;
  while (row < count_ - 1 && foldedByte(firstChar(itemAt(row))) < target) ++row;
  return select(row);
}

}  // namespace kalvor::views
