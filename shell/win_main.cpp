// Entry point of kalvor.exe.
#include <windows.h>

#include "shell/app_context.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR /*commandLine*/, int show) {
  using namespace kalvor::shell;
  // A second start hands over to the running program.
  if (previous != nullptr) {
    if (HWND other = FindWindowA(kMainWindowClass, kMainWindowClass)) BringWindowToTop(other);
    return 0;
  }
  AppContext app;
  app.instance = instance;
  if (!registerMainWindowClass(app) || !createMainWindow(app)) return -1;
  SetWindowTextA(app.mainWindow, kMainWindowClass);
  ShowWindow(app.mainWindow, show);
  UpdateWindow(app.mainWindow);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (app.backgroundBrush) DeleteObject(app.backgroundBrush);
  return 1;
}
