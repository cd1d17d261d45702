#include "collection/mineral_specimen.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>

#include "collection/collection.h"
#include "collection/exchange_list.h"
#include "collection/locality.h"
#include "collection/store_format.h"
#include "refdb/collation.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

namespace sf = specimen_format;

std::string cutAtZero(std::string text) {
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string storedText(const std::string& description) {
  std::string text = cutAtZero(description);
  if (text.size() > sf::kMaxTextLength) text.resize(sf::kMaxTextLength);
  return text;
}

void putF32(ByteWriter& w, float v) { w.u32(std::bit_cast<std::uint32_t>(v)); }
float getF32(ByteReader& r) { return std::bit_cast<float>(r.u32()); }

bool contains(const std::vector<std::uint16_t>& list, std::uint16_t v) {
  return std::find(list.begin(), list.end(), v) != list.end();
}

// The kind and acquisition sets a specimen with these flags belongs to.
std::vector<std::uint16_t> flagFields(std::uint16_t flags) {
  std::vector<std::uint16_t> fields;
  fields.push_back((flags & sf::kFlagCollection) != 0 ? index_field::kSpecimenCollection
                                                      : index_field::kSpecimenExchange);
  if ((flags & sf::kFlagBought) != 0) fields.push_back(index_field::kSpecimenBought);
  if ((flags & sf::kFlagFound) != 0) fields.push_back(index_field::kSpecimenFound);
  if ((flags & sf::kFlagSwapped) != 0) fields.push_back(index_field::kSpecimenSwapped);
  return fields;
}

}  // namespace

Bytes encodeSpecimen(const Specimen& specimen) {
  const std::string text = storedText(specimen.description);
  const std::size_t m = std::min<std::size_t>(specimen.minerals.size(), 0x7FFF);
  ByteWriter w;
  w.u32(specimen.number);
  w.u16(specimen.flags);
  w.fixedText(specimen.index, sf::kIndexBytes);
  w.fixedText(specimen.storagePlace, sf::kStorageBytes);
  w.fixedText(specimen.size, sf::kSizeBytes);
  w.i16(static_cast<std::int16_t>(m));
  w.i16(static_cast<std::int16_t>(std::min<std::size_t>(specimen.mainCount, m)));
  w.u16(specimen.count);
  w.u16(specimen.localityValue);
  putF32(w, specimen.purchasePrice);
  putF32(w, specimen.value);
  w.u32(specimen.date);
  w.i16(static_cast<std::int16_t>(text.size() + 1));
  w.bytes(text);
  w.u8(0);
  for (std::size_t i = 0; i < m; ++i) w.u16(specimen.minerals[i]);
  return w.take();
}

