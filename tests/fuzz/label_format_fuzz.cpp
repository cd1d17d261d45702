// Feeds arbitrary text to the reader of a "Format%d" value: it must refuse
// or parse without reading past the value, keep at most 39 characters of
// name, and what it accepts must survive writing and reading back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "labels/label_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto format = kalvor::parseLabelFormatEntry(text);
  if (!format) return 0;
  if (format->name.size() > kalvor::kMaxLabelFormatName) std::abort();
  const auto again = kalvor::parseLabelFormatEntry(kalvor::labelFormatEntry(*format));
  if (!again || again->name != format->name) std::abort();
  // A format without a name is read as all zeros, whatever followed.
  if (format->name.empty()) return 0;
  if (again->fontSize != format->fontSize || again->indexFontSize != format->indexFontSize ||
      again->flags != format->flags)
    std::abort();
  return 0;
}
