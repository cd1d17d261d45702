// The paged record store behind "kalvor.fs", "kalvor.st" and "kalvor.vi":
// a count word, a free-list head and a page directory at the start of the
// file, slot pages mapping record numbers to file offsets, and variable-length
// blocks that are reused whole (first fit) once freed.
//
// Records are never torn: a rewrite goes into another block (a free one or
// a new one at the end) and only a single aligned 4-byte slot write makes it
// current, so a crash leaves either the old or the new version. Every write
// reaches the system at once and is checked (a short write is a failure);
// sync() makes them durable, once per completed user action.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "collection/store_format.h"
#include "platform/file_layer.h"

namespace kalvor {

// What distinguishes the three store files.
struct StoreLayout {
  std::uint32_t directorySize;  // D, entries of the page directory
  std::uint32_t countMask;      // bits of the count word that hold the count
  std::uint32_t unitBytes;      // payload unit of the blocks that slots point at
  bool slotsHoldEntries;        // "kalvor.vi": slots point at 62-byte index entries
};

inline constexpr StoreLayout kLocalityStoreLayout{store_format::kLocalityDirectorySize,
                                                  store_format::kLocalityCountMask,
                                                  store_format::kRecordUnitBytes, false};
inline constexpr StoreLayout kSpecimenStoreLayout{store_format::kSpecimenDirectorySize,
                                                  store_format::kSpecimenCountMask,
                                                  store_format::kRecordUnitBytes, false};
inline constexpr StoreLayout kValueIndexStoreLayout{store_format::kValueIndexDirectorySize,
                                                    store_format::kValueIndexCountMask,
                                                    store_format::kBitmapUnitBytes, true};

enum class StoreOpenMode { kReadWrite, kReadOnly };

// Why a store did not open.
enum class StoreOpenError {
  kNone,
  kCannotOpen,  // missing (read-only mode), not accessible, or not creatable
  kNotAStore,   // the file exists but is no store: empty, cut short or inconsistent
};

class RecordStore {
 public:
  // Opens the store at `path` through `files`; in read-write mode a missing
  // file is created with count 0, no free list and an empty directory.
  // Returns nothing when the file can neither be opened nor created, or is
  // shorter than its header; an existing empty file is no store either,
  // except for the value index, which is derived from the records and is
  // started afresh. `error` (may be null) receives the reason.
  static std::optional<RecordStore> openStoreFile(const std::string& path, const StoreLayout& layout,
                                                  StoreOpenMode mode = StoreOpenMode::kReadWrite,
                                                  FileLayer& files = systemFileLayer(),
                                                  StoreOpenError* error = nullptr);

  // True when the file holds no more than its count says: no page beyond
  // the one of the next record number, no slot beyond that number (an
  // interrupted save leaves at most that one), and with count 0 and no
  // pages nothing but zeros. A store whose count was zeroed, or a file of
  // other data, fails this and must not be written to.
  bool matchesItsCount();

  RecordStore(RecordStore&&) noexcept;
  RecordStore& operator=(RecordStore&&) noexcept;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;
  ~RecordStore();

  const StoreLayout& layout() const { return layout_; }
  const std::string& path() const { return path_; }
  // The highest record number issued so far (count word masked).
  std::uint32_t count() const { return countWord_ & layout_.countMask; }
  // The count word as stored, including any bits above the mask.
  std::uint32_t countWord() const { return countWord_; }
  std::uint32_t freeHead() const { return freeHead_; }
  std::uint64_t fileSize() const { return fileSize_; }
  // The number a new record gets from writeRecord(0, ...).
  std::uint32_t nextRecordNumber() const { return count() + 1; }
  // The largest usable record number: D * 256 - 1.
  std::uint32_t maxRecordNumber() const;

  // --- Records of "kalvor.fs" and "kalvor.st" -------------------------------

  // Returns the payload of record n (the whole block after its 6-byte header,
  // cut at the end of the file), or nothing when n is 0 or above the count,
  // its page or slot is missing, or its block is not a valid block owned by n.
  std::optional<Bytes> readRecord(std::uint32_t n);

  // Writes record n (0 = a new record, numbered nextRecordNumber()) with the
  // given payload into a block of at least `units` units (raised when the
  // payload would not fit). Returns the record number, or nothing when the
  // number is out of range or a write failed; on failure the stored record
  // (if any) is unchanged.
  std::optional<std::uint32_t> writeRecord(std::uint32_t n, std::span<const std::uint8_t> payload,
                                           std::uint32_t units);

  // Reads every record 1..count in runs of up to a megabyte in file order
  // (not number order) and hands each payload, cut as readRecord cuts it, to
  // `use`; the span is valid during the call only. A record whose slot or
  // block is missing or not owned by it is counted as unreadable.
  struct RecordScan {
    std::uint32_t readable = 0;
    std::uint32_t unreadable = 0;
  };
  RecordScan readAllRecords(const std::function<void(std::uint32_t, std::span<const std::uint8_t>)>& use);

  // Makes every write since the last sync durable on the disk; true when
  // there was nothing to do. Called once per completed user action.
  bool sync();

  // Refuses every later write (a damaged store is only read until repaired).
  void refuseWrites() { readOnly_ = true; }
  bool writesRefused() const { return readOnly_; }

  // --- Lower level, shared with the value index ------------------------------

