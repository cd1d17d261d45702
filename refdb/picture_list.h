// "kalvor.zi": for each mineral the list of its pictures in "kalvor.pf".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "refdb/mineral_record.h"
#include "refdb/reference_format.h"

namespace kalvor {

// One 102-byte picture entry: the picture's number in kalvor.pf and its caption.
// The bytes are kept whole, so an entry survives a round trip unchanged.
class PictureEntry {
 public:
  using Image = std::array<std::uint8_t, refformat::kPictureEntrySize>;
  PictureEntry() { bytes_.fill(0); }
  explicit PictureEntry(const Image& image) : bytes_(image) {}
  // An entry with this picture number and caption (cut to 99 bytes plus NUL).
  static PictureEntry make(std::uint16_t pictureNumber, std::string_view caption);

  const Image& bytes() const { return bytes_; }
  std::uint16_t pictureNumber() const {
    return loadU16(bytes_.data() + refformat::kPictureEntryNumberOffset);
  }
  // The caption (Windows-1252) up to its NUL or the end of the entry.
  std::string caption() const;
  bool operator==(const PictureEntry&) const = default;

 private:
  Image bytes_;
};

// Read access to "kalvor.zi", held in memory, for the N entries of kalvor.mi.
class PictureListFile {
 public:
  // Reads "kalvor.zi" from `folder`; nothing when it is missing.
  static std::optional<PictureListFile> open(const std::string& folder,
                                             std::uint32_t mineralCount);
  // The same from the file's bytes. Only the first N of its K offsets are used,
  // and offsets missing from a short table count as 0.
  static PictureListFile fromBytes(Bytes file, std::uint32_t mineralCount);

  // The picture entries of mineral n as a fresh list; empty when n >= N, its
  // offset is 0 or outside the file, or the block names another mineral. Entries
  // cut short by the end of the file are left out.
  std::vector<PictureEntry> pictureListFor(MineralNumber n) const;

 private:
  PictureListFile(Bytes file, std::uint32_t mineralCount)
      : file_(std::move(file)), mineralCount_(mineralCount) {}
  Bytes file_;
  std::uint32_t mineralCount_;
};

// Builds the bytes of "kalvor.zi" for N minerals; minerals without pictures get offset 0.
class PictureListWriter {
 public:
  explicit PictureListWriter(std::uint32_t mineralCount) : lists_(mineralCount) {}
  // Sets the picture entries of mineral n; false when n >= N or there are more than 32767.
  bool setList(MineralNumber n, std::vector<PictureEntry> entries);
  // The file: u32 K = N, K offsets, then each block (i16 E, i16 number, E entries).
  Bytes build() const;

 private:
  std::vector<std::vector<PictureEntry>> lists_;
};

}  // namespace kalvor
