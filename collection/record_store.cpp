#include "collection/record_store.h"

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <utility>

namespace kalvor {
namespace sf = store_format;

RecordStore::RecordStore(std::string path, const StoreLayout& layout, std::unique_ptr<RandomAccessFile> file,
                         bool readOnly)
    : path_(std::move(path)), layout_(layout), file_(std::move(file)), readOnly_(readOnly) {}

RecordStore::RecordStore(RecordStore&&) noexcept = default;
RecordStore& RecordStore::operator=(RecordStore&&) noexcept = default;
RecordStore::~RecordStore() = default;

std::uint32_t RecordStore::maxRecordNumber() const { return layout_.directorySize * sf::kSlotsPerPage - 1; }

std::uint32_t RecordStore::dataStart() const { return sf::kDirectoryOffset + 4 * layout_.directorySize; }

std::optional<RecordStore> RecordStore::openStoreFile(const std::string& path, const StoreLayout& layout,
                                                      StoreOpenMode mode, FileLayer& files,
                                                      StoreOpenError* error) {
  StoreOpenError ignored;
  StoreOpenError& why = error != nullptr ? *error : ignored;
  why = StoreOpenError::kCannotOpen;
  const bool readOnly = mode == StoreOpenMode::kReadOnly;
  const FileAccess access = readOnly ? FileAccess::kReadOnly : FileAccess::kReadWrite;
  std::unique_ptr<RandomAccessFile> file = files.openFile(path, access);
  if (!file && !readOnly) {
    // Never create over something that exists but cannot be opened for writing.
    if (files.presence(path) != FilePresence::kMissing) return std::nullopt;
    // Created whole through a temporary file, so a crash never leaves a
    // header that is cut short.
    const Bytes header(sf::kDirectoryOffset + 4 * layout.directorySize, 0);
    if (!replaceWholeFile(files, path, header)) return std::nullopt;
    file = files.openFile(path, access);
  }
  if (!file) return std::nullopt;
  RecordStore store(path, layout, std::move(file), readOnly);
  why = store.load();
  if (why != StoreOpenError::kNone) return std::nullopt;
  return store;
}

StoreOpenError RecordStore::load() {
  const std::optional<std::uint64_t> size = file_->size();
  if (!size) return StoreOpenError::kCannotOpen;
  fileSize_ = *size;
  if (fileSize_ == 0 && !readOnly_ && layout_.slotsHoldEntries) {
    // An empty value index is rebuilt from the records anyway. An empty
    // locality or specimen file is not taken for a new one: that would
    // hide the loss of the user's records behind a fresh start.
    if (!writeAt(0, Bytes(dataStart(), 0))) return StoreOpenError::kCannotOpen;
  }
  if (fileSize_ < dataStart()) return StoreOpenError::kNotAStore;
  Bytes header(dataStart());
  if (!readAt(0, header)) return StoreOpenError::kCannotOpen;
  countWord_ = loadU32(header.data() + sf::kCountOffset);
  freeHead_ = loadU32(header.data() + sf::kFreeHeadOffset);
  directory_.resize(layout_.directorySize);
  for (std::uint32_t i = 0; i < layout_.directorySize; ++i) {
    directory_[i] = loadU32(header.data() + sf::kDirectoryOffset + 4 * i);
  }
  return StoreOpenError::kNone;
}

bool RecordStore::matchesItsCount() {
  const std::uint32_t n = count();
  if (n > maxRecordNumber()) return false;
  const std::uint32_t next = n + 1;
  const std::uint32_t lastPage = ((next & sf::kPageNumberMask) >> 8) & 0xFFFF;
  for (std::uint32_t p = lastPage + 1; p < layout_.directorySize; ++p) {
    if (directory_[p] != 0) return false;
  }
  const bool anyPage =
      std::any_of(directory_.begin(), directory_.end(), [](std::uint32_t e) { return e != 0; });
  Bytes page(sf::kSlotPageBytes);
  // A page that lies outside the data (damage of another kind) has no slots to check.
  if (lastPage < layout_.directorySize && directory_[lastPage] >= dataStart() &&
      readAt(directory_[lastPage], page)) {
    for (std::uint32_t s = (next & 0xFF) + 1; s < sf::kSlotsPerPage; ++s) {
      if (loadU32(page.data() + 4 * s) != 0) return false;
    }
  }
  if (n == 0 && !anyPage) {
    // Only an interrupted first save can have left anything, and that is
    // one zeroed slot page.
    if (fileSize_ > dataStart() + std::uint64_t{sf::kSlotPageBytes} + 3) return false;
    constexpr std::uint64_t kChunk = 64 * 1024;
    Bytes chunk;
    for (std::uint64_t at = dataStart(); at < fileSize_; at += kChunk) {
      chunk.resize(static_cast<std::size_t>(std::min(kChunk, fileSize_ - at)));
      if (!readAt(at, chunk)) return false;
      if (std::any_of(chunk.begin(), chunk.end(), [](std::uint8_t b) { return b != 0; })) return false;
    }
  }
  return true;
}

bool RecordStore::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!file_ || offset + out.size() > fileSize_) return false;
  return out.empty() || file_->readAt(offset, out);
}

