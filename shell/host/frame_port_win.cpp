#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"

namespace kalvor::shell {

void WinFrame::destroyToolbar() {
  if (app_.toolbar) DestroyWindow(app_.toolbar);
  app_.toolbar = nullptr;
  app_.toolbarDestroyed = true;
}

void WinFrame::graySearchItems() {
  // "&Suchen" is the second popup of either bar.
  const HMENU search = GetSubMenu(GetMenu(app_.mainWindow), 1);
  if (!search) return;
  EnableMenuItem(search, CMD_SEARCH_LOCALITY, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(search, CMD_SEARCH_SPECIMEN, MF_BYCOMMAND | MF_GRAYED);
}

void WinFrame::installExchangeMenu() {
  const HMENU exchange = LoadMenuA(app_.instance, "Tauschmenu");
  if (!exchange) return;
  app_.savedMenuBar = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, exchange);
}

void WinFrame::restoreMainMenu() {
  if (!app_.savedMenuBar) return;
  const HMENU exchange = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, app_.savedMenuBar);
  app_.savedMenuBar = nullptr;
  if (exchange) DestroyMenu(exchange);
}

}  // namespace kalvor::shell
