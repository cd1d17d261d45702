#include "collection/exchange_list.h"

#include <cstdio>
#include <filesystem>
#include <map>

#include "base/bytes.h"
#include "base/file_io.h"
#include "collection/collection.h"
#include "collection/store_format.h"
#include "refdb/collation.h"

namespace kalvor {
namespace ef = exchange_format;
namespace sf = specimen_format;
namespace lf = locality_format;

namespace {

// An export killed before its rename leaves "<name>.ktl.neu" behind; the
// next export in that folder clears them away.
void removeStaleExportFiles(const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = fs::path(target).parent_path();
  if (folder.empty()) folder = ".";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    constexpr std::string_view kStale = ".ktl.neu";
    if (name.size() > kStale.size() &&
        name.compare(name.size() - kStale.size(), kStale.size(), kStale) == 0 && it->is_regular_file(ec)) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

std::string progressLine(const char* format, std::uint32_t a, std::uint32_t b) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, static_cast<long>(a), static_cast<long>(b));
  return buffer;
}

// Record number to directory page, as in the user's stores.
std::uint32_t pageOf(std::uint32_t n) {
  return static_cast<std::uint16_t>((n & store_format::kPageNumberMask) >> 8);
}

// The exported file, built in memory in exactly the order in which records
// are appended, so that it reaches the disk in one piece or not at all.
class ExchangeImage {
 public:
  ExchangeImage() : bytes_(ef::kDataStart, 0) {}

  // Appends record n under the directory at directoryOffset: a new slot page
  // at the end when the page has none yet, then the record itself, whose
  // offset goes into the slot.
  bool append(std::uint32_t n, std::uint32_t directoryOffset, const Bytes& record) {
    const std::uint32_t page = pageOf(n);
    if (page >= ef::kDirectoryEntries) return false;
    std::uint8_t* entry = bytes_.data() + directoryOffset + 4 * page;
    std::uint32_t slotPage = loadU32(entry);
    if (slotPage == 0) {
      slotPage = static_cast<std::uint32_t>(bytes_.size());
      bytes_.resize(bytes_.size() + store_format::kSlotPageBytes, 0);
      storeU32(bytes_.data() + directoryOffset + 4 * page, slotPage);
    }
    // Offsets in the file are u32.
    if (std::uint64_t{bytes_.size()} + record.size() > 0xFFFFFFFFu) return false;
    storeU32(bytes_.data() + slotPage + 4 * (n & 0xFF), static_cast<std::uint32_t>(bytes_.size()));
    bytes_.insert(bytes_.end(), record.begin(), record.end());
    return true;
  }

