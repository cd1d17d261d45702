// Scratch folders and byte helpers shared by the unit tests.
#pragma once

#include <string>

#include "base/bytes.h"

namespace kalvor::testing {

// A fresh, empty folder below the system temp folder, removed again by the destructor.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of a plain file name inside the folder.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes bytes to a file; returns false on failure.
bool writeFile(const std::string& path, const Bytes& data);

// Reads a whole file; empty when missing.
Bytes readFile(const std::string& path);

// Turns a UTF-8 literal of a test into the Windows-1252 text of the core.
std::string cp(const char* utf8);

}  // namespace kalvor::testing
