// Backups made and restored while a program has the collection open: the
// collection is closed for the copy (a generation must be one consistent
// state) and opened again afterwards. Also the German sentences that tell the
// user what came of it, shared by kalvor.exe and kalvor-cli.
#pragma once

#include <string>

#include "collection/backup.h"

namespace kalvor {

class Collection;

// Keeps a generation named `name` of the open collection (none when a valid
// one holds the same files) and reopens it. `reopened` is false when the
// collection could not be opened again (its openProblem() says why).
struct InUseBackup {
  BackupOutcome outcome;
  bool reopened = false;
};
InUseBackup backupOpenCollection(Collection& collection, const std::string& name);

struct InUseRestore {
  RestoreStatus status = RestoreStatus::kFailed;
  bool reopened = false;
};
// Puts generation `name` back (the current state kept first as `currentName`)
// and reopens the collection.
InUseRestore restoreOpenCollection(Collection& collection, const std::string& name,
                                   const std::string& currentName);

// What a backup run did, one or more lines (Windows-1252); `failed` tells
// whether it is an error.
std::string backupOutcomeText(const BackupOutcome& outcome, bool& failed);
std::string restoreStatusText(RestoreStatus status, const std::string& name, bool& failed);
// The question before a restore.
std::string restoreQuestion(const std::string& name);

}  // namespace kalvor
