// "kalvor.gl": the glossary texts that descriptions refer to between two '@'.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace kalvor {

// Read access to the glossary, held in memory. Entries are returned as fresh
// strings, so an entry stays valid however many others are read after it.
class Glossary {
 public:
  // Reads "kalvor.gl" from `folder`; nothing when it is missing or shorter than its count.
  static std::optional<Glossary> open(const std::string& folder);
  // The same from the file's bytes; nothing when they hold no u16 count.
  static std::optional<Glossary> fromBytes(Bytes file);

  // G, the number of entries.
  std::uint16_t entryCount() const { return count_; }
  // The text of entry `index` (Windows-1252), up to its stored length or a NUL;
  // nothing when index >= G or the entry's offset lies outside the file. A
  // length running past the end of the file yields the bytes that are there.
  std::optional<std::string> entry(std::uint16_t index) const;
  // The first entry whose term, written between a leading "#" and the next
  // one, is exactly `term`; what descriptions refer to between two "@".
  std::optional<std::uint16_t> findTerm(std::string_view term) const;

 private:
  Glossary(Bytes file, std::uint16_t count) : file_(std::move(file)), count_(count) {}
  Bytes file_;
  std::uint16_t count_;
};

// Builds the bytes of "kalvor.gl" from the entries in index order: u16 count,
// the u32 offsets, then each entry as u16 length and text. At most 65535
// entries and 65535 bytes per text are kept.
Bytes buildGlossaryFile(std::span<const std::string> entries);

}  // namespace kalvor
