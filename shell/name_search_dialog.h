// The dialog "Namensuche": the user types a mineral name (the list of all
// minerals follows the typing) or picks one from the list.
#pragma once

#include "shell/app_context.h"
#include "views/view_host.h"

namespace kalvor::shell {

// Runs the dialog modally over the main window. Returns code 1 with the
// chosen name-list id (MineralNumber + 1) on "OK", code 0 on "Abbrechen".
views::DialogOutcome runNameSearchDialog(AppContext& app);

}  // namespace kalvor::shell
