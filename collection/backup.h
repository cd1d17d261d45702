// Backups of the collection: each generation is a folder under "Sicherung"
// in the collection's folder, named after its date and time
// ("2026-12-06_16-20-35"), holding copies of the collection files taken while
// the collection was closed, and "inhalt.txt" with the size and checksum of
// each copy. A generation counts only once it was reopened with the core
// (every record reads, the value index agrees with the records) and while its
// files still match "inhalt.txt"; the ten newest are kept.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace kalvor {

class MineralNameList;

inline constexpr const char* kBackupFolderName = "Sicherung";
inline constexpr const char* kBackupManifestName = "inhalt.txt";
inline constexpr std::size_t kBackupGenerationsKept = 10;

// The collection files a generation holds (those that exist are copied).
const std::vector<const char*>& backupFileNames();

// The name of a generation made at that local time: "JJJJ-MM-TT_hh-mm-ss".
std::string backupNameFor(const std::tm& local);
// The name for a generation made now.
std::string backupNameNow();

struct BackupEntry {
  std::string name;
  bool valid = false;  // complete, verified, and its files match "inhalt.txt"
};

// The generations in "Sicherung" of `folder`, oldest first (names sort by time).
std::vector<BackupEntry> listBackups(const std::string& folder);

// What a backup run did.
enum class BackupStatus {
  kCreated,       // a new verified generation
  kUnchanged,     // a valid generation holds the same files
  kNoCollection,  // no collection files in the folder
  kNotVerified,   // the copy did not reopen cleanly; it was removed
  kFailed,        // a folder or file could not be written
};
struct BackupOutcome {
  BackupStatus status = BackupStatus::kFailed;
  std::string name;                  // the new generation
  std::vector<std::string> removed;  // older generations removed to keep ten
};

// Copies the closed collection of `folder` into a new generation when no
// valid generation holds the same files (always with `force`), verifies it with
// `names` and `mineralCount` (as the collection is opened), and then removes
// the oldest valid generations beyond ten. `name` is the generation's name; a
// generation of that name already there gets "-2", "-3" ... appended.
// The collection must not be open while this runs.
BackupOutcome backupCollection(const std::string& folder, const MineralNameList& names,
                               std::uint32_t mineralCount, const std::string& name, bool force = false);

enum class RestoreStatus {
  kRestored,
  kUnknown,       // no generation of that name
  kDamaged,       // the generation is not valid
  kBackupFailed,  // the current state could not be kept as a generation first
  kFailed,        // a file could not be written
};

// Puts the collection files of generation `name` back into `folder`, after
// keeping the current state as a generation (named `currentName`) unless a
// kept one holds it already. Collection files the generation lacks are
// removed. The collection must not be open while this runs.
RestoreStatus restoreBackup(const std::string& folder, const MineralNameList& names,
                            std::uint32_t mineralCount, const std::string& name,
                            const std::string& currentName);

}  // namespace kalvor
