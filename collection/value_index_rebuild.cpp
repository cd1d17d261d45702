// Rebuilding "kalvor.vi" from the localities and specimens. The sets are
// collected in memory and written out in one sweep, entry after entry, which
// is far cheaper than setting one bit at a time; the entries come out in the
// order in which saves would have created them.
#include <algorithm>
#include <cstdio>

#include "base/file_io.h"
#include "collection/value_index.h"
#include "platform/file_layer.h"

namespace kalvor {
namespace sf = store_format;

namespace {

std::string progressLine(const char* format, std::uint32_t a, std::uint32_t b) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, static_cast<long>(a), static_cast<long>(b));
  return buffer;
}

// The sets of one rebuild, in order of first appearance.
class PendingKeys {
 public:
  explicit PendingKeys(const IndexTextCompare& compare) : compare_(compare) {}

  void add(const IndexValue& value, std::uint16_t field, std::uint32_t record) {
    if (value.isText() && value.text.empty()) return;
    keys_[find(value, field)].set.add(record);
  }

  struct Key {
    IndexValue value;
    std::uint16_t field;
    RecordSet set;
  };
  std::vector<Key>& keys() { return keys_; }

 private:
  std::size_t find(const IndexValue& value, std::uint16_t field) {
    if (!value.isText()) {
      const auto it = numbers_.find({field, value.number});
      if (it != numbers_.end()) return it->second;
      numbers_[{field, value.number}] = keys_.size();
    } else {
      // The same matching as a lookup: first two bytes equal, then the collation.
      const std::string text = value.text.substr(0, 40);
      for (std::size_t i : texts_[field]) {
        if (sameIndexText(keys_[i].value.text, text, compare_)) return i;
      }
      texts_[field].push_back(keys_.size());
    }
    IndexValue stored = value;
    if (stored.isText()) stored.text = stored.text.substr(0, 40);
    keys_.push_back({stored, field, RecordSet()});
    return keys_.size() - 1;
  }

  const IndexTextCompare& compare_;
  std::vector<Key> keys_;
  std::map<std::pair<std::uint16_t, std::uint32_t>, std::size_t> numbers_;
  std::map<std::uint16_t, std::vector<std::size_t>> texts_;
};

}  // namespace

bool ValueIndex::rebuildValueIndex(IndexRebuildSource& source, ProgressSink* progress, bool withLocalityLists) {
  if (path_.empty()) return false;
  setUnavailable(false);
  store_.reset();
  groups_.clear();
  loadNext_ = 1;
  batchDepth_ = 0;
  // The fresh file carries the update mark until the rebuild is complete, so
  // an interrupted rebuild is redone at the next start.
  Bytes header(sf::kDirectoryOffset + 4 * sf::kValueIndexDirectorySize, 0);
  storeU32(header.data(), sf::kValueIndexDirtyBit);
  bool cleared = false;
  if (embedded_) {
    // The records behind the index belong to the file; only the index's own
    // header is reset, and its new entries are appended after them.
    const std::unique_ptr<RandomAccessFile> file = files_->openFile(path_, FileAccess::kReadWrite);
    cleared = file && file->writeAt(0, header);
  } else {
    cleared = replaceWholeFile(*files_, path_, header);
  }
  if (!cleared) {
    setUnavailable(true);
    return false;
  }
  store_ = RecordStore::openStoreFile(path_, kValueIndexStoreLayout, StoreOpenMode::kReadWrite, *files_);
  if (!store_) {
    setUnavailable(true);
    return false;
  }
  leftDirty_ = false;
  dirtyInFile_ = true;
  updateFailed_ = false;

  PendingKeys pending(compare_);
  const std::uint32_t localities = source.localityCount();
  for (std::uint32_t n = 1; n <= localities; ++n) {
    if (progress) progress->progress(progressLine("Bearbeite Fundstelle %ld/%ld", n, localities));
    const std::optional<IndexRebuildSource::Locality> loc = source.readLocality(n);
    if (!loc || loc->deleted) continue;
    pending.add(IndexValue::ofNumber(0), index_field::kLocalityAll, n);
    pending.add(IndexValue::ofText(loc->country), index_field::kLocalityCountry, n);
    pending.add(IndexValue::ofText(loc->region), index_field::kLocalityRegion, n);
    for (std::uint16_t m : loc->minerals) {
      pending.add(IndexValue::ofNumber(m & 0x1FFFu), index_field::kLocalityMineral, n);
    }
  }
  const std::uint32_t specimens = source.specimenCount();
  for (std::uint32_t n = 1; n <= specimens; ++n) {
    if (progress) progress->progress(progressLine("Bearbeite Stufe %ld/%ld", n, specimens));
    const std::optional<IndexRebuildSource::Specimen> s = source.readSpecimen(n);
    if (!s || s->deleted) continue;
    pending.add(IndexValue::ofNumber(0), index_field::kSpecimenAll, n);
    pending.add(IndexValue::ofNumber(0),
                (s->flags & 0x01) ? index_field::kSpecimenCollection : index_field::kSpecimenExchange, n);
    if (s->flags & 0x08) pending.add(IndexValue::ofNumber(0), index_field::kSpecimenBought, n);
    if (s->flags & 0x04) pending.add(IndexValue::ofNumber(0), index_field::kSpecimenFound, n);
    if (s->flags & 0x10) pending.add(IndexValue::ofNumber(0), index_field::kSpecimenSwapped, n);
    // MineralNumber 0 is indexed too, exactly as a save indexes it.
    for (std::uint16_t m : s->minerals) {
      if (m >= 1 && m - 1u < mineralCount_) {
        pending.add(IndexValue::ofNumber(m - 1u), index_field::kSpecimenMineral, n);
      }
    }
    if (s->localityValue > 1) {
      pending.add(IndexValue::ofNumber(s->localityValue - 1u), index_field::kSpecimenLocality, n);
    }
  }

  bool ok = true;
  for (PendingKeys::Key& key : pending.keys()) {
    const std::optional<std::uint16_t> n = createIndexEntry(key.value, key.field);
    std::optional<IndexEntry> entry = n ? readEntry(*n) : std::nullopt;
    const std::vector<std::uint32_t> members = key.set.members();
    if (!entry || members.empty() || !growBitmap(*entry, members.back())) {
      ok = false;
      break;
    }
    const Bytes& bits = key.set.bytes();
    entry->memberCount = static_cast<std::uint32_t>(members.size());
    if (!store_->writeAt(std::uint64_t{entry->bitmapOffset} + sf::kBlockHeaderBytes, bits) ||
        !writeEntry(*entry)) {
      ok = false;
      break;
    }
  }
  if (!ok) {
    setUnavailable(true);
    return false;
  }

  if (withLocalityLists) {
    for (std::uint32_t n = 1; n <= localities; ++n) {
      const std::optional<IndexRebuildSource::Locality> loc = source.readLocality(n);
      if (!loc || loc->deleted) continue;
      const std::optional<RecordSet> set = getRecordSet(IndexValue::ofNumber(n), index_field::kSpecimenLocality);
      const std::vector<std::uint32_t> members = set ? set->members() : std::vector<std::uint32_t>{};
      bool differs = members.size() != loc->specimens.size();
      for (std::uint32_t s : loc->specimens) differs = differs || !(set && set->test(s));
      if (differs) source.replaceLocalitySpecimens(n, members);
    }
  }
  return clearDirty();
}

}  // namespace kalvor
