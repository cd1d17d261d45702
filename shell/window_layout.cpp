#include "shell/window_layout.h"

#include <optional>

#include "resources/resource_ids.h"

namespace kalvor::shell {
namespace {

std::optional<views::Rect> outerRect(HWND window) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return std::nullopt;
  return toRect(r);
}

views::Rect clientRect(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  return toRect(r);
}

void moveTo(HWND window, const views::Rect& r) {
  MoveWindow(window, r.left, r.top, r.width(), r.height(), TRUE);
}

}  // namespace

RECT listRectangle(const AppContext& app) {
  return toWinRect(views::listRectangle(clientRect(app.windows.main), outerRect(app.windows.description),
                                        outerRect(app.windows.drawing)));
}

void placeListWindow(const AppContext& app) {
  const HWND list = GetDlgItem(app.windows.main, ID_LIST_WINDOW);
  if (!list) return;
  moveTo(list, toRect(listRectangle(app)));
}

void onMainWindowResized(AppContext& app) {
  RECT now;
  if (!GetWindowRect(app.windows.main, &now)) return;
  const HWND list = GetDlgItem(app.windows.main, ID_LIST_WINDOW);
  const views::ResizeMove move =
      views::planResize(clientRect(app.windows.main), toRect(app.windows.savedMainRect), toRect(now),
                        outerRect(app.windows.drawing), outerRect(app.windows.description), list != nullptr);
  switch (move.target) {
    case views::ResizeMove::Target::Drawing:
      // The drawing window's own size handling moves the description and the list.
      moveTo(app.windows.drawing, move.rect);
      break;
    case views::ResizeMove::Target::Description:
      moveTo(app.windows.description, move.rect);
      placeListWindow(app);
      break;
    case views::ResizeMove::Target::List:
      moveTo(list, move.rect);
      break;
    case views::ResizeMove::Target::None:
      break;
  }
  app.windows.savedMainRect = now;
}

}  // namespace kalvor::shell
