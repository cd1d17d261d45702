#include "determination/colours.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kalvor {
namespace {

// Only bits 0-9 of the hue and 0-8 of intensity and shade carry meaning.
struct Masks {
  std::uint16_t hue;
  std::uint16_t intensity;
  std::uint16_t shade;
  bool operator==(const Masks&) const = default;
};

Masks masksOf(const ColourEntry& e) {
  return {static_cast<std::uint16_t>(e.hue & 0x3FF), static_cast<std::uint16_t>(e.intensity & 0x1FF),
          static_cast<std::uint16_t>(e.shade & 0x1FF)};
}

int bitCount(std::uint16_t v) {
  int n = 0;
  for (; v; v &= static_cast<std::uint16_t>(v - 1)) ++n;
  return n;
}

// The masks of "kalkweiß": every whitish colour shares a bit with each of them.
constexpr Masks kWhitish{0x1FF, 0x001, 0x001};

bool rowMatches(const Masks& sel, const Masks& row, bool exact) {
  if (sel.hue == 0 || sel.intensity == 0 || sel.shade == 0) {
    // "farblos": itself, and loosely every whitish colour.
    if (row == sel) return true;
    return !exact && (row.hue & kWhitish.hue) && (row.intensity & kWhitish.intensity) &&
           (row.shade & kWhitish.shade);
  }
  const Masks common{static_cast<std::uint16_t>(row.hue & sel.hue),
                     static_cast<std::uint16_t>(row.intensity & sel.intensity),
                     static_cast<std::uint16_t>(row.shade & sel.shade)};
  if (common.hue == 0 || common.intensity == 0 || common.shade == 0) return false;
  if (exact) return common == sel || common == row;
  // Two mixed colours are neighbours only when they share at least two hues.
  return bitCount(sel.hue) < 2 || bitCount(row.hue) < 2 || bitCount(common.hue) >= 2;
}

constexpr std::size_t kFarblosRow = 1;  // index of ColourNumber 2

}  // namespace

std::string_view colourNameOf(std::uint16_t v) {
  const std::size_t n = v & 0xFFF;
  if (n == 0 || n > kColourCount) return {};
  return colourTableRows()[n - 1].name;
}

std::string colourNameText(std::uint16_t v) { return std::string(colourNameOf(v)); }

ColourTable::ColourTable() : groups_(kColourCount, 0) { groups_[kFarblosRow] = 1; }

int ColourTable::buildColourGroups() {
  const std::span<const ColourEntry> rows = colourTableRows();
  std::fill(groups_.begin(), groups_.end(), 0);
  groups_[kFarblosRow] = 1;

  // "--" and "farblos" stay in front; the rest in byte order of their
  // Windows-1252 names, so umlauts and ß come after every plain letter.
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin() + 2, order.end(), [&](std::size_t a, std::size_t b) {
    return std::strcmp(rows[a].name, rows[b].name) < 0;  // strcmp compares as unsigned char
  });

  std::vector<std::string> entries(kMaxColourGroups);
  entries[0] = rows[kFarblosRow].name;
  int g = 2;
  for (std::size_t k = 2; k < order.size(); ++k) {
    const ColourEntry& row = rows[order[k]];
    if (!row.inList) continue;
    if (static_cast<std::size_t>(g - 1) >= entries.size()) break;  // choice list full
    // An offered name whose masks already form a group only fills the slot
    // that the next new group takes over.
    entries[static_cast<std::size_t>(g - 1)] = row.name;
    if (groups_[order[k]] != 0) continue;
    const Masks masks = masksOf(row);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (masksOf(rows[r]) == masks) groups_[r] = static_cast<ColourGroup>(g);
    }
    ++g;
  }
  entries.resize(static_cast<std::size_t>(g - 1));
  choices_ = std::move(entries);
  return g;
}

ColourGroup ColourTable::colourGroupOf(std::uint16_t n) const {
  if (n == 0 || n > groups_.size()) return 0;
  return groups_[n - 1u];
}

std::vector<ColourGroup> ColourTable::matchingColourGroups(ColourGroup g, bool exact) const {
  const std::span<const ColourEntry> rows = colourTableRows();
  std::vector<ColourGroup> result;
  std::size_t selected = rows.size();
  for (std::size_t r = kFarblosRow; r < rows.size(); ++r) {
    if (groups_[r] == g && g != 0) {
      selected = r;
      break;
    }
  }
  if (selected == rows.size()) return result;
  const Masks sel = masksOf(rows[selected]);
  std::vector<bool> taken(groups_.size() + 1, false);
  for (std::size_t r = kFarblosRow; r < rows.size(); ++r) {
    const ColourGroup group = groups_[r];
    // A row without a group has no index slot of its own.
    if (group <= 0 || taken[static_cast<std::size_t>(group)]) continue;
    if (!rowMatches(sel, masksOf(rows[r]), exact)) continue;
    taken[static_cast<std::size_t>(group)] = true;
    result.push_back(group);
  }
  return result;
}

OptionalNumberList ColourTable::colourSlots(ColourGroup g, int base, bool exact,
                                            const IndexSlotReader& readSlot) const {
  OptionalNumberList result;
  for (ColourGroup group : matchingColourGroups(g, exact)) {
    result = uniteNumberLists(std::move(result), readSlot(base + group));
  }
  return result;
}

}  // namespace kalvor
