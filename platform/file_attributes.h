// Read-only marking of the collection files: the program marks "kalvor.fs"
// and "kalvor.st" read-only at shut-down so that nothing else writes them by
// accident, and makes them writable again when it opens them.
#pragma once

#include <string>

namespace kalvor {

// Marks the file read-only (true) or readable and writable (false).
// Returns false when the file is missing or its attributes cannot be changed.
bool setFileReadOnly(const std::string& path, bool readOnly);

// Returns true iff the file exists and is marked read-only.
bool isFileReadOnly(const std::string& path);

}  // namespace kalvor
