#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "platform/file_attributes.h"
#include "platform/file_layer.h"

namespace kalvor {
namespace {

OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

class WinFile final : public RandomAccessFile {
 public:
  explicit WinFile(HANDLE h) : handle_(h) {}
  ~WinFile() override { CloseHandle(handle_); }
  WinFile(const WinFile&) = delete;
  WinFile& operator=(const WinFile&) = delete;

  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      OVERLAPPED o = at(offset + done);
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
      if (!ReadFile(handle_, out.data() + done, want, &got, &o) || got == 0) return false;
      done += got;
    }
    return true;
  }

  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    std::size_t done = 0;
    while (done < data.size()) {
      OVERLAPPED o = at(offset + done);
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30));
      if (!WriteFile(handle_, data.data() + done, want, &put, &o) || put == 0) return false;
      done += put;
    }
    return true;
  }

  std::optional<std::uint64_t> size() override {
    LARGE_INTEGER n;
    if (!GetFileSizeEx(handle_, &n)) return std::nullopt;
    return static_cast<std::uint64_t>(n.QuadPart);
  }

  bool truncate(std::uint64_t length) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) && SetEndOfFile(handle_);
  }

  bool sync() override { return FlushFileBuffers(handle_) != 0; }

 private:
  HANDLE handle_;
};

std::unique_ptr<RandomAccessFile> openHandle(const std::string& path, DWORD rights, DWORD disposition) {
  // A writer shares its files with readers only: a second writer's open fails.
  const DWORD share = (rights & GENERIC_WRITE) != 0 ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE h =
      CreateFileA(path.c_str(), rights, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinFile>(h);
}

// The named mutex of a collection: its name comes from the folder's full
// path (case folded), so every program that opens the same folder, under
// whatever spelling of a relative path, meets the same mutex.
std::string collectionMutexName(const std::string& folder) {
  char full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(folder.empty() ? "." : folder.c_str(), sizeof full, full, nullptr);
  std::string path = n > 0 && n < sizeof full ? std::string(full, n) : folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  std::uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a
  for (char c : path) {
    char folded = c == '/' ? '\\' : c;
    if (folded >= 'a' && folded <= 'z') folded = static_cast<char>(folded - 'a' + 'A');
    hash = (hash ^ static_cast<unsigned char>(folded)) * 0x100000001B3ull;
  }
  char name[64];
  std::snprintf(name, sizeof name, "Local\\Kalvor-Sammlung-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

class WinFolderLock final : public FolderLock {
 public:
  WinFolderLock(HANDLE mutex, HANDLE file) : mutex_(mutex), file_(file) {}
  ~WinFolderLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
    CloseHandle(file_);
  }
  WinFolderLock(const WinFolderLock&) = delete;
  WinFolderLock& operator=(const WinFolderLock&) = delete;

 private:
  HANDLE mutex_;
  HANDLE file_;
};

FolderLockResult busyFolder() {
  FolderLockResult result;
  result.status = FolderLockStatus::kBusy;
  result.reason = "ein anderes Programm \xE4ndert die Sammlung gerade";
  return result;
}

class WinFileLayer final : public FileLayer {
 public:
  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override {
    const DWORD rights = access == FileAccess::kReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    return openHandle(path, rights, OPEN_EXISTING);
  }

  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override {
    return openHandle(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  }

  FilePresence presence(const std::string& path) override {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return FilePresence::kPresent;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FilePresence::kMissing
                                                                          : FilePresence::kUnknown;
  }

  bool removeFile(const std::string& path) override {
    return DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
  }

  bool renameFile(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }

  bool setReadOnly(const std::string& path, bool readOnly) override {
    return setFileReadOnly(path, readOnly);
  }

  FolderLockResult lockFolder(const std::string& folder) override {
    // The lock file, shared with nobody, also keeps two writers of one
    // process apart (a mutex may be taken again by the thread that owns it)
    // and tells whether anything can be written in the folder.
    const std::string path = joinPath(folder, kFolderLockFileName);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return busyFolder();
      FolderLockResult result;
      if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
        result.status = FolderLockStatus::kReadOnly;
        result.reason = error == ERROR_WRITE_PROTECT ? "der Datentr\xE4ger ist schreibgesch\xFCtzt"
                                                     : "Sie d\xFC"
                                                       "rfen in diesem Ordner nur lesen";
      } else if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) {
        result.reason = "den Ordner gibt es nicht";
      } else if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        result.reason = "der Datentr\xE4ger ist voll";
      } else {
        result.reason =
            "die Sperrdatei \"" + std::string(kFolderLockFileName) + "\" l\xE4sst sich nicht anlegen";
      }
      return result;
    }
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, collectionMutexName(folder).c_str());
    if (mutex == nullptr) {
      CloseHandle(file);
      FolderLockResult result;
      result.reason = "die Sperre der Sammlung l\xE4sst sich nicht anlegen";
      return result;
    }
    const DWORD waited = WaitForSingleObject(mutex, 0);
    // An abandoned mutex belonged to a writer that ended without closing: ours now.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      CloseHandle(mutex);
      CloseHandle(file);
      return busyFolder();
    }
    FolderLockResult result;
    result.status = FolderLockStatus::kHeld;
    result.lock = std::make_unique<WinFolderLock>(mutex, file);
    return result;
  }
};

}  // namespace

FileLayer& systemFileLayer() {
  static WinFileLayer layer;
  return layer;
}

}  // namespace kalvor
