// The "&Datei" menu's CSV commands and "Sicherungen": a table exported
// through the save dialog is the command line's export byte for byte; a table
// with a bad row is refused with the row named and the collection untouched;
// a good one is imported, and the changed collection is kept as a backup at exit.
#include <string>
#include <vector>

#include "tests/gui/file_dialog_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr WORD kCsvExportLocalities = 1042;
constexpr WORD kCsvExportSpecimens = 1043;
constexpr WORD kCsvImportLocalities = 1044;
constexpr WORD kCsvImportSpecimens = 1045;
constexpr WORD kBackups = 1046;
constexpr int kBackupList = 1380;

// Chooses `path` in the file dialog of a CSV command and waits until the program works again.
bool runFileCommand(Program& kalvor, HWND main, WORD command, const char* title, const std::string& path) {
  sendCommand(main, command);
  const HWND dialog = waitForDialog(kalvor.processId(), title, 20000);
  if (!dialog || !enterFileName(dialog, path)) return false;
  return waitUntilClosed(dialog);
}

// The message box of a command, its text, and the box closed again.
std::string takeMessage(Program& kalvor, const char* title, const std::string& screenshot) {
  const HWND box = waitForDialog(kalvor.processId(), title, 20000);
  if (!box) return {};
  const std::string text = messageBoxText(box);
  if (!screenshot.empty()) saveScreenshot(box, screenshot);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  waitUntilClosed(box);
  return text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

}  // namespace

UI_CASE(datei, csvAndBackups) {
  const std::string folder = prepareCaseFolder("datei");
  UI_CHECK(!folder.empty());
  if (folder.empty()) return;
  // The case folder keeps subfolders between runs: an earlier run's generations go.
  runToEnd("cmd /c rmdir /s /q \"" + folder + "\\Sicherung\"", folder, 60000);
  const std::string cli = folder + "\\kalvor-cli.exe ";
  for (const char* args :
       {"fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald --land Deutschland "
        "--minerale \"Fluorit, Baryt\"",
        "fundort neu --name \"Steinbruch \\\"Hartkoppe\\\"; Nord\" --ort Sailauf --land Deutschland",
        "stufe neu --minerale Fluorit --fundort 1 --datum 12.08.1995 --erwerb gefunden --art sammlung "
        "--index A-1",
        "stufe neu --minerale \"Baryt, Quarz\" --fundort 2 --datum 3.5.1995 --erwerb gekauft --art tausch "
        "--index \"A;2\""})
    UI_CHECK_EQ(runToEnd(cli + args, folder, 60000).value_or(99), 0u);
  UI_CHECK_EQ(runToEnd(cli + "export stufen erwartet.csv", folder, 60000).value_or(99), 0u);
  UI_CHECK_EQ(runToEnd(cli + "export fundorte fundorte-cli.csv", folder, 60000).value_or(99), 0u);
  const std::string expected = readBytes(folder + "\\erwartet.csv").value_or("");
  UI_CHECK(expected.rfind("\xEF\xBB\xBF", 0) == 0);
  const std::vector<std::string> rows = lines(expected.substr(3));
  UI_CHECK_EQ(rows.size(), std::size_t{3});
  if (rows.size() != 3) return;
  // A table with one good row and one whose date does not exist, without the byte-order mark.
  std::string badRow = rows[1];
  const std::size_t date = badRow.find("12.08.1995");
  UI_CHECK(date != std::string::npos);
  if (date != std::string::npos) badRow.replace(date, 10, "31.02.1999");
  UI_CHECK(writeBytes(folder + "\\fehlerhaft.csv", rows[0] + "\r\n" + rows[2] + "\r\n" + badRow + "\r\n"));
  const int generationsBefore = backupGenerations(folder);
  // The command line keeps its own (fewer than ten, so none is removed at exit).
  UI_CHECK(generationsBefore >= 1 && generationsBefore < 10);

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const std::string filesBefore = collectionFiles(folder);

  // Export through the save dialog: the same bytes as the command line's.
  UI_CHECK(runFileCommand(kalvor, main, kCsvExportSpecimens, "CSV-Export Stufen", folder + "\\menue.csv"));
  UI_CHECK(waitUntil([&] { return readBytes(folder + "\\menue.csv") == expected; }));

  // The bad row is named with its line; nothing is written.
  UI_CHECK(
      runFileCommand(kalvor, main, kCsvImportSpecimens, "CSV-Import Stufen", folder + "\\fehlerhaft.csv"));
  const std::string refusal = takeMessage(kalvor, "CSV-Import Stufen", "screenshots/datei-csv-fehler.png");
  UI_CHECK(refusal.find("Nichts wurde eingelesen") != std::string::npos);
  UI_CHECK(refusal.find("Zeile 3:") != std::string::npos);
  UI_CHECK(refusal.find("Zeile 2:") == std::string::npos);
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(collectionFiles(folder) == filesBefore);

  // A good table (the command line's export of the localities) is imported.
  UI_CHECK(runFileCommand(kalvor, main, kCsvImportLocalities, "CSV-Import Fundorte",
                          folder + "\\fundorte-cli.csv"));
  UI_CHECK(takeMessage(kalvor, "CSV-Import Fundorte", "").find("2 Fundorte eingelesen.") !=
           std::string::npos);
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(collectionFiles(folder) != filesBefore);
  UI_CHECK(
      runFileCommand(kalvor, main, kCsvExportLocalities, "CSV-Export Fundorte", folder + "\\fundorte4.csv"));
  UI_CHECK(waitUntil([&] { return lines(readBytes(folder + "\\fundorte4.csv").value_or("")).size() == 5; }));

  // "Sicherungen" lists the generations the command line kept.
  sendCommand(main, kBackups);
  const HWND backups = waitForDialog(kalvor.processId(), "Sicherungen", 20000);
  UI_CHECK(backups != nullptr);
  if (backups) {
    UI_CHECK_EQ(static_cast<int>(listBoxItems(backups, kBackupList).size()), generationsBefore);
    UI_CHECK(saveScreenshot(backups, "screenshots/datei-sicherungen.png"));
    clickButton(backups, IDOK);
    UI_CHECK(waitUntilClosed(backups));
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  // The import changed the collection: the exit kept a new generation.
  UI_CHECK_EQ(backupGenerations(folder), generationsBefore + 1);
}
