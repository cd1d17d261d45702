// The program's texts: the string table (ids 10000-10119) and the bubble-help
// texts of the dialog controls (ids 1000-2000), both generated from
// resources/*.tsv. All texts are Windows-1252.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "string_ids.h"  // generated: kalvor::strings::kStr...

namespace kalvor {

// Id of the first string-table text; callers pass the id minus this base.
inline constexpr unsigned kStringIdBase = 10000;  // NOLINT(id-literal): the table's range
// One past the last string-table id.
inline constexpr unsigned kStringIdEnd = 10120;

// Returns string-table text 10000 + n, or an empty text when the table holds
// none (as the platform loader leaves its buffer empty). The result is a value
// of its own, so any number of fetches may be held at once; there is no shared
// buffer to free at program end.
std::string loadResourceString(unsigned n);

// Appends text 10000 + n to `buffer`, then ", " when `separatorFlag` is
// non-zero, else a single blank. Returns `buffer`.
std::string& appendResourceString(std::string& buffer, unsigned n, int separatorFlag);

// Returns true iff `text` begins with text 10000 + n (case-sensitive,
// compared over the length of the table text). An id without text is the
// empty prefix, which every text begins with.
bool beginsWithResourceString(std::string_view text, unsigned n);

// Returns the bubble-help text of a dialog control, or nothing for an id
// outside 1000-2000 or an id that has no text.
std::optional<std::string> controlHelpText(int controlId);

}  // namespace kalvor
