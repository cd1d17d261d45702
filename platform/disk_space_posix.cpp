#include <filesystem>

#include "platform/disk_space.h"

namespace kalvor {

std::optional<std::uint64_t> freeDiskSpace(const std::string& folder) {
  std::error_code ec;
  const std::filesystem::space_info info =
      std::filesystem::space(std::filesystem::path(folder.empty() ? "." : folder), ec);
  if (ec || info.available == static_cast<std::uintmax_t>(-1)) return std::nullopt;
  return static_cast<std::uint64_t>(info.available);
}

}  // namespace kalvor
