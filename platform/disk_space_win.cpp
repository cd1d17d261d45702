#include <windows.h>

#include "platform/disk_space.h"

namespace kalvor {

std::optional<std::uint64_t> freeDiskSpace(const std::string& folder) {
  // GetDiskFreeSpaceExA reports the bytes as 64-bit values; the older
  // sectors x bytes x clusters product overflows 32 bits on any disk of
  // more than 4 GB and could refuse to start with plenty of space left.
  ULARGE_INTEGER available{};
  const char* path = folder.empty() ? nullptr : folder.c_str();
  std::string withSlash;
  if (path != nullptr && folder.back() != '\\' && folder.back() != '/') {
    withSlash = folder + "\\";
    path = withSlash.c_str();
  }
  if (!GetDiskFreeSpaceExA(path, &available, nullptr, nullptr)) return std::nullopt;
  return static_cast<std::uint64_t>(available.QuadPart);
}

}  // namespace kalvor
