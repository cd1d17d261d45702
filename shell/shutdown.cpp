#include "shell/shutdown.h"

#include "collection/backup.h"
#include "collection/exchange_list.h"
#include "controls/list_control.h"

namespace kalvor::shell {
namespace {

// Only the column entries whose width the user changed in this run are written.
void writeChangedColumnLayouts(AppContext& app) {
  if (app.settings) app.listLayouts.save(*app.settings);
}

}  // namespace

void shutDown(AppContext& app) {
  app.fonts = DescriptionFontSet();
  if (app.backgroundBrush) DeleteObject(app.backgroundBrush);
  app.backgroundBrush = nullptr;

  bool indexDamaged = app.views.indexDamaged;
  app.glossary.reset();
  if (app.data) {
    // The flag that matters is the user's own index, not an exchange list's.
    Collection& collection = app.data->collection();
    if (collection.inExchangeMode()) leaveExchangeList(collection);
    indexDamaged = collection.unavailable();
    // A normal exit keeps a verified copy of a changed collection in "Sicherung".
    collection.close();
    if (!indexDamaged)
      backupCollection(app.data->folder(), app.data->names(), app.data->mineralCount(), backupNameNow());
    // Closes every data file; the collection marks "kalvor.st" and "kalvor.fs" read-only.
    app.data.reset();
  }
  if (app.settings) app.settings->writeInt("Status", "Index-Defekt", indexDamaged ? 1 : 0);
  // Every list window went with the main window.
  UnregisterClassA(controls::kListClass, app.instance);
  writeChangedColumnLayouts(app);
  app.views = views::ViewState();
}

}  // namespace kalvor::shell
