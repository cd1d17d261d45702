// What happens after the message loop: fonts and brush deleted, data files
// closed and the collection files marked read-only, the settings written.
#pragma once

#include "shell/app_context.h"

namespace kalvor::shell {

// Shuts the run down in order; every step checks that its object is present.
void shutDown(AppContext& app);

}  // namespace kalvor::shell
