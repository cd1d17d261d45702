// Placing the main window's children: the list window beside the side
// windows, and the children's answer to a resize of the main window.
#pragma once

#include <windows.h>

#include "shell/app_context.h"
#include "views/window_layout.h"

namespace kalvor::shell {

// The list window's rectangle in the main window's client coordinates, from
// the client area and the outer rects of the open side windows.
RECT listRectangle(const AppContext& app);

// Moves the list window (control 1000), if it exists, to listRectangle.
void placeListWindow(const AppContext& app);

// WM_SIZE that did not minimise: scales the side windows by the change of the
// main window against the saved rectangle, places the list, saves the new rect.
void onMainWindowResized(AppContext& app);

// Conversions between Win32 and portable rectangles.
inline views::Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT toWinRect(const views::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace kalvor::shell
