#include "shell/view_host_win.h"

#include <string>

#include "resources/resource_ids.h"

namespace kalvor::shell {

HWND WinViewHost::listWindow() const { return GetDlgItem(app_.mainWindow, ID_LIST_WINDOW); }

bool WinViewHost::listExists() const { return listWindow() != nullptr; }

void WinViewHost::setListRedraw(bool on) {
  if (const HWND list = listWindow()) SendMessageA(list, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

void WinViewHost::focusList() {
  if (const HWND list = listWindow()) SetFocus(list);
}

void WinViewHost::destroyToolbar() {
  if (app_.toolbar) DestroyWindow(app_.toolbar);
  app_.toolbar = nullptr;
  app_.toolbarDestroyed = true;
}

void WinViewHost::graySearchItems() {
  // "&Suchen" is the second popup of either bar.
  const HMENU search = GetSubMenu(GetMenu(app_.mainWindow), 1);
  if (!search) return;
  EnableMenuItem(search, CMD_SEARCH_LOCALITY, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(search, CMD_SEARCH_SPECIMEN, MF_BYCOMMAND | MF_GRAYED);
}

void WinViewHost::installExchangeMenu() {
  const HMENU exchange = LoadMenuA(app_.instance, "Tauschmenu");
  if (!exchange) return;
  app_.savedMenuBar = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, exchange);
}

void WinViewHost::restoreMainMenu() {
  if (!app_.savedMenuBar) return;
  const HMENU exchange = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, app_.savedMenuBar);
  app_.savedMenuBar = nullptr;
  if (exchange) DestroyMenu(exchange);
}

void WinViewHost::closeMainWindow() { SendMessageA(app_.mainWindow, WM_CLOSE, 0, 0); }

bool WinViewHost::askYesNo(int textId, int captionId) {
  char text[512] = {};
  char caption[256] = {};
  LoadStringA(app_.instance, static_cast<UINT>(textId), text, sizeof text);
  LoadStringA(app_.instance, static_cast<UINT>(captionId), caption, sizeof caption);
  return MessageBoxA(app_.mainWindow, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kalvor::shell
