// "kalvor-cli sicherung": lists, makes and restores the generations of the
// collection kept in the folder "Sicherung".
#include <string>

#include "collection/backup.h"
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
  std::unique_ptr<OpenDataFolder> data = OpenDataFolder::open(args.dataDir());
  if (!data) return 1;
  data->data().collection().close();
  const MineralNameList& names = data->data().names();
  const std::uint32_t mineralCount = data->data().mineralCount();
  if (*verb == "erstelle") {
    const BackupOutcome outcome = backupCollection(args.dataDir(), names, mineralCount, backupNameNow());
    switch (outcome.status) {
      case BackupStatus::kCreated:
        printLine("Sicherung " + outcome.name +
                  " angelegt und gepr\xFC"
                  "ft.");
        for (const std::string& old : outcome.removed) printLine("Alte Sicherung " + old + " entfernt.");
        return 0;
      case BackupStatus::kUnchanged:
        printLine("Die Sammlung ist seit der letzten Sicherung unver\xE4ndert.");
        return 0;
      case BackupStatus::kNoCollection:
        printLine("Keine Sammlungsdateien vorhanden.");
        return 0;
      case BackupStatus::kNotVerified:
        printError("Die Sicherung lie\xDF sich nicht fehlerfrei lesen und wurde verworfen.");
        return 1;
      case BackupStatus::kFailed:
        break;
    }
    printError("Die Sicherung konnte nicht geschrieben werden.");
    return 1;
  }
  switch (restoreBackup(args.dataDir(), names, mineralCount, *name, backupNameNow())) {
    case RestoreStatus::kRestored:
      printLine("Sicherung " + *name +
                " zur\xFC"
                "ckgeschrieben; der vorige Stand ist als Sicherung erhalten.");
      return 0;
    case RestoreStatus::kUnknown:
      printError("Keine Sicherung \"" + *name + "\" vorhanden.");
      return 1;
    case RestoreStatus::kDamaged:
      printError("Die Sicherung \"" + *name +
                 "\" ist besch\xE4"
                 "digt und wird nicht zur\xFC"
                 "ckgeschrieben.");
      return 1;
    case RestoreStatus::kBackupFailed:
      printError(
          "Der jetzige Stand lie\xDF sich nicht sichern; nichts wurde zur\xFC"
          "ckgeschrieben.");
      return 1;
    case RestoreStatus::kFailed:
      break;
  }
  printError("Die Sammlungsdateien konnten nicht geschrieben werden.");
  return 1;
}

}  // namespace kalvor::cli
