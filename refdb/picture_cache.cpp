#include "refdb/picture_cache.h"

namespace kalvor {

const Picture* PictureCache::fetch(const PictureFile& file, PictureSource source, std::uint32_t offset) {
  // Empty entries count as the oldest, so they are filled before any picture is replaced.
  std::size_t victim = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    Entry& e = entries_[i];
    if (e.used && e.source == source && e.offset == offset) {
      ++e.counter;
      return e.picture.get();
    }
    --e.counter;
    const Entry& best = entries_[victim];
    const bool lower = e.used ? (best.used && e.counter < best.counter) : best.used;
    if (lower) victim = i;
  }
  std::optional<Picture> decoded = file.readPicture(offset);
  if (!decoded) return nullptr;
  ++decodes_;
  Entry& e = entries_[victim];
  e.used = true;
  e.source = source;
  e.offset = offset;
  e.counter = 1;
  e.picture = std::make_unique<Picture>(std::move(*decoded));
  return e.picture.get();
}

void PictureCache::release() {
  for (Entry& e : entries_) e = Entry{};
}

}  // namespace kalvor
