// "kalvor-cli sicherung": lists, makes and restores the generations of the
// collection kept in the folder "Sicherung".
#include <string>

#include "collection/backup.h"
#include "collection/backup_in_use.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {

int runBackup(Arguments& args) {
  const std::optional<std::string> verb = args.takeWord();
  const bool known = verb && (*verb == "liste" || *verb == "erstelle" || *verb == "zurueck");
  if (!known || args.takeFlag("--hilfe")) {
    printLine(
        "Aufruf: kalvor-cli sicherung liste\n"
        "        kalvor-cli sicherung erstelle\n"
        "        kalvor-cli sicherung zurueck NAME");
    return known ? 0 : 2;
  }
  std::optional<std::string> name;
  if (*verb == "zurueck") {
    name = args.takeWord();
    if (!name) {
      printError("Bitte geben Sie den Namen der Sicherung an (\"kalvor-cli sicherung liste\").");
      return 2;
    }
  }
  if (rejectRest(args)) return 2;
  if (*verb == "liste") {
    const std::vector<BackupEntry> entries = listBackups(args.dataDir());
    if (entries.empty()) printLine("Keine Sicherungen vorhanden.");
    for (const BackupEntry& e : entries)
      printLine(e.name + (e.valid ? ""
                                  : "  (besch\xE4"
                                    "digt, nicht gez\xE4hlt)"));
    return 0;
  }
  // The reference data give the name list and the mineral count a collection
  // is checked with; the collection itself must be closed while it is copied.
  std::unique_ptr<OpenDataFolder> data = OpenDataFolder::open(args.dataDir(), Collection::Access::kWrite);
  if (!data) return 1;
  Collection& collection = data->data().collection();
  if (collection.readOnly()) {
    printError(collection.readOnlyReason());
    printError("Es wurde nichts gespeichert.");
    return 1;
  }
  // Closed, but still locked: no other program may write while the files are copied.
  const std::unique_ptr<FolderLock> lock = collection.closeKeepingLock();
  const MineralNameList& names = data->data().names();
  const std::uint32_t mineralCount = data->data().mineralCount();
  bool failed = false;
  if (*verb == "erstelle") {
    const BackupOutcome outcome = backupCollection(args.dataDir(), names, mineralCount, backupNameNow());
    const std::string text = backupOutcomeText(outcome, failed);
    failed ? printError(text) : printLine(text);
    return failed ? 1 : 0;
  }
  const RestoreStatus status = restoreBackup(args.dataDir(), names, mineralCount, *name, backupNameNow());
  const std::string text = restoreStatusText(status, *name, failed);
  failed ? printError(text) : printLine(text);
  return failed ? 1 : 0;
}

}  // namespace kalvor::cli
