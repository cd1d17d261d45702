// "kalvor.pf" and "logos.pf": monochrome pictures, each with a small header and
// its pixels in the LZW picture code (refdb/lzw.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace kalvor {

// The header in front of a picture's pixel data.
struct PictureHeader {
  std::uint16_t width = 0;   // pixels
  std::uint16_t height = 0;  // pixels
  std::string caption;       // Windows-1252, at most 255 bytes
  std::uint32_t dataOffset = 0;  // file offset of the LZW stream
  bool operator==(const PictureHeader&) const = default;
};

// A decoded picture: rows of pictureRowBytes(width) bytes, 1 bits = background.
struct Picture {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::string caption;
  Bytes bitmap;
  bool operator==(const Picture&) const = default;
};

// Read access to a picture file, held in memory. Decoded pictures are fresh values
// owned by the caller; caching them is the drawing code's business.
class PictureFile {
 public:
  // Reads the file at `path` (kalvor.pf or logos.pf in the data folder); nothing
  // when it is missing or too short for its count.
  static std::optional<PictureFile> open(const std::string& path);
  // The same from the file's bytes.
  static std::optional<PictureFile> fromBytes(Bytes file);

  // P, the number of pictures.
  std::uint32_t pictureCount() const { return count_; }
  // The file offset of picture n; nothing when n >= P or its table slot is missing.
  std::optional<std::uint32_t> pictureOffset(std::uint32_t n) const;
  // The header at `offset`; nothing when it lies outside the file or is cut short.
  std::optional<PictureHeader> readHeader(std::uint32_t offset) const;
  // The header and decoded pixels of the picture at `offset`; nothing when the
  // header is unreadable, the bitmap would exceed refformat::kMaxPictureBitmapBytes
  // or more pixels than the rest of the file could encode, or the stream has no
  // size byte. A damaged stream leaves background behind it.
  std::optional<Picture> readPicture(std::uint32_t offset) const;
  // Decodes a headerless LZW stream at `offset` with a size given by the caller.
  std::optional<Bytes> decodeAt(std::uint32_t offset, std::uint16_t width,
                                std::uint16_t height) const;

 private:
  PictureFile(Bytes file, std::uint32_t count) : file_(std::move(file)), count_(count) {}
  Bytes file_;
  std::uint32_t count_;
};

// Builds the bytes of a picture file: u32 count, the offsets, then each picture.
class PictureFileWriter {
 public:
  // Appends a picture from its bitmap (rows of pictureRowBytes(width) bytes),
  // LZW-encoded; returns its number. The caption is cut to 255 bytes.
  std::uint32_t addPicture(std::uint16_t width, std::uint16_t height, std::string_view caption,
                           std::span<const std::uint8_t> bitmap);
  // Appends a picture whose LZW stream is already made.
  std::uint32_t addEncoded(std::uint16_t width, std::uint16_t height, std::string_view caption,
                           std::span<const std::uint8_t> stream);
  std::size_t pictureCount() const { return pictures_.size(); }
  // The file's bytes.
  Bytes build() const;

 private:
  std::vector<Bytes> pictures_;  // each with its header
};

}  // namespace kalvor
