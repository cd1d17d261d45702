// Feeds arbitrary bytes to the exchange-assistant mode as a *.ktl file from
// another collector: opening it (with the first-time index build), reading
// every locality and specimen, the sort orders and a few index sets must
// never crash, hang or read out of bounds, and leaving the mode must give the
// user's collection back. The list and the collection live in memory.
#include <cstdint>
#include <memory>
#include <string>

#include "collection/collection.h"
#include "collection/exchange_list.h"
#include "platform/memory_file_layer.h"
#include "refdb/names.h"

namespace {

// One empty user collection for the whole run, its files in memory.
struct UserCollection {
  UserCollection()
      : names(kalvor::MineralNameList::build({{false, "Quarz"}, {false, "Calcit"}, {false, "Fluorit"}})) {
    collection = std::make_unique<kalvor::Collection>(names, 3, nullptr, files);
    collection->open("sammlung");
  }
  kalvor::MemoryFileLayer files;
  kalvor::MineralNameList names;
  std::unique_ptr<kalvor::Collection> collection;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static UserCollection user;
  kalvor::Collection& c = *user.collection;
  const std::string path = "tausch/liste.ktl";
  user.files.put(path, kalvor::Bytes(data, data + size));
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