bool RecordStore::writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  // Every offset in the files is a u32.
  if (!file_ || readOnly_ || offset + data.size() > 0xFFFFFFFFull) return false;
  if (data.empty()) return true;
  unsynced_ = true;
  if (file_->writeAt(offset, data)) {
    fileSize_ = std::max<std::uint64_t>(fileSize_, offset + data.size());
    return true;
  }
  // Whatever part reached the file counts for its length.
  if (const std::optional<std::uint64_t> size = file_->size()) fileSize_ = *size;
  return false;
}

bool RecordStore::readU32At(std::uint64_t offset, std::uint32_t& value) {
  std::uint8_t b[4];
  if (!readAt(offset, b)) return false;
  value = loadU32(b);
  return true;
}

bool RecordStore::writeU32At(std::uint64_t offset, std::uint32_t value) {
  std::uint8_t b[4];
  storeU32(b, value);
  return writeAt(offset, b);
}

bool RecordStore::writeCountWord(std::uint32_t word) {
  if (!writeU32At(sf::kCountOffset, word)) return false;
  countWord_ = word;
  return true;
}

bool RecordStore::writeFreeHead(std::uint32_t head) {
  if (!writeU32At(sf::kFreeHeadOffset, head)) return false;
  freeHead_ = head;
  return true;
}

std::uint32_t RecordStore::directoryEntry(std::uint32_t page) const {
  return page < directory_.size() ? directory_[page] : 0;
}

std::uint32_t RecordStore::ensurePage(std::uint32_t page) {
  // Slot pages start on a 4-byte boundary so that a slot is always written
  // by one aligned 4-byte write, which a crash cannot tear.
  const std::uint64_t end = fileSize_;
  const std::uint32_t pad = static_cast<std::uint32_t>((4 - end % 4) % 4);
  const std::uint64_t at = end + pad;
  if (at + sf::kSlotPageBytes > 0xFFFFFFFFull) return 0;
  if (!writeAt(end, Bytes(pad + sf::kSlotPageBytes, 0))) return 0;
  const std::uint32_t pageOffset = static_cast<std::uint32_t>(at);
  if (!writeU32At(sf::kDirectoryOffset + 4ull * page, pageOffset)) return 0;
  directory_[page] = pageOffset;
  if (liveBuilt_) addLive(pageOffset, at + sf::kSlotPageBytes);
  return pageOffset;
}

bool RecordStore::hasSlotPage(std::uint32_t n) const {
  const std::uint32_t page = ((n & sf::kPageNumberMask) >> 8) & 0xFFFF;
  if (page >= layout_.directorySize) return false;
  const std::uint32_t pageOffset = directory_[page];
  // A page that lies in the header or past the end is damage: it has no slots.
  return pageOffset >= dataStart() && pageOffset + std::uint64_t{sf::kSlotPageBytes} <= fileSize_;
}

std::uint32_t RecordStore::lookupSlot(std::uint32_t n, bool create) {
  const std::uint32_t page = ((n & sf::kPageNumberMask) >> 8) & 0xFFFF;
  if (page >= layout_.directorySize) return 0;
  std::uint32_t pageOffset = directory_[page];
  if (!hasSlotPage(n)) {
    if (!create || readOnly_) return 0;
    pageOffset = ensurePage(page);
    if (pageOffset == 0) return 0;
  }
  const std::uint32_t slot = pageOffset + 4 * (n & 0xFF);
  if (!create) {
    std::uint32_t value = 0;
    if (!readU32At(slot, value) || value == 0) return 0;
  }
  return slot;
}

