#include "tests/gui/file_dialog_driver.h"

#include <vector>

#include "tests/gui/ui_driver.h"

namespace kalvor::uitest {
namespace {

// The file name field: the combo box cmb13 of the explorer-style dialog, or
// the plain edit field edt1 of the older one.
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;

}  // namespace

bool enterFileName(HWND fileDialog, const std::string& path) {
  HWND field = GetDlgItem(fileDialog, kFileNameCombo);
  if (!field) field = GetDlgItem(fileDialog, kFileNameEdit);
  if (!field) return false;
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  // The dialog reads the field when its default button is pressed.
  PostMessageA(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(fileDialog, IDOK)));
  return true;
}

HWND waitForOtherDialog(DWORD processId, const char* title, HWND except, DWORD timeoutMs) {
  return waitForDialogWhere(processId, {.title = title, .except = except}, timeoutMs);
}

std::string messageBoxText(HWND box) {
  std::string text;
  for (const std::string& line : childTexts(box)) text += line + "\n";
  return text;
}

std::optional<std::string> readBytes(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string collectionFiles(const std::string& folder) {
  std::string all;
  for (const char* name : {"kalvor.fs", "kalvor.st", "kalvor.vi", "kalvor.fss", "kalvor.sts"}) {
    const std::optional<std::string> bytes = readBytes(folder + "\\" + name);
    all += std::string(name) + "=" + (bytes ? std::to_string(bytes->size()) + ":" + *bytes : "-") + "\n";
  }
  return all;
}

int backupGenerations(const std::string& folder) {
  int count = 0;
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((folder + "\\Sicherung\\20*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ++count;
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return count;
}

}  // namespace kalvor::uitest
