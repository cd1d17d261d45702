// The cache of decoded pictures shared by everything that draws pictures (the
// Drawing window, the start logo, the Info dialog): 60 entries, each lookup
// ages the entries it passes, and a miss replaces the first entry with the
// lowest use counter, so pictures shown again and again stay decoded.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "refdb/picture_file.h"

namespace kalvor {

// Which picture file a cached picture came from: the offsets of "kalvor.pf"
// and "logos.pf" overlap, so the offset alone is no key.
enum class PictureSource : std::uint8_t { kMineralPictures = 0, kProgramPictures = 1 };

class PictureCache {
 public:
  static constexpr std::size_t kEntries = 60;

  // The decoded picture at `offset` of `file`, from the cache or decoded now
  // (and kept); null when it cannot be decoded. The pointer stays valid until
  // the next fetch or release.
  const Picture* fetch(const PictureFile& file, PictureSource source, std::uint32_t offset);
  // Frees every cached picture (shut-down, low memory).
  void release();

  // Pictures decoded since the cache was made (a hit decodes nothing).
  std::uint32_t decodeCount() const { return decodes_; }
  // The use counter of entry i, for the tests of the aging rule.
  std::int32_t counterOf(std::size_t i) const { return entries_[i].counter; }

 private:
  struct Entry {
    bool used = false;
    PictureSource source = PictureSource::kMineralPictures;
    std::uint32_t offset = 0;
    std::int32_t counter = 0;
    std::unique_ptr<Picture> picture;
  };
  std::array<Entry, kEntries> entries_;
  std::uint32_t decodes_ = 0;
};

}  // namespace kalvor
