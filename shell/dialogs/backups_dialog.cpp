#include "shell/dialogs/backups_dialog.h"

#include "collection/backup_in_use.h"
#include "collection/collection.h"
#include "resources/resource_ids.h"

namespace kalvor::shell {

bool BackupsDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  fillList({});
  return true;
}

// The generations, oldest first as they are named; a damaged one says so.
void BackupsDialog::fillList(const std::string& select) {
  entries_ = listBackups(collection_.folder());
  const HWND list = GetDlgItem(window(), ID_BACKUP_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  LRESULT selected = static_cast<LRESULT>(entries_.size()) - 1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::string line = entries_[i].name + (entries_[i].valid ? "" : "  (besch\xE4" "digt)");
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (entries_[i].name == select) selected = static_cast<LRESULT>(i);
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  EnableWindow(GetDlgItem(window(), ID_BACKUP_RESTORE), !entries_.empty());
}

void BackupsDialog::showStatus(const std::string& text) { SetDlgItemTextA(window(), ID_BACKUP_STATUS, text.c_str()); }

void BackupsDialog::backUpNow() {
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  const InUseBackup backup = backupOpenCollection(collection_, backupNameNow());
  SetCursor(previous);
  bool failed = false;
  std::string text = backupOutcomeText(backup.outcome, failed);
  if (!backup.reopened) text += "\n" + collection_.openProblem();
  fillList(backup.outcome.name);
  showStatus(text);
  if (failed || !backup.reopened) MessageBoxA(window(), text.c_str(), "Sicherungen", MB_ICONEXCLAMATION);
}

void BackupsDialog::restoreChosen() {
  const LRESULT index = SendDlgItemMessageA(window(), ID_BACKUP_LIST, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
    MessageBeep(0);
    return;
  }
  const std::string name = entries_[static_cast<std::size_t>(index)].name;
  if (MessageBoxA(window(), restoreQuestion(name).c_str(), "Sicherung zur\xFC" "ckschreiben",
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  const InUseRestore restore = restoreOpenCollection(collection_, name, backupNameNow());
  SetCursor(previous);
  // Even a failed restore may have replaced some files: the views start afresh.
  if (restore.status == RestoreStatus::kRestored || restore.status == RestoreStatus::kFailed) restored_ = true;
  bool failed = false;
  std::string text = restoreStatusText(restore.status, name, failed);
  if (!restore.reopened) text += "\n" + collection_.openProblem();
  fillList(name);
  showStatus(text);
  if (failed || !restore.reopened) MessageBoxA(window(), text.c_str(), "Sicherungen", MB_ICONEXCLAMATION);
}

bool BackupsDialog::onCommand(int id, int code) {
  if (id == ID_BACKUP_NOW && code == BN_CLICKED) {
    backUpNow();
    return true;
  }
  if (id == ID_BACKUP_RESTORE && code == BN_CLICKED) {
    restoreChosen();
    return true;
  }
  return false;
}

}  // namespace kalvor::shell
