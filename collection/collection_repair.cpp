#include "collection/collection_repair.h"

#include <algorithm>
#include <set>

#include "base/file_io.h"
#include "collection/collection.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/store_format.h"

namespace kalvor {
namespace {

namespace sf = store_format;

std::uint32_t dataStartOf(const StoreLayout& layout) {
  return sf::kDirectoryOffset + 4 * layout.directorySize;
}

// The payload of a complete block at `at` owned by a record of its own
// number, or nothing.
std::optional<std::pair<std::uint32_t, Bytes>> blockAt(const Bytes& file, std::uint64_t at,
                                                       const StoreLayout& layout, bool localities) {
  if (at + sf::kBlockHeaderBytes > file.size()) return std::nullopt;
  const std::uint32_t owner = loadU32(file.data() + at + sf::kBlockOwnerOffset);
  const std::uint64_t units = loadU16(file.data() + at + sf::kBlockUnitsOffset);
  const std::uint32_t highest = layout.directorySize * sf::kSlotsPerPage - 1;
  if (owner == 0 || owner > highest || owner > layout.countMask || units == 0) return std::nullopt;
  const std::uint64_t start = at + sf::kBlockHeaderBytes;
  if (start + units * layout.unitBytes > file.size()) return std::nullopt;
  const std::span<const std::uint8_t> payload(file.data() + start,
                                              static_cast<std::size_t>(units * layout.unitBytes));
  if (localities) {
    const std::optional<Locality> loc = decodeLocality(payload, false);
    if (!loc || loc->number != owner) return std::nullopt;
  } else {
    const std::optional<Specimen> s = decodeSpecimen(payload);
    if (!s || loadU32(payload.data()) != owner) return std::nullopt;
  }
  return std::make_pair(owner, Bytes(payload.begin(), payload.end()));
}

}  // namespace

SalvagedRecords salvageRecords(const Bytes& file, const StoreLayout& layout, bool localities) {
  SalvagedRecords out;
  const std::uint32_t start = dataStartOf(layout);
  if (file.size() < start) return out;
  // Extents of the blocks the slots lead to: nothing else lies inside them.
  std::map<std::uint64_t, std::uint64_t> taken;
  for (std::uint32_t p = 0; p < layout.directorySize; ++p) {
    const std::uint32_t page = loadU32(file.data() + sf::kDirectoryOffset + 4 * p);
    if (page < start || page + std::uint64_t{sf::kSlotPageBytes} > file.size()) continue;
    for (std::uint32_t s = 0; s < sf::kSlotsPerPage; ++s) {
      const std::uint32_t n = p * sf::kSlotsPerPage + s;
      const std::uint32_t at = loadU32(file.data() + page + 4 * s);
      if (n == 0 || at < start) continue;
      std::optional<std::pair<std::uint32_t, Bytes>> block = blockAt(file, at, layout, localities);
      if (!block || block->first != n || out.records.count(n) != 0) continue;
      taken[at] = at + sf::kBlockHeaderBytes + block->second.size();
      out.records.emplace(n, std::move(block->second));
    }
  }
  // The rest of the file, byte by byte: a block that no slot leads to any
  // more (a damaged directory entry or slot page) is still found by its
  // header and its content.
  std::uint64_t at = start;
  auto next = taken.begin();
  while (at + sf::kBlockHeaderBytes <= file.size()) {
    while (next != taken.end() && next->second <= at) ++next;
    if (next != taken.end() && next->first <= at) {
      at = next->second;
      continue;
    }
    std::optional<std::pair<std::uint32_t, Bytes>> block = blockAt(file, at, layout, localities);
    if (!block) {
      ++at;
      continue;
    }
    const std::uint64_t end = at + sf::kBlockHeaderBytes + block->second.size();
    // Of two versions no slot leads to, the later one in the file.
    out.records[block->first] = std::move(block->second);
    at = end;
  }
  if (!out.records.empty()) out.numbered = out.records.rbegin()->first;
  // The count word still tells how many numbers were issued, unless it is
  // damaged too.
  const std::uint32_t count = loadU32(file.data() + sf::kCountOffset) & layout.countMask;
  if (count > out.numbered && count - out.numbered <= sf::kSlotsPerPage) out.numbered = count;
  return out;
}

namespace {

struct StoreFile {
  const char* name;
  const StoreLayout* layout;
  bool localities;
};

// True when the file is no store, or a record up to its count is unreadable.
bool storeDamaged(FileLayer& files, const std::string& path, const StoreFile& which) {
  StoreOpenError error = StoreOpenError::kNone;
  std::optional<RecordStore> store =
      RecordStore::openStoreFile(path, *which.layout, StoreOpenMode::kReadOnly, files, &error);
  if (!store) return true;
  if (!store->matchesItsCount()) return true;
  std::uint32_t undecodable = 0;
  const RecordStore::RecordScan scan =
      store->readAllRecords([&](std::uint32_t, std::span<const std::uint8_t> p) {
        const bool ok =
            which.localities ? decodeLocality(p, false).has_value() : decodeSpecimen(p).has_value();
        undecodable += ok ? 0 : 1;
      });
  return scan.unreadable + undecodable > 0;
}

Bytes placeholder(std::uint32_t n, bool localities, bool named) {
  if (localities) {
    Locality loc;
    loc.number = static_cast<std::uint16_t>(n);
    if (named) {
      loc.name = "Fundort " + std::to_string(n) + " (verloren)";
    } else {
      loc.flags = locality_format::kFlagDeleted;
    }
    return encodeLocality(loc);
  }
  Specimen s;
  s.number = n;
  s.flags = specimen_format::kFlagDeleted;
  return encodeSpecimen(s);
}

// Writes the fresh store to `path` (replacing what is there) and makes it durable.
bool writeFreshStore(FileLayer& files, const std::string& path, const StoreFile& which,
                     const SalvagedRecords& found, const std::set<std::uint32_t>& named) {
  files.removeFile(path);
  std::optional<RecordStore> store =
      RecordStore::openStoreFile(path, *which.layout, StoreOpenMode::kReadWrite, files);
  if (!store) return false;
  std::uint32_t top = found.numbered;
  if (which.localities && !named.empty())
    top = std::max(top, std::min<std::uint32_t>(*named.rbegin(), 0xFFFF));
  for (std::uint32_t n = 1; n <= top; ++n) {
    const auto it = found.records.find(n);
    const Bytes payload =
        it != found.records.end() ? it->second : placeholder(n, which.localities, named.count(n) != 0);
    if (store->writeRecord(0, payload, 1) != n) return false;
  }
  return store->sync();
}

std::string keptName(FileLayer& files, const std::string& folder, const std::string& name,
                     const std::string& date) {
  const std::string base = name + ".beschaedigt-" + date;
  std::string candidate = base;
  for (int i = 2; files.presence(joinPath(folder, candidate)) != FilePresence::kMissing; ++i)
    candidate = base + "-" + std::to_string(i);
  return candidate;
}

}  // namespace

RepairResult repairCollection(Collection& collection, const std::string& folder, const std::string& date,
                              ProgressSink* progress) {
  RepairResult result;
  collection.close();
  FileLayer& files = collection.files();
  const StoreFile stores[] = {{sf::kSpecimenFileName, &kSpecimenStoreLayout, false},
                              {sf::kLocalityFileName, &kLocalityStoreLayout, true}};
  // Localities that specimens still name: lost ones keep a placeholder name
  // instead of leaving their specimens at a deleted locality.
  std::set<std::uint32_t> named;
  for (const StoreFile& which : stores) {
    const std::string path = joinPath(folder, which.name);
    RepairedStore report;
    report.fileName = which.name;
    if (files.presence(path) == FilePresence::kMissing) continue;
    files.setReadOnly(path, false);
    const std::optional<Bytes> bytes = readWholeFile(files, path);
    if (!bytes) {
      result.problem =
          std::string("Die Datei \"") + which.name + "\" im Datenordner kann nicht gelesen werden.";
      return result;
    }
    report.damaged = storeDamaged(files, path, which);
    const SalvagedRecords found = salvageRecords(*bytes, *which.layout, which.localities);
    if (!which.localities) {
      for (const auto& [n, payload] : found.records) {
        const std::optional<Specimen> s = decodeSpecimen(payload);
        if (s && !s->deleted() && s->localityNumber() != 0) named.insert(s->localityNumber());
      }
    }
    if (!report.damaged) {
      files.setReadOnly(path, true);
      result.stores.push_back(report);
      continue;
    }
    report.salvaged = static_cast<std::uint32_t>(found.records.size());
    report.lost =
        std::max(found.numbered, which.localities && !named.empty() ? *named.rbegin() : 0u) - report.salvaged;
    // The fresh store is complete and durable before anything is replaced,
    // and the damaged file is kept (a durable copy, byte for byte) before the
    // fresh one takes its name: at no moment is the collection without it.
    const std::string fresh = path + ".rep";
    report.keptAs = keptName(files, folder, which.name, date);
    const std::string kept = joinPath(folder, report.keptAs);
    if (!writeFreshStore(files, fresh, which, found, named) || !replaceWholeFile(files, kept, *bytes) ||
        readWholeFile(files, kept) != bytes || !files.renameFile(fresh, path)) {
      files.removeFile(fresh);
      result.problem = std::string("Die Datei \"") + which.name +
                       "\" konnte nicht repariert werden (Festplatte voll oder schreibgesch\xFCtzt); sie ist "
                       "unver\xE4ndert.";
      return result;
    }
    files.setReadOnly(kept, true);
    result.stores.push_back(report);
  }
  std::reverse(result.stores.begin(), result.stores.end());
  if (collection.open(folder, progress) == Collection::OpenResult::kUnavailable) {
    result.problem = collection.openProblem();
    return result;
  }
  if (collection.damaged()) {
    result.problem = collection.damageReport();
    return result;
  }
  result.indexRebuilt = collection.rebuildIndex(progress);
  collection.resortLocalities();
  collection.resortSpecimens();
  if (!result.indexRebuilt) {
    result.problem =
        "Der Suchindex konnte nicht neu aufgebaut werden; er wird beim n\xE4"
        "chsten Start neu aufgebaut.";
    return result;
  }
  result.ok = true;
  return result;
}

std::string repairReport(const RepairResult& result) {
  std::string text;
  for (const RepairedStore& s : result.stores) {
    if (!text.empty()) text += "\n";
    if (!s.damaged) {
      text += s.fileName +
              ": unbesch\xE4"
              "digt.";
      continue;
    }
    text += s.fileName + ": " + std::to_string(s.salvaged) + " Datens\xE4tze gerettet, " +
            std::to_string(s.lost) +
            " verloren; die besch\xE4"
            "digte Datei liegt unver\xE4ndert als \"" +
            s.keptAs + "\" im Datenordner.";
  }
  if (result.indexRebuilt)
    text += std::string(text.empty() ? "" : "\n") + "Der Suchindex wurde neu aufgebaut.";
  if (!result.ok && !result.problem.empty()) text += std::string(text.empty() ? "" : "\n") + result.problem;
  return text;
}

}  // namespace kalvor
