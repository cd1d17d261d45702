#include "collection/value_index.h"

#include <algorithm>

#include "base/file_io.h"
#include "platform/settings.h"
#include "platform/settings_keys.h"

namespace kalvor {
namespace sf = store_format;

namespace {

constexpr std::uint32_t kFieldTableStep = 5;

bool isMineralField(std::uint16_t field) {
  return field == index_field::kLocalityMineral || field == index_field::kSpecimenMineral;
}

std::uint16_t prefixKey(const std::uint8_t* text) {
  return static_cast<std::uint16_t>(text[0] * 256 + text[1]);
}

std::uint16_t prefixKey(std::string_view text) {
  const std::uint8_t first = text.size() > 0 ? static_cast<std::uint8_t>(text[0]) : 0;
  const std::uint8_t second = text.size() > 1 ? static_cast<std::uint8_t>(text[1]) : 0;
  return static_cast<std::uint16_t>(first * 256 + second);
}

}  // namespace

bool sameIndexText(std::string_view a, std::string_view b, const IndexTextCompare& compare) {
  return prefixKey(a) == prefixKey(b) && compare(a.substr(0, 40), b.substr(0, 40)) == 0;
}

Bytes IndexEntry::encode() const {
  ByteWriter w;
  w.u16(kind);
  w.u16(number);
  w.u32(bitmapOffset);
  w.u32(memberCount);
  w.u32(capacityBits);
  w.u32(ownOffset);
  w.u16(field);
  w.bytes(value);
  return w.take();
}

std::optional<IndexEntry> IndexEntry::decode(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < sf::kIndexEntryBytes) return std::nullopt;
  ByteReader r(bytes);
  IndexEntry e;
  e.kind = r.u16();
  e.number = r.u16();
  e.bitmapOffset = r.u32();
  e.memberCount = r.u32();
  e.capacityBits = r.u32();
  e.ownOffset = r.u32();
  e.field = r.u16();
  r.take(e.value.data(), e.value.size());
  return e;
}

std::string IndexEntry::text() const {
  const auto end = std::find(value.begin(), value.end(), 0);
  return std::string(value.begin(), end);
}

std::uint32_t IndexEntry::numberValue() const { return loadU32(value.data()); }

std::uint32_t bitmapUnitsFor(std::uint32_t r) {
  // The documented formula leaves record 464 (and every multiple-of-512 step
  // after it) one bit beyond the capacity; take one unit more in that case.
  const std::uint32_t documented = ((r + 7) / 8 + 69) / 64;
  const std::uint32_t holding = (r + 48) / 512 + 1;
  return std::max(documented, holding);
}

ValueIndex::ValueIndex(std::uint32_t mineralCount, IndexTextCompare compare, Settings* settings,
                       FileLayer& files)
    : mineralCount_(mineralCount), compare_(std::move(compare)), settings_(settings), files_(&files) {
  if (!compare_) {
    compare_ = [](std::string_view a, std::string_view b) { return a.compare(b); };
  }
}

ValueIndex::OpenResult ValueIndex::openValueIndex(const std::string& path, std::uint32_t collectionRecords) {
  closeValueIndex();
  path_ = path;
  store_ = RecordStore::openStoreFile(path, kValueIndexStoreLayout, StoreOpenMode::kReadWrite, *files_);
  if (!store_) {
    setUnavailable(true);
    return OpenResult::kFailed;
  }
  leftDirty_ = (store_->countWord() & sf::kValueIndexDirtyBit) != 0;
  dirtyInFile_ = leftDirty_;
  if (leftDirty_) return OpenResult::kNeedsRebuild;
  if (store_->count() == 0 && collectionRecords > 0) return OpenResult::kNeedsRebuild;
  return OpenResult::kReady;
}

void ValueIndex::closeValueIndex() {
  if (store_ && batchDepth_ == 0) clearDirty();
  store_.reset();
  groups_.clear();
  loadNext_ = 1;
  batchDepth_ = 0;
  dirtyInFile_ = false;
  updateFailed_ = false;
}

