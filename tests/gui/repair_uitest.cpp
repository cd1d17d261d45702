// A damaged collection in kalvor.exe: the start says which file is damaged
// and how many records cannot be read; "Datei" / "Sammlung reparieren …"
// asks first, repairs behind the progress dialog and reports what it
// salvaged; the damaged file stays beside the new one byte for byte.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr WORD kRepairCommand = 1010;  // "Sammlung &reparieren …"

std::vector<char> readAll(const std::string& path) {
  std::vector<char> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
      bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return bytes;
}

// Page 0 of the localities made to lead past the end of the file: every
// locality is still in the file, none can be reached.
bool damageDirectory(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  FILE* f = std::fopen(path.c_str(), "r+b");
  if (!f) return false;
  const unsigned char entry[4] = {0x00, 0xF0, 0xFF, 0xFF};
  const bool ok = std::fseek(f, 8, SEEK_SET) == 0 && std::fwrite(entry, 1, 4, f) == 4;
  std::fclose(f);
  return ok;
}

std::string joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& t : texts) all += t + "\n";
  return all;
}

}  // namespace

UI_CASE(repair, damagedCollectionIsReportedAndRepairedFromTheMenu) {
  const std::string folder = prepareCaseFolder("repair");
  UI_CHECK(!folder.empty());
  if (folder.empty()) return;
  for (const char* name : {"\"Grube Clara\"", "Lautenthal", "Erzberg"}) {
    UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name " + name, folder, 60000).value_or(99),
                0u);
  }
  const std::string fs = folder + "\\kalvor.fs";
  UI_CHECK(damageDirectory(fs));
  const std::vector<char> damaged = readAll(fs);
  UI_CHECK(damaged.size() > 8200);

  Program kalvor;
  UI_CHECK(kalvor.start(folder + "\\kalvor.exe", folder));
  // The start tells of the damage before anything else.
  const HWND report = waitForDialog(kalvor.processId(),
                                    "Sammlung besch\xE4"
                                    "digt",
                                    60000);
  UI_CHECK(report != nullptr);
  if (!report) {
    kalvor.kill();
    return;
  }
  const std::string reportText = joined(childTexts(report));
  UI_CHECK(reportText.find("kalvor.fs") != std::string::npos);
  UI_CHECK(reportText.find("3 von 3") != std::string::npos);
  UI_CHECK(saveScreenshot(report, "screenshots/sammlung-beschaedigt.png"));
  UI_CHECK(clickButton(report, IDOK));
  UI_CHECK(waitUntilClosed(report));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  UI_CHECK(main != nullptr);
  if (!main) {
    kalvor.kill();
    return;
  }
  UI_CHECK(waitUntilResponsive(main, 60000));
  const std::vector<std::string> items = popupItemTexts(main, 0);
  UI_CHECK(joined(items).find("Sammlung &reparieren \x85") != std::string::npos);

  sendCommand(main, kRepairCommand);
  const HWND question = waitForDialog(kalvor.processId(), "Sammlung reparieren", 60000);
  UI_CHECK(question != nullptr);
  if (!question) {
    kalvor.kill();
    return;
  }
  UI_CHECK(joined(childTexts(question)).find("reparieren?") != std::string::npos);
  UI_CHECK(saveScreenshot(question, "screenshots/sammlung-reparieren-frage.png"));
  UI_CHECK(clickButton(question, IDYES));
  UI_CHECK(waitUntilClosed(question));
  const HWND result = waitForDialog(kalvor.processId(), "Sammlung reparieren", 120000);
  UI_CHECK(result != nullptr);
  if (!result) {
    kalvor.kill();
    return;
  }
  const std::string resultText = joined(childTexts(result));
  UI_CHECK(resultText.find("3 Datens\xE4tze gerettet, 0 verloren") != std::string::npos);
  UI_CHECK(resultText.find("Der Suchindex wurde neu aufgebaut.") != std::string::npos);
  UI_CHECK(saveScreenshot(result, "screenshots/sammlung-reparieren-ergebnis.png"));
  UI_CHECK(clickButton(result, IDOK));
  UI_CHECK(waitUntilClosed(result));
  UI_CHECK(waitUntilResponsive(main, 60000));

  // The damaged file is kept byte for byte under the day's name.
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  char kept[64];
  std::snprintf(kept, sizeof kept, "\\kalvor.fs.beschaedigt-%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  UI_CHECK(readAll(folder + kept) == damaged);
  UI_CHECK(closeKalvor(kalvor, main).has_value());
  // Every locality is readable again: the command line lists and changes them.
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort zeige 3", folder, 60000).value_or(99), 0u);
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name Neu", folder, 60000).value_or(99), 0u);
}
