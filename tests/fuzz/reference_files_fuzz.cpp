// Fuzzes the readers of kalvor.gl, kalvor.lf, kalvor.zi and the picture files.
// The first byte picks the format; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "refdb/drawing_blocks.h"
#include "refdb/glossary.h"
#include "refdb/picture_file.h"
#include "refdb/picture_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvor;
  if (size < 1) return 0;
  Bytes file(data + 1, data + size);
  constexpr std::uint32_t kMinerals = 64;
  switch (data[0] % 4) {
    case 0: {
      std::optional<Glossary> g = Glossary::fromBytes(file);
      if (!g) return 0;
      const unsigned n = g->entryCount() < 300 ? g->entryCount() + 1u : 300u;
      for (unsigned i = 0; i < n; ++i) {
        std::optional<std::string> e = g->entry(static_cast<std::uint16_t>(i));
        if (e && e->size() > size) std::abort();
      }
      break;
    }
    case 1: {
      const DrawingFile lf = DrawingFile::fromBytes(file, kMinerals);
      for (std::uint32_t i = 0; i <= kMinerals; ++i) {
        std::optional<DrawingBlock> b = lf.drawingBlockFor(static_cast<MineralNumber>(i));
        if (!b) continue;
        if (b->drawings.size() > 23 || b->sources.size() != b->drawings.size()) std::abort();
        for (std::size_t d = 0; d < b->drawings.size(); ++d) {
          for (std::uint32_t v : b->valuesOf(d)) (void)v;
          (void)b->sources[d].note();
        }
      }
      break;
    }
    case 2: {
      const PictureListFile zi = PictureListFile::fromBytes(file, kMinerals);
      for (std::uint32_t i = 0; i <= kMinerals; ++i)
        for (const PictureEntry& e : zi.pictureListFor(static_cast<MineralNumber>(i)))
          (void)e.caption();
      break;
    }
    default: {
      std::optional<PictureFile> pf = PictureFile::fromBytes(file);
      if (!pf) return 0;
      const std::uint32_t n = pf->pictureCount() < 16 ? pf->pictureCount() : 16;
      for (std::uint32_t i = 0; i < n; ++i) {
        std::optional<std::uint32_t> at = pf->pictureOffset(i);
        if (!at) std::abort();
        std::optional<Picture> p = pf->readPicture(*at);
        if (p && p->bitmap.size() != std::size_t{p->height} * ((p->width + 15u) / 16u * 2u))
          std::abort();
      }
      break;
    }
  }
  return 0;
}
