// Free space on the drive that holds a folder: the start-up refuses to
// rebuild the search index when too little is left.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalvor {

// Bytes available to the program on the drive holding `folder` ("" = the
// working directory), in 64 bits; nothing when the drive cannot be asked.
std::optional<std::uint64_t> freeDiskSpace(const std::string& folder);

}  // namespace kalvor
