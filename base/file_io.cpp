#include "base/file_io.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace kalvor {
namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

std::optional<Bytes> readWholeFile(const std::string& path) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return std::nullopt;
  Bytes data;
  // Sized up front: growing by chunks copied the larger files several times.
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size <= 0x7FFFFFFF) data.reserve(static_cast<std::size_t>(size));
  std::uint8_t chunk[65536];
  for (;;) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
    data.insert(data.end(), chunk, chunk + n);
    if (n < sizeof chunk) break;
  }
  if (std::ferror(f.get())) return std::nullopt;
  return data;
}

bool writeWholeFile(const std::string& path, const Bytes& data) {
  const std::string tmp = path + ".neu";
  {
    FilePtr f(std::fopen(tmp.c_str(), "wb"));
    if (!f) return false;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f.get()) != data.size()) {
      f.reset();
      std::remove(tmp.c_str());
      return false;
    }
    if (std::fflush(f.get()) != 0) {
      f.reset();
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) == 0) return true;
  // The C runtime on Windows does not rename over an existing file.
  std::remove(path.c_str());
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder == ".") return name;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + name;
  return folder + "/" + name;
}

}  // namespace kalvor
