// The variable-length LZW code of the picture files (the code GIF uses):
// a decoder into monochrome rows padded to 16 bits, and the matching encoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "base/bytes.h"

namespace kalvor {

// Bytes of one decoded picture row: the width rounded up to 16 pixels, one bit each.
constexpr std::size_t pictureRowBytes(std::size_t width) { return (width + 15) / 16 * 2; }

// True iff pixel (x, y) of a decoded bitmap is set (1 = background); the first
// pixel of a byte is its highest bit. The caller keeps x < width and y inside.
inline bool pictureBit(std::span<const std::uint8_t> bitmap, std::size_t width, std::size_t x,
                       std::size_t y) {
  return (bitmap[y * pictureRowBytes(width) + x / 8] & (0x80u >> (x % 8))) != 0;
}

// Decodes an LZW stream (size byte, then length-prefixed sub-blocks ended by a
// length byte 0) into `rows` rows of `width` pixels in `out`, a non-zero pixel
// value setting its bit. Each row ends with its last partial byte; then one byte
// 0xFF follows when its length in bits modulo 16 is 1..7, one byte 0x00 when it
// is 8, nothing when it is 0. Decoding stops at the end code, when the data run
// out, at an invalid code, when the rows are complete or `out` is full; bytes
// not reached keep their value. Returns the number of pixels decoded, or
// nothing when the size byte is missing.
std::optional<std::size_t> decodePicture(std::span<const std::uint8_t> stream, std::size_t width,
                                         std::size_t rows, std::span<std::uint8_t> out);

// The same into a fresh bitmap of rows × pictureRowBytes(width) bytes, filled
// with 0xFF (background) before decoding. Nothing when the size byte is missing.
std::optional<Bytes> decodePicture(std::span<const std::uint8_t> stream, std::size_t width,
                                   std::size_t rows);

// Encodes a monochrome bitmap in the decoded row layout (rows × pictureRowBytes(width)
// bytes; bytes missing from a short span count as background) into an LZW stream
// that decodePicture turns back into the same pixels. Minimum code size 2.
Bytes encodePicture(std::span<const std::uint8_t> bitmap, std::size_t width, std::size_t rows);

}  // namespace kalvor
