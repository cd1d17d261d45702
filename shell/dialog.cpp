#include "shell/dialog.h"

#include <algorithm>

#include "views/window_layout.h"
#include "win32/strings.h"

namespace kalvor::shell {

void ModelessDialogs::add(HWND dialog) {
  if (dialog && std::find(dialogs_.begin(), dialogs_.end(), dialog) == dialogs_.end()) dialogs_.push_back(dialog);
}

void ModelessDialogs::remove(HWND dialog) { std::erase(dialogs_, dialog); }

bool ModelessDialogs::handleMessage(MSG& msg) const {
  for (HWND dialog : dialogs_) {
    if (IsDialogMessageA(dialog, &msg)) return true;
  }
  return false;
}

std::string DialogBase::itemText(int id) const {
  const HWND control = item(id);
  const int length = control ? GetWindowTextLengthA(control) : 0;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int n = control ? GetWindowTextA(control, text.data(), length + 1) : 0;
  text.resize(static_cast<std::size_t>(std::max(0, n)));
  return text;
}

void DialogBase::setItemText(int id, std::string_view text) const {
  SetDlgItemTextA(window_, id, std::string(text).c_str());
}

std::string DialogBase::text(int stringId) const { return win32::loadString(instance_, stringId); }

int DialogBase::messageBox(int textId, int captionId, UINT type) const {
  return MessageBoxA(window_, text(textId).c_str(), text(captionId).c_str(), type);
}

void DialogBase::centreOver(HWND owner) const { centreOverClientArea(window_, owner); }

INT_PTR CALLBACK DialogBase::procedure(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<DialogBase*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    if (self) self->window_ = dialog;
  }
  // Messages before WM_INITDIALOG (WM_SETFONT, ...) get the default processing.
  if (!self) return FALSE;
  if (observer_ && observer_->dialogMessage(dialog, msg, wParam, lParam, self->modeless())) return TRUE;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    self->window_ = nullptr;
    self->forget(dialog);
    self->onDestroyed();
    return FALSE;
  }
  return self->handle(msg, wParam, lParam);
}

INT_PTR DialogBase::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      return onInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (onCommand(id, HIWORD(wParam))) return TRUE;
      if (id == IDOK) {
        onOk();
        return TRUE;
      }
      if (id == IDCANCEL) {
        onCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      return onClose() ? TRUE : FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header && onNotify(static_cast<int>(header->idFrom), *header) ? TRUE : FALSE;
    }
    case WM_TIMER:
      return onTimer(wParam) ? TRUE : FALSE;
    case WM_DRAWITEM:
      return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_MEASUREITEM:
      return onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    default: {
      LRESULT result = 0;
      if (!onMessage(msg, wParam, lParam, result)) return FALSE;
      // These few answer with the dialog procedure's own return value
      // (an item index, a brush), not through DWLP_MSGRESULT.
      if (msg == WM_CHARTOITEM || msg == WM_VKEYTOITEM || msg == WM_COMPAREITEM ||
          (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC))
        return static_cast<INT_PTR>(result);
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

INT_PTR ModalDialog::run(HWND owner) {
  return DialogBoxParamA(instance(), templateName(), owner, procedure, reinterpret_cast<LPARAM>(this));
}

bool ModelessDialog::create(HWND owner, ModelessDialogs* dialogs) {
  if (window()) return true;
  if (!CreateDialogParamA(instance(), templateName(), owner, procedure, reinterpret_cast<LPARAM>(this)))
    return false;
  dialogs_ = dialogs;
  if (dialogs_) dialogs_->add(window());
  return true;
}

void ModelessDialog::destroy() {
  if (window()) DestroyWindow(window());
}

void ModelessDialog::forget(HWND dialog) {
  if (dialogs_) dialogs_->remove(dialog);
  dialogs_ = nullptr;
}

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

}  // namespace kalvor::shell
