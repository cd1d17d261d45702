// The state of one run of kalvor.exe, owned by WinMain and handed to the
// windows that need it (no globals).
#pragma once

#include <windows.h>

namespace kalvor::shell {

struct AppContext {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  // The class background brush, deleted at shut-down.
  HBRUSH backgroundBrush = nullptr;
};

}  // namespace kalvor::shell
