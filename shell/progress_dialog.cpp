#include "shell/progress_dialog.h"

#include "views/window_layout.h"

namespace kalvor::shell {
namespace {

INT_PTR CALLBACK progressDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

void centreOverClientArea(HWND dialog, HWND owner) {
  RECT client = {};
  RECT own = {};
  GetClientRect(owner, &client);
  GetWindowRect(dialog, &own);
  const views::Point at =
      views::centredDialogPosition(client.right, client.bottom, own.right - own.left, own.bottom - own.top);
  POINT screen = {at.x, at.y};
  ClientToScreen(owner, &screen);
  SetWindowPos(dialog, nullptr, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
}

ProgressDialog::ProgressDialog(HINSTANCE instance, HWND owner, const char* templateName, int lineControl,
                               std::string title)
    : instance_(instance), owner_(owner), templateName_(templateName), lineControl_(lineControl),
      title_(std::move(title)) {}

void ProgressDialog::show() {
  if (dialog_) return;
  dialog_ = CreateDialogParamA(instance_, templateName_, owner_, progressDialogProc, 0);
  if (!dialog_) return;
  if (!title_.empty()) SetWindowTextA(dialog_, title_.c_str());
  centreOverClientArea(dialog_, owner_);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  // No message loop runs during the work: paint now.
  UpdateWindow(dialog_);
}

void ProgressDialog::progress(const std::string& line) {
  show();
  if (!dialog_) return;
  SetDlgItemTextA(dialog_, lineControl_, line.c_str());
  UpdateWindow(GetDlgItem(dialog_, lineControl_));
}

void ProgressDialog::close() {
  if (dialog_) DestroyWindow(dialog_);
  dialog_ = nullptr;
}

}  // namespace kalvor::shell
