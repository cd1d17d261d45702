// The links of a mineral page as the description window follows them: per
// nesting level (0-4) the link opened there, so that a double click opens a
// reference one level deeper and the opened ones stay marked.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "determination/description.h"

namespace kalvor {

inline constexpr int kLinkLevels = 5;

class LinkLevels {
 public:
  // Forgets every opened link (a new mineral).
  void clear() { levels_.fill(0); }
  // 1 + the index of the link open at `level`, 0 for none.
  int openAt(int level) const { return valid(level) ? levels_[static_cast<std::size_t>(level)] : 0; }
  // The link of `links` under (x, y) that can be opened: inside its
  // rectangle, of a level 0-4 and not already open there.
  std::optional<std::size_t> openableAt(const std::vector<DescriptionLink>& links, int x, int y) const;
  // Opens link `index` (of level `level`): deeper levels are cleared. False
  // when it is already open or the level is outside 0-4.
  bool open(std::size_t index, int level);
  // The links that are open, as indexes into `links`.
  std::vector<std::size_t> opened(const std::vector<DescriptionLink>& links) const;

 private:
  static bool valid(int level) { return level >= 0 && level < kLinkLevels; }
  std::array<int, kLinkLevels> levels_{};
};

}  // namespace kalvor
