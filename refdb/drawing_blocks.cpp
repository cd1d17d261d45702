#include "refdb/drawing_blocks.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"

namespace kalvor {

namespace rf = refformat;

DrawingSource DrawingSource::make(std::uint8_t volume, std::uint16_t plate, std::uint16_t figure,
                                  std::string_view note) {
  DrawingSource s;
  s.bytes_[rf::kSourceVolumeOffset] = volume;
  storeU16(s.bytes_.data() + rf::kSourcePlateOffset, plate);
  storeU16(s.bytes_.data() + rf::kSourceFigureOffset, figure);
  const std::size_t n = std::min(note.size(), rf::kSourceNoteSize - 1);
  if (n > 0) std::memcpy(s.bytes_.data() + rf::kSourceNoteOffset, note.data(), n);
  return s;
}

std::string DrawingSource::note() const {
  const auto* p = reinterpret_cast<const char*>(bytes_.data() + rf::kSourceNoteOffset);
  return std::string(p, strnlen(p, rf::kSourceNoteSize));
}

std::span<const std::uint32_t> DrawingBlock::valuesOf(std::size_t i) const {
  if (i >= drawings.size()) return {};
  const std::size_t first = drawings[i].firstValue & ~rf::kDrawingPreparedBit;
  const std::size_t count = drawings[i].valueCount;
  if (first > values.size() || values.size() - first < count) return {};
  return std::span<const std::uint32_t>(values).subspan(first, count);
}

std::optional<DrawingFile> DrawingFile::open(const std::string& folder,
                                             std::uint32_t mineralCount) {
  std::optional<Bytes> file = readWholeFile(joinPath(folder, rf::kDrawingFileName));
  if (!file) return std::nullopt;
  return fromBytes(std::move(*file), mineralCount);
}

DrawingFile DrawingFile::fromBytes(Bytes file, std::uint32_t mineralCount) {
  return DrawingFile(std::move(file), mineralCount);
}

std::optional<DrawingBlock> DrawingFile::drawingBlockFor(MineralNumber n) const {
  if (n >= mineralCount_) return std::nullopt;
  const std::size_t slot = rf::kDrawingHeaderSize + 4 * std::size_t{n};
  if (slot + 4 > file_.size()) return std::nullopt;
  const std::size_t offset = loadU32(file_.data() + slot);
  if (offset == 0 || offset >= file_.size()) return std::nullopt;

  ByteReader in{std::span<const std::uint8_t>(file_).subspan(offset)};
  const std::size_t f = in.u16();
  const std::size_t g = in.u16();
  // More than 23 drawings cannot be shown and marks a damaged block; checking
  // the sizes before allocating keeps a damaged count from costing memory.
  if (f > rf::kMaxDrawings) return std::nullopt;
  if (in.remaining() < f * (4 + rf::kDrawingSourceSize) + 4 * g) return std::nullopt;
  DrawingBlock block;
  block.drawings.resize(f);
  for (DrawingEntry& d : block.drawings) {
    d.firstValue = in.u16();
    d.valueCount = in.u16();
  }
  block.sources.resize(f);
  for (DrawingSource& s : block.sources) {
    DrawingSource::Image image;
    in.take(image.data(), image.size());
    s = DrawingSource(image);
  }
  block.values.resize(g);
  for (std::uint32_t& v : block.values) v = in.u32();
  return block;
}

bool DrawingFileWriter::setBlock(MineralNumber n, DrawingBlock block) {
  if (n >= blocks_.size() || block.drawings.size() > rf::kMaxDrawings ||
      block.sources.size() != block.drawings.size() || block.values.size() > 0xFFFF)
    return false;
  blocks_[n] = std::move(block);
  return true;
}

Bytes DrawingFileWriter::build() const {
  ByteWriter out;
  out.u32(static_cast<std::uint32_t>(blocks_.size()));
  for (std::size_t i = 0; i < blocks_.size(); ++i) out.u32(0);
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    if (!blocks_[i]) continue;
    const DrawingBlock& b = *blocks_[i];
    out.patchU32(rf::kDrawingHeaderSize + 4 * i, static_cast<std::uint32_t>(out.size()));
    out.u16(static_cast<std::uint16_t>(b.drawings.size()));
    out.u16(static_cast<std::uint16_t>(b.values.size()));
    for (const DrawingEntry& d : b.drawings) {
      out.u16(d.firstValue);
      out.u16(d.valueCount);
    }
    for (const DrawingSource& s : b.sources) out.bytes(s.bytes());
    for (std::uint32_t v : b.values) out.u32(v);
  }
  return out.take();
}

}  // namespace kalvor
