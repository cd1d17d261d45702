#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "shell/description_window.h"
#include "shell/host/win_ports.h"
#include "win32/strings.h"

namespace kalvor::shell {

void WinSideWindows::createDescription() {
  if (!app_.windows.descriptionWindow) app_.windows.descriptionWindow.reset(new DescriptionWindow(app_));
  app_.windows.descriptionWindow->open();
}

void WinSideWindows::closeDescription() {
  if (app_.windows.description) SendMessageA(app_.windows.description, WM_CLOSE, 0, 0);
}

void WinSideWindows::setDescriptionTitle(int stringId) {
  if (app_.windows.description)
    SetWindowTextA(app_.windows.description, win32::loadString(app_.windows.instance, stringId).c_str());
}

void WinSideWindows::invalidateDescription() {
  if (app_.windows.description) InvalidateRect(app_.windows.description, nullptr, TRUE);
}

void WinSideWindows::repaintDescription() {
  if (!app_.windows.description) return;
  InvalidateRect(app_.windows.description, nullptr, TRUE);
  UpdateWindow(app_.windows.description);
}

void WinSideWindows::rebuildDescription() {
  if (!app_.windows.description || !app_.windows.descriptionWindow) return;
  app_.windows.descriptionWindow->rebuild();
  InvalidateRect(app_.windows.description, nullptr, TRUE);
}

void WinSideWindows::linkDescriptionToList() {
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  if (list && app_.windows.description)
    SendMessageA(list, controls::kListSetLetterTarget, 0, reinterpret_cast<LPARAM>(app_.windows.description));
}

}  // namespace kalvor::shell
