#include "refdb/picture_list.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"

namespace kalvor {

namespace rf = refformat;

PictureEntry PictureEntry::make(std::uint16_t pictureNumber, std::string_view caption) {
  PictureEntry e;
  storeU16(e.bytes_.data() + rf::kPictureEntryNumberOffset, pictureNumber);
  const std::size_t n = std::min(caption.size(), rf::kPictureEntryCaptionSize - 1);
  if (n > 0) std::memcpy(e.bytes_.data() + rf::kPictureEntryCaptionOffset, caption.data(), n);
  return e;
}

std::string PictureEntry::caption() const {
  const auto* p = reinterpret_cast<const char*>(bytes_.data() + rf::kPictureEntryCaptionOffset);
  return std::string(p, strnlen(p, rf::kPictureEntryCaptionSize));
}

std::optional<PictureListFile> PictureListFile::open(const std::string& folder,
                                                     std::uint32_t mineralCount) {
  std::optional<Bytes> file = readWholeFile(joinPath(folder, rf::kPictureListFileName));
  if (!file) return std::nullopt;
  return fromBytes(std::move(*file), mineralCount);
}

PictureListFile PictureListFile::fromBytes(Bytes file, std::uint32_t mineralCount) {
  return PictureListFile(std::move(file), mineralCount);
}

std::vector<PictureEntry> PictureListFile::pictureListFor(MineralNumber n) const {
  std::vector<PictureEntry> out;
  if (n >= mineralCount_ || file_.size() < rf::kPictureListTableOffset) return out;
  // The table holds K offsets; a mineral beyond K has none (the table is N long).
  const std::uint32_t stored = loadU32(file_.data());
  if (n >= stored) return out;
  const std::size_t slot = rf::kPictureListTableOffset + 4 * std::size_t{n};
  if (slot + 4 > file_.size()) return out;
  const std::size_t offset = loadU32(file_.data() + slot);
  if (offset == 0 || offset > file_.size() || file_.size() - offset < 4) return out;
  const std::int16_t count = loadI16(file_.data() + offset);
  const std::int16_t number = loadI16(file_.data() + offset + 2);
  if (static_cast<std::uint16_t>(number) != n || count <= 0) return out;
  const std::size_t room = (file_.size() - offset - 4) / rf::kPictureEntrySize;
  const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(count), room);
  out.reserve(kept);
  const std::uint8_t* p = file_.data() + offset + 4;
  for (std::size_t i = 0; i < kept; ++i, p += rf::kPictureEntrySize) {
    PictureEntry::Image image;
    std::memcpy(image.data(), p, image.size());
    out.emplace_back(image);
  }
  return out;
}

bool PictureListWriter::setList(MineralNumber n, std::vector<PictureEntry> entries) {
  if (n >= lists_.size() || entries.size() > 0x7FFF) return false;
  lists_[n] = std::move(entries);
  return true;
}

Bytes PictureListWriter::build() const {
  ByteWriter out;
  out.u32(static_cast<std::uint32_t>(lists_.size()));
  for (std::size_t i = 0; i < lists_.size(); ++i) out.u32(0);
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (lists_[i].empty()) continue;
    out.patchU32(rf::kPictureListTableOffset + 4 * i, static_cast<std::uint32_t>(out.size()));
    out.i16(static_cast<std::int16_t>(lists_[i].size()));
    out.i16(static_cast<std::int16_t>(i));
    for (const PictureEntry& e : lists_[i]) out.bytes(e.bytes());
  }
  return out.take();
}

}  // namespace kalvor