  // Returns the file offset of record n's slot, or 0 when n is out of range or
  // its page is missing (create = false) or cannot be created (create = true).
  // Without create, a slot holding 0 also gives 0. Unlike the old protocol the
  // slot is never filled in here: it is set only once its block is complete.
  std::uint32_t lookupSlot(std::uint32_t n, bool create);

  // Returns the offset stored in record n's slot, 0 when there is none.
  std::uint32_t slotValue(std::uint32_t n);

  // Whether the slot page that holds record n's slot lies in the data area;
  // without it none of its 256 records can be read.
  bool hasSlotPage(std::uint32_t n) const;

  // Takes the first free block with owner 0 and at least `units` units (whole,
  // no splitting; `units` becomes its size) or appends one at the end; writes
  // the header (owner, units) and a zeroed payload of units * unitBytes bytes
  // and flushes. Never hands out a block that overlaps live data and never
  // loops on a damaged free list. Returns the block offset, 0 on failure.
  std::uint32_t allocateBlock(std::uint32_t owner, std::uint32_t& units, std::uint32_t unitBytes);

  // Puts the block at `offset` (header units read from the file) at the head
  // of the free list. Returns false on a write failure or when the block is not
  // a plausible live block (then it is left alone).
  bool freeBlock(std::uint32_t offset, std::uint32_t unitBytes);

  // Writes `entry` as a new fixed-size record n (n = count + 1 for "kalvor.vi")
  // at the end of the file, points its slot at it and stores the count word.
  // Returns the entry's offset, 0 on failure.
  std::uint32_t appendEntry(std::uint32_t n, std::span<const std::uint8_t> entry);

  // Points record n's slot at `offset` (page created as needed) and flushes.
  bool setSlot(std::uint32_t n, std::uint32_t offset);

  // Raw reads and flushed writes at a file offset; false on a short read/write.
  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out);
  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data);
  bool readU32At(std::uint64_t offset, std::uint32_t& value);
  bool writeU32At(std::uint64_t offset, std::uint32_t value);

  // Stores the count word (all 32 bits) at offset 0 and flushes.
  bool writeCountWord(std::uint32_t word);

  // Returns the page directory entry of `page` (0 for pages beyond D).
  std::uint32_t directoryEntry(std::uint32_t page) const;

  // Offset of the first byte after the header and directory: 8 + 4 * D.
  std::uint32_t dataStart() const;

 private:
  RecordStore(std::string path, const StoreLayout& layout, std::unique_ptr<RandomAccessFile> file,
              bool readOnly);

  StoreOpenError load();
  std::uint32_t ensurePage(std::uint32_t page);
  std::uint32_t placeBlock(std::uint32_t owner, std::uint32_t& units, std::uint32_t unitBytes,
                           const Bytes& start);
  struct BlockHeader {
    std::uint32_t owner = 0;
    std::uint32_t units = 0;
    std::uint32_t next = 0;  // free blocks only
  };
  bool plausibleBlock(std::uint32_t offset, std::uint32_t unitBytes, BlockHeader& header,
                      bool withNext = false);
  bool pushFree(std::uint32_t offset, std::uint32_t units, std::uint32_t unitBytes);
  void buildLiveMap();
  void readSorted(std::vector<std::uint32_t>& offsets, std::uint32_t width,
                  const std::function<void(std::uint32_t, const std::uint8_t*)>& use);
  bool overlapsLive(std::uint32_t begin, std::uint64_t end) const;
  void addLive(std::uint32_t begin, std::uint64_t end);
  void removeLive(std::uint32_t begin);
  bool writeFreeHead(std::uint32_t head);
  bool loadFreeList(std::uint32_t unitBytes);

  std::string path_;
  StoreLayout layout_;
  std::unique_ptr<RandomAccessFile> file_;
  bool readOnly_ = false;
  bool unsynced_ = false;
  std::vector<std::uint32_t> directory_;
  std::uint32_t countWord_ = 0;
  std::uint32_t freeHead_ = 0;
  std::uint64_t fileSize_ = 0;
  // Live extents (slot pages, blocks, entries) by start offset, built on the
  // first allocation that walks the free list; guards against a damaged free
  // list handing out space that still holds data.
  std::map<std::uint32_t, std::uint64_t> live_;
  bool liveBuilt_ = false;
  std::uint64_t longestLive_ = 0;
  // The free list as on disk, head first, checked once and then kept in step
  // with every change, so an allocation reads no free block from the file.
  // Only placeBlock, pushFree and loadFreeList may change it; any failed
  // write drops it, and the next allocation reads the list from disk again.
  struct FreeBlock {
    std::uint32_t offset;
    std::uint32_t units;
  };
  std::vector<FreeBlock> freeList_;
  bool freeListLoaded_ = false;
  std::uint32_t freeListUnitBytes_ = 0;
};

// Opens "kalvor.fs" or "kalvor.st" as the program does at start-up: the
// read-only mark set at shut-down is cleared first, then the store is opened
// (created when missing). Nothing when it cannot be opened.
std::optional<RecordStore> openCollectionStore(const std::string& path, const StoreLayout& layout,
                                               FileLayer& files = systemFileLayer());

// Marks a collection file read-only at shut-down (after its store was closed).
// Returns false when the file is missing or the mark cannot be set.
bool markCollectionFileReadOnly(const std::string& path, FileLayer& files = systemFileLayer());

}  // namespace kalvor
