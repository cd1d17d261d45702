// Where kalvor.exe gets the row renderers of its lists from.
#pragma once

#include <memory>

#include "shell/app_context.h"
#include "views/row_renderer.h"
#include "views/ports.h"

namespace kalvor::shell {

// The renderer of a range list's rows (glossary, locality or specimen rows);
// null before the data is loaded or without a glossary file.
std::unique_ptr<views::RowRenderer> makeRowRenderer(AppContext& app, views::ListKind kind);

// The renderer of detailed mineral rows for wide mineral lists; null before
// the data is loaded (the list then draws plain names).
std::unique_ptr<views::RowRenderer> makeMineralRowRenderer(AppContext& app);

}  // namespace kalvor::shell
