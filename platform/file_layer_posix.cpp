#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/file_io.h"
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

// flock() locks belong to the open file, so two collection objects of one
// process exclude each other as two processes do; the lock ends with the
// descriptor, also when the process is killed.
class PosixFolderLock final : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { ::close(fd_); }
  PosixFolderLock(const PosixFolderLock&) = delete;
  PosixFolderLock& operator=(const PosixFolderLock&) = delete;

 private:
  int fd_;
};

// Why nothing can be written, for an errno of open() or access().
FolderLockResult lockRefused(int error) {
  FolderLockResult result;
  switch (error) {
    case EACCES:
    case EPERM:
      result.status = FolderLockStatus::kReadOnly;
      result.reason = "Sie d\xFCrfen in diesem Ordner nur lesen";
      break;
    case EROFS:
      result.status = FolderLockStatus::kReadOnly;
      result.reason = "der Datentr\xE4ger ist schreibgesch\xFCtzt";
      break;
    case ENOENT:
    case ENOTDIR:
      result.reason = "den Ordner gibt es nicht";
      break;
    case ENOSPC:
    case EDQUOT:
      result.reason = "der Datentr\xE4ger ist voll";
      break;
    default:
      result.reason =
          "die Sperrdatei \"" + std::string(kFolderLockFileName) + "\" l\xE4sst sich nicht anlegen";
      break;
  }
  return result;
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

  FolderLockResult lockFolder(const std::string& folder) override {
    const std::string path = joinPath(folder, kFolderLockFileName);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A lock file left by another user can still be locked for reading.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return lockRefused(errno);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      FolderLockResult result;
      if (error == EWOULDBLOCK) {
        result.status = FolderLockStatus::kBusy;
        result.reason = "ein anderes Programm \xE4ndert die Sammlung gerade";
        return result;
      }
      result.reason =
          "die Sperrdatei \"" + std::string(kFolderLockFileName) + "\" l\xE4sst sich nicht sperren";
      return result;
    }
    // The stores may be writable in a folder that is not: new files (sort
    // orders, backups, the ".neu" copies) could not be made.
    if (::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
      const int error = errno;
      ::close(fd);
      return lockRefused(error);
    }
    FolderLockResult result;
    result.status = FolderLockStatus::kHeld;
    result.lock = std::make_unique<PosixFolderLock>(fd);
    return result;
  }
};

}  // namespace

FileLayer& systemFileLayer() {
  static PosixFileLayer layer;
  return layer;
}

}  // namespace kalvor
