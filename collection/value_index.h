// The value index "kalvor.vi": for each (field, value) pair one 62-byte
// entry with a bitmap of the localities or specimens that carry the value,
// so searches, list views and the exchange export select records without
// reading them. An in-memory field table groups the entries by field and is
// filled in small steps after start-up.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/record_set.h"
#include "collection/record_store.h"

namespace kalvor {

class Settings;

// Fields: the numbers of the entry-dialog controls that edit them.
namespace index_field {
inline constexpr std::uint16_t kLocalityMineral = 1050;  // MineralNumber
inline constexpr std::uint16_t kLocalityCountry = 1057;  // text
inline constexpr std::uint16_t kLocalityRegion = 1060;   // text
inline constexpr std::uint16_t kLocalityAll = 1062;      // value 0: not deleted
inline constexpr std::uint16_t kSpecimenMineral = 1070;  // stored mineral - 1
inline constexpr std::uint16_t kSpecimenCollection = 1078;
inline constexpr std::uint16_t kSpecimenExchange = 1079;
inline constexpr std::uint16_t kSpecimenBought = 1080;
inline constexpr std::uint16_t kSpecimenFound = 1081;
inline constexpr std::uint16_t kSpecimenSwapped = 1082;
inline constexpr std::uint16_t kSpecimenLocality = 1083;  // locality number
inline constexpr std::uint16_t kSpecimenAll = 1091;       // value 0: not deleted
}  // namespace index_field

// Kind bits of an entry.
inline constexpr std::uint16_t kIndexKindBitmap = 0x01;
inline constexpr std::uint16_t kIndexKindText = 0x08;
inline constexpr std::uint16_t kIndexKindNumber = 0x10;

// The value of an index key: a number (kind 0x11) or a text (kind 0x09).
struct IndexValue {
  std::uint16_t kind = kIndexKindNumber | kIndexKindBitmap;
  std::uint32_t number = 0;
  std::string text;  // Windows-1252

  static IndexValue ofNumber(std::uint32_t n) { return {kIndexKindNumber | kIndexKindBitmap, n, {}}; }
  static IndexValue ofText(std::string_view t) {
    return {kIndexKindText | kIndexKindBitmap, 0, std::string(t)};
  }
  bool isText() const { return (kind & kIndexKindText) != 0; }
};

// One index entry as stored (62 bytes, little-endian).
struct IndexEntry {
  std::uint16_t kind = 0;
  std::uint16_t number = 0;         // its record number in "kalvor.vi"
  std::uint32_t bitmapOffset = 0;   // 0 = no bitmap yet
  std::uint32_t memberCount = 0;
  std::uint32_t capacityBits = 0;
  std::uint32_t ownOffset = 0;
  std::uint16_t field = 0;
  std::array<std::uint8_t, 40> value{};  // text (zero-filled) or u32 number

  // The stored 62 bytes.
  Bytes encode() const;
  // Parses 62 bytes; nothing when fewer are given.
  static std::optional<IndexEntry> decode(std::span<const std::uint8_t> bytes);
  // The text value up to its first zero (at most 40 characters).
  std::string text() const;
  std::uint32_t numberValue() const;
};

// Units of a bitmap block that holds record r (so that r < units * 512 - 48).
std::uint32_t bitmapUnitsFor(std::uint32_t r);
// Capacity in bits of a bitmap block of `units` units.
constexpr std::uint32_t bitmapCapacity(std::uint32_t units) { return units * 512 - 48; }

// Compares two texts of an index (the collation of the mineral names in the
// program); returns <0, 0, >0. Only its equality is used.
using IndexTextCompare = std::function<int(std::string_view, std::string_view)>;

// Whether two texts of a field are one value of the index: the same first
// two bytes (the prefix key the entry is filed under) and equal under the
// collation. Saves, rebuilds and the index check all group texts by it.
bool sameIndexText(std::string_view a, std::string_view b, const IndexTextCompare& compare);

// Reports the progress line of a rebuild ("Bearbeite Stufe %ld/%ld").
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void progress(const std::string& line) = 0;
};

// What a rebuild needs to know of the localities and specimens. Implemented
// over the locality and specimen stores by the collection, and by fakes in tests.
class IndexRebuildSource {
 public:
  struct Locality {
    bool deleted = false;
    std::string country;                   // Windows-1252
    std::string region;
    std::vector<std::uint16_t> minerals;   // MineralNumber (bits 0-12 of the entries)
    std::vector<std::uint32_t> specimens;  // the locality's specimen list
  };
  struct Specimen {
    bool deleted = false;
    std::uint16_t flags = 0;               // 0x01 collection, 0x04 found, 0x08 bought, 0x10 swapped
    std::vector<std::uint16_t> minerals;   // stored form: MineralNumber + 1
    std::uint16_t localityValue = 0;       // locality number + 1; 0 and 1 = none
  };
  virtual ~IndexRebuildSource() = default;
  virtual std::uint32_t localityCount() = 0;
  virtual std::uint32_t specimenCount() = 0;
  // Locality n, or nothing when it cannot be read.
  virtual std::optional<Locality> readLocality(std::uint32_t n) = 0;
  // Specimen n, or nothing when it cannot be read.
  virtual std::optional<Specimen> readSpecimen(std::uint32_t n) = 0;
  // Replaces locality n's specimen list by `specimens` (ascending), recomputes
  // its minerals and writes it. Returns false when that failed.
  virtual bool replaceLocalitySpecimens(std::uint32_t n, const std::vector<std::uint32_t>& specimens) = 0;
};