void ValueIndex::setUnavailable(bool on) {
  const bool changed = unavailable_ != on;
  unavailable_ = on;
  // Kept in the settings at once, so that a crash does not forget it.
  if (changed) saveUnavailableFlag();
}

void ValueIndex::loadUnavailableFlag() {
  if (settings_) unavailable_ = ini::readFlag(*settings_, ini::kIndexBroken);
}

bool ValueIndex::saveUnavailableFlag() const {
  return settings_ && ini::writeInt(*settings_, ini::kIndexBroken, unavailable_ ? 1 : 0);
}

bool ValueIndex::markDirty() {
  if (dirtyInFile_) return true;
  if (!store_->writeCountWord(store_->countWord() | sf::kValueIndexDirtyBit)) return false;
  dirtyInFile_ = true;
  return true;
}

bool ValueIndex::clearDirty() {
  // An index found half-updated, or one whose update failed, stays marked
  // until it has been rebuilt.
  if (updateFailed_) return false;
  if (!dirtyInFile_ || leftDirty_ || !store_) return true;
  if (!store_->writeCountWord(store_->countWord() & ~sf::kValueIndexDirtyBit)) return false;
  dirtyInFile_ = false;
  return true;
}

void ValueIndex::beginUpdate() {
  // Without the mark in the file no change may be made: a crash could not be told.
  if (batchDepth_++ == 0 && store_ && !markDirty()) updateFailed_ = true;
}

bool ValueIndex::endUpdate(bool completed) {
  if (!completed) updateFailed_ = true;
  if (batchDepth_ == 0) return !updateFailed_;
  if (--batchDepth_ == 0) return clearDirty();
  return !updateFailed_;
}

std::optional<IndexEntry> ValueIndex::readEntry(std::uint16_t number) {
  if (!store_ || number == 0 || number > store_->count()) return std::nullopt;
  const std::uint32_t at = store_->slotValue(number);
  std::uint8_t bytes[sf::kIndexEntryBytes];
  if (at < store_->dataStart() || !store_->readAt(at, bytes)) return std::nullopt;
  std::optional<IndexEntry> entry = IndexEntry::decode(bytes);
  // An entry that does not know itself is damage.
  if (!entry || entry->number != number) return std::nullopt;
  entry->ownOffset = at;
  return entry;
}

bool ValueIndex::writeEntry(IndexEntry& entry) {
  if (!store_) return false;
  if (entry.number != 0) return store_->writeAt(entry.ownOffset, entry.encode());
  const std::uint32_t n = store_->count() + 1;
  if (n > store_->maxRecordNumber() || n > 0xFFFF) return false;
  entry.number = static_cast<std::uint16_t>(n);
  const std::uint32_t at = store_->appendEntry(n, entry.encode());
  if (at == 0) {
    entry.number = 0;
    return false;
  }
  entry.ownOffset = at;
  // Only a table that is loaded up to here learns the entry now; otherwise
  // the loader reaches it in its turn.
  if (loadNext_ == n) {
    noteInTable(entry);
    loadNext_ = n + 1;
  }
  return true;
}

void ValueIndex::noteInTable(const IndexEntry& entry) {
  Group& group = groups_[entry.field];
  const bool text = (entry.kind & kIndexKindText) != 0;
  if (isMineralField(entry.field) && !text && entry.numberValue() < mineralCount_) {
    if (group.direct.size() < mineralCount_) group.direct.resize(mineralCount_, 0);
    group.direct[entry.numberValue()] = entry.number;
    return;
  }
  // Mineral numbers beyond the mineral list still get found, by scanning.
  std::uint16_t key = 0;
  if (text) {
    key = prefixKey(entry.value.data());
  } else if (entry.field == index_field::kSpecimenLocality) {
    key = static_cast<std::uint16_t>(entry.numberValue());
  }
  group.entries.push_back(entry.number);
  group.keys.push_back(key);
}

