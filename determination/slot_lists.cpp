#include "determination/slot_lists.h"

#include <algorithm>
#include <iterator>

namespace kalvor {

std::optional<MineralList> uniteMineralLists(std::optional<MineralList> a,
                                             std::optional<MineralList> b) {
  if (!a || a->empty()) return (b && !b->empty()) ? std::move(b) : std::nullopt;
  if (!b || b->empty()) return a;
  MineralList out;
  out.reserve(a->size() + b->size());
  std::set_union(a->begin(), a->end(), b->begin(), b->end(), std::back_inserter(out));
  return out;
}

std::optional<MineralList> restrictMineralList(std::optional<MineralList> running,
                                               std::optional<MineralList> next) {
  if (!running) return (next && !next->empty()) ? std::move(next) : std::nullopt;
  if (!next || next->empty() || running->empty()) return std::nullopt;
  MineralList out;
  out.reserve(std::min(running->size(), next->size()));
  std::set_intersection(running->begin(), running->end(), next->begin(), next->end(),
                        std::back_inserter(out));
  if (out.empty()) return std::nullopt;
  return out;
}

}  // namespace kalvor
