// The exchange assistant: an exchange list written through "Tauschliste
// exportieren" (named without its extension), opened again through "Tauschliste
// importieren", the bar "Tauschmenu" without "&Ändern" while it is open, and
// "&Beenden" bringing back the own collection with its search result. The
// user's collection files stay byte-identical throughout.
#include <string>
#include <vector>

#include "tests/gui/file_dialog_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr WORD kLeaveExchange = 1005;
constexpr WORD kSearchSpecimen = 1007;
constexpr WORD kImportExchange = 1008;
constexpr WORD kExportExchange = 1009;
constexpr WORD kViewSpecimens = 1021;
constexpr WORD kViewResult = 1024;
constexpr int kExchangePiecesBox = 1207;

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

UI_CASE(exchange, exportOpenLeave) {
  const std::string folder = prepareCaseFolder("tausch");
  UI_CHECK(!folder.empty());
  if (folder.empty()) return;
  const std::string cli = folder + "\\kalvor-cli.exe ";
  for (const char* args :
       {"fundort neu --name \"Grube Clara\" --ort Oberwolfach --land Deutschland",
        "fundort neu --name \"Steinbruch Hartkoppe\" --ort Sailauf --land Deutschland",
        "stufe neu --minerale Fluorit --fundort 1 --erwerb gefunden --art sammlung --index S-1",
        "stufe neu --minerale Baryt --fundort 1 --erwerb gefunden --art tausch --index T-1",
        "stufe neu --minerale Quarz --fundort 2 --erwerb gekauft --art tausch --index T-2"})
    UI_CHECK_EQ(runToEnd(cli + args, folder, 60000).value_or(99), 0u);
  const std::string filesBefore = collectionFiles(folder);

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;

  // An own search result: the collection pieces only.
  sendCommand(main, kSearchSpecimen);
  HWND dialog = waitForDialog(kalvor.processId(), "Sammlungsauswertung", 20000);
  UI_CHECK(dialog != nullptr);
  if (!dialog) {
    kalvor.kill();
    return;
  }
  clickButton(dialog, kExchangePiecesBox);
  clickButton(dialog, IDOK);
  UI_CHECK(waitUntilClosed(dialog));
  UI_CHECK(
      waitUntil([&] { return itemChecked(main, 3, kViewSpecimens) && itemChecked(main, 3, kViewResult); }));
  UI_CHECK(itemEnabled(main, 3, kViewResult));

  // "Tauschliste exportieren": a name without ".ktl" gets it.
  sendCommand(main, kExportExchange);
  dialog = waitForDialog(kalvor.processId(), "Tauschliste exportieren", 20000);
  UI_CHECK(dialog != nullptr);
  if (!dialog) {
    kalvor.kill();
    return;
  }
  UI_CHECK(enterFileName(dialog, folder + "\\liste1"));
  UI_CHECK(waitUntilClosed(dialog));
  UI_CHECK(waitUntil([&] { return exists(folder + "\\liste1.ktl"); }));
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(!exists(folder + "\\liste1"));
  UI_CHECK(collectionFiles(folder) == filesBefore);

  // "Tauschliste importieren" of the list, again named without its extension.
  sendCommand(main, kImportExchange);
  dialog = waitForDialog(kalvor.processId(), "Tauschliste importieren", 20000);
  UI_CHECK(dialog != nullptr);
  if (!dialog) {
    kalvor.kill();
    return;
  }
  UI_CHECK(enterFileName(dialog, folder + "\\liste1"));
  UI_CHECK(waitUntilClosed(dialog));
  const std::vector<std::string> exchangeBar = {"&Tauschassistent", "&Suchen",   "&Ansicht",
                                                "&Drucken",         "&Optionen", "&Info"};
  UI_CHECK(waitUntil([&] { return menuBarTitles(main) == exchangeBar; }));
  // The exchange list's two pieces are shown; the own result waits.
  sendCommand(main, kViewSpecimens);
  UI_CHECK(waitUntil([&] { return itemChecked(main, 2, kViewSpecimens); }));
  UI_CHECK(itemGrayed(main, 2, kViewResult));
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/tauschassistent.png"));

  // "&Beenden": the own bar and the own search result come back.
  sendCommand(main, kLeaveExchange);
  const std::vector<std::string> mainBar = {"&Datei",   "&Suchen",   "&\xC4ndern", "&Ansicht",
                                            "&Drucken", "&Optionen", "&Info"};
  UI_CHECK(waitUntil([&] { return menuBarTitles(main) == mainBar; }));
  // The leave ends in the mineral view; the Stufen view shows the own result again.
  UI_CHECK(waitUntil([&] { return itemChecked(main, 3, 1020); }));
  sendCommand(main, kViewSpecimens);
  UI_CHECK(waitUntil([&] { return itemChecked(main, 3, kViewSpecimens); }));
  UI_CHECK(itemEnabled(main, 3, kViewResult));
  UI_CHECK(itemChecked(main, 3, kViewResult));
  UI_CHECK(collectionFiles(folder) == filesBefore);
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  UI_CHECK(collectionFiles(folder) == filesBefore);
}