bool ValueIndex::loadFieldTableStep(bool restart) {
  if (!store_) return false;
  if (restart) {
    groups_.clear();
    loadNext_ = 1;
  }
  const std::uint32_t count = store_->count();
  for (std::uint32_t i = 0; i < kFieldTableStep && loadNext_ <= count; ++i, ++loadNext_) {
    if (!store_->hasSlotPage(loadNext_)) {
      // A damaged index can claim thousands of entries on pages that are
      // not there; step over such a page whole.
      loadNext_ |= 0xFF;
      continue;
    }
    if (std::optional<IndexEntry> e = readEntry(static_cast<std::uint16_t>(loadNext_))) noteInTable(*e);
  }
  return loadNext_ <= count;
}

void ValueIndex::drainFieldTable() {
  while (loadFieldTableStep(false)) {
  }
}

bool ValueIndex::entryMatches(const IndexEntry& entry, const IndexValue& value) const {
  if (entry.kind != value.kind) return false;
  if (value.isText()) {
    if (value.text.empty()) return true;
    return compare_(entry.text(), std::string_view(value.text).substr(0, 40)) == 0;
  }
  return entry.numberValue() == value.number;
}

std::optional<IndexEntry> ValueIndex::findIndexEntry(const IndexValue& value, std::uint16_t field,
                                                     std::uint16_t minEntry) {
  if (!store_) return std::nullopt;
  drainFieldTable();
  const auto it = groups_.find(field);
  if (it == groups_.end()) return std::nullopt;
  const Group& group = it->second;
  if (isMineralField(field) && !value.isText() && value.number < mineralCount_) {
    if (value.number >= group.direct.size() || group.direct[value.number] == 0) return std::nullopt;
    std::optional<IndexEntry> e = readEntry(group.direct[value.number]);
    if (e && entryMatches(*e, value)) return e;
    return std::nullopt;
  }
  const bool textSearch = value.isText() && !value.text.empty();
  const std::uint16_t prefix = prefixKey(value.text);
  for (std::size_t i = 0; i < group.entries.size(); ++i) {
    if (group.entries[i] < minEntry) continue;
    if (textSearch && group.keys[i] != prefix) continue;
    if (field == index_field::kSpecimenLocality && !value.isText() &&
        group.keys[i] != static_cast<std::uint16_t>(value.number)) {
      continue;
    }
    std::optional<IndexEntry> e = readEntry(group.entries[i]);
    if (e && entryMatches(*e, value)) return e;
  }
  return std::nullopt;
}

std::optional<std::uint16_t> ValueIndex::createIndexEntry(const IndexValue& value, std::uint16_t field) {
  if (!store_) return std::nullopt;
  drainFieldTable();
  IndexEntry entry;
  entry.kind = value.kind;
  entry.field = field;
  if (value.isText()) {
    std::copy_n(value.text.begin(), std::min<std::size_t>(value.text.size(), 40), entry.value.begin());
  } else {
    storeU32(entry.value.data(), value.number);
  }
  if (!writeEntry(entry)) return std::nullopt;
  return entry.number;
}

bool ValueIndex::growBitmap(IndexEntry& entry, std::uint32_t record) {
  // Growing by half the present size, not by the one unit the record needs:
  // a bitmap that grows one unit at a time leaves a trail of freed blocks
  // too small for anything, and the file grows with the square of the count.
  const std::uint32_t present = entry.bitmapOffset != 0 ? (entry.capacityBits + 48) / 512 : 0;
  std::uint32_t units = std::max(bitmapUnitsFor(record), present + present / 2);
  const std::uint32_t block = store_->allocateBlock(entry.number, units, sf::kBitmapUnitBytes);
  if (block == 0) return false;
  if (entry.bitmapOffset != 0) {
    std::uint8_t header[sf::kBlockHeaderBytes];
    if (store_->readAt(entry.bitmapOffset, header)) {
      const std::uint32_t oldBytes =
          std::min<std::uint32_t>(loadU16(header + sf::kBlockUnitsOffset), units) * sf::kBitmapUnitBytes;
      Bytes payload(oldBytes);
      if (store_->readAt(entry.bitmapOffset + sf::kBlockHeaderBytes, payload) &&
          !store_->writeAt(block + sf::kBlockHeaderBytes, payload)) {
        return false;
      }
      store_->freeBlock(entry.bitmapOffset, sf::kBitmapUnitBytes);
    }
  }
  entry.bitmapOffset = block;
  entry.capacityBits = bitmapCapacity(units);
  return true;
}