std::uint32_t RecordStore::slotValue(std::uint32_t n) {
  const std::uint32_t slot = lookupSlot(n, false);
  std::uint32_t value = 0;
  if (slot == 0 || !readU32At(slot, value)) return 0;
  return value;
}

bool RecordStore::setSlot(std::uint32_t n, std::uint32_t offset) {
  const std::uint32_t slot = lookupSlot(n, true);
  return slot != 0 && writeU32At(slot, offset);
}

// Reads a block header (one read) and checks that the whole block lies in the data area.
bool RecordStore::plausibleBlock(std::uint32_t offset, std::uint32_t unitBytes, BlockHeader& header,
                                 bool withNext) {
  std::uint8_t h[sf::kFreeBlockHeaderBytes];
  const std::size_t size = withNext ? sf::kFreeBlockHeaderBytes : sf::kBlockHeaderBytes;
  if (offset < dataStart() || !readAt(offset, {h, size})) return false;
  header.owner = loadU32(h + sf::kBlockOwnerOffset);
  header.units = loadU16(h + sf::kBlockUnitsOffset);
  header.next = withNext ? loadU32(h + sf::kBlockNextOffset) : 0;
  return header.units > 0 &&
         offset + sf::kBlockHeaderBytes + std::uint64_t{header.units} * unitBytes <= fileSize_;
}

std::optional<Bytes> RecordStore::readRecord(std::uint32_t n) {
  if (n == 0 || n > count() || layout_.slotsHoldEntries) return std::nullopt;
  const std::uint32_t block = slotValue(n);
  std::uint8_t header[sf::kBlockHeaderBytes];
  if (block < dataStart() || !readAt(block, header)) return std::nullopt;
  // A block owned by another record, or of no size, is damage, not this record.
  if (loadU32(header + sf::kBlockOwnerOffset) != n) return std::nullopt;
  const std::uint64_t units = loadU16(header + sf::kBlockUnitsOffset);
  if (units == 0) return std::nullopt;
  const std::uint64_t start = block + std::uint64_t{sf::kBlockHeaderBytes};
  const std::uint64_t length = std::min(units * layout_.unitBytes, fileSize_ - start);
  Bytes payload(static_cast<std::size_t>(length));
  if (!readAt(start, payload)) return std::nullopt;
  return payload;
}

std::optional<std::uint32_t> RecordStore::writeRecord(std::uint32_t n, std::span<const std::uint8_t> payload,
                                                      std::uint32_t units) {
  if (readOnly_ || layout_.slotsHoldEntries) return std::nullopt;
  const std::uint64_t fitting = (payload.size() + layout_.unitBytes - 1) / layout_.unitBytes;
  std::uint64_t need = std::max<std::uint64_t>({units, fitting, 1});
  if (need > 0xFFFF) return std::nullopt;
  const bool isNew = n == 0;
  if (isNew) n = count() + 1;
  if (n == 0 || n > maxRecordNumber() || n > layout_.countMask || (!isNew && n > count())) {
    return std::nullopt;
  }
  const std::uint32_t slot = lookupSlot(n, true);
  if (slot == 0) return std::nullopt;
  // The block the slot points at now: the old version, or for a new number
  // what an interrupted earlier attempt left behind.
  std::uint32_t oldBlock = 0;
  std::uint32_t oldUnits = 0;
  std::uint32_t current = 0;
  if (readU32At(slot, current) && current != 0) {
    BlockHeader old;
    if (plausibleBlock(current, layout_.unitBytes, old) && old.owner == n) {
      oldBlock = current;
      oldUnits = old.units;
    }
  }
  // The new version goes into another block; the old one stays intact until
  // the slot has been switched, so a crash leaves one complete version.
  std::uint32_t blockUnits = static_cast<std::uint32_t>(need);
  Bytes block(sf::kBlockHeaderBytes, 0);
  storeU32(block.data() + sf::kBlockOwnerOffset, n);
  block.insert(block.end(), payload.begin(), payload.end());
  const std::uint32_t at = placeBlock(n, blockUnits, layout_.unitBytes, block);
  if (at == 0) return std::nullopt;
  if (!writeU32At(slot, at)) return std::nullopt;
  if (isNew && !writeCountWord((countWord_ & ~layout_.countMask) | n)) return std::nullopt;
  // A failure here only costs the old block's space.
  if (oldBlock != 0) pushFree(oldBlock, oldUnits, layout_.unitBytes);
  return n;
}

