#include "tests/gui/ui_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/gui/ui_hook.h"

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

bool Program::start(const std::string& commandLine) { return start(commandLine, std::string()); }

bool Program::start(const std::string& commandLine, const std::string& folder) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &info_) != 0;
}

std::string prepareCaseFolder(const std::string& name) {
  CreateDirectoryA("cases", nullptr);
  char full[MAX_PATH];
  const std::string relative = "cases\\" + name;
  CreateDirectoryA(relative.c_str(), nullptr);
  if (GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr) == 0) return {};
  const std::string folder = full;
  // Empty it: a case must not see what an earlier run left behind.
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string path = folder + "\\" + found.cFileName;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  static const char* const kFiles[] = {"kalvor.exe", "kalvor-cli.exe", "kalvor.mi", "kalvor.db",
                                       "kalvor.na",  "kalvor.gl",      "kalvor.pf", "kalvor.zi",
                                       "kalvor.lf",  "kalvor.kf",      "kalvor.sy",
                                       "logos.pf"};
  for (const char* file : kFiles) {
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES) continue;
    if (!CopyFileA(file, (folder + "\\" + file).c_str(), FALSE)) return {};
  }
  return folder;
}

std::optional<DWORD> runToEnd(const std::string& commandLine, const std::string& folder, DWORD timeoutMs) {
  Program program;
  if (!program.start(commandLine, folder)) return std::nullopt;
  const auto code = program.waitForExit(timeoutMs);
  if (!code) program.kill();
  return code;
}

std::optional<FileStamp> fileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStamp stamp;
  stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.written = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
  stamp.attributes = data.dwFileAttributes;
  return stamp;
}

std::vector<std::string> childTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(windowText(child));
  }
  return texts;
}

bool waitUntilResponsive(HWND window, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
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

namespace {

struct DialogSearch {
  DWORD processId;
  const DialogQuery& query;
  HWND found;
};

BOOL CALLBACK matchDialog(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<DialogSearch*>(param);
  const DialogQuery& q = s->query;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (pid != s->processId || w == q.except || !IsWindowVisible(w) || lstrcmpA(cls, "#32770") != 0) return TRUE;
  if ((q.owner && GetWindow(w, GW_OWNER) != q.owner) || (q.enabled && !IsWindowEnabled(w))) return TRUE;
  if ((q.title && windowText(w) != q.title) || (q.control != 0 && !GetDlgItem(w, q.control))) return TRUE;
  s->found = w;
  return FALSE;
}

}  // namespace

HWND waitForDialogWhere(DWORD processId, const DialogQuery& query, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += 25) {
    DialogSearch s{processId, query, nullptr};
    EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found || waited >= timeoutMs) return s.found;
    settle(25);
  }
}

namespace {

struct MenuLine {
  std::string text;
  UINT state;
  int id;
};

// Asks the hook inside kalvor.exe's thread about its menu (see ui_hook.h).
std::vector<MenuLine> queryMenu(HWND window, HookRequest request, std::uint32_t argument) {
  std::vector<MenuLine> lines;
  static HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             kHookMemorySize, kHookMemoryName);
  static HMODULE hookDll = LoadLibraryA("kalvor-uihook.dll");
  if (!mapping || !hookDll) return lines;
  auto proc = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(hookDll, "KalvorUiHookProc")));
  auto* block = static_cast<HookBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kHookMemorySize));
  if (!proc || !block) return lines;
  block->request = static_cast<std::uint32_t>(request);
  block->argument = argument;
  block->answer[0] = '\0';
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, proc, hookDll, thread);
  if (hook) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, RegisterWindowMessageA(kHookMessageName), 0, 0, SMTO_ABORTIFHUNG,
                        10000, &result);
    UnhookWindowsHookEx(hook);
  }
  const std::string answer = block->answer;
  UnmapViewOfFile(block);
  std::size_t pos = 0;
  while (pos < answer.size()) {
    const std::size_t end = answer.find('\n', pos);
    const std::string line = answer.substr(pos, end - pos);
    pos = end == std::string::npos ? answer.size() : end + 1;
    // State and id are the last two fields: an item's text may hold a tab before its key.
    const std::size_t t2 = line.rfind('\t');
    const std::size_t t1 = t2 == std::string::npos || t2 == 0 ? std::string::npos : line.rfind('\t', t2 - 1);
    if (t1 == std::string::npos || t2 == std::string::npos) continue;
    lines.push_back({line.substr(0, t1),
                     static_cast<UINT>(std::strtoul(line.c_str() + t1 + 1, nullptr, 10)),
                     std::atoi(line.c_str() + t2 + 1)});
  }
  return lines;
}

std::vector<std::string> textsOf(const std::vector<MenuLine>& lines) {
  std::vector<std::string> texts;
  for (const MenuLine& l : lines) texts.push_back(l.text);
  return texts;
}

}  // namespace

