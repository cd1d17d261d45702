#include "determination/number_list.h"

#include <algorithm>
#include <utility>

namespace kalvor {

bool NumberList::contains(MineralNumber n) const {
  return std::binary_search(numbers.begin(), numbers.end(), n);
}

OptionalNumberList intersectNumberLists(const OptionalNumberList& a, const OptionalNumberList& b) {
  if (!a || !b) return std::nullopt;
  NumberList result;
  const std::vector<MineralNumber>& x = a->numbers;
  const std::vector<MineralNumber>& y = b->numbers;
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    if (x[i] < y[j]) {
      ++i;
    } else if (y[j] < x[i]) {
      ++j;
    } else {
      result.numbers.push_back(x[i]);
      ++i;
      ++j;
    }
  }
  if (result.empty()) return std::nullopt;
  return result;
}

OptionalNumberList uniteNumberLists(OptionalNumberList a, OptionalNumberList b) {
  if (!a) return b;
  if (!b) return a;
  // The merged list grows as needed: a slot read from a damaged index cannot
  // overrun a fixed buffer.
  NumberList result;
  const std::vector<MineralNumber>& x = a->numbers;
  const std::vector<MineralNumber>& y = b->numbers;
  result.numbers.reserve(x.size() + y.size());
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    if (x[i] < y[j]) {
      result.numbers.push_back(x[i++]);
    } else if (y[j] < x[i]) {
      result.numbers.push_back(y[j++]);
    } else {
      result.numbers.push_back(x[i]);
      ++i;
      ++j;
    }
  }
  result.numbers.insert(result.numbers.end(), x.begin() + static_cast<std::ptrdiff_t>(i), x.end());
  result.numbers.insert(result.numbers.end(), y.begin() + static_cast<std::ptrdiff_t>(j), y.end());
  if (result.empty()) return std::nullopt;
  return result;
}

OptionalNumberList restrictNumberList(OptionalNumberList running, OptionalNumberList next) {
  if (!running) return next;
  if (!next) return std::nullopt;
  return intersectNumberLists(running, next);
}

Bytes encodeNumberList(const NumberList& list) {
  ByteWriter out;
  const std::size_t count = std::min<std::size_t>(list.numbers.size(), 0xFFFF);
  out.u16(static_cast<std::uint16_t>(count));
  for (std::size_t k = 0; k < count; ++k) out.u16(list.numbers[k]);
  return out.take();
}

std::optional<NumberList> decodeNumberList(std::span<const std::uint8_t> bytes, std::size_t* consumed) {
  if (bytes.size() < 2) return std::nullopt;
  const std::size_t count = loadU16(bytes.data());
  if (bytes.size() - 2 < count * 2) return std::nullopt;
  NumberList list;
  list.numbers.reserve(count);
  for (std::size_t k = 0; k < count; ++k) list.numbers.push_back(loadU16(bytes.data() + 2 + 2 * k));
  if (consumed) *consumed = 2 + count * 2;
  return list;
}

}  // namespace kalvor
