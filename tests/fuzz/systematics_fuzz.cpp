// Feeds arbitrary bytes to the kalvor.sy loader as the file's content and
// assembles texts for numbers taken from the input and from the loaded keys.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "refdb/systematics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const kalvor::Systematics sy = kalvor::Systematics::fromContent(content);

  for (const auto& e : sy.strunzTable().entries) {
    (void)sy.strunzText(e.number);
    if (e.textOffset > size) __builtin_trap();
  }
  for (const auto& e : sy.heyTable()) {
    (void)sy.heyText(e.number);
    if (e.textOffset > size) __builtin_trap();
  }
  if (size >= 8) {
    kalvor::StrunzNumber n = kalvor::loadStrunzNumber(data);
    (void)sy.strunzText(n);
    (void)kalvor::formatStrunzNumber(n);
    (void)sy.heyText(kalvor::loadHeyNumber(data + 5));
  }
  (void)kalvor::parseStrunzNumber(content.substr(0, 64));
  (void)kalvor::parseHeyNumber(content.substr(0, 64));
  return 0;
}
