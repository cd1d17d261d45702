#include "shell/name_search_dialog.h"

#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "shell/progress_dialog.h"

namespace kalvor::shell {
namespace {

struct NameSearch {
  AppContext* app = nullptr;
  std::int32_t mineral = 0;
};

INT_PTR CALLBACK nameSearchProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* search = reinterpret_cast<NameSearch*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      centreOverClientArea(dialog, search->app->mainWindow);
      // The list follows what is typed into the name field.
      SendDlgItemMessageA(dialog, ID_NAME_SEARCH_LIST, controls::kListWatchEdit, ID_NAME_SEARCH_EDIT, 0);
      return TRUE;
    }
    case WM_COMMAND: {
      auto* search = reinterpret_cast<NameSearch*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (LOWORD(wParam) == IDOK && search) {
        search->mineral =
            static_cast<std::int32_t>(controls::listSelectedMineral(GetDlgItem(dialog, ID_NAME_SEARCH_LIST)));
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

views::DialogOutcome runNameSearchDialog(AppContext& app) {
  NameSearch search{&app, 0};
  const INT_PTR code = DialogBoxParamA(app.instance, "Namensuche", app.mainWindow, nameSearchProc,
                                       reinterpret_cast<LPARAM>(&search));
  views::DialogOutcome outcome;
  outcome.code = code == 1 ? 1 : 0;
  if (outcome.code == 1) outcome.mineral = search.mineral;
  return outcome;
}

}  // namespace kalvor::shell
