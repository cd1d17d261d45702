#include "collection/locality.h"

#include <algorithm>
#include <cstring>

#include "collection/collection.h"
#include "collection/command_journal.h"
#include "collection/exchange_list.h"
#include "collection/mineral_specimen.h"
#include "collection/store_format.h"

namespace kalvor {
namespace {

namespace lf = locality_format;

bool sameMineral(std::uint16_t a, std::uint16_t b) {
  return (a & lf::kMineralMask) == (b & lf::kMineralMask);
}

bool hasMineral(const std::vector<std::uint16_t>& list, std::uint16_t entry) {
  return std::any_of(list.begin(), list.end(), [&](std::uint16_t e) { return sameMineral(e, entry); });
}

// Text fields are compared as the record stores them: at most 39 characters.
std::string fieldText(const std::string& text) {
  return text.substr(0, std::min(text.size(), lf::kTextFieldBytes - 1));
}

std::string cutAtZero(std::string text) {
  text.resize(std::strlen(text.c_str()));
  return text;
}

}  // namespace

Bytes encodeLocality(const Locality& locality) {
  const std::string text =
      cutAtZero(locality.description).substr(0, std::min(locality.description.size(), lf::kMaxTextLength));
  ByteWriter w;
  w.u16(locality.number);
  w.u16(locality.flags);
  w.fixedText(locality.name, lf::kTextFieldBytes);
  w.fixedText(locality.nearestPlace, lf::kTextFieldBytes);
  w.fixedText(locality.region, lf::kTextFieldBytes);
  w.fixedText(locality.country, lf::kTextFieldBytes);
  w.fixedText(locality.mapReference, lf::kTextFieldBytes);
  w.i16(static_cast<std::int16_t>(text.size() + 1));
  w.i16(static_cast<std::int16_t>(locality.minerals.size()));
  w.i16(static_cast<std::int16_t>(locality.specimens.size()));
  w.bytes(text);
  w.u8(0);
  for (std::uint16_t m : locality.minerals) w.u16(m);
  for (std::uint32_t s : locality.specimens) w.u32(s);
  return w.take();
}

std::optional<Locality> decodeLocality(std::span<const std::uint8_t> payload, bool headerOnly) {
  if (payload.size() < lf::kFixedBytes) return std::nullopt;
  ByteReader r(payload);
  Locality loc;
  loc.number = r.u16();
  loc.flags = r.u16();
  loc.name = r.fixedText(lf::kTextFieldBytes);
  loc.nearestPlace = r.fixedText(lf::kTextFieldBytes);
  loc.region = r.fixedText(lf::kTextFieldBytes);
  loc.country = r.fixedText(lf::kTextFieldBytes);
  loc.mapReference = r.fixedText(lf::kTextFieldBytes);
  const std::int16_t textLength = r.i16();
  const std::int16_t mineralCount = r.i16();
  const std::int16_t specimenCount = r.i16();
  if (textLength < 0 || mineralCount < 0 || specimenCount < 0) return std::nullopt;
  if (headerOnly) return loc;
  const std::size_t need = lf::kFixedBytes + static_cast<std::size_t>(textLength) +
                           2u * static_cast<std::size_t>(mineralCount) +
                           4u * static_cast<std::size_t>(specimenCount);
  if (payload.size() < need) return std::nullopt;
  std::string text(static_cast<std::size_t>(textLength), '\0');
  r.take(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
  loc.description = cutAtZero(std::move(text));
  loc.minerals.resize(static_cast<std::size_t>(mineralCount));
  for (auto& m : loc.minerals) m = r.u16();
  loc.specimens.resize(static_cast<std::size_t>(specimenCount));
  for (auto& s : loc.specimens) s = r.u32();
  return loc;
}

std::uint32_t localityUnitsOf(const Locality& locality) {
  const std::size_t textLength = std::min(cutAtZero(locality.description).size(), lf::kMaxTextLength);
  return store_format::localityUnits(static_cast<std::uint32_t>(textLength),
                                     static_cast<std::uint32_t>(locality.minerals.size()),
                                     static_cast<std::uint32_t>(locality.specimens.size()));
}

std::string localityLine(const Locality& locality) {
  std::string line;
  for (const std::string* part :
       {&locality.name, &locality.nearestPlace, &locality.region, &locality.country}) {
    const std::string text = fieldText(*part);
    if (text.empty()) continue;
    if (!line.empty()) line += ", ";
    line += text;
  }
  return line;
}

std::string localitySortText(const Locality& locality) {
  return fieldText(locality.name) + fieldText(locality.nearestPlace) + fieldText(locality.region) +
         fieldText(locality.country);
}

std::optional<Locality> readLocality(Collection& collection, std::uint32_t n, bool headerOnly) {
  n &= 0xFFFF;
  if (ExchangeList* exchange = collection.exchangeList())
    return exchange->readExchangeLocality(n, headerOnly);
  RecordStore* store = collection.localityStore();
  if (store == nullptr || n == 0 || n > store->count()) return std::nullopt;
  const std::optional<Bytes> payload = store->readRecord(n);
  if (!payload) return std::nullopt;
  return decodeLocality(*payload, headerOnly);
}

namespace {

bool addText(ValueIndex& index, const std::string& text, std::uint16_t field, std::uint32_t n) {
  // An empty search text matches every entry of a text field, so an empty
  // region or country must never become a key.
  if (text.empty()) return true;
  return index.addIndexKey(IndexValue::ofText(text), field, n);
}

bool removeText(ValueIndex& index, const std::string& text, std::uint16_t field, std::uint32_t n) {
  if (text.empty()) return true;
  return index.removeIndexKey(IndexValue::ofText(text), field, n);
}

// The value-index upkeep when `before` is replaced by `after`.
bool updateLocalityKeys(Collection& collection, const Locality& before, const Locality& after,
                        std::uint32_t n) {
  if (collection.unavailable()) return true;
  ValueIndex& index = collection.valueIndex();
  bool ok = true;
  for (std::uint16_t m : before.minerals) {
    if (!hasMineral(after.minerals, m))
      ok &=
          index.removeIndexKey(IndexValue::ofNumber(m & lf::kMineralMask), index_field::kLocalityMineral, n);
  }
  for (std::uint16_t m : after.minerals) {
    if (!hasMineral(before.minerals, m))
      ok &= index.addIndexKey(IndexValue::ofNumber(m & lf::kMineralMask), index_field::kLocalityMineral, n);
  }
  // A locality that is deleted now leaves its region and country sets too,
  // as a rebuild would leave it out of them.
  const bool deletedNow = after.deleted() && !before.deleted();
  if (deletedNow || fieldText(before.region) != fieldText(after.region))
    ok &= removeText(index, fieldText(before.region), index_field::kLocalityRegion, n);
  if (deletedNow || fieldText(before.country) != fieldText(after.country))
    ok &= removeText(index, fieldText(before.country), index_field::kLocalityCountry, n);
  return ok;
}

}  // namespace

bool writeLocality(Collection& collection, std::uint32_t n, Locality& locality) {
  RecordStore* store = collection.localityStore();
  if (store == nullptr) return false;
  if (locality.minerals.size() > lf::kMaxListLength || locality.specimens.size() > lf::kMaxListLength)
    return false;
  n &= 0xFFFF;
  // Locality numbers are 16-bit.
  if (n != 0 ? n > store->count() : store->nextRecordNumber() > 0xFFFF) return false;
  IndexUpdate batch(collection);
  std::optional<Locality> before;
  if (n != 0) before = readLocality(collection, n, false);
  const std::uint32_t number = n != 0 ? n : store->nextRecordNumber();
  locality.number = static_cast<std::uint16_t>(number);
  const std::optional<std::uint32_t> written =
      store->writeRecord(n, encodeLocality(locality), localityUnitsOf(locality));
  // A failed write leaves the old record, which the index still describes.
  if (!written || *written != number) {
    batch.finish(true);
    return false;
  }
  bool keys = true;
  if (n == 0) {
    if (!collection.unavailable())
      keys = collection.valueIndex().addIndexKey(IndexValue::ofNumber(0), index_field::kLocalityAll, number);
  } else if (before) {
    keys = updateLocalityKeys(collection, *before, locality, number);
  }
  // The record is written; keys that failed leave the index marked for a rebuild.
  batch.finish(keys);
  return true;
}

bool addLocalityKeys(Collection& collection, const Locality& locality) {
  if (collection.unavailable() || locality.number == 0) return true;
  IndexUpdate batch(collection);
  ValueIndex& index = collection.valueIndex();
  bool ok = addText(index, fieldText(locality.country), index_field::kLocalityCountry, locality.number);
  ok &= addText(index, fieldText(locality.region), index_field::kLocalityRegion, locality.number);
  for (std::uint16_t m : locality.minerals)
    ok &= index.addIndexKey(IndexValue::ofNumber(m & lf::kMineralMask), index_field::kLocalityMineral,
                            locality.number);
  return batch.finish(ok);
}

AddMineralResult addMineralToList(std::vector<std::uint16_t>& list, std::uint16_t mineral,
                                  bool fromSpecimen) {
  if (mineral > lf::kMineralMask) return AddMineralResult::kNotRepresentable;
  for (std::uint16_t& e : list) {
    if (sameMineral(e, mineral)) {
      if (!fromSpecimen) return AddMineralResult::kAlreadyPresent;
      e |= lf::kFromSpecimen;
      return AddMineralResult::kMarked;
    }
  }
  list.push_back(static_cast<std::uint16_t>(mineral | (fromSpecimen ? lf::kFromSpecimen : 0)));
  return AddMineralResult::kAdded;
}

void recomputeLocalityMinerals(Collection& collection, Locality& locality, const Specimen* specimen) {
  std::vector<std::uint16_t> list;
  for (std::uint16_t e : locality.minerals)
    addMineralToList(list, static_cast<std::uint16_t>(e & lf::kMineralMask), false);
  for (std::uint32_t s : locality.specimens) {
    std::optional<Specimen> read;
    const Specimen* source = nullptr;
    if (specimen != nullptr && specimen->number == s) {
      source = specimen;
    } else {
      read = readSpecimen(collection, s);
      if (read && !read->deleted()) source = &*read;
    }
    if (source == nullptr) continue;
    for (std::uint16_t id : source->minerals) {
      if (id == 0) continue;  // 0 names no mineral
      addMineralToList(list, static_cast<std::uint16_t>(id - 1), true);
    }
  }
  locality.minerals = std::move(list);
}

CollectionMessage checkMineralDeletable(const std::vector<std::uint16_t>& list, std::size_t index) {
  if (index < list.size() && (list[index] & lf::kFromSpecimen) != 0)
    return CollectionMessage::kMineralOnSpecimen;
  return CollectionMessage::kNone;
}

namespace {

// The changes of a locality deletion, safe to run again on a half-done one:
// a locality already marked deleted is finished (that mark is written last),
// specimens already deleted or moved are passed over.
bool applyLocalityDeletion(Collection& collection, std::uint32_t n, bool withSpecimens,
                           std::uint32_t replacement) {
  std::optional<Locality> locality = readLocality(collection, n, false);
  if (!locality) return false;
  if (locality->deleted()) return true;
  std::optional<Locality> target;
  if (!withSpecimens && replacement != 0) {
    target = readLocality(collection, replacement, false);
    if (replacement == n || !target || target->deleted()) return false;
  }
  IndexUpdate batch(collection);
  bool ok = true;
  if (!withSpecimens) {
    std::vector<Specimen> moving;
    for (std::uint32_t s : locality->specimens) {
      std::optional<Specimen> specimen = readSpecimen(collection, s);
      if (specimen && specimen->number != 0) moving.push_back(std::move(*specimen));
    }
    if (target) {
      // The replacement lists them before the first one moves: until each
      // has moved a specimen is listed at both localities, never at none.
      for (const Specimen& specimen : moving) {
        if (specimen.deleted()) continue;
        for (std::uint16_t id : specimen.minerals)
          if (id != 0) addMineralToList(target->minerals, static_cast<std::uint16_t>(id - 1), true);
        if (std::find(target->specimens.begin(), target->specimens.end(), specimen.number) ==
            target->specimens.end())
          target->specimens.push_back(specimen.number);
      }
      if (!writeLocality(collection, replacement, *target)) return batch.finish(false);
    }
    for (Specimen& specimen : moving) {
      specimen.localityValue = static_cast<std::uint16_t>(replacement + 1);
      if (!writeSpecimen(collection, specimen.number, specimen)) return batch.finish(false);
      if (!target || specimen.deleted() || collection.unavailable()) continue;
      ok &= collection.valueIndex().addIndexKey(IndexValue::ofNumber(replacement),
                                                index_field::kSpecimenLocality, specimen.number);
    }
  } else {
    // Work from a copy of the list: a specimen whose record names another
    // locality would otherwise stay first in the list and stop the loop.
    const std::vector<std::uint32_t> specimens = locality->specimens;
    for (std::uint32_t s : specimens) {
      std::optional<Specimen> specimen = readSpecimen(collection, s);
      if (specimen && !specimen->deleted() && !deleteSpecimen(collection, s)) return batch.finish(false);
    }
  }
  locality = readLocality(collection, n, false);
  if (!locality) return batch.finish(false);
  locality->flags |= lf::kFlagDeleted;
  if (!collection.unavailable())
    ok &= collection.valueIndex().removeIndexKey(IndexValue::ofNumber(0), index_field::kLocalityAll, n);
  locality->minerals.clear();
  if (withSpecimens) locality->specimens.clear();
  if (!writeLocality(collection, n, *locality)) return batch.finish(false);
  batch.finish(ok);
  return true;
}

// Runs a deletion between its intent record and the record's removal.
bool runJournalled(Collection& collection, const PendingDeletion& deletion) {
  UserAction action(collection);
  if (!applyLocalityDeletion(collection, deletion.locality, deletion.withSpecimens, deletion.replacement))
    return false;
  // Every change is durable before the record that would complete it goes.
  if (!collection.syncStores()) return false;
  clearPendingDeletion(collection);
  return true;
}

}  // namespace

PendingOutcome completePendingDeletion(Collection& collection, PendingDeletion* which) {
  PendingDeletion deletion;
  const JournalState state = readPendingDeletion(collection, deletion);
  if (which != nullptr) *which = deletion;
  if (state == JournalState::kNone) return PendingOutcome::kNone;
  if (state == JournalState::kUnreadable || collection.localityStore() == nullptr)
    return PendingOutcome::kFailed;
  return runJournalled(collection, deletion) ? PendingOutcome::kCompleted : PendingOutcome::kFailed;
}

bool deleteLocality(Collection& collection, std::uint32_t n, bool withSpecimens, std::uint32_t replacement) {
  n &= 0xFFFF;
  std::optional<Locality> locality = readLocality(collection, n, false);
  RecordStore* localities = collection.localityStore();
  RecordStore* specimens = collection.specimenStore();
  if (!locality || locality->deleted() || localities == nullptr || specimens == nullptr) return false;
  // A damaged collection takes no intent record either: it would be carried out after the repair.
  if (localities->writesRefused() || specimens->writesRefused()) return false;
  if (!withSpecimens && replacement != 0) {
    // Check the replacement before anything changes, so a bad choice
    // cannot leave specimens pointing at a locality that does not exist.
    const std::optional<Locality> target = readLocality(collection, replacement, false);
    if (replacement == n || !target || target->deleted()) return false;
  }
  // An earlier deletion left half done is finished first: its record would
  // be overwritten by this one's.
  if (completePendingDeletion(collection) == PendingOutcome::kFailed) return false;
  const PendingDeletion deletion{n, withSpecimens, withSpecimens ? 0 : replacement};
  if (!writePendingDeletion(collection, deletion)) return false;
  return runJournalled(collection, deletion);
}

std::vector<LocalityChoice> localityChoices(Collection& collection, bool withNewEntry) {
  std::vector<LocalityChoice> choices;
  choices.push_back({0, collectionMessageText(CollectionMessage::kUnknownLocality)});
  if (withNewEntry) choices.push_back({1, collectionMessageText(CollectionMessage::kNewLocalityEntry)});
  const std::optional<RecordSet> all =
      collection.unavailable()
          ? std::nullopt
          : collection.valueIndex().getRecordSet(IndexValue::ofNumber(0), index_field::kLocalityAll);
  SortOrder& order = collection.localityOrder();
  switchOrderForm(order, kOrderList);
  for (std::uint32_t n : order.entries) {
    if (all && !all->test(n)) continue;
    const std::optional<Locality> loc = readLocality(collection, n, true);
    if (!loc || loc->deleted()) continue;
    choices.push_back({withNewEntry ? n + 1 : n, localityLine(*loc)});
  }
  return choices;
}

std::string deleteLocalityQuestion(Collection& collection, std::uint32_t n, bool withSpecimens,
                                   std::uint32_t replacement) {
  if (withSpecimens) return collectionMessageText(CollectionMessage::kDeleteLocalityWithSpecimensQuestion);
  auto lineOf = [&](std::uint32_t number) {
    const std::optional<Locality> loc = number != 0 ? readLocality(collection, number, true) : std::nullopt;
    return loc ? localityLine(*loc) : collectionMessageText(CollectionMessage::kUnknownLocality);
  };
  std::string text = collectionMessageText(CollectionMessage::kReplaceLocalityQuestion);
  for (const std::string& line : {lineOf(n), lineOf(replacement)}) {
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, line);
  }
  return text;
}

std::optional<std::uint32_t> saveLocalityFromForm(Collection& collection, Locality locality) {
  const bool isNew = locality.number == 0;
  // One update mark over the record and its keys: a crash in between is
  // seen at the next start and mended by a rebuild.
  IndexUpdate batch(collection);
  if (!writeLocality(collection, locality.number, locality)) {
    batch.finish(true);
    return std::nullopt;
  }
  bool ok = addLocalityKeys(collection, locality);
  // A changed name or place moves the locality in the order, or the list
  // would show it where its old name belonged.
  LocalityComparator comparator(collection);
  if (isNew)
    insertIntoOrder(collection.localityOrder(), locality.number, comparator);
  else
    repositionInOrder(collection.localityOrder(), locality.number, comparator);
  ok &= collection.saveLocalityOrder();
  batch.finish(ok);
  return locality.number;
}

}  // namespace kalvor
