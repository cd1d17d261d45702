#include <windows.h>

#include "platform/file_attributes.h"

namespace kalvor {

bool setFileReadOnly(const std::string& path, bool readOnly) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  // FILE_ATTRIBUTE_NORMAL must stand alone.
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  if (wanted != FILE_ATTRIBUTE_NORMAL) wanted &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
  return SetFileAttributesA(path.c_str(), wanted) != 0;
}

bool isFileReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace kalvor
