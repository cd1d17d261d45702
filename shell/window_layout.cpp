#include "shell/window_layout.h"

#include <algorithm>

namespace kalvor::shell {

RECT listRectangle(const AppContext& app) {
  RECT client{0, 0, 0, 0};
  if (app.mainWindow) GetClientRect(app.mainWindow, &client);
  constexpr LONG kToolbarBottom = 27;
  client.top = std::min(kToolbarBottom, client.bottom);
  return client;
}

}  // namespace kalvor::shell
