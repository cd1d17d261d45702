#include "shell/startup_win.h"

#include "resources/resource_ids.h"
#include "shell/gdi_objects.h"
#include "shell/logo.h"
#include "shell/dialogs/progress_dialog.h"
#include "shell/host/win_ports.h"
#include "views/view_state.h"
#include "views/window_layout.h"

namespace kalvor::shell {
namespace {

// The start-up logo, centred in the client area at its natural size, in the
// window colours and without its caption.
void drawStartLogo(const AppContext& app) {
  const std::optional<Picture> logo = readPictureAtSlot("logos.pf", kStartLogoSlot);
  if (!logo) return;
  RECT client = {};
  GetClientRect(app.mainWindow, &client);
  const views::Point at = views::startPicturePosition(client.right, client.bottom);
  const WindowDc dc(app.mainWindow);
  if (!dc.get()) return;
  drawPicture(dc.get(), *logo, {at.x, at.y, at.x + logo->width, at.y + logo->height},
              GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT));
}

}  // namespace

std::string loadString(const AppContext& app, int id) {
  char text[2000] = {};
  const int n = LoadStringA(app.instance, static_cast<UINT>(id), text, sizeof text);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void runFirstPaint(AppContext& app) {
  drawStartLogo(app);
  StartupResult result;
  {
    ProgressDialog progress(app.instance, app.mainWindow, "IndexAufbau", kProgressLineControl);
    result = openReferenceData("", {app.settings.get(), &progress, {}});
  }
  if (!result.ready()) {
    MessageBoxA(app.mainWindow, loadString(app, result.messageId).c_str(),
                loadString(app, result.captionId).c_str(), MB_ICONHAND);
    ExitProcess(static_cast<UINT>(-1));
  }
  app.data = std::move(result.data);
  if (app.startupSettings) app.startupSettings->release();
  app.startupSettings = nullptr;
  app.views.indexDamaged = app.data->collection().unavailable();
  // The drawing and description windows ("LeerBox") are created here once they exist.

  // The flag is set only so that "Alle Einträge" takes its path and shows all minerals.
  app.views.resultFlag(views::View::Mineral) = true;
  PostMessageA(app.mainWindow, WM_COMMAND, CMD_VIEW_ALL, 0);
  WinHost host(app);
  views::ViewController controller(app.views, host.ports());
  controller.refreshToolbar(true);
}

}  // namespace kalvor::shell
