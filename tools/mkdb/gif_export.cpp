#include "tools/mkdb/gif_export.h"

namespace kalvor::mkdb {

Bytes wrapPictureAsGif(const Bytes& fileBytes, const PictureHeader& header) {
  ByteWriter gif;
  gif.bytes(std::string_view("GIF89a"));
  gif.u16(header.width);
  gif.u16(header.height);
  gif.u8(0x80);  // a global colour table of two entries
  gif.u8(1);     // background: colour 1
  gif.u8(0);
  gif.bytes(std::span<const std::uint8_t>(std::initializer_list<std::uint8_t>{0, 0, 0, 255, 255, 255}));
  gif.u8(0x2C);  // image descriptor
  gif.u16(0);
  gif.u16(0);
  gif.u16(header.width);
  gif.u16(header.height);
  gif.u8(0);
  // Size byte and sub-blocks exactly as stored.
  std::size_t pos = header.dataOffset;
  if (pos < fileBytes.size()) gif.u8(fileBytes[pos++]);
  while (pos < fileBytes.size()) {
    const std::size_t n = fileBytes[pos];
    const std::size_t end = std::min(fileBytes.size(), pos + 1 + n);
    gif.bytes(std::span<const std::uint8_t>(fileBytes.data() + pos, end - pos));
    pos = end;
    if (n == 0) break;
  }
  gif.u8(0x3B);
  return gif.take();
}

}  // namespace kalvor::mkdb