  void writeHeader(std::uint32_t specimens, std::uint32_t localities) {
    std::uint8_t* h = bytes_.data() + ef::kHeaderOffset;
    storeU32(h + ef::kSpecimenCountField, specimens);
    storeU32(h + ef::kLocalityCountField, localities);
    storeU32(h + ef::kSpecimenDirectoryField, ef::kSpecimenDirectoryOffset);
    storeU32(h + ef::kLocalityDirectoryField, ef::kLocalityDirectoryOffset);
  }

  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Where an exported locality stands: the source record (read once) and the
// new numbers of the exported specimens that come from it.
struct ExportedLocality {
  Locality record;
  std::vector<std::uint32_t> specimens;
  std::vector<std::uint16_t> specimenMinerals;  // stored form: MineralNumber + 1
};

std::size_t specimenRecordLength(const std::uint8_t* fixed) {
  const std::int16_t text = loadI16(fixed + sf::kTextLengthOffset);
  const std::int16_t minerals = loadI16(fixed + sf::kMineralCountOffset);
  if (text < 0 || minerals < 0) return 0;
  return sf::kFixedBytes + static_cast<std::size_t>(text) + 2u * static_cast<std::size_t>(minerals);
}

std::size_t localityRecordLength(const std::uint8_t* fixed) {
  const std::int16_t text = loadI16(fixed + lf::kTextLengthOffset);
  const std::int16_t minerals = loadI16(fixed + lf::kMineralCountOffset);
  const std::int16_t specimens = loadI16(fixed + lf::kSpecimenCountOffset);
  if (text < 0 || minerals < 0 || specimens < 0) return 0;
  return lf::kFixedBytes + static_cast<std::size_t>(text) + 2u * static_cast<std::size_t>(minerals) +
         4u * static_cast<std::size_t>(specimens);
}

}  // namespace

std::string withExchangeExtension(const std::string& name) {
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  if (name.find('.', fileStart) != std::string::npos) return name;
  return name + ef::kExtension;
}

ExchangeExportResult exportExchangeList(Collection& collection, const std::string& path,
                                        ProgressSink* progress) {
  ExchangeExportResult result;
  if (collection.inExchangeMode()) return result;
  const std::optional<RecordSet> pieces =
      collection.valueIndex().getRecordSet(IndexValue::ofNumber(0), index_field::kSpecimenExchange);
  const std::uint32_t members = pieces ? pieces->count() : 0;

  ExchangeImage image;
  std::vector<ExportedLocality> localities;
  // Source locality number -> position in `localities`, or none when it cannot be read.
  std::map<std::uint32_t, std::optional<std::size_t>> positions;
  std::uint32_t exported = 0;
  const std::uint32_t count = collection.specimenCount();
  for (std::uint32_t n = 1; n <= count && pieces; ++n) {
    if (!pieces->test(n)) continue;
    std::optional<Specimen> s = readSpecimen(collection, n);
    // The set is only an index: the record itself must still be an exchange piece.
    if (!s || s->deleted() || (s->flags & sf::kFlagCollection) != 0) continue;
    if (exported == ef::kMaxSpecimens) break;
    s->number = ++exported;
    s->purchasePrice = 0;
    if (progress) progress->progress(progressLine("Bearbeite Stufe %ld/%ld", exported, members));

    std::optional<std::size_t> position;
    if (const std::uint32_t source = s->localityNumber(); source != 0) {
      auto it = positions.find(source);
      if (it == positions.end()) {
        std::optional<std::size_t> p;
        std::optional<Locality> loc = readLocality(collection, source, false);
        if (loc && !loc->deleted() && localities.size() < ef::kMaxLocalities) {
          p = localities.size();
          localities.push_back({std::move(*loc), {}, {}});
        }
        it = positions.emplace(source, p).first;
      }
      position = it->second;
    }
    if (position) {
      // Locality number p + 1, stored as value p + 2.
      s->localityValue = static_cast<std::uint16_t>(*position + 2);
      ExportedLocality& target = localities[*position];
      target.specimens.push_back(s->number);
      target.specimenMinerals.insert(target.specimenMinerals.end(), s->minerals.begin(),
                                     s->minerals.end());
    } else {
      // No locality, or one that cannot be read: "unbekannt" in the copy.
      s->localityValue = 0;
    }
    if (!image.append(s->number, ef::kSpecimenDirectoryOffset, encodeSpecimen(*s))) return result;
  }
  if (exported == 0) {
    result.status = ExchangeExportStatus::kNoExchangePieces;
    return result;
  }

  const std::uint32_t localityCount = static_cast<std::uint32_t>(localities.size());
  for (std::uint32_t p = 0; p < localityCount; ++p) {
    if (progress) progress->progress(progressLine("Bearbeite Fundstelle %ld/%ld", p + 1, localityCount));
    ExportedLocality& e = localities[p];
    Locality& loc = e.record;
    // The user's own entries stay; the marked ones are those of the exported specimens only.
    std::vector<std::uint16_t> minerals;
    for (std::uint16_t m : loc.minerals) {
      if ((m & lf::kFromSpecimen) == 0) minerals.push_back(m);
    }
    for (std::uint16_t id : e.specimenMinerals) {
      if (id >= 1) addMineralToList(minerals, static_cast<std::uint16_t>(id - 1), true);
    }
    loc.minerals = std::move(minerals);
    loc.specimens = e.specimens;
    loc.number = static_cast<std::uint16_t>(p + 1);
    if (!image.append(p + 1, ef::kLocalityDirectoryOffset, encodeLocality(loc))) return result;
  }

  image.writeHeader(exported, localityCount);
  removeStaleExportFiles(path);
  if (!writeWholeFile(path, image.bytes())) return result;
  result.status = ExchangeExportStatus::kWritten;
  result.specimens = exported;
  result.localities = localityCount;
  return result;
}

// --- Reading ------------------------------------------------------------------

std::string exchangeOpenMessage(ExchangeOpenStatus status) {
  switch (status) {
    case ExchangeOpenStatus::kOpened:
      return {};
    case ExchangeOpenStatus::kCannotOpen:
      return "Die Tauschliste kann nicht ge\xF6" "ffnet werden.";
    case ExchangeOpenStatus::kMalformed:
      return "Die Datei ist keine g\xFCltige Kalvor-Tauschliste oder sie ist besch\xE4" "digt.";
    case ExchangeOpenStatus::kIndexFailed:
      return "Der Index der Tauschliste kann nicht aufgebaut werden.";
    case ExchangeOpenStatus::kAlreadyOpen:
      return "Es ist bereits eine Tauschliste ge\xF6" "ffnet.";
  }
  return {};
}

ExchangeList::ExchangeList(std::string path, std::uint32_t mineralCount)
    : path_(std::move(path)),
      index_(mineralCount,
             [](std::string_view a, std::string_view b) {
               return collateCompare(a, b, kNameCompareLength, kNameCompareLength);
             },
             nullptr) {
  // The index heads a larger file: a rebuild must keep the records behind it.
  index_.setEmbedded(true);
}

ExchangeList::~ExchangeList() {
  if (index_.isOpen()) index_.closeValueIndex();
}

std::uint32_t ExchangeList::lookupExchangeSlot(std::uint32_t n, std::uint32_t directoryOffset) {
  const std::uint32_t page = pageOf(n);
  if (page >= ef::kDirectoryEntries || !file_) return 0;
  std::uint8_t word[4];
  if (!file_->readAt(std::uint64_t{directoryOffset} + 4 * page, word)) return 0;
  const std::uint32_t slotPage = loadU32(word);
  if (slotPage == 0) return 0;
  const std::uint64_t slot = std::uint64_t{slotPage} + 4 * (n & 0xFF);
  if (slot + 4 > size_ || !file_->readAt(slot, word) || loadU32(word) == 0) return 0;
  return static_cast<std::uint32_t>(slot);
}

std::optional<Bytes> ExchangeList::readRecordAt(std::uint32_t n, std::uint32_t directoryOffset,
                                                std::uint32_t count, std::size_t fixedBytes,
                                                std::size_t (*recordLength)(const std::uint8_t*),
                                                bool full) {
  if (n == 0 || n > count) return std::nullopt;
  const std::uint32_t slot = lookupExchangeSlot(n, directoryOffset);
  if (slot == 0) return std::nullopt;
  std::uint8_t word[4];
  if (!file_->readAt(slot, word)) return std::nullopt;
  const std::uint64_t at = loadU32(word);
  if (at + fixedBytes > size_) return std::nullopt;
  Bytes record(fixedBytes);
  if (!file_->readAt(at, record)) return std::nullopt;
  if (!full) return record;
  // Lengths and counts come from the file: checked against its end before anything is read.
  const std::size_t length = recordLength(record.data());
  if (length < fixedBytes || at + length > size_) return std::nullopt;
  record.resize(length);
  if (!file_->readAt(at + fixedBytes, std::span<std::uint8_t>(record).subspan(fixedBytes)))
    return std::nullopt;
  return record;
}

std::optional<Locality> ExchangeList::readExchangeLocality(std::uint32_t n, bool headerOnly) {
  const std::optional<Bytes> record = readRecordAt(n, localityDirectory_, localityCount_, lf::kFixedBytes,
                                                   localityRecordLength, !headerOnly);
  if (!record) return std::nullopt;
  return decodeLocality(*record, headerOnly);
}

std::optional<Specimen> ExchangeList::readExchangeSpecimen(std::uint32_t n) {
  const std::optional<Bytes> record = readRecordAt(n, specimenDirectory_, specimenCount_, sf::kFixedBytes,
                                                   specimenRecordLength, true);
  if (!record) return std::nullopt;
  return decodeSpecimen(*record);
}

ExchangeOpenStatus openExchangeList(Collection& collection, const std::string& path,
                                    ProgressSink* progress) {
  if (collection.inExchangeMode()) return ExchangeOpenStatus::kAlreadyOpen;
  std::unique_ptr<ExchangeList> list(new ExchangeList(path, collection.mineralCount()));
  list->file_ = openRandomAccessFile(path, FileAccess::kReadWrite);
  if (!list->file_) return ExchangeOpenStatus::kCannotOpen;
  const std::optional<std::uint64_t> size = list->file_->size();
  if (!size) return ExchangeOpenStatus::kCannotOpen;
  list->size_ = *size;
  if (list->size_ < ef::kDataStart) return ExchangeOpenStatus::kMalformed;
  Bytes header(ef::kHeaderBytes);
  if (!list->file_->readAt(ef::kHeaderOffset, header)) return ExchangeOpenStatus::kMalformed;
  const std::uint32_t specimens = loadU32(header.data() + ef::kSpecimenCountField);
  const std::uint32_t localities = loadU32(header.data() + ef::kLocalityCountField);
  const std::uint32_t specimenDirectory = loadU32(header.data() + ef::kSpecimenDirectoryField);
  const std::uint32_t localityDirectory = loadU32(header.data() + ef::kLocalityDirectoryField);
  const std::uint64_t dataBytes = list->size_ - ef::kDataStart;
  const auto directoryFits = [&](std::uint32_t offset) {
    return offset >= ef::kSpecimenDirectoryOffset && std::uint64_t{offset} + ef::kDirectoryBytes <= list->size_;
  };
  // Every exported specimen has its fixed part in the data area, and every
  // locality number was issued for at least one specimen; counts beyond that
  // come from a damaged or forged file.
  if (specimens > ef::kMaxSpecimens || localities > ef::kMaxLocalities || localities > specimens ||
      std::uint64_t{specimens} * sf::kFixedBytes > dataBytes || !directoryFits(specimenDirectory) ||
      !directoryFits(localityDirectory)) {
    return ExchangeOpenStatus::kMalformed;
  }
  list->specimenCount_ = specimens;
  list->localityCount_ = localities;
  list->specimenDirectory_ = specimenDirectory;
  list->localityDirectory_ = localityDirectory;

  ValueIndex& index = list->index_;
  const ValueIndex::OpenResult opened = index.openValueIndex(path, specimens + localities);
  if (opened == ValueIndex::OpenResult::kFailed) return ExchangeOpenStatus::kIndexFailed;

  // From here on reads go to the exchange file; a failure below leaves the
  // mode again, which restores the user's collection untouched.
  collection.enterExchangeMode(std::move(list));
  ExchangeList& open = *collection.exchangeList();
  if (opened == ValueIndex::OpenResult::kNeedsRebuild) {
    // The locality-list pass cannot write here: no store is reachable in the
    // mode, so another collector's lists are shown as they are, the sets as they should be.
    CollectionRebuildSource source(collection);
    if (!open.index_.rebuildValueIndex(source, progress, true)) {
      collection.leaveExchangeMode();
      return ExchangeOpenStatus::kIndexFailed;
    }
  }
  // The whole field table at once: there is no background loading for it.
  open.index_.loadFieldTableStep(true);
  while (open.index_.loadFieldTableStep(false)) {
  }
  collection.resortLocalities();
  collection.resortSpecimens();
  return ExchangeOpenStatus::kOpened;
}

void leaveExchangeList(Collection& collection) { collection.leaveExchangeMode(); }

}  // namespace kalvor
