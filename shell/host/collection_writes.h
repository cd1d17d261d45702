// What kalvor.exe does around every change of the collection: refuse it,
// saying why, when the collection can only be read, and mend the value index
// at once when a key change of the save failed.
#pragma once

#include "shell/app_context.h"

namespace kalvor::shell {

// True (after telling the user why) when the collection cannot be written.
bool refuseReadOnlyCollection(AppContext& app);

// Rebuilds the value index behind "IndexAufbau1" when a save left it
// marked; says so when even that failed (the next start rebuilds it).
void mendIndexAfterSave(AppContext& app);

}  // namespace kalvor::shell
