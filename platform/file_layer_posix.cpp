#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_attributes.h"
#include "platform/file_layer.h"

namespace kalvor {
namespace {

class PosixFile final : public RandomAccessFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n =
          ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      // A full disk shows as a short write followed by an error.
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  std::optional<std::uint64_t> size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
  }

  bool truncate(std::uint64_t length) override { return ::ftruncate(fd_, static_cast<off_t>(length)) == 0; }

  bool sync() override { return ::fdatasync(fd_) == 0; }

 private:
  int fd_;
};

std::unique_ptr<RandomAccessFile> regularFile(int fd) {
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

class PosixFileLayer final : public FileLayer {
 public:
  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override {
    return regularFile(
        ::open(path.c_str(), (access == FileAccess::kReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC));
  }

  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override {
    return regularFile(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  }

  FilePresence presence(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return FilePresence::kPresent;
    return errno == ENOENT || errno == ENOTDIR ? FilePresence::kMissing : FilePresence::kUnknown;
  }

  bool removeFile(const std::string& path) override { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

  bool renameFile(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  bool setReadOnly(const std::string& path, bool readOnly) override {
    return setFileReadOnly(path, readOnly);
  }
};

}  // namespace

FileLayer& systemFileLayer() {
  static PosixFileLayer layer;
  return layer;
}

}  // namespace kalvor