std::optional<Specimen> decodeSpecimen(std::span<const std::uint8_t> payload) {
  if (payload.size() < sf::kFixedBytes) return std::nullopt;
  ByteReader r(payload);
  Specimen s;
  s.number = r.u32();
  s.flags = r.u16();
  s.index = r.fixedText(sf::kIndexBytes);
  s.storagePlace = r.fixedText(sf::kStorageBytes);
  s.size = r.fixedText(sf::kSizeBytes);
  const std::int16_t mineralCount = r.i16();
  const std::int16_t mainCount = r.i16();
  s.count = r.u16();
  s.localityValue = r.u16();
  s.purchasePrice = getF32(r);
  s.value = getF32(r);
  s.date = r.u32();
  const std::int16_t textLength = r.i16();
  if (mineralCount < 0 || textLength < 0) return std::nullopt;
  const std::size_t need = sf::kFixedBytes + static_cast<std::size_t>(textLength) +
                           2u * static_cast<std::size_t>(mineralCount);
  if (payload.size() < need) return std::nullopt;
  std::string text(static_cast<std::size_t>(textLength), '\0');
  r.take(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
  s.description = cutAtZero(std::move(text));
  s.minerals.resize(static_cast<std::size_t>(mineralCount));
  for (auto& m : s.minerals) m = r.u16();
  s.mainCount = static_cast<std::uint16_t>(std::clamp<int>(mainCount, 0, mineralCount));
  if (s.number == 0 || s.flags == 0) s.flags |= sf::kFlagDeleted;
  return s;
}

std::uint32_t specimenUnitsOf(const Specimen& specimen) {
  return store_format::specimenUnits(static_cast<std::uint32_t>(storedText(specimen.description).size()),
                                     static_cast<std::uint32_t>(specimen.minerals.size()));
}

std::optional<Specimen> readSpecimen(Collection& collection, std::uint32_t n) {
  if (ExchangeList* exchange = collection.exchangeList()) return exchange->readExchangeSpecimen(n);
  RecordStore* store = collection.specimenStore();
  if (store == nullptr || n == 0 || n > store->count()) return std::nullopt;
  const std::optional<Bytes> payload = store->readRecord(n);
  if (!payload) return std::nullopt;
  return decodeSpecimen(*payload);
}

bool addSpecimenKeys(Collection& collection, const Specimen& specimen) {
  if (collection.unavailable() || specimen.deleted()) return true;
  IndexUpdate batch(collection);
  ValueIndex& index = collection.valueIndex();
  const IndexValue zero = IndexValue::ofNumber(0);
  bool ok = true;
  for (std::uint16_t field : flagFields(specimen.flags))
    ok &= index.addIndexKey(zero, field, specimen.number);
  for (std::uint16_t id : specimen.minerals) {
    if (id == 0) continue;
    ok &= index.addIndexKey(IndexValue::ofNumber(id - 1u), index_field::kSpecimenMineral,
                            specimen.number);
  }
  if (specimen.localityValue > 1)
    ok &= index.addIndexKey(IndexValue::ofNumber(specimen.localityNumber()),
                            index_field::kSpecimenLocality, specimen.number);
  return batch.finish(ok);
}

bool updateSpecimenKeys(Collection& collection, const Specimen& before, const Specimen& after) {
  const std::uint32_t n = after.number;
  const bool deletedNow = after.deleted() && !before.deleted();
  bool ok = true;
  IndexUpdate batch(collection);
  if (!collection.unavailable()) {
    ValueIndex& index = collection.valueIndex();
    for (std::uint16_t id : before.minerals) {
      if (id == 0 || (!deletedNow && contains(after.minerals, id))) continue;
      ok &= index.removeIndexKey(IndexValue::ofNumber(id - 1u), index_field::kSpecimenMineral, n);
    }
    if (!deletedNow) {
      for (std::uint16_t id : after.minerals) {
        if (id == 0 || contains(before.minerals, id)) continue;
        ok &= index.addIndexKey(IndexValue::ofNumber(id - 1u), index_field::kSpecimenMineral, n);
      }
    }
    // A piece changed from exchange to collection piece (or bought to found)
    // must leave the sets it no longer belongs to, or it would still be
    // exported and evaluated as what it was.
    const std::vector<std::uint16_t> now = after.deleted() ? std::vector<std::uint16_t>{}
                                                           : flagFields(after.flags);
    for (std::uint16_t field : flagFields(before.flags)) {
      if (std::find(now.begin(), now.end(), field) == now.end())
        ok &= index.removeIndexKey(IndexValue::ofNumber(0), field, n);
    }
  }
  const bool sameLocality = before.localityValue == after.localityValue;
  if (sameLocality && !deletedNow && before.minerals != after.minerals && after.localityValue > 1) {
    std::optional<Locality> locality = readLocality(collection, after.localityNumber(), false);
    if (locality) {
      recomputeLocalityMinerals(collection, *locality, &after);
      ok &= writeLocality(collection, locality->number, *locality);
    }
  }
  if ((!sameLocality || deletedNow) && before.localityValue > 1) {
    const std::uint32_t old = before.localityNumber();
    if (!collection.unavailable())
      ok &= collection.valueIndex().removeIndexKey(IndexValue::ofNumber(old),
                                                   index_field::kSpecimenLocality, n);
    std::optional<Locality> locality = readLocality(collection, old, false);
    if (locality) {
      auto it = std::find(locality->specimens.begin(), locality->specimens.end(), n);
      if (it != locality->specimens.end()) {
        locality->specimens.erase(it);
        recomputeLocalityMinerals(collection, *locality, &after);
        ok &= writeLocality(collection, locality->number, *locality);
      }
    }
  }
  return batch.finish(ok);
}

bool writeSpecimen(Collection& collection, std::uint32_t n, Specimen& specimen) {
  RecordStore* store = collection.specimenStore();
  if (store == nullptr) return false;
  if (specimen.minerals.size() > 0x7FFF) return false;
  if (n > store->count()) return false;
  const std::uint32_t number = n != 0 ? n : store->nextRecordNumber();
  if (number > store->maxRecordNumber()) return false;
  IndexUpdate batch(collection);
  std::optional<Specimen> before;
  if (n != 0) before = readSpecimen(collection, n);
  specimen.number = number;
  const std::optional<std::uint32_t> written =
      store->writeRecord(n, encodeSpecimen(specimen), specimenUnitsOf(specimen));
  // A failed write leaves the old record, which the index still describes.
  if (!written || *written != number) {
    batch.finish(true);
    return false;
  }
  bool keys = true;
  if (n == 0) {
    if (!collection.unavailable() && !specimen.deleted())
      keys = collection.valueIndex().addIndexKey(IndexValue::ofNumber(0), index_field::kSpecimenAll, number);
  } else if (before) {
    keys = updateSpecimenKeys(collection, *before, specimen);
  }
  // The record is written; keys that failed leave the index marked for a rebuild.
  batch.finish(keys);
  return true;
}

MineralListParse parseMineralListChecked(const MineralNameList& names, std::string_view text) {
  MineralListParse out;
  const auto& nodes = names.nodes();
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    std::size_t begin = pos;
    std::size_t end = comma;
    pos = comma + 1;
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    // Trailing blanks ("Quarz , Calcit") would keep the name from matching.
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    const std::string_view piece = text.substr(begin, end - begin);
    if (piece.empty()) continue;
    const auto unknown = [&] {
      if (!out.firstUnknown) out.firstUnknown = std::make_pair(begin, end);
    };
    const char initial = foldInitial(piece.front());
    std::size_t i = 0;
    if (initial >= 'a' && initial <= 'z') {
      const std::optional<std::size_t> start = names.bucketStart(initial - 'a');
      if (!start) {
        unknown();
        continue;
      }
      i = *start;
    }
    const int length = static_cast<int>(piece.size());
    const int folded = foldedPrefixLength(piece, length);
    while (i < nodes.size() && collateCompare(nodes[i].name, piece, length, folded) < 0) ++i;
    const std::uint32_t id =
        i < nodes.size() && collateCompare(nodes[i].name, piece, length, folded) == 0 ? nodes[i].id : 0;
    if (id == 0 || id > 0xFFFF) {
      unknown();
      continue;
    }
    if (!contains(out.ids, static_cast<std::uint16_t>(id))) out.ids.push_back(static_cast<std::uint16_t>(id));
  }
  return out;
}

