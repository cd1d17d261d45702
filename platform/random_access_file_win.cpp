#include <windows.h>

#include <algorithm>

#include "platform/random_access_file.h"

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

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> openRandomAccessFile(const std::string& path, FileAccess access) {
  const DWORD rights = access == FileAccess::kReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
  const HANDLE h = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinFile>(h);
}

}  // namespace kalvor
