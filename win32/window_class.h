// Registering the program's window classes.
#pragma once

#include <windows.h>

namespace kalvor::win32 {

// Registers `wc` unless a class of that name is registered for its instance
// already. True when the class exists afterwards.
inline bool registerWindowClass(const WNDCLASSA& wc) {
  WNDCLASSA existing;
  if (GetClassInfoA(wc.hInstance, wc.lpszClassName, &existing)) return true;
  return RegisterClassA(&wc) != 0;
}

}  // namespace kalvor::win32