class ValueIndex {
 public:
  enum class OpenResult {
    kReady,         // usable as it is
    kNeedsRebuild,  // empty beside a non-empty collection, or left half-updated by a crash
    kFailed,        // cannot be opened or created: the collection is unavailable
  };

  // `mineralCount` sizes the direct arrays of the mineral fields; `settings`
  // (may be null, not owned, must outlive the index) keeps [Status] "Index-Defekt";
  // the index file is reached through `files` (not owned either).
  ValueIndex(std::uint32_t mineralCount, IndexTextCompare compare, Settings* settings,
             FileLayer& files = systemFileLayer());

  // Opens or creates the index file. `collectionRecords` is the number of
  // localities plus specimens, to tell an empty index that must be rebuilt.
  // kFailed sets the collection-unavailable flag.
  OpenResult openValueIndex(const std::string& path, std::uint32_t collectionRecords);
  // Closes the file (clearing the update mark) and drops the field table.
  void closeValueIndex();
  bool isOpen() const { return store_.has_value(); }

  // Collection-unavailable flag; setting it is written to "kalvor.ini" at once.
  bool unavailable() const { return unavailable_; }
  void setUnavailable(bool on);
  // Reads the flag from [Status] "Index-Defekt" (default 0); writes it back ("%d").
  void loadUnavailableFlag();
  bool saveUnavailableFlag() const;

  // Finds the first entry of `field` with entry number >= minEntry whose
  // value matches (an empty search text matches any text of the field).
  std::optional<IndexEntry> findIndexEntry(const IndexValue& value, std::uint16_t field,
                                           std::uint16_t minEntry = 1);
  // Creates an empty entry (no bitmap); returns its entry number, nothing on failure.
  std::optional<std::uint16_t> createIndexEntry(const IndexValue& value, std::uint16_t field);
  // Adds record to the set of (value, field), creating the entry as needed.
  // No effect while the collection is unavailable. Returns false on a failure.
  bool addIndexKey(const IndexValue& value, std::uint16_t field, std::uint32_t record);
  // Removes record from the set of (value, field). No effect while unavailable.
  bool removeIndexKey(const IndexValue& value, std::uint16_t field, std::uint32_t record);
  // The set of (value, field), nothing when there is no such entry.
  std::optional<RecordSet> getRecordSet(const IndexValue& value, std::uint16_t field);
  // Every entry of a field in entry order (the region and country boxes).
  std::vector<IndexEntry> entriesOfField(std::uint16_t field);

  // Loads up to five more entries into the field table (from entry 1 again
  // with restart). Returns true while entries remain to be loaded.
  bool loadFieldTableStep(bool restart);

  // Groups several key changes of one save: the update mark stays set in the
  // file until the outermost batch ends, so a crash in between is detected.
  // A batch ended with `completed` false (or one in which a key change
  // failed) leaves the mark set: the index no longer matches the records
  // and is rebuilt at the next start, or at once by the caller.
  void beginUpdate();
  bool endUpdate(bool completed = true);
  // True when the file carried the update mark at open: it may be half-updated.
  bool wasLeftDirty() const { return leftDirty_; }
  // True when an update since the open (or the last rebuild) did not
  // complete: the mark stays set in the file and the index must be rebuilt.
  bool updateFailed() const { return updateFailed_; }

  // Rebuilds the index from the records: clears the unavailable flag, empties
  // the file, then pass 1 (localities), pass 2 (specimens) and, with
  // withLocalityLists, pass 3 (localities' specimen lists checked against the
  // index and repaired). Returns false when the file could not be rebuilt.
  bool rebuildValueIndex(IndexRebuildSource& source, ProgressSink* progress, bool withLocalityLists);

  // Marks the index as the head of a larger file (an exchange list): a rebuild
  // then clears only the header and directory and keeps the rest of the file.
  void setEmbedded(bool embedded) { embedded_ = embedded; }

  // sameIndexText with this index's collation.
  bool sameText(std::string_view a, std::string_view b) const { return sameIndexText(a, b, compare_); }

  // Entry count (entries issued so far).
  std::uint32_t entryCount() const { return store_ ? store_->count() : 0; }
  // The underlying store, for inspection tools and tests.
  RecordStore* store() { return store_ ? &*store_ : nullptr; }

 private:
  struct Group {
    std::vector<std::uint16_t> entries;
    std::vector<std::uint16_t> keys;    // prefix keys (text fields) or locality numbers (1083)
    std::vector<std::uint16_t> direct;  // mineral fields: entry number by MineralNumber
  };

  std::optional<IndexEntry> readEntry(std::uint16_t number);
  bool writeEntry(IndexEntry& entry);
  void noteInTable(const IndexEntry& entry);
  bool entryMatches(const IndexEntry& entry, const IndexValue& value) const;
  bool growBitmap(IndexEntry& entry, std::uint32_t record);
  void drainFieldTable();
  bool markDirty();
  bool clearDirty();

  std::uint32_t mineralCount_;
  IndexTextCompare compare_;
  Settings* settings_;
  FileLayer* files_;
  std::string path_;
  std::optional<RecordStore> store_;
  std::map<std::uint16_t, Group> groups_;
  std::uint32_t loadNext_ = 1;
  bool unavailable_ = false;
  bool leftDirty_ = false;
  bool dirtyInFile_ = false;
  bool updateFailed_ = false;
  int batchDepth_ = 0;
  bool embedded_ = false;
};

}  // namespace kalvor
