#include "collection/backup.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "base/file_io.h"
#include "collection/collection.h"
#include "collection/index_check.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/sort_order.h"
#include "collection/store_format.h"
#include "platform/file_attributes.h"

namespace kalvor {
namespace {

namespace fs = std::filesystem;

// A generation being written; renamed to its name once verified.
constexpr const char* kUnfinishedSuffix = ".neu";

// The collection files of one state, by name, as read from disk.
using FileSet = std::map<std::string, Bytes>;

std::uint64_t checksum(const Bytes& data) {
  std::uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a, 64 bits
  for (std::uint8_t b : data) {
    hash ^= b;
    hash *= 0x100000001B3ull;
  }
  return hash;
}

std::string hex64(std::uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

std::string backupRoot(const std::string& folder) { return joinPath(folder, kBackupFolderName); }

// Reads the collection files that exist; nothing when one cannot be read.
std::optional<FileSet> readCollectionFiles(const std::string& folder) {
  FileSet files;
  std::error_code ec;
  for (const char* name : backupFileNames()) {
    const std::string path = joinPath(folder, name);
    if (!fs::exists(path, ec)) continue;
    auto bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    files.emplace(name, std::move(*bytes));
  }
  return files;
}

std::string manifestText(const FileSet& files) {
  std::string text;
  for (const auto& [name, bytes] : files)
    text += name + ";" + std::to_string(bytes.size()) + ";" + hex64(checksum(bytes)) + "\r\n";
  return text;
}

// The files of a generation as its "inhalt.txt" lists them; nothing when the
// list is missing or unreadable, or a file is missing or differs from it.
std::optional<FileSet> readGeneration(const std::string& path) {
  const auto manifest = readWholeFile(joinPath(path, kBackupManifestName));
  if (!manifest || manifest->empty()) return std::nullopt;
  const std::string text(manifest->begin(), manifest->end());
  FileSet files;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) return std::nullopt;
    const std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    const std::size_t a = line.find(';');
    const std::size_t b = a == std::string::npos ? a : line.find(';', a + 1);
    if (b == std::string::npos) return std::nullopt;
    const std::string name = line.substr(0, a);
    const auto& known = backupFileNames();
    if (std::none_of(known.begin(), known.end(), [&](const char* k) { return name == k; }))
      return std::nullopt;
    auto bytes = readWholeFile(joinPath(path, name));
    if (!bytes || std::to_string(bytes->size()) != line.substr(a + 1, b - a - 1) ||
        hex64(checksum(*bytes)) != line.substr(b + 1))
      return std::nullopt;
    files.emplace(name, std::move(*bytes));
  }
  if (files.empty()) return std::nullopt;
  return files;
}

bool writeFiles(const std::string& folder, const FileSet& files) {
  for (const auto& [name, bytes] : files) {
    const std::string path = joinPath(folder, name);
    setFileReadOnly(path, false);
    if (!writeWholeFile(path, bytes)) return false;
  }
  return true;
}

// Opens the copy as the program opens a collection: the stores and the index
// open without a rebuild, every record with a slot reads, and the value index
// agrees with the records.
bool verifyCopy(const std::string& path, const MineralNameList& names, std::uint32_t mineralCount) {
  Collection copy(names, mineralCount, nullptr);
  bool ok = copy.open(path) == Collection::OpenResult::kReady;
  if (ok) {
    RecordStore* localities = copy.localityStore();
    RecordStore* specimens = copy.specimenStore();
    ok = localities && specimens;
    for (std::uint32_t n = 1; ok && n <= copy.localityCount(); ++n)
      if (localities->slotValue(n) != 0) ok = readLocality(copy, n).has_value();
    for (std::uint32_t n = 1; ok && n <= copy.specimenCount(); ++n)
      if (specimens->slotValue(n) != 0) ok = readSpecimen(copy, n).has_value();
    ok = ok && checkValueIndex(copy).empty();
  }
  copy.close();
  return ok;
}

void removeFolder(const std::string& path) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(path, ec)) setFileReadOnly(entry.path().string(), false);
  fs::remove_all(path, ec);
}

bool isGenerationName(const std::string& name) {
  // JJJJ-MM-TT_hh-mm-ss, optionally -N
  if (name.size() < 19) return false;
  static const char kPattern[] = "0000-00-00_00-00-00";
  for (std::size_t i = 0; i < 19; ++i) {
    const bool digit = kPattern[i] == '0';
    if (digit ? (name[i] < '0' || name[i] > '9') : name[i] != kPattern[i]) return false;
  }
  if (name.size() == 19) return true;
  if (name[19] != '-' || name.size() == 20 || name.size() > 26) return false;
  return std::all_of(name.begin() + 20, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Orders generation names by time, "-10" after "-9".
bool generationBefore(const std::string& a, const std::string& b) {
  const std::string ta = a.substr(0, 19), tb = b.substr(0, 19);
  if (ta != tb) return ta < tb;
  const unsigned long na = a.size() > 20 ? std::stoul(a.substr(20)) : 1;
  const unsigned long nb = b.size() > 20 ? std::stoul(b.substr(20)) : 1;
  return na < nb;
}

}  // namespace

const std::vector<const char*>& backupFileNames() {
  static const std::vector<const char*> names = {
      store_format::kLocalityFileName, store_format::kSpecimenFileName, store_format::kValueIndexFileName,
      kLocalityOrderFileName, kSpecimenOrderFileName};
  return names;
}

std::string backupNameFor(const std::tm& local) {
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::string backupNameNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return backupNameFor(local);
}

std::vector<BackupEntry> listBackups(const std::string& folder) {
  std::vector<BackupEntry> entries;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(backupRoot(folder), ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory(ec) || !isGenerationName(name)) continue;
    entries.push_back({name, readGeneration(entry.path().string()).has_value()});
  }
  std::sort(entries.begin(), entries.end(),
            [](const BackupEntry& a, const BackupEntry& b) { return generationBefore(a.name, b.name); });
  return entries;
}

