// Sets of minerals as the searches handle them: ascending MineralNumbers.
// "Absent" (std::nullopt) is the empty set as a state of its own: for a
// running search result it means "no restriction yet".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/bytes.h"

namespace kalvor {

// 0-based position of an entry in "kalvor.mi"/"kalvor.db", aliases included.
using MineralNumber = std::uint16_t;

// Ascending MineralNumbers, each once. On disk: u16 count, then the u16 numbers.
struct NumberList {
  std::vector<MineralNumber> numbers;

  std::size_t size() const { return numbers.size(); }
  bool empty() const { return numbers.empty(); }
  bool contains(MineralNumber n) const;
  bool operator==(const NumberList&) const = default;
};

using OptionalNumberList = std::optional<NumberList>;

// Numbers present in both lists; absent when there are none (never a present
// empty list). An absent operand is the empty set.
OptionalNumberList intersectNumberLists(const OptionalNumberList& a, const OptionalNumberList& b);

// Numbers present in either list, each once, ascending. When one input is
// absent the other is returned as it is; two present lists without any number give absent.
OptionalNumberList uniteNumberLists(OptionalNumberList a, OptionalNumberList b);

// Narrows a search's running result (absent = no restriction yet) by `next`:
// absent running gives `next` unchanged; absent `next` gives absent; else the intersection.
OptionalNumberList restrictNumberList(OptionalNumberList running, OptionalNumberList next);

// Serialises the list as u16 count + u16 numbers (count capped at 65535).
Bytes encodeNumberList(const NumberList& list);
// Reads a list from its serialised form; nothing when the bytes are shorter than
// the count says. `consumed` (optional) receives the bytes used.
std::optional<NumberList> decodeNumberList(std::span<const std::uint8_t> bytes,
                                           std::size_t* consumed = nullptr);

}  // namespace kalvor
