#include "determination/description_links.h"

namespace kalvor {

std::optional<std::size_t> LinkLevels::openableAt(const std::vector<DescriptionLink>& links, int x,
                                                  int y) const {
  for (std::size_t i = 0; i < links.size(); ++i) {
    const DescriptionLink& link = links[i];
    if (x < link.left || x >= link.right || y < link.top || y >= link.bottom) continue;
    if (!valid(link.kind)) continue;
    if (openAt(link.kind) == static_cast<int>(i) + 1) return std::nullopt;
    return i;
  }
  return std::nullopt;
}

bool LinkLevels::open(std::size_t index, int level) {
  if (!valid(level)) return false;
  const int entry = static_cast<int>(index) + 1;
  if (levels_[static_cast<std::size_t>(level)] == entry) return false;
  levels_[static_cast<std::size_t>(level)] = entry;
  for (int deeper = level + 1; deeper < kLinkLevels; ++deeper) levels_[static_cast<std::size_t>(deeper)] = 0;
  return true;
}

std::vector<std::size_t> LinkLevels::opened(const std::vector<DescriptionLink>& links) const {
  std::vector<std::size_t> result;
  for (int level = 0; level < kLinkLevels; ++level) {
    const int entry = levels_[static_cast<std::size_t>(level)];
    if (entry > 0 && static_cast<std::size_t>(entry) <= links.size())
      result.push_back(static_cast<std::size_t>(entry - 1));
  }
  return result;
}

}  // namespace kalvor
