#include "shell/startup_win.h"

#include "resources/resource_ids.h"
#include "shell/dialogs/progress_dialog.h"
#include "shell/host/win_ports.h"
#include "shell/logo.h"
#include "shell/row_renderers_win.h"
#include "views/view_state.h"
#include "views/window_layout.h"
#include "win32/gdi_objects.h"
#include "win32/strings.h"

namespace kalvor::shell {
namespace {

// The start-up logo, centred in the client area at its natural size, in the
// window colours and without its caption.
void drawStartLogo(AppContext& app) {
  const Picture* logo = cachedPictureAtSlot(app.display.pictures, "logos.pf", kStartLogoSlot);
  if (!logo) return;
  RECT client = {};
  GetClientRect(app.windows.main, &client);
  const views::Point at = views::startPicturePosition(client.right, client.bottom);
  const win32::WindowDc dc(app.windows.main);
  if (!dc.get()) return;
  drawPicture(dc.get(), *logo, {at.x, at.y, at.x + logo->width, at.y + logo->height},
              GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT));
}

// The start-up's two progress dialogs: "IndexAufbau" while the search index
// is built, "IndexAufbau1" with its lines while the value index is rebuilt
// (also when it was marked damaged).
class StartupDialogs final : public StartupProgress {
 public:
  explicit StartupDialogs(const AppContext& app)
      : search_(app.windows.instance, app.windows.main, "IndexAufbau", kProgressLineControl),
        values_(app.windows.instance, app.windows.main, "IndexAufbau1", kProgressLineControl) {}
  void searchIndexRebuildStarted() override { search_.searchIndexRebuildStarted(); }
  void searchIndexRebuildFinished() override { search_.searchIndexRebuildFinished(); }
  void progress(const std::string& line) override { values_.progress(line); }

 private:
  ProgressDialog search_;
  ProgressDialog values_;
};

}  // namespace

void runFirstPaint(AppContext& app) {
  drawStartLogo(app);
  StartupResult result;
  {
    StartupDialogs progress(app);
    result = openReferenceData("", {app.settings.ini.get(), &progress, {}});
  }
  if (!result.ready()) {
    // The file and the reason follow the message, so the user knows what to mend.
    std::string text = win32::loadString(app.windows.instance, result.messageId);
    if (!result.detail.empty()) text += "\n\n" + result.detail;
    MessageBoxA(app.windows.main, text.c_str(),
                win32::loadString(app.windows.instance, result.captionId).c_str(), MB_ICONHAND);
    ExitProcess(static_cast<UINT>(-1));
  }
  app.data.reference = std::move(result.data);
  app.display.lists.names = &app.data.reference->names();
  app.display.lists.makeMineralRows = [&app] { return makeMineralRowRenderer(app); };
  if (app.settings.heldForStartup) app.settings.heldForStartup->release();
  app.settings.heldForStartup = nullptr;
  app.views.indexDamaged = app.data.reference->collection().unavailable();
  // A damaged collection is only read until the user repairs it ("Datei" menu),
  // and a deletion completed at the open is told, not done in silence; a
  // collection that can only be read is shown, and the user learns at once why.
  const Collection& collection = app.data.reference->collection();
  if (collection.damaged())
    MessageBoxA(app.windows.main, collection.damageReport().c_str(), "Sammlung besch\xE4" "digt", MB_ICONEXCLAMATION);
  if (!collection.openNotice().empty())
    MessageBoxA(app.windows.main, collection.openNotice().c_str(), "Kalvor", MB_ICONINFORMATION);
  if (!collection.readOnlyReason().empty())
    MessageBoxA(app.windows.main, collection.readOnlyReason().c_str(), "Kalvor", MB_ICONINFORMATION);
  // The drawing window stands at the top right from the start, the
  // description window at the left up to it.
  WinSideWindows(app).createDrawing();
  WinSideWindows(app).createDescription();

  // The flag is set only so that "Alle Einträge" takes its path and shows all minerals.
  app.views.resultFlag(views::View::Mineral) = true;
  PostMessageA(app.windows.main, WM_COMMAND, CMD_VIEW_ALL, 0);
  WinHost host(app);
  views::ViewController controller(app.views, host.ports());
  controller.refreshToolbar(true);
}

}  // namespace kalvor::shell