RecordStore::RecordScan RecordStore::readAllRecords(
    const std::function<void(std::uint32_t, std::span<const std::uint8_t>)>& use) {
  RecordScan scan;
  if (layout_.slotsHoldEntries) return scan;
  const std::uint32_t last = std::min(count(), maxRecordNumber());
  // Block offsets by record, from the slot pages, then read in file order.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blocks;
  blocks.reserve(last);
  Bytes page(sf::kSlotPageBytes);
  for (std::uint32_t p = 0; p * sf::kSlotsPerPage <= last; ++p) {
    const std::uint32_t pageOffset = directory_[p];
    const bool pageOk = pageOffset >= dataStart() && readAt(pageOffset, page);
    const std::uint32_t first = std::max<std::uint32_t>(p * sf::kSlotsPerPage, 1);
    const std::uint32_t end = std::min(last, p * sf::kSlotsPerPage + sf::kSlotsPerPage - 1);
    for (std::uint32_t n = first; n <= end; ++n) {
      const std::uint32_t at = pageOk ? loadU32(page.data() + 4 * (n & 0xFF)) : 0;
      if (at < dataStart() || at + std::uint64_t{sf::kBlockHeaderBytes} > fileSize_) {
        ++scan.unreadable;
        continue;
      }
      blocks.emplace_back(at, n);
    }
  }
  std::sort(blocks.begin(), blocks.end());
  constexpr std::uint64_t kRun = 1024 * 1024;
  Bytes run;
  std::uint64_t runStart = 0;
  auto load = [&](std::uint64_t at, std::uint64_t need) {
    run.resize(static_cast<std::size_t>(std::min(std::max(kRun, need), fileSize_ - at)));
    runStart = at;
    if (readAt(at, run)) return true;
    run.clear();
    return false;
  };
  for (const auto& [at, n] : blocks) {
    const std::uint64_t start = at + std::uint64_t{sf::kBlockHeaderBytes};
    if (run.empty() || at < runStart || start > runStart + run.size()) {
      if (!load(at, sf::kBlockHeaderBytes)) {
        ++scan.unreadable;
        continue;
      }
    }
    const std::uint8_t* header = run.data() + (at - runStart);
    const std::uint64_t units = loadU16(header + sf::kBlockUnitsOffset);
    if (loadU32(header + sf::kBlockOwnerOffset) != n || units == 0) {
      ++scan.unreadable;
      continue;
    }
    const std::uint64_t length = std::min(units * layout_.unitBytes, fileSize_ - start);
    if (start + length > runStart + run.size() && !load(at, sf::kBlockHeaderBytes + length)) {
      ++scan.unreadable;
      continue;
    }
    ++scan.readable;
    if (use) use(n, {run.data() + (start - runStart), static_cast<std::size_t>(length)});
  }
  return scan;
}

bool RecordStore::sync() {
  if (!file_ || !unsynced_) return true;
  if (!file_->sync()) return false;
  unsynced_ = false;
  return true;
}

std::uint32_t RecordStore::allocateBlock(std::uint32_t owner, std::uint32_t& units, std::uint32_t unitBytes) {
  Bytes header(sf::kBlockHeaderBytes, 0);
  storeU32(header.data(), owner);
  return placeBlock(owner, units, unitBytes, header);
}

// Reads and checks the free list once: each free block must be a real free
// block in the data area that no live record or page overlaps; a revisit
// means a cycle. A damaged list is cut where it went wrong.
bool RecordStore::loadFreeList(std::uint32_t unitBytes) {
  if (freeListLoaded_ && freeListUnitBytes_ == unitBytes) return true;
  freeList_.clear();
  freeListLoaded_ = false;
  buildLiveMap();
  std::unordered_set<std::uint32_t> visited;
  std::uint32_t cur = freeHead_;
  while (cur != 0) {
    BlockHeader h;
    if (!visited.insert(cur).second || !plausibleBlock(cur, unitBytes, h, true) || h.owner != 0 ||
        overlapsLive(cur, cur + sf::kBlockHeaderBytes + std::uint64_t{h.units} * unitBytes)) {
      const bool cut = freeList_.empty() ? writeFreeHead(0)
                                         : writeU32At(freeList_.back().offset + sf::kBlockNextOffset, 0);
      if (!cut) return false;
      break;
    }
    freeList_.push_back({cur, h.units});
    cur = h.next;
  }
  freeListLoaded_ = true;
  freeListUnitBytes_ = unitBytes;
  return true;
}

