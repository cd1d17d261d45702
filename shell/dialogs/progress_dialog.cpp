#include "shell/dialogs/progress_dialog.h"

namespace kalvor::shell {

bool ProgressDialog::onInit() {
  if (!title_.empty()) SetWindowTextA(window(), title_.c_str());
  centreOver(owner_);
  return true;
}

void ProgressDialog::show() {
  if (isOpen()) return;
  // No message loop runs during the work, so there is no keyboard handling to register for.
  if (!create(owner_, nullptr)) return;
  ShowWindow(window(), SW_SHOWNORMAL);
  // Paint now, for the same reason.
  UpdateWindow(window());
}

void ProgressDialog::progress(const std::string& line) {
  show();
  if (!isOpen()) return;
  setItemText(lineControl_, line);
  UpdateWindow(item(lineControl_));
}

}  // namespace kalvor::shell
