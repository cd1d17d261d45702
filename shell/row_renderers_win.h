// Where kalvor.exe gets the row renderers of its lists from.
#pragma once

#include <memory>

#include "shell/app_context.h"
#include "views/row_renderer.h"
#include "views/view_host.h"

namespace kalvor::shell {

// The renderer of a range list's rows (glossary, locality or specimen rows).
std::unique_ptr<views::RowRenderer> makeRowRenderer(AppContext& app, views::ListKind kind);

// The renderer of detailed mineral rows for wide mineral lists; null while
// the program has none (the list then draws plain names at every width).
std::unique_ptr<views::RowRenderer> makeMineralRowRenderer(AppContext& app);

}  // namespace kalvor::shell
