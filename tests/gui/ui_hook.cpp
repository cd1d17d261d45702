#include "tests/gui/ui_hook.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace kalvor::uitest;

namespace {

void describeMenu(HMENU menu, std::string& out) {
  const int n = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < n; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    const UINT id = GetMenuItemID(menu, i);
    char line[400];
    std::snprintf(line, sizeof line, "%s\t%u\t%d\n", text, state & 0xFFFF, static_cast<int>(id));
    out += line;
  }
}

void answer(HWND hwnd) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kHookMemoryName);
  if (!mapping) return;
  auto* block = static_cast<HookBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kHookMemorySize));
  if (block) {
    std::string out;
    const HMENU bar = GetMenu(hwnd);
    switch (static_cast<HookRequest>(block->request)) {
      case HookRequest::kMenuBar:
        describeMenu(bar, out);
        break;
      case HookRequest::kPopupItems:
        describeMenu(GetSubMenu(bar, static_cast<int>(block->argument)), out);
        break;
      case HookRequest::kPreparedPopupItems: {
        // The program prepares a popup's items only when it opens.
        const HMENU popup = GetSubMenu(bar, static_cast<int>(block->argument));
        if (popup) {
          SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                       MAKELPARAM(block->argument, FALSE));
        }
        describeMenu(popup, out);
        break;
      }
    }
    out.resize(out.size() < sizeof block->answer - 1 ? out.size() : sizeof block->answer - 1);
    std::memcpy(block->answer, out.c_str(), out.size() + 1);
    UnmapViewOfFile(block);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK KalvorUiHookProc(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT query = RegisterWindowMessageA(kHookMessageName);
  if (code == HC_ACTION) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (cwp->message == query) answer(cwp->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
