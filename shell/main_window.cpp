#include "shell/main_window.h"

#include "shell/view_host_win.h"
#include "views/command_table.h"
#include "views/menu_rules.h"

namespace kalvor::shell {
namespace {

AppContext* contextOf(HWND hwnd) {
  return reinterpret_cast<AppContext*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Commands go to the command table; ids it does not know get default processing.
bool onCommand(AppContext& app, int id) {
  WinViewHost host(app);
  views::ViewController controller(app.views, host);
  return views::runCommand(controller, id);
}

// The first paint loads the data; a start that fails ends the program at once
// with -1, before anything is written.
void onFirstPaint(AppContext& app) {
  StartupResult result = openReferenceData("", {app.settings.get(), nullptr, {}});
  if (!result.ready()) {
    char text[512] = {};
    char caption[256] = {};
    LoadStringA(app.instance, static_cast<UINT>(result.messageId), text, sizeof text);
    LoadStringA(app.instance, static_cast<UINT>(result.captionId), caption, sizeof caption);
    MessageBoxA(app.mainWindow, text, caption, MB_ICONHAND);
    ExitProcess(static_cast<UINT>(-1));
  }
  app.data = std::move(result.data);
  app.views.resultFlag(views::View::Mineral) = true;
  PostMessageA(app.mainWindow, WM_COMMAND, 1023, 0);
}

void onInitMenuPopup(AppContext& app, HMENU popup, int position) {
  WinViewHost host(app);
  views::ViewController controller(app.views, host);
  WinMenuEditor editor(popup);
  views::prepareMenuPopup(position, controller, editor);
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE: {
      // The context travels in the creation parameters so the procedure can find it.
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      auto* app = static_cast<AppContext*>(create->lpCreateParams);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
      app->mainWindow = hwnd;
      break;
    }
    case WM_GETMINMAXINFO: {
      // At least 200 quarter character widths wide plus the frame, two thirds of the desktop high.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const LONG baseUnits = GetDialogBaseUnits();
      RECT desktop;
      GetWindowRect(GetDesktopWindow(), &desktop);
      info->ptMinTrackSize.x = (LOWORD(baseUnits) * 200) / 4 + 100;
      info->ptMinTrackSize.y = ((desktop.bottom - desktop.top) * 2) / 3;
      return 0;
    }
    case WM_PAINT: {
      RECT update;
      if (!GetUpdateRect(hwnd, &update, FALSE)) return 0;
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      AppContext* app = contextOf(hwnd);
      if (!app || app->firstPaintDone) return 0;
      app->firstPaintDone = true;
      onFirstPaint(*app);
      return 0;
    }
    case WM_COMMAND:
      if (AppContext* app = contextOf(hwnd); app && onCommand(*app, LOWORD(wParam))) return 0;
      break;
    case WM_INITMENUPOPUP:
      // The window menu is the system's; only the bar's popups are ours.
      if (AppContext* app = contextOf(hwnd); app && !HIWORD(lParam)) {
        onInitMenuPopup(*app, reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool registerMainWindowClass(AppContext& app) {
  app.backgroundBrush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = app.instance;
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = app.backgroundBrush;
  wc.lpszMenuName = "Hauptmenu";
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassA(&wc) != 0;
}

bool createMainWindow(AppContext& app) {
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const HWND hwnd = CreateWindowExA(0, kMainWindowClass, kMainWindowClass, WS_OVERLAPPEDWINDOW,
                                    work.left, work.top, work.right - work.left,
                                    work.bottom - work.top, nullptr, nullptr, app.instance, &app);
  return hwnd != nullptr;
}

}  // namespace kalvor::shell