std::uint32_t RecordStore::placeBlock(std::uint32_t owner, std::uint32_t& units, std::uint32_t unitBytes,
                                      const Bytes& start) {
  if (readOnly_ || units == 0 || units > 0xFFFF) return 0;
  (void)owner;
  std::uint64_t at = fileSize_;
  if (freeHead_ != 0 || (freeListLoaded_ && !freeList_.empty())) {
    if (!loadFreeList(unitBytes)) return 0;
    // First fit, no splitting: the block keeps all its units.
    const auto fit = std::find_if(freeList_.begin(), freeList_.end(),
                                  [&](const FreeBlock& b) { return b.units >= units; });
    if (fit != freeList_.end()) {
      const std::uint32_t next = fit + 1 != freeList_.end() ? (fit + 1)->offset : 0;
      const bool unlinked = fit == freeList_.begin()
                                ? writeFreeHead(next)
                                : writeU32At((fit - 1)->offset + sf::kBlockNextOffset, next);
      if (!unlinked) {
        freeListLoaded_ = false;
        return 0;
      }
      at = fit->offset;
      units = fit->units;
      freeList_.erase(fit);
    }
  }
  const std::uint64_t end = at + sf::kBlockHeaderBytes + std::uint64_t{units} * unitBytes;
  if (end > 0xFFFFFFFFull) return 0;
  Bytes block(static_cast<std::size_t>(end - at), 0);
  std::copy(start.begin(), start.begin() + static_cast<std::ptrdiff_t>(std::min(start.size(), block.size())),
            block.begin());
  storeU16(block.data() + sf::kBlockUnitsOffset, static_cast<std::uint16_t>(units));
  if (!writeAt(at, block)) return 0;
  if (liveBuilt_) addLive(static_cast<std::uint32_t>(at), end);
  return static_cast<std::uint32_t>(at);
}

bool RecordStore::freeBlock(std::uint32_t offset, std::uint32_t unitBytes) {
  if (readOnly_) return false;
  BlockHeader header;
  // Freeing a free block twice would make the list a cycle.
  if (!plausibleBlock(offset, unitBytes, header) || header.owner == 0) return false;
  return pushFree(offset, header.units, unitBytes);
}

bool RecordStore::pushFree(std::uint32_t offset, std::uint32_t units, std::uint32_t unitBytes) {
  const std::uint64_t end = offset + sf::kBlockHeaderBytes + std::uint64_t{units} * unitBytes;
  if (liveBuilt_) {
    removeLive(offset);
    // A block that shares bytes with live data (a damaged file) is left alone.
    if (overlapsLive(offset, end)) {
      addLive(offset, end);
      return false;
    }
  }
  std::uint8_t h[sf::kFreeBlockHeaderBytes];
  storeU32(h + sf::kBlockOwnerOffset, 0);
  storeU16(h + sf::kBlockUnitsOffset, static_cast<std::uint16_t>(units));
  storeU32(h + sf::kBlockNextOffset, freeHead_);
  if (!writeAt(offset, h) || !writeFreeHead(offset)) {
    freeListLoaded_ = false;
    return false;
  }
  if (freeListLoaded_) {
    if (freeListUnitBytes_ == unitBytes) {
      freeList_.insert(freeList_.begin(), {offset, units});
    } else {
      freeListLoaded_ = false;
    }
  }
  return true;
}

std::uint32_t RecordStore::appendEntry(std::uint32_t n, std::span<const std::uint8_t> entry) {
  if (readOnly_ || n == 0 || n > maxRecordNumber() || n > layout_.countMask) return 0;
  const std::uint32_t slot = lookupSlot(n, true);
  if (slot == 0) return 0;
  const std::uint64_t at = fileSize_;
  if (at + entry.size() > 0xFFFFFFFFull) return 0;
  Bytes bytes(entry.begin(), entry.end());
  storeU32(bytes.data() + 16, static_cast<std::uint32_t>(at));
  if (!writeAt(at, bytes) || !writeU32At(slot, static_cast<std::uint32_t>(at))) return 0;
  if (n > count() && !writeCountWord((countWord_ & ~layout_.countMask) | n)) return 0;
  if (liveBuilt_) addLive(static_cast<std::uint32_t>(at), at + entry.size());
  return static_cast<std::uint32_t>(at);
}

