// Feeds arbitrary bytes to the locality and specimen record parsers and to the
// sort-order side-file parser: they must refuse or parse, never read out of
// bounds; whatever they accept must encode and parse back to the same record.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "collection/locality.h"
#include "collection/sort_order.h"
#include "collection/mineral_specimen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (auto loc = kalvor::decodeLocality(bytes, false)) {
    const auto again = kalvor::decodeLocality(kalvor::encodeLocality(*loc), false);
    if (!again || again->minerals != loc->minerals || again->specimens != loc->specimens) std::abort();
  }
  kalvor::decodeLocality(bytes, true);
  if (auto s = kalvor::decodeSpecimen(bytes)) {
    const auto again = kalvor::decodeSpecimen(kalvor::encodeSpecimen(*s));
    if (!again || again->minerals != s->minerals || again->description != s->description) std::abort();
  }
  if (size >= 2) kalvor::decodeSortOrder(bytes, static_cast<std::uint32_t>(data[0] | (data[1] << 8)));
  return 0;
}
