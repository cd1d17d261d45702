#include "shell/dialogs/print_status_dialog.h"

#include "resources/resource_ids.h"

namespace kalvor::shell {

PrintStatusDialog::PrintStatusDialog(HINSTANCE instance, HWND owner)
    : ModelessDialog(instance, "DRUCKSTATUS"), owner_(owner) {}

bool PrintStatusDialog::open() {
  cancelRequested_ = false;
  // The job's own message pump hands the dialog its keys, not the program's loop.
  if (!create(owner_, nullptr)) return false;
  ShowWindow(window(), SW_SHOWNORMAL);
  UpdateWindow(window());
  return true;
}

bool PrintStatusDialog::onInit() {
  centreOver(owner_);
  return true;
}

bool PrintStatusDialog::onCommand(int id, int /*code*/) {
  if (id != ID_PRINT_CANCEL) return false;
  cancelRequested_ = true;
  // Once asked, the button has done its part.
  enable(ID_PRINT_CANCEL, false);
  return true;
}

void PrintStatusDialog::showProgress(std::string_view line) {
  if (!isOpen()) return;
  setItemText(ID_PRINT_STATUS_LINE, line);
  UpdateWindow(item(ID_PRINT_STATUS_LINE));
}

}  // namespace kalvor::shell
