// The dialog "SICHERUNGEN": the generations of the collection kept in the
// folder "Sicherung", one made on request, one put back after a question.
#pragma once

#include <string>
#include <vector>

#include "collection/backup.h"
#include "shell/dialog.h"

namespace kalvor {
class Collection;
}

namespace kalvor::shell {

class BackupsDialog final : public ModalDialog {
 public:
  BackupsDialog(HINSTANCE instance, Collection& collection)
      : ModalDialog(instance, "SICHERUNGEN"), collection_(collection) {}
  // True when a generation was put back during the dialog.
  bool restored() const { return restored_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override { end(restored_ ? 1 : 0); }
  void onCancel() override { end(restored_ ? 1 : 0); }

  void fillList(const std::string& select);
  void backUpNow();
  void restoreChosen();
  void showStatus(const std::string& text);

  Collection& collection_;
  std::vector<BackupEntry> entries_;
  bool restored_ = false;
};

}  // namespace kalvor::shell
