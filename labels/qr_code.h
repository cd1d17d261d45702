// A QR code encoder for the labels: byte mode, error correction level M,
// versions 1 to 10 (up to 213 bytes), Reed-Solomon codes over GF(256), and
// the choice among the eight masks by the standard penalty rules. The
// platform offers no QR library on every system the program runs on, so
// the core has its own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kalvor {

inline constexpr int kMaxQrVersion = 10;

// A finished symbol: size × size modules, row by row, 1 = dark.
struct QrCode {
  int version = 0;
  int mask = 0;
  int size = 0;  // 17 + 4 × version
  std::vector<std::uint8_t> modules;
  bool dark(int x, int y) const { return modules[static_cast<std::size_t>(y * size + x)] != 0; }
};

// Bytes a symbol of `version` (1-10) holds at level M in byte mode.
int qrByteCapacity(int version);

// Encodes `data` in the smallest version from `minVersion` on (at most 10)
// that holds it. `mask` 0-7 forces that mask; -1 takes the one with the
// smallest penalty (the first of equals). Nothing when the data does not
// fit version 10 or an argument is out of range.
std::optional<QrCode> encodeQrCode(std::span<const std::uint8_t> data, int minVersion = 1, int mask = -1);
std::optional<QrCode> encodeQrCode(std::string_view data, int minVersion = 1, int mask = -1);

// The penalty score of a finished symbol (rules N1 to N4).
int qrPenalty(const QrCode& code);

}  // namespace kalvor
