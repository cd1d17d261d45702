#include "platform/memory_file_layer.h"

#include <algorithm>

namespace kalvor {
namespace {

class MemoryFile final : public RandomAccessFile {
 public:
  MemoryFile(std::shared_ptr<MemoryFileLayer::Node> node, bool writable)
      : node_(std::move(node)), writable_(writable) {}

  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    const Bytes& data = node_->data;
    if (offset > data.size() || out.size() > data.size() - offset) return false;
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
  }

  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (!writable_ || offset + data.size() > 0xFFFFFFFFull) return false;
    Bytes& bytes = node_->data;
    if (bytes.size() < offset + data.size()) bytes.resize(static_cast<std::size_t>(offset + data.size()), 0);
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  }

  std::optional<std::uint64_t> size() override { return node_->data.size(); }

  bool truncate(std::uint64_t length) override {
    if (!writable_ || length > 0xFFFFFFFFull) return false;
    node_->data.resize(static_cast<std::size_t>(length), 0);
    return true;
  }

  bool sync() override { return true; }

 private:
  std::shared_ptr<MemoryFileLayer::Node> node_;
  bool writable_;
};

}  // namespace

MemoryFileLayer::MemoryFileLayer(const MemoryFileLayer& other) { *this = other; }

MemoryFileLayer& MemoryFileLayer::operator=(const MemoryFileLayer& other) {
  if (this == &other) return *this;
  files_.clear();
  for (const auto& [name, node] : other.files_) files_[name] = std::make_shared<Node>(*node);
  return *this;
}

std::unique_ptr<RandomAccessFile> MemoryFileLayer::openFile(const std::string& path, FileAccess access) {
  const auto it = files_.find(path);
  if (it == files_.end()) return nullptr;
  const bool writable = access == FileAccess::kReadWrite;
  if (writable && it->second->readOnly) return nullptr;
  return std::make_unique<MemoryFile>(it->second, writable);
}

std::unique_ptr<RandomAccessFile> MemoryFileLayer::createFile(const std::string& path) {
  std::shared_ptr<Node>& node = files_[path];
  if (node && node->readOnly) return nullptr;
  if (!node) node = std::make_shared<Node>();
  node->data.clear();
  return std::make_unique<MemoryFile>(node, true);
}

FilePresence MemoryFileLayer::presence(const std::string& path) {
  return files_.count(path) != 0 ? FilePresence::kPresent : FilePresence::kMissing;
}

bool MemoryFileLayer::removeFile(const std::string& path) {
  files_.erase(path);
  return true;
}

bool MemoryFileLayer::renameFile(const std::string& from, const std::string& to) {
  const auto it = files_.find(from);
  if (it == files_.end()) return false;
  const auto target = files_.find(to);
  if (target != files_.end() && target->second->readOnly) return false;
  std::shared_ptr<Node> node = it->second;
  files_.erase(it);
  files_[to] = std::move(node);
  return true;
}

bool MemoryFileLayer::setReadOnly(const std::string& path, bool readOnly) {
  const auto it = files_.find(path);
  if (it == files_.end()) return false;
  it->second->readOnly = readOnly;
  return true;
}

void MemoryFileLayer::put(const std::string& path, Bytes content) {
  files_[path] = std::make_shared<Node>(Node{std::move(content), false});
}

std::optional<Bytes> MemoryFileLayer::contents(const std::string& path) const {
  const auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second->data;
}

bool MemoryFileLayer::isReadOnly(const std::string& path) const {
  const auto it = files_.find(path);
  return it != files_.end() && it->second->readOnly;
}

std::vector<std::string> MemoryFileLayer::names() const {
  std::vector<std::string> out;
  for (const auto& [name, node] : files_) out.push_back(name);
  return out;
}

}  // namespace kalvor
