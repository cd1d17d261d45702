#include "tests/gui/ui_driver.h"

#include <vector>

#include "tests/gui/png_writer.h"

namespace kalvor::uitest {

Program::~Program() {
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

Program::Program(Program&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Program& Program::operator=(Program&& other) noexcept {
  if (this != &other) {
    this->~Program();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

bool Program::start(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &info_) != 0;
}

std::optional<DWORD> Program::waitForExit(DWORD timeoutMs) {
  if (!info_.hProcess) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
  return code;
}

void Program::kill() {
  if (info_.hProcess) TerminateProcess(info_.hProcess, 99);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->processId || !IsWindowVisible(hwnd)) return TRUE;
  char buf[512];
  if (s->className) {
    GetClassNameA(hwnd, buf, sizeof buf);
    if (lstrcmpA(buf, s->className) != 0) return TRUE;
  }
  if (s->title) {
    GetWindowTextA(hwnd, buf, sizeof buf);
    if (lstrcmpA(buf, s->title) != 0) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

std::string menuItemText(HMENU menu, UINT position) {
  char buf[256] = {};
  GetMenuStringA(menu, position, buf, sizeof buf, MF_BYPOSITION);
  return buf;
}

}  // namespace

HWND waitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    WindowSearch s = {processId, className, title, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

HWND waitForDialog(DWORD processId, const char* title, DWORD timeoutMs) {
  return waitForWindow(processId, "#32770", title, timeoutMs);
}

std::vector<std::string> menuBarTitles(HWND window) {
  std::vector<std::string> titles;
  const HMENU bar = GetMenu(window);
  const int n = bar ? GetMenuItemCount(bar) : 0;
  for (int i = 0; i < n; ++i) titles.push_back(menuItemText(bar, static_cast<UINT>(i)));
  return titles;
}

std::vector<std::string> popupItemTexts(HWND window, int position) {
  std::vector<std::string> texts;
  const HMENU popup = GetSubMenu(GetMenu(window), position);
  const int n = popup ? GetMenuItemCount(popup) : 0;
  for (int i = 0; i < n; ++i) texts.push_back(menuItemText(popup, static_cast<UINT>(i)));
  return texts;
}

std::optional<UINT> menuItemState(HWND window, UINT commandId) {
  const UINT state = GetMenuState(GetMenu(window), commandId, MF_BYCOMMAND);
  if (state == static_cast<UINT>(-1)) return std::nullopt;
  return state;
}

void sendCommand(HWND window, WORD commandId) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

bool setControlText(HWND dialog, int controlId, const std::string& text) {
  const HWND control = GetDlgItem(dialog, controlId);
  return control && SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string windowText(HWND window) {
  const auto n = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<std::size_t>(n));
  return s;
}

bool clickButton(HWND dialog, int controlId) {
  const HWND button = GetDlgItem(dialog, controlId);
  if (!button) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return true;
}

std::vector<std::string> listBoxItems(HWND dialog, int controlId) {
  std::vector<std::string> items;
  const HWND list = GetDlgItem(dialog, controlId);
  if (!list) return items;
  const auto n = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const auto len = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string s(static_cast<std::size_t>(len) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(len));
    items.push_back(s);
  }
  return items;
}

void settle(DWORD ms) { Sleep(ms); }

bool saveScreenshot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    if (!PrintWindow(window, mem, 0)) BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const int stride = ((w * 3 + 3) / 4) * 4;
    ok = writePng(path, w, h, static_cast<const std::uint8_t*>(bits), stride);
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace kalvor::uitest
