// The toolbar window class "KALVOR_MYTB": the buttons of views::ToolbarModel
// drawn from a bitmap strip, speaking the TB_ messages of the platform's
// toolbar and sending its commands to the parent as WM_COMMAND.
#pragma once

#include <windows.h>

#include <string>

namespace kalvor::shell {

inline constexpr char kToolbarClass[] = "KALVOR_MYTB";

// Registers the class (CS_GLOBALCLASS | CS_DBLCLKS) once.
bool registerToolbarClass(HINSTANCE instance);

// The program's toolbar in `parent` (control id ID_TOOLBAR): bitmap 3001 and
// the 16 buttons of the button table. Null when it cannot be made.
HWND createProgramToolbar(HINSTANCE instance, HWND parent);

// The bubble text of the button under `screen`, empty when there is none.
std::string toolbarTextAt(HWND toolbar, POINT screen);

// True when `window` is a toolbar of this class.
bool isToolbar(HWND window);

}  // namespace kalvor::shell
