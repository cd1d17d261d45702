#include "shell/dialogs/name_search_dialog.h"

#include "controls/list_control.h"
#include "resources/resource_ids.h"

namespace kalvor::shell {

bool NameSearchDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  sendItem(ID_NAME_SEARCH_LIST, controls::kListSetEnvironment, 0, reinterpret_cast<LPARAM>(&lists_));
  // The list follows what is typed into the name field.
  sendItem(ID_NAME_SEARCH_LIST, controls::kListWatchEdit, ID_NAME_SEARCH_EDIT);
  return true;
}

void NameSearchDialog::onOk() {
  mineral_ = static_cast<std::int32_t>(controls::listSelectedMineral(item(ID_NAME_SEARCH_LIST)));
  end(1);
}

}  // namespace kalvor::shell
