#include "shell/main_window.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"
#include "shell/keyboard_win.h"
#include "shell/startup_win.h"
#include "shell/toolbar_window.h"
#include "shell/window_layout.h"
#include "views/command_table.h"
#include "views/menu_rules.h"
#include "views/window_layout.h"
#include "win32/window_class.h"

namespace kalvor::shell {
namespace {

AppContext* contextOf(HWND hwnd) {
  return reinterpret_cast<AppContext*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Commands go to the command table; ids it does not know get default processing.
bool onCommand(AppContext& app, int id) {
  WinHost host(app);
  views::ViewController controller(app.views, host.ports());
  return views::runCommand(controller, id);
}

void onInitMenuPopup(AppContext& app, HMENU popup, int position) {
  WinHost host(app);
  views::ViewController controller(app.views, host.ports());
  WinMenuEditor editor(popup);
  views::prepareMenuPopup(position, controller, editor);
  showKeysInMenu(popup, app.views.view);
}

void onCreate(AppContext& app) {
  GetWindowRect(GetDesktopWindow(), &app.windows.savedMainRect);
  if (app.views.indexDamaged) WinFrame(app.windows).graySearchItems();
  {
    // The bar shows the commands without their dialog grayed before any popup is prepared.
    WinHost host(app);
    views::ViewController controller(app.views, host.ports());
    WinMenuEditor bar(GetMenu(app.windows.main));
    views::grayUnavailableCommands(controller, bar);
  }
  app.startup.backgroundStepPending = true;
  SetTimer(app.windows.main, kBackgroundTimer, kBackgroundTimerMs, nullptr);
  app.windows.toolbar = createProgramToolbar(app.windows.instance, app.windows.main);
  // States the command layer set before the bar existed show now.
  for (const auto& [command, state] : app.windows.toolbarStates)
    SendMessageA(app.windows.toolbar, TB_SETSTATE, static_cast<WPARAM>(command), MAKELONG(state, 0));
  if (app.windows.bubbleHelp) app.windows.bubbleHelp->registerMainWindow(app.windows.main);
}

void onPaint(AppContext& app) {
  RECT update;
  if (!GetUpdateRect(app.windows.main, &update, FALSE)) return;
  // The client area shows only its background; the children draw the rest.
  PAINTSTRUCT ps;
  BeginPaint(app.windows.main, &ps);
  EndPaint(app.windows.main, &ps);
  if (app.startup.firstPaintDone) return;
  app.startup.firstPaintDone = true;
  runFirstPaint(app);
}

// One slice of the value index's background loading per tick, until it is complete.
void onTimer(AppContext& app) {
  // Before the data start-up there is nothing to load yet; the timer keeps running.
  if (!app.data.reference) return;
  app.startup.backgroundStepPending = app.data.reference->collection().valueIndex().loadFieldTableStep(false);
  if (!app.startup.backgroundStepPending) KillTimer(app.windows.main, kBackgroundTimer);
}

void onClose(AppContext& app) {
  if (app.windows.drawing) DestroyWindow(app.windows.drawing);
  if (app.windows.description) DestroyWindow(app.windows.description);
  app.windows.drawing = nullptr;
  app.windows.description = nullptr;
  if (const HWND list = GetDlgItem(app.windows.main, ID_LIST_WINDOW)) DestroyWindow(list);
}

void onDestroy(AppContext& app) {
  PostQuitMessage(0);
  // The sets of all records and the search results go with the window.
  app.views.enablingLocalities.reset();
  app.views.enablingSpecimens.reset();
  app.views.listLocalities = RecordSet();
  app.views.listSpecimens = RecordSet();
  app.views.localityResult.reset();
  app.views.specimenResult.reset();
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    // The context travels in the creation parameters so the procedure can find it.
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* app = static_cast<AppContext*>(create->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    app->windows.main = hwnd;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_GETMINMAXINFO) {
    // Needs no context: it arrives even before WM_NCCREATE.
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const views::Size minimum =
        views::minimumTrackSize(LOWORD(GetDialogBaseUnits()), desktop.bottom - desktop.top);
    info->ptMinTrackSize.x = minimum.width;
    info->ptMinTrackSize.y = minimum.height;
    return 0;
  }
  AppContext* app = contextOf(hwnd);
  if (!app) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (app->windows.bubbleHelp && app->windows.bubbleHelp->mainWindowMessage(hwnd, msg, wParam, lParam))
    return 0;
  switch (msg) {
    case WM_CREATE:
      onCreate(*app);
      return 0;
    case WM_PAINT:
      onPaint(*app);
      return 0;
    case WM_SIZE:
      // A minimised size is never saved, so a restore does not scale from it.
      if (wParam != SIZE_MINIMIZED) onMainWindowResized(*app);
      // The toolbar spans the new width (it places itself whenever it is sized).
      if (app->windows.toolbar)
        SetWindowPos(app->windows.toolbar, nullptr, 0, 0, LOWORD(lParam), views::kToolbarBandHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
        if (const HWND list = GetDlgItem(hwnd, ID_LIST_WINDOW)) SetFocus(list);
      }
      return 0;
    case WM_COMMAND:
      // A key does no more than its toolbar button: refused while that is disabled.
      if (HIWORD(wParam) == 1 && lParam == 0 && !keyMayRun(*app, LOWORD(wParam))) {
        MessageBeep(0);
        return 0;
      }
      if (onCommand(*app, LOWORD(wParam))) return 0;
      break;
    case WM_INITMENUPOPUP:
      // The window menu is the system's; only the bar's popups are ours.
      if (!HIWORD(lParam)) {
        onInitMenuPopup(*app, reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kBackgroundTimer) {
        onTimer(*app);
        return 0;
      }
      break;
    case WM_CLOSE:
      onClose(*app);
      break;  // default processing destroys the main window
    case WM_DESTROY:
      onDestroy(*app);
      return 0;
    case WM_COMPACTING:
      // The decoded pictures are made again when they are next shown.
      app->display.pictures.release();
      return 1;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool registerMainWindowClass(AppContext& app) {
  app.windows.backgroundBrush = win32::GdiBrush(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = app.windows.instance;
  wc.hIcon = LoadIconA(app.windows.instance, MAKEINTRESOURCEA(IDI_KALVOR));
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = app.windows.backgroundBrush.get();
  wc.lpszMenuName = "Hauptmenu";
  wc.lpszClassName = kMainWindowClass;
  return win32::registerWindowClass(wc);
}

bool createMainWindow(AppContext& app, const RECT& workArea) {
  const HWND hwnd =
      CreateWindowExA(0, kMainWindowClass, kMainWindowClass, WS_OVERLAPPEDWINDOW, workArea.left, workArea.top,
                      workArea.right - workArea.left, workArea.bottom - workArea.top, nullptr, nullptr,
                      app.windows.instance, &app);
  return hwnd != nullptr;
}

}  // namespace kalvor::shell
