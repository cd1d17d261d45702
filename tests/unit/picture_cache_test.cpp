// The cache of decoded pictures: hits decode nothing, the two picture files
// do not share entries, and a full cache replaces the least used picture.
#include <gtest/gtest.h>

#include "refdb/lzw.h"
#include "refdb/picture_cache.h"

namespace kalvor {
namespace {

// A picture file of `count` 16 x 2 pictures, picture i with its first byte i.
PictureFile makeFile(int count) {
  PictureFileWriter w;
  for (int i = 0; i < count; ++i) {
    Bytes bitmap(pictureRowBytes(16) * 2, 0xFF);
    bitmap[0] = static_cast<std::uint8_t>(i);
    w.addPicture(16, 2, "Bild " + std::to_string(i), bitmap);
  }
  return *PictureFile::fromBytes(w.build());
}

TEST(PictureCache, HitsMissesSourcesAndReplacement) {
  const PictureFile file = makeFile(PictureCache::kEntries + 1);
  PictureCache cache;
  const std::uint32_t first = *file.pictureOffset(0);
  const Picture* p = cache.fetch(file, PictureSource::kMineralPictures, first);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->bitmap[0], 0);
  EXPECT_EQ(p->caption, "Bild 0");
  EXPECT_EQ(cache.fetch(file, PictureSource::kMineralPictures, first), p);
  EXPECT_EQ(cache.decodeCount(), 1u);
  EXPECT_EQ(cache.counterOf(0), 2);
  // The same offset in the other file is another picture.
  cache.fetch(file, PictureSource::kProgramPictures, first);
  EXPECT_EQ(cache.decodeCount(), 2u);

  // Fill the cache; picture 0 is used often, so it outlives a miss of a full cache.
  for (std::uint32_t n = 1; n < PictureCache::kEntries - 1; ++n) {
    cache.fetch(file, PictureSource::kMineralPictures, *file.pictureOffset(n));
    cache.fetch(file, PictureSource::kMineralPictures, first);
  }
  EXPECT_EQ(cache.decodeCount(), PictureCache::kEntries);
  const Picture* last =
      cache.fetch(file, PictureSource::kMineralPictures, *file.pictureOffset(PictureCache::kEntries));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->bitmap[0], PictureCache::kEntries);
  EXPECT_EQ(cache.decodeCount(), PictureCache::kEntries + 1);
  const std::uint32_t before = cache.decodeCount();
  EXPECT_EQ(cache.fetch(file, PictureSource::kMineralPictures, first)->bitmap[0], 0);
  EXPECT_EQ(cache.decodeCount(), before);

  // An offset that holds no picture is not cached; release empties the cache.
  EXPECT_EQ(cache.fetch(file, PictureSource::kMineralPictures, 1u << 30), nullptr);
  cache.release();
  cache.fetch(file, PictureSource::kMineralPictures, first);
  EXPECT_EQ(cache.decodeCount(), before + 1);
}

}  // namespace
}  // namespace kalvor
