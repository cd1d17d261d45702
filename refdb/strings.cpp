#include "refdb/strings.h"

#include <algorithm>
#include <span>

#include "refdb/string_table.h"

namespace kalvor {
namespace {

// Both generated tables are sorted by id, so a binary search finds a text.
const char* findText(std::span<const StringTableEntry> table, unsigned id) {
  const auto it = std::lower_bound(table.begin(), table.end(), id,
                                   [](const StringTableEntry& e, unsigned v) { return e.id < v; });
  if (it == table.end() || it->id != id) return nullptr;
  return it->text;
}

}  // namespace

std::string loadResourceString(unsigned n) {
  // Ids beyond the table wrap in the platform's 16-bit id; refuse them here
  // instead of silently fetching an unrelated text.
  if (n >= kStringIdEnd - kStringIdBase) return {};
  const char* text = findText({kStringTableEntries, kStringTableCount}, kStringIdBase + n);
  return text ? std::string(text) : std::string();
}

std::string& appendResourceString(std::string& buffer, unsigned n, int separatorFlag) {
  buffer += loadResourceString(n);
  buffer += separatorFlag != 0 ? ", " : " ";
  return buffer;
}

bool beginsWithResourceString(std::string_view text, unsigned n) {
  return text.starts_with(loadResourceString(n));
}

std::optional<std::string> controlHelpText(int controlId) {
  if (controlId < 1000 || controlId > 2000) return std::nullopt;
  const char* text = findText({kHelpTextEntries, kHelpTextCount}, static_cast<unsigned>(controlId));
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

}  // namespace kalvor
