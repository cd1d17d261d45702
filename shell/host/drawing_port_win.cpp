#include "shell/drawing_window.h"
#include "shell/host/win_ports.h"

namespace kalvor::shell {

void DrawingWindowDeleter::operator()(DrawingWindow* window) const { delete window; }

void WinSideWindows::createDrawing() {
  if (!app_.windows.drawingWindow) app_.windows.drawingWindow.reset(new DrawingWindow(app_));
  app_.windows.drawingWindow->open();
}

void WinSideWindows::destroyDrawing() {
  if (app_.windows.drawing) DestroyWindow(app_.windows.drawing);
}

}  // namespace kalvor::shell
