#include <sys/stat.h>

#include "platform/file_attributes.h"

namespace kalvor {

bool setFileReadOnly(const std::string& path, bool readOnly) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  // Read-only drops every write bit; writable gives the owner read and write.
  mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IRUSR | S_IWUSR);
  return ::chmod(path.c_str(), mode) == 0;
}

bool isFileReadOnly(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) == 0;
}

}  // namespace kalvor
