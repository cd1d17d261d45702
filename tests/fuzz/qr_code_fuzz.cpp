// Encodes arbitrary bytes as a QR code: anything up to 213 bytes must give a
// symbol of the right size with its finder patterns, longer data nothing.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "labels/qr_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto code = kalvor::encodeQrCode(std::span<const std::uint8_t>(data, size));
  if (size > 213) {
    if (code) std::abort();
    return 0;
  }
  if (!code || code->size != 17 + 4 * code->version || code->mask < 0 || code->mask > 7) std::abort();
  if (code->modules.size() != static_cast<std::size_t>(code->size * code->size)) std::abort();
  if (!code->dark(0, 0) || !code->dark(3, 3) || code->dark(7, 7)) std::abort();
  return 0;
}
