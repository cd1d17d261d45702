// Feeds arbitrary bytes to the record store as a specimen file: opening,
// reading every record, rewriting and adding records must never crash,
// hang or read out of bounds, whatever the file holds. The files live in
// memory, so each input costs no disk traffic.
#include <cstdint>
#include <string>

#include "collection/record_store.h"
#include "collection/value_index.h"
#include "platform/memory_file_layer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kalvor::MemoryFileLayer files;
  const kalvor::Bytes input(data, data + size);
  files.put("kalvor.st", input);
  // Small directories keep the files small; the layout is the same.
  if (auto store = kalvor::RecordStore::openStoreFile("kalvor.st", kalvor::kSpecimenStoreLayout,
                                                      kalvor::StoreOpenMode::kReadWrite, files)) {
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
  files.put("kalvor.vi", input);
  {
    kalvor::ValueIndex index(64, nullptr, nullptr, files);
    if (index.openValueIndex("kalvor.vi", 0) != kalvor::ValueIndex::OpenResult::kFailed) {
      index.getRecordSet(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenAll);
      index.getRecordSet(kalvor::IndexValue::ofText("De"), kalvor::index_field::kLocalityCountry);
      index.addIndexKey(kalvor::IndexValue::ofNumber(3), kalvor::index_field::kSpecimenMineral, 900);
      index.removeIndexKey(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenAll, 1);
    }
  }
  return 0;
}
