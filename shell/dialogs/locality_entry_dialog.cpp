#include "shell/dialogs/locality_entry_dialog.h"

namespace kalvor::shell {

std::optional<std::int32_t> runLocalityEntry(HWND, AppContext&, const LocalityEntryRequest&) { return std::nullopt; }

}  // namespace kalvor::shell
