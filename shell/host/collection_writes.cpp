#include "shell/host/collection_writes.h"

#include <windows.h>

#include "resources/resource_ids.h"
#include "shell/dialogs/progress_dialog.h"

namespace kalvor::shell {

bool refuseReadOnlyCollection(AppContext& app) {
  if (!app.data.reference) return true;
  const Collection& c = app.data.reference->collection();
  // An exchange list refuses writes on its own, with its own message.
  if (!c.readOnly() || c.inExchangeMode()) return false;
  MessageBoxA(app.windows.main, c.readOnlyReason().c_str(), "Kalvor", MB_ICONEXCLAMATION);
  return true;
}

void mendIndexAfterSave(AppContext& app) {
  if (!app.data.reference) return;
  Collection& c = app.data.reference->collection();
  if (!c.valueIndex().updateFailed()) return;
  Collection::IndexAfterSave outcome;
  {
    ProgressDialog progress(app.windows.instance, app.windows.main, "IndexAufbau1", ID_PROGRESS_LINE);
    outcome = c.repairIndexAfterSave(&progress);
  }
  if (outcome == Collection::IndexAfterSave::kLeftMarked)
    MessageBoxA(app.windows.main,
                "Der Stufen/Fundstellen-Index konnte nicht aktualisiert werden; er wird beim n\xE4"
                "chsten Start neu aufgebaut.",
                "Kalvor", MB_ICONEXCLAMATION);
}

}  // namespace kalvor::shell
