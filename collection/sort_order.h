// Sort orders of localities and specimens: a permutation of the record
// numbers kept in memory and in a side file ("kalvor.fss", "kalvor.sts") so
// that start-up need not sort; new records are inserted by binary search.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "platform/file_layer.h"

namespace kalvor {

class Collection;
class Settings;
struct Specimen;

inline constexpr const char* kLocalityOrderFileName = "kalvor.fss";
inline constexpr const char* kSpecimenOrderFileName = "kalvor.sts";

// Forms of a sort order.
inline constexpr std::uint32_t kOrderList = 1;       // record numbers in display order
inline constexpr std::uint32_t kOrderPositions = 2;  // entry r - 1 = display position of r
inline constexpr std::uint32_t kOrderDropCache = 4;  // drop the cached other form

// The side file stores the count and entries as u16: larger orders live in memory only.
inline constexpr std::uint32_t kMaxStoredOrderCount = 0xFFFF;

struct SortOrder {
  std::uint32_t count = 0;            // records covered (the store's count)
  std::uint32_t form = kOrderList;
  std::vector<std::uint32_t> entries;  // count values in the current form
  // The other form, kept after a conversion so that switching back is free.
  std::uint32_t cachedForm = 0;
  std::vector<std::uint32_t> cachedEntries;
};

// Switches the order to form 1 or 2 (converting, or swapping in the cached
// copy); form 4 drops the cached copy. Returns false for an unknown form.
bool switchOrderForm(SortOrder& order, std::uint32_t form);

// The side file's bytes: u16 count, u32 form, u16 entries. Nothing when the
// order is too large for the file.
std::optional<Bytes> encodeSortOrder(const SortOrder& order);

// Parses side-file bytes under the same rules as loadSortOrder.
std::optional<SortOrder> decodeSortOrder(std::span<const std::uint8_t> data,
                                         std::uint32_t expectedCount);

// Reads a side file; accepted only when its count equals expectedCount, every
// entry could be read and (form 1 or 2) the entries are a permutation of 1..count
// (respectively 0..count-1), so a damaged file leads to a full sort instead of
// a view that skips or repeats records.
bool loadSortOrder(const std::string& path, std::uint32_t expectedCount, SortOrder& order,
                   FileLayer& files = systemFileLayer());

// Writes the side file (through a temporary file, so a crash leaves the old one).
// Returns false when it cannot be written; an order larger than the file can
// hold removes a stale file and returns true.
bool saveSortOrder(const std::string& path, const SortOrder& order, FileLayer& files = systemFileLayer());

// Compares two record numbers for a sort order; prepare/release bracket a
// full sort so the comparator can cache keys for records 1..n.
class RecordComparator {
 public:
  virtual ~RecordComparator() = default;
  // Builds the key cache for records 1..n.
  virtual void prepare(std::uint32_t n) = 0;
  // Drops the key cache.
  virtual void release() = 0;
  // Negative, 0 or positive as record a sorts before, with or after record b.
  virtual int compare(std::uint32_t a, std::uint32_t b) = 0;
};

// Sorts records 1..n into form 1; records that compare equal keep ascending numbers.
void sortAll(SortOrder& order, std::uint32_t n, RecordComparator& comparator);

// Inserts a new record by binary search after any equal entry (form 1).
void insertIntoOrder(SortOrder& order, std::uint32_t record, RecordComparator& comparator);

// Moves a changed record to the place its new key calls for (taken out, then
// inserted as a new one); a record not in the order is inserted.
void repositionInOrder(SortOrder& order, std::uint32_t record, RecordComparator& comparator);

// Localities by their sort text, case-insensitively (30 characters from the
// cache first, then the whole text).
class LocalityComparator : public RecordComparator {
 public:
  explicit LocalityComparator(Collection& collection) : collection_(collection) {}
  void prepare(std::uint32_t n) override;
  void release() override;
  int compare(std::uint32_t a, std::uint32_t b) override;

 private:
  std::string keyText(std::uint32_t n);
  Collection& collection_;
  std::vector<std::string> cache_;  // 30-character slots, index = number - 1
};

// Modes of "Stufensortierung".
enum class SpecimenSortMode : int {
  kEntryOrder = 0,     // "in Eingabereihenfolge"
  kNumericIndex = 1,   // "numerischer Index"
  kTextIndex = 2,      // "Zeichenketten Index"
  kFirstMineral = 3,   // "erstes Mineral"
  kCombinedIndex = 4,  // "kombinierter Index"
};

// [Optionen] "Stufensortierung" (missing or out of range: 0).
SpecimenSortMode specimenSortMode(const Settings* settings);

// The leading number of a text: white space and one sign skipped, then digits
// up to the first other character; 0 without digits (saturating at 32 bits).
std::int32_t leadingNumber(std::string_view text);

// Sort key of a specimen in a mode: a number and a text (40/44 characters at most).
struct SpecimenSortKey {
  std::int64_t number = 0;
  std::string text;
};
SpecimenSortKey specimenSortKey(SpecimenSortMode mode, std::uint32_t number,
                                const Specimen* specimen, const Collection& collection);

// Specimens in one of the five modes (read from the settings at every prepare).
class SpecimenComparator : public RecordComparator {
 public:
  explicit SpecimenComparator(Collection& collection);
  void prepare(std::uint32_t n) override;
  void release() override;
  int compare(std::uint32_t a, std::uint32_t b) override;
  SpecimenSortMode mode() const { return mode_; }

 private:
  SpecimenSortKey keyOf(std::uint32_t n);
  int compareKeys(const SpecimenSortKey& a, const SpecimenSortKey& b) const;
  Collection& collection_;
  SpecimenSortMode mode_;
  std::vector<SpecimenSortKey> cache_;  // index = number - 1
};

}  // namespace kalvor
