#include "collection/backup_in_use.h"

#include "collection/collection.h"

namespace kalvor {
namespace {

bool reopen(Collection& collection, const std::string& folder) {
  return collection.open(folder) != Collection::OpenResult::kUnavailable;
}

}  // namespace

InUseBackup backupOpenCollection(Collection& collection, const std::string& name) {
  const std::string folder = collection.folder();
  collection.close();
  InUseBackup result;
  result.outcome = backupCollection(folder, collection.names(), collection.mineralCount(), name);
  result.reopened = reopen(collection, folder);
  return result;
}

InUseRestore restoreOpenCollection(Collection& collection, const std::string& name,
                                   const std::string& currentName) {
  const std::string folder = collection.folder();
  collection.close();
  InUseRestore result;
  result.status = restoreBackup(folder, collection.names(), collection.mineralCount(), name, currentName);
  result.reopened = reopen(collection, folder);
  return result;
}

std::string backupOutcomeText(const BackupOutcome& outcome, bool& failed) {
  failed = false;
  switch (outcome.status) {
    case BackupStatus::kCreated: {
      std::string text = "Sicherung " + outcome.name +
                         " angelegt und gepr\xFC"
                         "ft.";
      for (const std::string& old : outcome.removed) text += "\nAlte Sicherung " + old + " entfernt.";
      return text;
    }
    case BackupStatus::kUnchanged:
      return "Die Sammlung ist seit der letzten Sicherung unver\xE4ndert.";
    case BackupStatus::kNoCollection:
      return "Keine Sammlungsdateien vorhanden.";
    case BackupStatus::kNotVerified:
      failed = true;
      return "Die Sicherung lie\xDF sich nicht fehlerfrei lesen und wurde verworfen.";
    case BackupStatus::kFailed:
      break;
  }
  failed = true;
  return "Die Sicherung konnte nicht geschrieben werden.";
}

std::string restoreStatusText(RestoreStatus status, const std::string& name, bool& failed) {
  failed = status != RestoreStatus::kRestored;
  switch (status) {
    case RestoreStatus::kRestored:
      return "Sicherung " + name +
             " zur\xFC"
             "ckgeschrieben; der vorige Stand ist als Sicherung erhalten.";
    case RestoreStatus::kUnknown:
      return "Keine Sicherung \"" + name + "\" vorhanden.";
    case RestoreStatus::kDamaged:
      return "Die Sicherung \"" + name +
             "\" ist besch\xE4"
             "digt und wird nicht zur\xFC"
             "ckgeschrieben.";
    case RestoreStatus::kBackupFailed:
      return "Der jetzige Stand lie\xDF sich nicht sichern; nichts wurde zur\xFC"
             "ckgeschrieben.";
    case RestoreStatus::kFailed:
      break;
  }
  return "Die Sammlungsdateien konnten nicht geschrieben werden.";
}

std::string restoreQuestion(const std::string& name) {
  return "Wollen Sie die Sammlung wirklich auf den Stand der Sicherung " + name +
         " zur\xFC"
         "cksetzen? Der jetzige Stand wird vorher als Sicherung aufbewahrt.";
}

}  // namespace kalvor
