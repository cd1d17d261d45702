// The main window: the program's only top-level window.
#pragma once

#include "shell/app_context.h"

namespace kalvor::shell {

// The class name and the title of the main window; also what a second
// instance looks for to hand over to the first.
inline constexpr char kMainWindowClass[] = "Kalvor";

// The background timer that loads the value index's field table step by step.
inline constexpr UINT_PTR kBackgroundTimer = 900;
inline constexpr UINT kBackgroundTimerMs = 18;

// Registers the main window class with the menu "Hauptmenu" and a background
// brush of COLOR_WINDOW (kept in `app`). Returns false on failure.
bool registerMainWindowClass(AppContext& app);

// Creates the main window over `workArea` (screen pixels). Returns false on failure.
bool createMainWindow(AppContext& app, const RECT& workArea);

}  // namespace kalvor::shell
