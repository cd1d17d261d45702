#include "refdb/picture_file.h"

#include <algorithm>

#include "base/file_io.h"
#include "refdb/lzw.h"
#include "refdb/reference_format.h"

namespace kalvor {

namespace rf = refformat;

std::optional<PictureFile> PictureFile::open(const std::string& path) {
  std::optional<Bytes> file = readWholeFile(path);
  if (!file) return std::nullopt;
  return fromBytes(std::move(*file));
}

std::optional<PictureFile> PictureFile::fromBytes(Bytes file) {
  if (file.size() < rf::kPictureTableOffset) return std::nullopt;
  const std::uint32_t count = loadU32(file.data());
  if ((file.size() - rf::kPictureTableOffset) / 4 < count) return std::nullopt;
  return PictureFile(std::move(file), count);
}

std::optional<std::uint32_t> PictureFile::pictureOffset(std::uint32_t n) const {
  if (n >= count_) return std::nullopt;
  return loadU32(file_.data() + rf::kPictureTableOffset + 4 * std::size_t{n});
}

std::optional<PictureHeader> PictureFile::readHeader(std::uint32_t offset) const {
  if (offset >= file_.size()) return std::nullopt;
  ByteReader in{std::span<const std::uint8_t>(file_).subspan(offset)};
  PictureHeader h;
  h.width = in.u16();
  h.height = in.u16();
  const std::size_t captionLength = in.u8();
  h.caption.resize(captionLength);
  in.take(reinterpret_cast<std::uint8_t*>(h.caption.data()), captionLength);
  if (in.wasShort()) return std::nullopt;
  h.dataOffset = static_cast<std::uint32_t>(offset + in.position());
  return h;
}

std::optional<Bytes> PictureFile::decodeAt(std::uint32_t offset, std::uint16_t width,
                                           std::uint16_t height) const {
  if (offset > file_.size()) return std::nullopt;
  if (std::size_t{height} * pictureRowBytes(width) > rf::kMaxPictureBitmapBytes)
    return std::nullopt;
  // Every code of the stream takes two bits at least and stands for 4,096
  // pixels at most: a size that the rest of the file could never fill is a
  // damaged header, and its bitmap is not even allocated.
  if (std::size_t{width} * height > (file_.size() - offset) * 4 * 4096) return std::nullopt;
  return decodePicture(std::span(file_).subspan(offset), width, height);
}

std::optional<Picture> PictureFile::readPicture(std::uint32_t offset) const {
  std::optional<PictureHeader> header = readHeader(offset);
  if (!header) return std::nullopt;
  std::optional<Bytes> bitmap = decodeAt(header->dataOffset, header->width, header->height);
  if (!bitmap) return std::nullopt;
  return Picture{header->width, header->height, std::move(header->caption), std::move(*bitmap)};
}

std::uint32_t PictureFileWriter::addPicture(std::uint16_t width, std::uint16_t height,
                                            std::string_view caption,
                                            std::span<const std::uint8_t> bitmap) {
  return addEncoded(width, height, caption, encodePicture(bitmap, width, height));
}

std::uint32_t PictureFileWriter::addEncoded(std::uint16_t width, std::uint16_t height,
                                            std::string_view caption,
                                            std::span<const std::uint8_t> stream) {
  ByteWriter out;
  out.u16(width);
  out.u16(height);
  const std::size_t n = std::min(caption.size(), rf::kMaxPictureCaption);
  out.u8(static_cast<std::uint8_t>(n));
  out.bytes(caption.substr(0, n));
  out.bytes(stream);
  pictures_.push_back(out.take());
  return static_cast<std::uint32_t>(pictures_.size() - 1);
}

Bytes PictureFileWriter::build() const {
  ByteWriter out;
  out.u32(static_cast<std::uint32_t>(pictures_.size()));
  std::size_t at = rf::kPictureTableOffset + 4 * pictures_.size();
  for (const Bytes& p : pictures_) {
    out.u32(static_cast<std::uint32_t>(at));
    at += p.size();
  }
  for (const Bytes& p : pictures_) out.bytes(p);
  return out.take();
}

}  // namespace kalvor
