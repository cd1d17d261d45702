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
  readOnlyFolders_ = other.readOnlyFolders_;
  return *this;
}

std::unique_ptr<RandomAccessFile> MemoryFileLayer::openFile(const std::string& path, FileAccess access) {
  const auto it = files_.find(path);
  if (it == files_.end()) return nullptr;
  const bool writable = access == FileAccess::kReadWrite;
  if (writable && (it->second->readOnly || it->second->writeDenied)) return nullptr;
  return std::make_unique<MemoryFile>(it->second, writable);
}

std::unique_ptr<RandomAccessFile> MemoryFileLayer::createFile(const std::string& path) {
  if (inReadOnlyFolder(path)) return nullptr;
  std::shared_ptr<Node>& node = files_[path];
  if (node && (node->readOnly || node->writeDenied)) return nullptr;
  if (!node) node = std::make_shared<Node>();
  node->data.clear();
  return std::make_unique<MemoryFile>(node, true);
}

FilePresence MemoryFileLayer::presence(const std::string& path) {
  return files_.count(path) != 0 ? FilePresence::kPresent : FilePresence::kMissing;
}

bool MemoryFileLayer::removeFile(const std::string& path) {
  if (inReadOnlyFolder(path) && files_.count(path) != 0) return false;
  files_.erase(path);
  return true;
}

bool MemoryFileLayer::renameFile(const std::string& from, const std::string& to) {
  const auto it = files_.find(from);
  if (it == files_.end() || inReadOnlyFolder(from) || inReadOnlyFolder(to)) return false;
  const auto target = files_.find(to);
  if (target != files_.end() && target->second->readOnly) return false;
  std::shared_ptr<Node> node = it->second;
  files_.erase(it);
  files_[to] = std::move(node);
  return true;
}

bool MemoryFileLayer::setReadOnly(const std::string& path, bool readOnly) {
  const auto it = files_.find(path);
  if (it == files_.end() || it->second->writeDenied) return false;
  it->second->readOnly = readOnly;
  return true;
}

namespace {

class MemoryFolderLock final : public FolderLock {
 public:
  MemoryFolderLock(std::shared_ptr<std::set<std::string>> locked, std::string folder)
      : locked_(std::move(locked)), folder_(std::move(folder)) {}
  ~MemoryFolderLock() override { locked_->erase(folder_); }
  MemoryFolderLock(const MemoryFolderLock&) = delete;
  MemoryFolderLock& operator=(const MemoryFolderLock&) = delete;

 private:
  std::shared_ptr<std::set<std::string>> locked_;
  std::string folder_;
};

}  // namespace

FolderLockResult MemoryFileLayer::lockFolder(const std::string& folder) {
  FolderLockResult result;
  if (readOnlyFolders_.count(folder) != 0) {
    result.status = FolderLockStatus::kReadOnly;
    result.reason = "Sie d\xFCrfen in diesem Ordner nur lesen";
  } else if (!lockedFolders_->insert(folder).second) {
    result.status = FolderLockStatus::kBusy;
    result.reason = "ein anderes Programm \xE4ndert die Sammlung gerade";
  } else {
    result.status = FolderLockStatus::kHeld;
    result.lock = std::make_unique<MemoryFolderLock>(lockedFolders_, folder);
  }
  return result;
}

void MemoryFileLayer::denyWriting(const std::string& path) {
  const auto it = files_.find(path);
  if (it == files_.end()) return;
  it->second->readOnly = true;
  it->second->writeDenied = true;
}

void MemoryFileLayer::setFolderReadOnly(const std::string& folder, bool readOnly) {
  if (readOnly) {
    readOnlyFolders_.insert(folder);
  } else {
    readOnlyFolders_.erase(folder);
  }
}

bool MemoryFileLayer::inReadOnlyFolder(const std::string& path) const {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  return readOnlyFolders_.count(folder) != 0;
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
