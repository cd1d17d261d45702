// Where the main window's children stand.
#pragma once

#include <windows.h>

#include "shell/app_context.h"

namespace kalvor::shell {

// The main window's client rectangle for the List window: below the toolbar (y = 27).
RECT listRectangle(const AppContext& app);

}  // namespace kalvor::shell
