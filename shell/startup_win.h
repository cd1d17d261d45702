// The main window's first paint: the start-up logo, the data start-up with
// its progress dialog, and the first list of all minerals.
#pragma once

#include "resources/resource_ids.h"
#include "shell/app_context.h"

namespace kalvor::shell {

// Control of "IndexAufbau" that shows the current progress line.
inline constexpr int kProgressLineControl = ID_PROGRESS_LINE;

// Runs once, on the first WM_PAINT. When the data cannot be opened it shows
// the start-up failure message and ends the process with exit code -1 at
// once: nothing is written and no file attribute changes.
void runFirstPaint(AppContext& app);

}  // namespace kalvor::shell
