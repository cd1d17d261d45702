// The toolbar's keys on Win32: the accelerator table built from the views'
// key table, the keys shown in the menu items, and the check that a key
// runs its command only while the toolbar button could be clicked.
#pragma once

#include <windows.h>

#include "shell/app_context.h"
#include "views/view_state.h"

namespace kalvor::shell {

// An accelerator table with every key of views::acceleratorTable(); the
// caller destroys it with DestroyAcceleratorTable.
HACCEL createProgramAccelerators();

// Writes the keys after a tab into the items of `menu` (a popup or the whole
// bar) as they are in `view`; items not in it are left alone.
void showKeysInMenu(HMENU menu, views::View view);

// Whether a key may send `command` now: while its toolbar button is usable.
bool keyMayRun(const AppContext& app, int command);

}  // namespace kalvor::shell
