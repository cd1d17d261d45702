// Fuzzes the LZW picture decoder. Input: u16 width (mod 320), u8 rows (mod 48),
// then the stream. Also encodes the input bytes as a bitmap and checks the
// round trip. Pictures stay small: every row-end case (width mod 16) and
// every table state is reached within them, and small ones keep the
// executions per second high.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "refdb/lzw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvor;
  if (size < 3) return 0;
  const std::size_t width = static_cast<std::size_t>(data[0] | (data[1] << 8)) % 320;
  const std::size_t rows = data[2] % 48;
  const std::span<const std::uint8_t> stream(data + 3, size - 3);

  const std::size_t full = rows * pictureRowBytes(width);
  Bytes out(full, 0xFF);
  const std::optional<std::size_t> pixels = decodePicture(stream, width, rows, out);
  if (pixels && *pixels > width * rows) std::abort();
  // A buffer half as long must never be overrun (ASan watches the heap block).
  Bytes half(full / 2, 0xFF);
  decodePicture(stream, width, rows, half);

  // Round trip: the stream bytes read as a bitmap of this width.
  if (width > 0) {
    const std::size_t bitmapRows = std::min<std::size_t>(stream.size() / pictureRowBytes(width), 48);
    if (bitmapRows > 0) {
      const Bytes encoded = encodePicture(stream, width, bitmapRows);
      const std::optional<Bytes> decoded = decodePicture(encoded, width, bitmapRows);
      if (!decoded) std::abort();
      for (std::size_t y = 0; y < bitmapRows; ++y)
        for (std::size_t x = 0; x < width; ++x)
          if (pictureBit(*decoded, width, x, y) != pictureBit(stream, width, x, y)) std::abort();
    }
  }
  return 0;
}
