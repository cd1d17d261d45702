// Entry point of kalvor.exe.
#include <windows.h>

#include "controls/list_control.h"
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
  app.settings = kalvor::openPlatformSettings("kalvor.ini");
  if (!registerMainWindowClass(app) || !kalvor::controls::registerListClass(app) || !createMainWindow(app))
    return -1;
  SetWindowTextA(app.mainWindow, kMainWindowClass);
  if (HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {
    const bool smallScreen = GetDeviceCaps(screen, HORZRES) <= 800;
    app.fonts = DescriptionFontSet::createPlain(
        screen, app.settings->getInt("Optionen", "Kleine Zeichens\xE4tze", smallScreen ? 1 : 0) != 0);
    DeleteDC(screen);
  }
  ShowWindow(app.mainWindow, show);
  UpdateWindow(app.mainWindow);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  app.data.reset();
  if (app.backgroundBrush) DeleteObject(app.backgroundBrush);
  return 1;
}
