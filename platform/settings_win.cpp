// "kalvor.ini" through the Win32 private-profile functions.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/settings.h"

namespace kalvor {
namespace {

// The private-profile functions look for a plain file name in the Windows
// folder, not in the working folder: always hand them a full path.
std::string fullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : path;
}

class WinSettings final : public Settings {
 public:
  explicit WinSettings(const std::string& path) : path_(fullPath(path)) {}

  int getInt(std::string_view section, std::string_view key, int def) const override {
    return static_cast<int>(GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(),
                                                  def, path_.c_str()));
  }

  std::string getString(std::string_view section, std::string_view key,
                        std::string_view def) const override {
    const std::string sec(section), k(key), d(def);
    std::vector<char> buffer(1024);  // NOLINT(id-literal): a buffer size
    for (;;) {
      const DWORD n = GetPrivateProfileStringA(sec.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path_.c_str());
      // n == size - 1 means the value was cut: try again with more room.
      if (n + 1 < buffer.size() || buffer.size() >= 65536) return std::string(buffer.data(), n);
      buffer.resize(buffer.size() * 4);
    }
  }

  bool writeString(std::string_view section, std::string_view key, std::string_view value) override {
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(value).c_str(), path_.c_str()) != 0;
  }

  bool deleteKey(std::string_view section, std::string_view key) override {
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), nullptr,
                                      path_.c_str()) != 0;
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<Settings> openPlatformSettings(const std::string& path) {
  return std::make_unique<WinSettings>(path);
}

}  // namespace kalvor