bool ValueIndex::addIndexKey(const IndexValue& value, std::uint16_t field, std::uint32_t record) {
  if (unavailable_) return true;
  if (!store_) return false;
  // An empty text would match the field's first entry and put the record
  // under somebody else's country or region: there is nothing to index.
  if (value.isText() && value.text.empty()) return true;
  beginUpdate();
  if (!dirtyInFile_) return endUpdate(false);
  std::optional<IndexEntry> entry = findIndexEntry(value, field, 1);
  if (!entry) {
    const std::optional<std::uint16_t> n = createIndexEntry(value, field);
    if (n) entry = readEntry(*n);
    if (!entry) {
      setUnavailable(true);
      endUpdate(false);
      return false;
    }
  }
  bool ok = true;
  bool changed = false;
  if (entry->bitmapOffset == 0 || record >= entry->capacityBits) {
    ok = growBitmap(*entry, record);
    changed = ok;
  }
  if (ok) {
    const std::uint64_t at = std::uint64_t{entry->bitmapOffset} + sf::kBlockHeaderBytes + (record >> 3);
    std::uint8_t byte = 0;
    ok = store_->readAt(at, {&byte, 1});
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (record & 7));
    if (ok && (byte & bit) == 0) {
      byte = static_cast<std::uint8_t>(byte | bit);
      ok = store_->writeAt(at, {&byte, 1});
      if (ok) ++entry->memberCount;
      changed = true;
    }
  }
  if (ok && changed) ok = writeEntry(*entry);
  const bool ended = endUpdate(ok);
  return ok && ended;
}

bool ValueIndex::removeIndexKey(const IndexValue& value, std::uint16_t field, std::uint32_t record) {
  if (unavailable_) return true;
  if (!store_) return false;
  if (value.isText() && value.text.empty()) return true;
  std::optional<IndexEntry> entry = findIndexEntry(value, field, 1);
  if (!entry || entry->bitmapOffset == 0 || record >= entry->capacityBits) return true;
  const std::uint64_t at = std::uint64_t{entry->bitmapOffset} + sf::kBlockHeaderBytes + (record >> 3);
  std::uint8_t byte = 0;
  if (!store_->readAt(at, {&byte, 1})) return false;
  const std::uint8_t bit = static_cast<std::uint8_t>(1u << (record & 7));
  if ((byte & bit) == 0) return true;
  beginUpdate();
  if (!dirtyInFile_) return endUpdate(false);
  byte = static_cast<std::uint8_t>(byte & ~bit);
  bool ok = store_->writeAt(at, {&byte, 1});
  if (ok) {
    if (entry->memberCount > 0) --entry->memberCount;
    ok = writeEntry(*entry);
  }
  const bool ended = endUpdate(ok);
  return ok && ended;
}

std::optional<RecordSet> ValueIndex::getRecordSet(const IndexValue& value, std::uint16_t field) {
  const std::optional<IndexEntry> entry = findIndexEntry(value, field, 1);
  if (!entry) return std::nullopt;
  const std::size_t n = std::min<std::size_t>((std::uint64_t{entry->capacityBits} + 7) / 8, RecordSet::kMaxBytes);
  Bytes bytes(n, 0);
  if (entry->bitmapOffset != 0 && n > 0 &&
      !store_->readAt(std::uint64_t{entry->bitmapOffset} + sf::kBlockHeaderBytes, bytes)) {
    std::fill(bytes.begin(), bytes.end(), 0);
  }
  return RecordSet(std::move(bytes));
}

std::vector<IndexEntry> ValueIndex::entriesOfField(std::uint16_t field) {
  std::vector<IndexEntry> out;
  if (!store_) return out;
  drainFieldTable();
  const auto it = groups_.find(field);
  if (it == groups_.end()) return out;
  std::vector<std::uint16_t> numbers = it->second.entries;
  for (std::uint16_t n : it->second.direct) {
    if (n != 0) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  for (std::uint16_t n : numbers) {
    if (std::optional<IndexEntry> e = readEntry(n)) out.push_back(*e);
  }
  return out;
}

}  // namespace kalvor
