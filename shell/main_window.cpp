#include "shell/main_window.h"

namespace kalvor::shell {
namespace {

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
    case WM_COMMAND:
      if (LOWORD(wParam) == 1001) {  // "Kalvor beenden"
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
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
