#include "tests/unit/test_files.h"

#include <filesystem>
#include <random>

#include "base/cp1252.h"
#include "base/file_io.h"

namespace kalvor::testing {

ScratchDir::ScratchDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    auto candidate = base / ("kalvor-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

bool writeFile(const std::string& path, const Bytes& data) { return writeWholeFile(path, data); }

Bytes readFile(const std::string& path) { return readWholeFile(path).value_or(Bytes{}); }

std::string cp(const char* utf8) { return utf8ToCp1252Lossy(utf8); }

}  // namespace kalvor::testing
