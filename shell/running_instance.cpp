#include "shell/running_instance.h"

#include <cstdint>
#include <cstdio>

#include "shell/main_window.h"

namespace kalvor::shell {
namespace {

// The window property that names the folder a main window works in.
constexpr char kFolderProperty[] = "KalvorOrdner";

// A hash of the working folder's full path, case folded: the same folder
// under any spelling gives the same value.
std::uint32_t folderHash() {
  char full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(".", sizeof full, full, nullptr);
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (DWORD i = 0; i < n && i < sizeof full; ++i) {
    char c = full[i] == '/' ? '\\' : full[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return hash == 0 ? 1 : hash;
}

struct Search {
  std::uint32_t hash;
  HWND found;
};

BOOL CALLBACK findMarkedWindow(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, kMainWindowClass) != 0) return TRUE;
  const auto mark = reinterpret_cast<std::uintptr_t>(GetPropA(window, kFolderProperty));
  if (mark != search->hash) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

RunningInstance::RunningInstance() {
  char name[64];
  std::snprintf(name, sizeof name, "Local\\Kalvor-Programm-%08lx", static_cast<unsigned long>(folderHash()));
  name_ = name;
  mutex_ = CreateMutexA(nullptr, FALSE, name_.c_str());
  running_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

RunningInstance::~RunningInstance() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

bool RunningInstance::activateOther() const {
  Search search{folderHash(), nullptr};
  EnumWindows(findMarkedWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return false;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  BringWindowToTop(search.found);
  return true;
}

void RunningInstance::markMainWindow(HWND window) const {
  SetPropA(window, kFolderProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(folderHash())));
}

}  // namespace kalvor::shell
