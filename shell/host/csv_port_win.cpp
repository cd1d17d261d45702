// The CSV commands and "Sicherungen" of the "&Datei" menu: the common file
// dialogs, the messages, and the dialog of the backups.
#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

#include "base/file_io.h"
#include "collection/collection_messages.h"
#include "collection/csv_file.h"
#include "shell/dialogs/backups_dialog.h"
#include "shell/host/win_ports.h"
#include "string_ids.h"
#include "win32/strings.h"

namespace kalvor::shell {
namespace {

// At most this many bad rows are listed in the message box; a screen holds no more.
constexpr std::size_t kRefusedRowsShown = 25;

std::optional<std::string> chooseCsvFile(HINSTANCE instance, HWND owner, CsvTable table, bool forSaving) {
  // The filter text separates its parts with "|"; the dialogs want NULs.
  std::string filter = win32::loadString(instance, strings::kStrCsvFilter);
  for (char& ch : filter) {
    if (ch == '|') ch = '\0';
  }
  filter.push_back('\0');
  const std::string title = csvCommandTitle(table, !forSaving);
  char file[MAX_PATH] = "";
  if (forSaving) lstrcpynA(file, table == CsvTable::kLocalities ? "fundorte.csv" : "stufen.csv", MAX_PATH);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "csv";
  if (forSaving) {
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
  } else {
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  }
  return std::string(file);
}

}  // namespace

void WinDialogs::runCsvExport(CsvTable table) {
  if (!app_.data.reference) return;
  const auto path = chooseCsvFile(app_.windows.instance, app_.windows.main, table, true);
  if (!path) return;
  const std::string bytes = exportCsvFile(app_.data.reference->collection(), table);
  if (!writeWholeFile(*path, Bytes(bytes.begin(), bytes.end()))) {
    const std::string text = "Die Datei " + *path + " kann nicht geschrieben werden.";
    MessageBoxA(app_.windows.main, text.c_str(), csvCommandTitle(table, false).c_str(), MB_ICONEXCLAMATION);
  }
}

bool WinDialogs::runCsvImport(CsvTable table) {
  if (!app_.data.reference) return false;
  const auto path = chooseCsvFile(app_.windows.instance, app_.windows.main, table, false);
  if (!path) return false;
  const std::string title = csvCommandTitle(table, true);
  const std::optional<Bytes> bytes = readWholeFile(*path);
  if (!bytes) {
    const std::string text = "Die Datei " + *path + " kann nicht gelesen werden.";
    MessageBoxA(app_.windows.main, text.c_str(), title.c_str(), MB_ICONEXCLAMATION);
    return false;
  }
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  ReferenceData& data = *app_.data.reference;
  const CsvFileImport imported =
      importCsvFile(data.collection(), data.names(), table,
                    std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  SetCursor(previous);
  if (!imported.errors.empty()) {
    MessageBoxA(app_.windows.main, csvImportRefusal(imported.errors, kRefusedRowsShown).c_str(), title.c_str(),
                MB_ICONEXCLAMATION);
    return false;
  }
  if (imported.saveFailed) {
    MessageBoxA(app_.windows.main, collectionMessageText(CollectionMessage::kSaveFailed).c_str(),
                collectionMessageText(CollectionMessage::kSaveFailedCaption).c_str(), MB_ICONEXCLAMATION);
    return true;  // some records may have been stored before the failure
  }
  MessageBoxA(app_.windows.main, csvImportDoneText(table, imported.imported).c_str(), title.c_str(),
              MB_ICONINFORMATION);
  return imported.imported > 0;
}

bool WinDialogs::runBackups() {
  if (!app_.data.reference) return false;
  BackupsDialog dialog(app_.windows.instance, app_.data.reference->collection());
  dialog.run(app_.windows.main);
  return dialog.restored();
}

}  // namespace kalvor::shell