BackupOutcome backupCollection(const std::string& folder, const MineralNameList& names,
                               std::uint32_t mineralCount, const std::string& name, bool force) {
  BackupOutcome outcome;
  const std::optional<FileSet> current = readCollectionFiles(folder);
  if (!current) return outcome;
  if (current->empty()) {
    outcome.status = BackupStatus::kNoCollection;
    return outcome;
  }
  const std::string root = backupRoot(folder);
  std::vector<BackupEntry> entries = listBackups(folder);
  // A state that a kept generation already holds (the newest, or the one
  // just restored) needs no copy of its own.
  if (!force) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (it->valid && readGeneration(joinPath(root, it->name)) == current) {
        outcome.status = BackupStatus::kUnchanged;
        return outcome;
      }
    }
  }

  std::error_code ec;
  fs::create_directories(root, ec);
  // Left over by a run that stopped half-way.
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string n = entry.path().filename().string();
    if (n.size() > 4 && n.ends_with(kUnfinishedSuffix)) removeFolder(entry.path().string());
  }
  std::string finalName = name;
  for (int suffix = 2; fs::exists(joinPath(root, finalName), ec); ++suffix)
    finalName = name + "-" + std::to_string(suffix);
  const std::string unfinished = joinPath(root, finalName + kUnfinishedSuffix);
  fs::create_directory(unfinished, ec);
  if (ec || !writeFiles(unfinished, *current)) {
    removeFolder(unfinished);
    return outcome;
  }
  if (!verifyCopy(unfinished, names, mineralCount)) {
    removeFolder(unfinished);
    outcome.status = BackupStatus::kNotVerified;
    return outcome;
  }
  // Opening the copy may have marked or re-saved files: the generation holds
  // exactly the bytes that were read, and nothing else.
  for (const auto& entry : fs::directory_iterator(unfinished, ec)) {
    setFileReadOnly(entry.path().string(), false);
    if (!current->contains(entry.path().filename().string())) fs::remove(entry.path(), ec);
  }
  const std::string manifest = manifestText(*current);
  if (!writeFiles(unfinished, *current) ||
      !writeWholeFile(joinPath(unfinished, kBackupManifestName), Bytes(manifest.begin(), manifest.end()))) {
    removeFolder(unfinished);
    return outcome;
  }
  fs::rename(unfinished, joinPath(root, finalName), ec);
  if (ec || !readGeneration(joinPath(root, finalName))) {
    removeFolder(unfinished);
    return outcome;
  }
  outcome.status = BackupStatus::kCreated;
  outcome.name = finalName;

  // Only valid generations count towards the ten kept.
  entries = listBackups(folder);
  std::size_t valid =
      std::count_if(entries.begin(), entries.end(), [](const BackupEntry& e) { return e.valid; });
  for (const BackupEntry& e : entries) {
    if (valid <= kBackupGenerationsKept) break;
    if (!e.valid) continue;
    removeFolder(joinPath(root, e.name));
    outcome.removed.push_back(e.name);
    --valid;
  }
  return outcome;
}

RestoreStatus restoreBackup(const std::string& folder, const MineralNameList& names,
                            std::uint32_t mineralCount, const std::string& name,
                            const std::string& currentName) {
  const std::string path = joinPath(backupRoot(folder), name);
  std::error_code ec;
  if (!isGenerationName(name) || !fs::is_directory(path, ec)) return RestoreStatus::kUnknown;
  // Read first: keeping the current state may remove the oldest generation.
  const std::optional<FileSet> generation = readGeneration(path);
  if (!generation) return RestoreStatus::kDamaged;
  const BackupOutcome kept = backupCollection(folder, names, mineralCount, currentName);
  if (kept.status != BackupStatus::kCreated && kept.status != BackupStatus::kUnchanged &&
      kept.status != BackupStatus::kNoCollection)
    return RestoreStatus::kBackupFailed;
  for (const char* file : backupFileNames()) {
    const std::string target = joinPath(folder, file);
    if (generation->contains(file) || !fs::exists(target, ec)) continue;
    setFileReadOnly(target, false);
    fs::remove(target, ec);
  }
  if (!writeFiles(folder, *generation)) return RestoreStatus::kFailed;
  // As a closed collection leaves them.
  for (const char* file : {store_format::kLocalityFileName, store_format::kSpecimenFileName})
    if (generation->contains(file)) setFileReadOnly(joinPath(folder, file), true);
  return RestoreStatus::kRestored;
}

}  // namespace kalvor
