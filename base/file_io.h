// Whole-file reads and writes of the small reference files, by plain name.
#pragma once

#include <optional>
#include <string>

#include "base/bytes.h"

namespace kalvor {

// Returns the whole content of the file, or nothing when it cannot be opened or read.
std::optional<Bytes> readWholeFile(const std::string& path);

// Writes the bytes to a temporary file beside `path`, then renames it over
// `path`, so a reader never sees a half-written file. Returns true on success.
bool writeWholeFile(const std::string& path, const Bytes& data);

// Joins a folder and a plain file name ("" or "." keep the name as it is).
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace kalvor
