#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <string>

#include "collection/exchange_list.h"
#include "resources/resource_ids.h"
#include "string_ids.h"
#include "shell/dialogs/progress_dialog.h"
#include "shell/host/win_ports.h"
#include "win32/strings.h"

namespace kalvor::shell {

bool WinExchange::openExchangeList(const std::string& path) {
  Collection* c = app_.data.reference ? &app_.data.reference->collection() : nullptr;
  if (!c) return false;
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  ExchangeOpenStatus status;
  {
    ProgressDialog progress(app_.windows.instance, app_.windows.main, "IndexAufbau1", ID_PROGRESS_LINE);
    status = kalvor::openExchangeList(*c, path, &progress);
  }
  SetCursor(previous);
  if (status == ExchangeOpenStatus::kOpened) return true;
  // The user learns why nothing happened rather than facing a silent menu.
  MessageBoxA(app_.windows.main, exchangeOpenMessage(status).c_str(),
              win32::loadString(app_.windows.instance, strings::kStrExchangeImportCaption).c_str(), MB_ICONEXCLAMATION);
  return false;
}

void WinExchange::closeExchangeList() {
  if (!app_.data.reference) return;
  Collection& c = app_.data.reference->collection();
  if (c.inExchangeMode()) leaveExchangeList(c);
}

void WinExchange::exportExchangeList(const std::string& path) {
  if (!app_.data.reference) return;
  ExchangeExportResult result;
  {
    ProgressDialog progress(app_.windows.instance, app_.windows.main, "TAUSCHLISTEN_AUFBAU", ID_EXPORT_PROGRESS_LINE);
    result = kalvor::exportExchangeList(app_.data.reference->collection(), path, &progress);
  }
  if (result.status == ExchangeExportStatus::kNoExchangePieces) {
    MessageBeep(0);
  } else if (result.status == ExchangeExportStatus::kFailed) {
    MessageBoxA(app_.windows.main, win32::loadString(app_.windows.instance, strings::kStrExchangeWriteFailed).c_str(),
                win32::loadString(app_.windows.instance, strings::kStrExchangeExportCaption).c_str(),
                MB_ICONEXCLAMATION);
  }
}

std::optional<std::string> WinExchange::chooseExchangeFile(bool forSaving) {
  // The filter text separates its parts with "|"; the dialogs want NULs.
  std::string filter = win32::loadString(app_.windows.instance, strings::kStrExchangeListFilter);
  for (char& ch : filter) {
    if (ch == '|') ch = '\0';
  }
  filter.push_back('\0');
  char file[145] = "*.ktl";
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::current_path(ec);
  std::string initialFolder = folder.string();
  if (!ec && std::filesystem::is_directory(folder / "tausch", ec)) initialFolder = (folder / "tausch").string();
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = app_.windows.main;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = initialFolder.c_str();
  // The dialog is titled after its command, so the user (and a test) tells the two apart.
  const std::string title = win32::loadString(
      app_.windows.instance, forSaving ? strings::kStrExchangeExportCaption : strings::kStrExchangeImportCaption);
  ofn.lpstrTitle = title.c_str();
  // A name typed without ".ktl" means the list of that name, also when opening.
  ofn.lpstrDefExt = "ktl";
  if (forSaving) {
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
  } else {
    // Not OFN_FILEMUSTEXIST: a name typed without ".ktl" does not exist as
    // typed, and not every dialog tries the default extension before refusing
    // it; the program appends ".ktl" and a missing list is reported when opened.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  }
  return std::string(file);
}

}  // namespace kalvor::shell
