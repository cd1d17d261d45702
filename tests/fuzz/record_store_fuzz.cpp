// Feeds arbitrary bytes to the record store as a specimen file: opening,
// reading every record, rewriting and adding records must never crash,
// hang or read out of bounds, whatever the file holds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "collection/record_store.h"
#include "collection/value_index.h"

namespace {

std::string scratchPath(const char* name) {
  return std::string("/tmp/kalvor_fuzz_") + std::to_string(getpid()) + "_" + name;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Small directories keep the files small; the layout is the same.
  const std::string path = scratchPath("st");
  writeFile(path, data, size);
  if (auto store = kalvor::RecordStore::openStoreFile(path, kalvor::kSpecimenStoreLayout)) {
    const std::uint32_t count = store->count() < 600 ? store->count() : 600;
    for (std::uint32_t n = 0; n <= count + 1; ++n) {
      if (auto payload = store->readRecord(n)) {
        if (n % 3 == 0) store->writeRecord(n, *payload, 1);
      }
    }
    const kalvor::Bytes record(300, 0x5A);
    store->writeRecord(0, record, 2);
    store->writeRecord(count > 0 ? 1 : 0, record, 1);
  }
  // The same bytes as a value index.
  const std::string vi = scratchPath("vi");
  writeFile(vi, data, size);
  {
    kalvor::ValueIndex index(64, nullptr, nullptr);
    if (index.openValueIndex(vi, 0) != kalvor::ValueIndex::OpenResult::kFailed) {
      index.getRecordSet(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenAll);
      index.getRecordSet(kalvor::IndexValue::ofText("De"), kalvor::index_field::kLocalityCountry);
      index.addIndexKey(kalvor::IndexValue::ofNumber(3), kalvor::index_field::kSpecimenMineral, 900);
      index.removeIndexKey(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenAll, 1);
    }
  }
  std::remove(path.c_str());
  std::remove(vi.c_str());
  return 0;
}
