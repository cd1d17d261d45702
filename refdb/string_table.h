// The program's texts as generated from resources/*.tsv (Windows-1252).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvor {

struct StringTableEntry {
  std::uint16_t id;
  const char* text;  // Windows-1252, NUL-terminated
};

// String table, ids 10000..10119, ascending.
extern const StringTableEntry kStringTableEntries[];
extern const std::size_t kStringTableCount;

// Bubble-help texts of dialog controls, ids 1000..2000, ascending.
extern const StringTableEntry kHelpTextEntries[];
extern const std::size_t kHelpTextCount;

}  // namespace kalvor