std::vector<std::uint16_t> parseMineralList(const MineralNameList& names, std::string_view text) {
  return parseMineralListChecked(names, text).ids;
}

std::optional<MineralNumber> mineralNamed(const MineralNameList& names, std::string_view name) {
  const std::vector<std::uint16_t> found = parseMineralList(names, name);
  if (found.empty() || found.front() == 0) return std::nullopt;
  return static_cast<MineralNumber>(found.front() - 1);
}

bool deleteSpecimen(Collection& collection, std::uint32_t n) {
  std::optional<Specimen> specimen = readSpecimen(collection, n);
  if (!specimen || specimen->number != n) return false;
  IndexUpdate batch(collection);
  bool keys = true;
  if (!collection.unavailable())
    keys = collection.valueIndex().removeIndexKey(IndexValue::ofNumber(0), index_field::kSpecimenAll, n);
  specimen->flags |= sf::kFlagDeleted;
  const bool written = writeSpecimen(collection, n, *specimen);
  // A key removed for a record that stays is wrong too: the index is rebuilt.
  batch.finish(keys && written);
  return written;
}

std::string specimenMineralNames(const MineralNameList& names, const Specimen& specimen, bool main,
                                 std::string_view separator) {
  std::string out;
  const std::size_t split = std::min<std::size_t>(specimen.mainCount, specimen.minerals.size());
  const std::size_t from = main ? 0 : split;
  const std::size_t to = main ? split : specimen.minerals.size();
  for (std::size_t i = from; i < to; ++i) {
    const std::uint16_t id = specimen.minerals[i];
    if (id == 0) continue;
    if (!out.empty()) out += separator;
    out += names.nameOfMineral(static_cast<MineralNumber>(id - 1));
  }
  return out;
}

}  // namespace kalvor
