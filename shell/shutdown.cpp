#include "shell/shutdown.h"

#include "collection/backup.h"
#include "collection/exchange_list.h"
#include "controls/list_control.h"

namespace kalvor::shell {
namespace {

// Only the column entries whose width the user changed in this run are written.
void writeChangedColumnLayouts(AppContext& app) {
  if (app.settings.ini) app.display.listLayouts.save(*app.settings.ini);
}

}  // namespace

void shutDown(AppContext& app) {
  app.display.fonts = win32::DescriptionFontSet();
  app.windows.backgroundBrush.reset();

  bool indexDamaged = app.views.indexDamaged;
  app.data.glossary.reset();
  if (app.data.reference) {
    // The flag that matters is the user's own index, not an exchange list's.
    Collection& collection = app.data.reference->collection();
    if (collection.inExchangeMode()) leaveExchangeList(collection);
    indexDamaged = collection.unavailable();
    // A normal exit keeps a verified copy of a changed collection in "Sicherung".
    collection.close();
    if (!indexDamaged) {
      const ReferenceData& data = *app.data.reference;
      backupCollection(data.folder(), data.names(), data.mineralCount(), backupNameNow());
    }
    // Closes every data file; the collection marks "kalvor.st" and "kalvor.fs" read-only.
    app.data.reference.reset();
  }
  app.display.lists.names = nullptr;
  app.display.lists.makeMineralRows = nullptr;
  if (app.settings.ini) app.settings.ini->writeInt("Status", "Index-Defekt", indexDamaged ? 1 : 0);
  // Every list window went with the main window.
  UnregisterClassA(controls::kListClass, app.windows.instance);
  writeChangedColumnLayouts(app);
  app.views = views::ViewState();
}

}  // namespace kalvor::shell