std::vector<std::string> menuBarTitles(HWND window) {
  return textsOf(queryMenu(window, HookRequest::kMenuBar, 0));
}

std::vector<std::string> popupItemTexts(HWND window, int position) {
  return textsOf(queryMenu(window, HookRequest::kPopupItems, static_cast<std::uint32_t>(position)));
}

std::optional<UINT> menuItemState(HWND window, UINT commandId) {
  const auto bar = queryMenu(window, HookRequest::kMenuBar, 0);
  for (std::size_t i = 0; i < bar.size(); ++i) {
    if (bar[i].id == static_cast<int>(commandId)) return bar[i].state;
    for (const MenuLine& item : queryMenu(window, HookRequest::kPopupItems, static_cast<std::uint32_t>(i)))
      if (item.id == static_cast<int>(commandId)) return item.state;
  }
  return std::nullopt;
}

std::optional<UINT> preparedItemState(HWND window, int position, UINT commandId) {
  for (const MenuLine& item :
       queryMenu(window, HookRequest::kPreparedPopupItems, static_cast<std::uint32_t>(position)))
    if (item.id == static_cast<int>(commandId)) return item.state;
  return std::nullopt;
}

bool itemGrayed(HWND window, int position, UINT commandId) {
  const std::optional<UINT> state = preparedItemState(window, position, commandId);
  return state && (*state & MF_GRAYED) != 0;
}

bool itemEnabled(HWND window, int position, UINT commandId) {
  const std::optional<UINT> state = preparedItemState(window, position, commandId);
  return state && (*state & MF_GRAYED) == 0;
}

bool itemChecked(HWND window, int position, UINT commandId) {
  const std::optional<UINT> state = preparedItemState(window, position, commandId);
  return state && (*state & MF_CHECKED) != 0;
}

std::optional<std::string> preparedItemText(HWND window, int position, UINT commandId) {
  for (const MenuLine& item :
       queryMenu(window, HookRequest::kPreparedPopupItems, static_cast<std::uint32_t>(position)))
    if (item.id == static_cast<int>(commandId)) return item.text;
  return std::nullopt;
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
    // LB_GETTEXT takes no buffer size, and Wine converts a list of another
    // process through wide characters: room to spare, and the length it gives.
    const auto len = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) continue;
    std::string s(static_cast<std::size_t>(len) * 2 + 1024, '\0');
    const auto got = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(got < 0 ? 0 : std::min(static_cast<std::size_t>(got), s.size()));
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
    // What the user sees; PrintWindow only where the screen cannot be read.
    if (!BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY)) PrintWindow(window, mem, 0);
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

HWND startKalvor(Program& kalvor, const std::string& folder) {
  constexpr DWORD kStartTimeoutMs = 120000;
  if (!kalvor.start(folder + "\\kalvor.exe", folder)) {
    std::printf("  kalvor.exe in %s startet nicht (Fehler %lu)\n", folder.c_str(), GetLastError());
    return nullptr;
  }
  // A program that ends during its start shows no window: no use waiting for one.
  HWND main = nullptr;
  const DWORD start = GetTickCount();
  while (!main && GetTickCount() - start < kStartTimeoutMs && !kalvor.waitForExit(0))
    main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 500);
  const bool responsive = main && waitUntilResponsive(main, kStartTimeoutMs);
  if (responsive) return main;
  if (const auto code = kalvor.waitForExit(0))
    std::printf("  kalvor.exe endete beim Start mit Code %lu%s\n", *code,
                main ? " nach dem Hauptfenster" : "");
  else
    std::printf("  kalvor.exe: %s\n", main ? "Hauptfenster antwortet nicht" : "kein Hauptfenster");
  std::fflush(stdout);
  kalvor.kill();
  return nullptr;
}

std::optional<DWORD> closeKalvor(Program& kalvor, HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  if (!code) kalvor.kill();
  return code;
}

bool waitUntilClosed(HWND dialog) {
  for (int i = 0; i < 100 && IsWindow(dialog); ++i) settle(100);
  return !IsWindow(dialog);
}

HWND descriptionOf(HWND main) {
  for (HWND w = FindWindowExA(main, nullptr, "#32770", nullptr); w; w = FindWindowExA(main, w, "#32770", nullptr)) {
    if (windowText(w) != "Kristallzeichnung") return w;
  }
  return nullptr;
}

std::vector<std::string> runForLines(const std::string& commandLine, const std::string& folder) {
  const std::string outFile = folder + "\\ausgabe.txt";
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  const HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  std::vector<std::string> lines;
  if (out == INVALID_HANDLE_VALUE) return lines;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  const BOOL started =
      CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi);
  CloseHandle(out);
  if (!started) return lines;
  WaitForSingleObject(pi.hProcess, 120000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const HANDLE in = CreateFileA(outFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(in, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(in);
  std::string current;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace kalvor::uitest
