#include <windows.h>

#include <algorithm>

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
  const HANDLE h = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinFile>(h);
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
};

}  // namespace

FileLayer& systemFileLayer() {
  static WinFileLayer layer;
  return layer;
}

}  // namespace kalvor
