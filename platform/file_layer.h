// The file layer of the collection files: every read and write of the
// stores, the value index and the sort-order side files goes through a
// FileLayer, so that the same code runs on the real disk (POSIX or Win32,
// chosen by the build), in memory, or behind a layer that injects faults.
//
// Positioned reads and writes without a user-space buffer: every write has
// reached the operating system when it returns, in the order issued, which
// is what the collection files' crash safety relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/bytes.h"

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
  // Cuts or extends (with zeros) the file to `length` bytes.
  virtual bool truncate(std::uint64_t length) = 0;
  // Makes what was written durable on the disk (fdatasync, FlushFileBuffers).
  virtual bool sync() = 0;
};

enum class FileAccess { kReadOnly, kReadWrite };

enum class FilePresence { kMissing, kPresent, kUnknown };

class FileLayer {
 public:
  virtual ~FileLayer() = default;
  // Opens an existing regular file; nothing when it is missing or cannot be opened as asked.
  virtual std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) = 0;
  // Creates the file, or empties an existing one, for reading and writing.
  virtual std::unique_ptr<RandomAccessFile> createFile(const std::string& path) = 0;
  // Whether something exists at `path` (kUnknown when that cannot be told).
  virtual FilePresence presence(const std::string& path) = 0;
  // Removes a file; true when it is gone (also when it was missing).
  virtual bool removeFile(const std::string& path) = 0;
  // Renames `from` to `to`, replacing `to`.
  virtual bool renameFile(const std::string& from, const std::string& to) = 0;
  // Marks the file read-only (true) or writable (false); false when missing.
  virtual bool setReadOnly(const std::string& path, bool readOnly) = 0;
};

// The real files of the platform (one shared instance).
FileLayer& systemFileLayer();

// Opens an existing file on the real disk.
inline std::unique_ptr<RandomAccessFile> openRandomAccessFile(const std::string& path, FileAccess access) {
  return systemFileLayer().openFile(path, access);
}

// Writes `data` to "<path>.neu", makes it durable and renames it over
// `path`, so that neither a reader nor a crash ever sees a half-written file.
// The temporary file is removed again when any step fails.
bool replaceWholeFile(FileLayer& files, const std::string& path, std::span<const std::uint8_t> data);

// The whole content of a file, nothing when it cannot be opened or read.
std::optional<Bytes> readWholeFile(FileLayer& files, const std::string& path);

}  // namespace kalvor
