// Files held in memory: a FileLayer for tests and for tools that work on a
// collection without touching the disk. A copy of the layer is a snapshot of
// every file; files opened from it share their bytes with the layer.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_layer.h"

namespace kalvor {

class MemoryFileLayer final : public FileLayer {
 public:
  MemoryFileLayer() = default;
  // A deep copy: later changes to either layer do not reach the other.
  MemoryFileLayer(const MemoryFileLayer& other);
  MemoryFileLayer& operator=(const MemoryFileLayer& other);

  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override;
  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override;
  FilePresence presence(const std::string& path) override;
  bool removeFile(const std::string& path) override;
  bool renameFile(const std::string& from, const std::string& to) override;
  bool setReadOnly(const std::string& path, bool readOnly) override;

  // Puts a file with the given content (replacing any).
  void put(const std::string& path, Bytes content);
  // The content of a file, nothing when it is missing.
  std::optional<Bytes> contents(const std::string& path) const;
  bool isReadOnly(const std::string& path) const;
  // Every file name, sorted.
  std::vector<std::string> names() const;

  struct Node {
    Bytes data;
    bool readOnly = false;
  };

 private:
  std::map<std::string, std::shared_ptr<Node>> files_;
};

}  // namespace kalvor
