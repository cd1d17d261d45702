#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"

namespace kalvor::shell {

void WinFrame::destroyToolbar() {
  if (windows_.toolbar) DestroyWindow(windows_.toolbar);
  windows_.toolbar = nullptr;
  windows_.toolbarDestroyed = true;
}

void WinFrame::graySearchItems() {
  // "&Suchen" is the second popup of either bar.
  const HMENU search = GetSubMenu(GetMenu(windows_.main), 1);
  if (!search) return;
  EnableMenuItem(search, CMD_SEARCH_LOCALITY, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(search, CMD_SEARCH_SPECIMEN, MF_BYCOMMAND | MF_GRAYED);
}

void WinFrame::installExchangeMenu() {
  const HMENU exchange = LoadMenuA(windows_.instance, "Tauschmenu");
  if (!exchange) return;
  windows_.savedMenuBar = GetMenu(windows_.main);
  SetMenu(windows_.main, exchange);
}

void WinFrame::restoreMainMenu() {
  if (!windows_.savedMenuBar) return;
  const HMENU exchange = GetMenu(windows_.main);
  SetMenu(windows_.main, windows_.savedMenuBar);
  windows_.savedMenuBar = nullptr;
  if (exchange) DestroyMenu(exchange);
}

}  // namespace kalvor::shell
