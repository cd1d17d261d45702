// Encodes arbitrary bytes as a QR code: anything up to 213 bytes must give a
// symbol of the right size with its finder patterns, longer data nothing.
// The first byte chooses the mask; a zero lets the encoder weigh all eight.
// Weighing costs eight penalty counts, so only some inputs ask for it.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "labels/qr_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int mask = data[0] == 0 ? -1 : data[0] % 8;
  const std::span<const std::uint8_t> payload(data + 1, size - 1);
  const auto code = kalvor::encodeQrCode(payload, 1, mask);
  if (payload.size() > 213) {
    if (code) std::abort();
    return 0;
  }
  if (!code || code->size != 17 + 4 * code->version || code->mask < 0 || code->mask > 7) std::abort();
  if (mask >= 0 && code->mask != mask) std::abort();
  if (code->modules.size() != static_cast<std::size_t>(code->size * code->size)) std::abort();
  if (!code->dark(0, 0) || !code->dark(3, 3) || code->dark(7, 7)) std::abort();
  return 0;
}
