#include "platform/file_layer.h"

namespace kalvor {

bool replaceWholeFile(FileLayer& files, const std::string& path, std::span<const std::uint8_t> data) {
  const std::string tmp = path + ".neu";
  bool ok = false;
  {
    std::unique_ptr<RandomAccessFile> file = files.createFile(tmp);
    if (!file) return false;
    // The data must be on the disk before the rename makes it the file.
    ok = (data.empty() || file->writeAt(0, data)) && file->sync();
  }
  if (ok && files.renameFile(tmp, path)) return true;
  files.removeFile(tmp);
  return false;
}

std::optional<Bytes> readWholeFile(FileLayer& files, const std::string& path) {
  std::unique_ptr<RandomAccessFile> file = files.openFile(path, FileAccess::kReadOnly);
  if (!file) return std::nullopt;
  const std::optional<std::uint64_t> size = file->size();
  if (!size || *size > 0x7FFFFFFF) return std::nullopt;
  Bytes data(static_cast<std::size_t>(*size));
  if (!data.empty() && !file->readAt(0, data)) return std::nullopt;
  return data;
}

}  // namespace kalvor
