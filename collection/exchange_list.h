// Exchange lists ("Tauschliste", *.ktl): the user's exchange pieces with
// their localities in one self-contained file for another collector, and the
// exchange-assistant mode in which such a file stands in for the user's own
// collection. The layout is described in docs/formats/exchange_list.md.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/sort_order.h"
#include "collection/value_index.h"
#include "platform/file_layer.h"

namespace kalvor {

class Collection;

namespace exchange_format {
// The file starts with its own value index, laid out as "kalvor.vi": count
// word, free-list head and a 256-entry page directory.
inline constexpr std::uint32_t kValueIndexBytes = 1032;
// The exchange header follows the value index.
inline constexpr std::uint32_t kHeaderOffset = 1032;
inline constexpr std::uint32_t kHeaderBytes = 116;
inline constexpr std::uint32_t kSpecimenCountField = 0;       // u32
inline constexpr std::uint32_t kLocalityCountField = 4;       // u32
inline constexpr std::uint32_t kSpecimenDirectoryField = 8;   // u32 file offset
inline constexpr std::uint32_t kLocalityDirectoryField = 12;  // u32 file offset
// Two page directories of 2048 u32 entries each, then slot pages and records.
inline constexpr std::uint32_t kDirectoryEntries = 2048;
inline constexpr std::uint32_t kDirectoryBytes = kDirectoryEntries * 4;
inline constexpr std::uint32_t kSpecimenDirectoryOffset = kHeaderOffset + kHeaderBytes;             // 1148
inline constexpr std::uint32_t kLocalityDirectoryOffset = kSpecimenDirectoryOffset + kDirectoryBytes;  // 9340
inline constexpr std::uint32_t kDataStart = kLocalityDirectoryOffset + kDirectoryBytes;              // 17532
// Highest numbers the directories and record fields can carry.
inline constexpr std::uint32_t kMaxSpecimens = kDirectoryEntries * 256 - 1;
inline constexpr std::uint32_t kMaxLocalities = 0xFFFF;
inline constexpr const char* kExtension = ".ktl";
}  // namespace exchange_format

enum class ExchangeExportStatus {
  kWritten,           // the file holds at least one exchange piece
  kNoExchangePieces,  // nothing to export: no file was created (the shell beeps)
  kFailed,            // an exchange list is open, or the file could not be written
};

struct ExchangeExportResult {
  ExchangeExportStatus status = ExchangeExportStatus::kFailed;
  std::uint32_t specimens = 0;   // exported specimens (numbered 1..specimens)
  std::uint32_t localities = 0;  // locality numbers issued (1..localities)
};

// Writes the user's exchange pieces (the value index's exchange set, each
// record checked to be an exchange piece that is not deleted) and their
// localities to `path`: specimens renumbered 1, 2, ... in ascending original
// number with purchase price 0, localities numbered in order of first use,
// each with the exported specimens as its list. A piece without a readable
// locality is exported with locality value 0 ("unbekannt"). Progress lines go
// to `progress` (may be null). An existing file at `path` is replaced only on
// success.
ExchangeExportResult exportExchangeList(Collection& collection, const std::string& path,
                                        ProgressSink* progress);

// Appends ".ktl" when the file-name part (after the last '\' or '/') has no '.'.
std::string withExchangeExtension(const std::string& name);

enum class ExchangeOpenStatus {
  kOpened,
  kCannotOpen,   // missing or not readable and writable
  kMalformed,    // header, counts or directory offsets do not fit the file
  kIndexFailed,  // its value index could not be opened or built
  kAlreadyOpen,  // another exchange list is open
};

// The German text (Windows-1252) shown for a failed opening; empty for kOpened.
std::string exchangeOpenMessage(ExchangeOpenStatus status);

// An open exchange list: its header, its own value index and the two sort
// orders, read from a file that came from someone else and is checked
// against its own length at every step.
class ExchangeList {
 public:
  ExchangeList(const ExchangeList&) = delete;
  ExchangeList& operator=(const ExchangeList&) = delete;
  ~ExchangeList();

  std::uint32_t specimenCount() const { return specimenCount_; }
  std::uint32_t localityCount() const { return localityCount_; }
  const std::string& path() const { return path_; }

  // The file offset of record n's slot in the directory at directoryOffset,
  // 0 when n is out of range, its page is missing or the slot holds 0.
  std::uint32_t lookupExchangeSlot(std::uint32_t n, std::uint32_t directoryOffset);
  // Locality n (fixed part only with headerOnly); nothing when it cannot be read.
  std::optional<Locality> readExchangeLocality(std::uint32_t n, bool headerOnly);
  // Specimen n; nothing when it cannot be read.
  std::optional<Specimen> readExchangeSpecimen(std::uint32_t n);

  ValueIndex& valueIndex() { return index_; }
  SortOrder& localityOrder() { return localityOrder_; }
  SortOrder& specimenOrder() { return specimenOrder_; }

 private:
  friend ExchangeOpenStatus openExchangeList(Collection&, const std::string&, ProgressSink*);
  ExchangeList(std::string path, std::uint32_t mineralCount);
  // The record of number n without block header: its fixed part, and with
  // `full` as many bytes as recordLength(fixed part) says, all inside the file.
  std::optional<Bytes> readRecordAt(std::uint32_t n, std::uint32_t directoryOffset, std::uint32_t count,
                                    std::size_t fixedBytes,
                                    std::size_t (*recordLength)(const std::uint8_t*), bool full);

  std::string path_;
  std::unique_ptr<RandomAccessFile> file_;
  std::uint64_t size_ = 0;
  std::uint32_t specimenCount_ = 0;
  std::uint32_t localityCount_ = 0;
  std::uint32_t specimenDirectory_ = 0;
  std::uint32_t localityDirectory_ = 0;
  ValueIndex index_;
  SortOrder localityOrder_;
  SortOrder specimenOrder_;
};

// Enters the exchange-assistant mode with the file at `path`: checks its
// header against the file, opens its value index (building it inside the file
// the first time, progress through `progress`), then points the collection's
// reads, counts, index and sort orders at it and sorts both orders. On any
// failure nothing changes, neither in the user's collection nor in the mode.
ExchangeOpenStatus openExchangeList(Collection& collection, const std::string& path,
                                    ProgressSink* progress);

// Leaves the exchange-assistant mode: the exchange file is closed and the
// user's collection (counts, index, sort orders) is current again, as it was.
void leaveExchangeList(Collection& collection);

}  // namespace kalvor
