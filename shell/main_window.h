// The main window: the program's only top-level window.
#pragma once

#include "shell/app_context.h"

namespace kalvor::shell {

// The class name and the title of the main window; also what a second
// instance looks for to hand over to the first.
inline constexpr char kMainWindowClass[] = "Kalvor";

// Registers the main window class with the menu "Hauptmenu". Returns false on failure.
bool registerMainWindowClass(AppContext& app);

// Creates the main window over the desktop work area. Returns false on failure.
bool createMainWindow(AppContext& app);

}  // namespace kalvor::shell
