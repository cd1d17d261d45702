// Positioned reads and writes on one open file, without a user-space buffer:
// every write has reached the operating system when it returns, in the order
// issued, which is what the collection files' crash safety relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace kalvor {

class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  // Reads exactly out.size() bytes at `offset`; false on an error or a short read.
  virtual bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
  // Writes all of `data` at `offset`; false when any of it could not be written.
  virtual bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
  // The file's current length, nothing on an error.
  virtual std::optional<std::uint64_t> size() = 0;
};

enum class FileAccess { kReadOnly, kReadWrite };

// Opens an existing file; nothing when it is missing or cannot be opened as asked.
std::unique_ptr<RandomAccessFile> openRandomAccessFile(const std::string& path, FileAccess access);

}  // namespace kalvor
