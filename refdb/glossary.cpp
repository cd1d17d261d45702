#include "refdb/glossary.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"
#include "refdb/reference_format.h"

namespace kalvor {

namespace rf = refformat;

std::optional<Glossary> Glossary::open(const std::string& folder) {
  std::optional<Bytes> file = readWholeFile(joinPath(folder, rf::kGlossaryFileName));
  if (!file) return std::nullopt;
  return fromBytes(std::move(*file));
}

std::optional<Glossary> Glossary::fromBytes(Bytes file) {
  if (file.size() < rf::kGlossaryTableOffset) return std::nullopt;
  const std::uint16_t count = loadU16(file.data());
  return Glossary(std::move(file), count);
}

std::optional<std::string> Glossary::entry(std::uint16_t index) const {
  if (index >= count_) return std::nullopt;
  const std::size_t slot = rf::kGlossaryTableOffset + 4 * std::size_t{index};
  if (slot + 4 > file_.size()) return std::nullopt;
  const std::size_t offset = loadU32(file_.data() + slot);
  if (offset > file_.size() || file_.size() - offset < 2) return std::nullopt;
  const std::size_t length = loadU16(file_.data() + offset);
  const std::size_t available = std::min(length, file_.size() - offset - 2);
  const auto* text = reinterpret_cast<const char*>(file_.data() + offset + 2);
  // The text is used as a C string everywhere: a NUL inside ends it.
  return std::string(text, strnlen(text, available));
}

std::optional<std::uint16_t> Glossary::findTerm(std::string_view term) const {
  for (std::uint16_t i = 0; i < count_; ++i) {
    const std::optional<std::string> text = entry(i);
    if (!text || text->empty() || (*text)[0] != '#') continue;
    const std::size_t end = text->find('#', 1);
    if (end != std::string::npos && std::string_view(*text).substr(1, end - 1) == term) return i;
  }
  return std::nullopt;
}

Bytes buildGlossaryFile(std::span<const std::string> entries) {
  const std::size_t count = std::min<std::size_t>(entries.size(), 0xFFFF);
  ByteWriter out;
  out.u16(static_cast<std::uint16_t>(count));
  for (std::size_t i = 0; i < count; ++i) out.u32(0);
  for (std::size_t i = 0; i < count; ++i) {
    out.patchU32(rf::kGlossaryTableOffset + 4 * i, static_cast<std::uint32_t>(out.size()));
    const std::size_t length = std::min<std::size_t>(entries[i].size(), 0xFFFF);
    out.u16(static_cast<std::uint16_t>(length));
    out.bytes(std::string_view(entries[i]).substr(0, length));
  }
  return out.take();
}

}  // namespace kalvor