void RecordStore::addLive(std::uint32_t begin, std::uint64_t end) {
  std::uint64_t& e = live_[begin];
  e = std::max(e, end);
  longestLive_ = std::max(longestLive_, end - begin);
}

void RecordStore::removeLive(std::uint32_t begin) { live_.erase(begin); }

bool RecordStore::overlapsLive(std::uint32_t begin, std::uint64_t end) const {
  const std::uint64_t from = begin > longestLive_ ? begin - longestLive_ : 0;
  for (auto it = live_.lower_bound(static_cast<std::uint32_t>(from)); it != live_.end() && it->first < end;
       ++it) {
    if (it->second > begin) return true;
  }
  return false;
}

void RecordStore::readSorted(std::vector<std::uint32_t>& offsets, std::uint32_t width,
                             const std::function<void(std::uint32_t, const std::uint8_t*)>& use) {
  // Large windows instead of one read per header: blocks lie close together,
  // so a hundred thousand headers cost a few dozen reads.
  constexpr std::uint64_t kWindow = 256 * 1024;
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  Bytes window;
  std::uint64_t windowStart = 0;
  for (const std::uint32_t at : offsets) {
    if (at < dataStart() || at + std::uint64_t{width} > fileSize_) continue;
    if (window.empty() || at + std::uint64_t{width} > windowStart + window.size()) {
      window.resize(static_cast<std::size_t>(
          std::min<std::uint64_t>(std::max<std::uint64_t>(kWindow, width), fileSize_ - at)));
      windowStart = at;
      if (!readAt(at, window)) {
        window.clear();
        continue;
      }
    }
    use(at, window.data() + (at - windowStart));
  }
}

void RecordStore::buildLiveMap() {
  if (liveBuilt_) return;
  live_.clear();
  longestLive_ = 0;
  const std::uint32_t unitBytes = layout_.unitBytes;
  // Every slot counts, also those above the count: a block written by an
  // interrupted new record is not free space either.
  std::vector<std::uint32_t> targets;
  Bytes page(sf::kSlotPageBytes);
  for (std::uint32_t p = 0; p < layout_.directorySize; ++p) {
    const std::uint32_t pageOffset = directory_[p];
    if (pageOffset < dataStart() || !readAt(pageOffset, page)) continue;
    addLive(pageOffset, pageOffset + std::uint64_t{sf::kSlotPageBytes});
    for (std::uint32_t s = 0; s < sf::kSlotsPerPage; ++s) {
      const std::uint32_t at = loadU32(page.data() + 4 * s);
      if (at >= dataStart() && at < fileSize_) targets.push_back(at);
    }
  }
  std::vector<std::uint32_t> blocks;
  if (layout_.slotsHoldEntries) {
    readSorted(targets, sf::kIndexEntryBytes, [&](std::uint32_t at, const std::uint8_t* entry) {
      addLive(at, at + std::uint64_t{sf::kIndexEntryBytes});
      blocks.push_back(loadU32(entry + sf::kIndexEntryBitmapOffset));
    });
    for (const std::uint32_t at : targets) {
      // An entry cut off by the end of the file still occupies what is there.
      if (live_.find(at) == live_.end()) addLive(at, fileSize_);
    }
  } else {
    blocks = std::move(targets);
  }
  readSorted(blocks, sf::kBlockHeaderBytes, [&](std::uint32_t at, const std::uint8_t* header) {
    const std::uint32_t units = loadU16(header + sf::kBlockUnitsOffset);
    const std::uint64_t end = at + sf::kBlockHeaderBytes + std::uint64_t{units} * unitBytes;
    // A block of no size, or one running past the end, still holds its header.
    addLive(at, units > 0 && end <= fileSize_ ? end : at + std::uint64_t{sf::kBlockHeaderBytes});
  });
  for (const std::uint32_t at : blocks) {
    if (at >= dataStart() && at < fileSize_ && live_.find(at) == live_.end()) addLive(at, fileSize_);
  }
  liveBuilt_ = true;
}

std::optional<RecordStore> openCollectionStore(const std::string& path, const StoreLayout& layout,
                                               FileLayer& files) {
  // A missing file has no mark to clear; the open then creates it.
  files.setReadOnly(path, false);
  return RecordStore::openStoreFile(path, layout, StoreOpenMode::kReadWrite, files);
}

bool markCollectionFileReadOnly(const std::string& path, FileLayer& files) {
  return files.setReadOnly(path, true);
}

}  // namespace kalvor
