// Feeds arbitrary bytes to the exchange-assistant mode as a *.ktl file from
// another collector: opening it (with the first-time index build), reading
// every locality and specimen, the sort orders and a few index sets must
// never crash, hang or read out of bounds, and leaving the mode must give the
// user's collection back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "collection/collection.h"
#include "collection/exchange_list.h"
#include "refdb/names.h"

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

// One empty user collection for the whole run.
struct UserCollection {
  UserCollection()
      : folder(scratchPath("collection")),
        names(kalvor::MineralNameList::build({{false, "Quarz"}, {false, "Calcit"}, {false, "Fluorit"}})) {
    std::filesystem::create_directories(folder);
    collection = std::make_unique<kalvor::Collection>(names, 3, nullptr);
    collection->open(folder);
  }
  std::string folder;
  kalvor::MineralNameList names;
  std::unique_ptr<kalvor::Collection> collection;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static UserCollection user;
  kalvor::Collection& c = *user.collection;
  const std::string path = scratchPath("list.ktl");
  writeFile(path, data, size);
  if (kalvor::openExchangeList(c, path, nullptr) == kalvor::ExchangeOpenStatus::kOpened) {
    const std::uint32_t specimens = c.specimenCount() < 2000 ? c.specimenCount() : 2000;
    for (std::uint32_t n = 0; n <= specimens + 1; ++n) (void)kalvor::readSpecimen(c, n);
    const std::uint32_t localities = c.localityCount() < 2000 ? c.localityCount() : 2000;
    for (std::uint32_t n = 0; n <= localities + 1; ++n) {
      (void)kalvor::readLocality(c, n, false);
      (void)kalvor::readLocality(c, n, true);
    }
    kalvor::switchOrderForm(c.specimenOrder(), kalvor::kOrderPositions);
    kalvor::ValueIndex& index = c.valueIndex();
    (void)index.getRecordSet(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenExchange);
    (void)index.getRecordSet(kalvor::IndexValue::ofNumber(1), kalvor::index_field::kSpecimenLocality);
    (void)index.getRecordSet(kalvor::IndexValue::ofNumber(0), kalvor::index_field::kSpecimenMineral);
    (void)index.getRecordSet(kalvor::IndexValue::ofText(""), kalvor::index_field::kLocalityCountry);
    kalvor::leaveExchangeList(c);
  }
  if (c.inExchangeMode() || c.specimenCount() != 0) __builtin_trap();
  return 0;
}
