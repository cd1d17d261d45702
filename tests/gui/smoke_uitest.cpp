// The program starts, shows its main window with the menu "Hauptmenu",
// follows a view switch in its menu, and ends with exit code 1 when it is closed.
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

UI_CASE(smoke, startsShowsMenuAndClosesWithExitCode1) {
  Program kalvor;
  UI_CHECK(kalvor.start("kalvor.exe"));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  UI_CHECK(main != nullptr);
  if (!main) {
    kalvor.kill();
    return;
  }
  const std::vector<std::string> expected = {"&Datei",  "&Suchen",   "&\xC4ndern", "&Ansicht",
                                             "&Drucken", "&Optionen", "&Info"};
  UI_CHECK_EQ(menuBarTitles(main), expected);
  const std::vector<std::string> file = {
      "Tauschliste &importieren", "Tauschliste &exportieren", "", "Sammlung &reparieren \x85", "",
      "Kalvor &beenden"};
  UI_CHECK_EQ(popupItemTexts(main, 0), file);
  // Initial states of the items that start grayed or checked.
  UI_CHECK(menuItemState(main, 1003).value_or(0) & MF_GRAYED);
  UI_CHECK(menuItemState(main, 1020).value_or(0) & MF_CHECKED);
  UI_CHECK(!(menuItemState(main, 1027).value_or(MF_GRAYED) & MF_GRAYED));

  settle(500);
  UI_CHECK(saveScreenshot(main, "screenshots/smoke-main.png"));

  // "&Ansicht" (position 3) checks the current view as it opens.
  const auto checked = [&](UINT id) {
    return (preparedItemState(main, 3, id).value_or(0) & MF_CHECKED) != 0;
  };
  UI_CHECK(checked(1020));
  UI_CHECK(!checked(1027));
  UI_CHECK(checked(1023));
  sendCommand(main, 1027);  // "&Glossar"
  settle(300);
  UI_CHECK(checked(1027));
  UI_CHECK(!checked(1020));
  // The glossary has no search result and no detailed list.
  UI_CHECK(checked(1023));
  UI_CHECK(preparedItemState(main, 3, 1025).value_or(0) & MF_GRAYED);
  UI_CHECK(preparedItemState(main, 3, 1024).value_or(0) & MF_GRAYED);
  // "&Drucken" (position 4) grays every report here; the direct labels stay
  // usable in every view.
  UI_CHECK(preparedItemState(main, 4, 1030).value_or(0) & MF_GRAYED);
  UI_CHECK(!(preparedItemState(main, 4, 1034).value_or(MF_GRAYED) & MF_GRAYED));
  sendCommand(main, 1020);  // back to "&Mineral"
  settle(300);
  UI_CHECK(checked(1020));
  UI_CHECK(!checked(1027));
  // "Mineral&steckbrief" prints the selected mineral.
  UI_CHECK(!(preparedItemState(main, 4, 1030).value_or(0) & MF_GRAYED));

  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  UI_CHECK_EQ(code.value_or(0), 1u);
  if (!code) kalvor.kill();
}
