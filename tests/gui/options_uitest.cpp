// "&Optionen" opens the options dialog with the defaults of an absent
// settings file; turning the localities off writes "Mineral AF-Liste" as "0",
// the dialog shows it so when it opens again, and "&Abbrechen" writes nothing.
#include <string>
#include <vector>

#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

bool isChecked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
bool isEnabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != 0; }

// The texts of a drop-down list's items, read through the selection (item
// texts are not marshalled between processes everywhere, WM_GETTEXT is);
// the selection is put back.
std::vector<std::string> comboItems(HWND dlg, int id) {
  std::vector<std::string> items;
  const HWND combo = GetDlgItem(dlg, id);
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    items.push_back(windowText(combo));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return items;
}

std::string iniValue(const std::string& folder, const char* key) {
  char value[64] = "";
  const std::string ini = folder + "\\kalvor.ini";
  GetPrivateProfileStringA("Optionen", key, "(fehlt)", value, sizeof value, ini.c_str());
  return value;
}

}  // namespace

UI_CASE(options, defaultsOkAndCancel) {
  const std::string folder = prepareCaseFolder("options");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;

  sendCommand(main, 1041);
  HWND dlg = waitForDialog(kalvor.processId(), "Optionen", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  // Without a settings file the values in effect: localities on, bubble help on, entry order.
  UI_CHECK(isChecked(dlg, 1280));
  UI_CHECK(isChecked(dlg, 1281) && isEnabled(dlg, 1281));
  UI_CHECK(!isChecked(dlg, 1282));
  UI_CHECK(!isChecked(dlg, 1283));
  UI_CHECK(isChecked(dlg, 1284));
  UI_CHECK_EQ(isChecked(dlg, 1285), GetSystemMetrics(SM_CXSCREEN) <= 800);
  const std::vector<std::string> modes = {"in Eingabereihenfolge", "numerischer Index",
                                          "Zeichenketten Index", "erstes Mineral",
                                          "kombinierter Index"};
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1286, CB_GETCURSEL, 0, 0), LRESULT{0});
  UI_CHECK_EQ(comboItems(dlg, 1286), modes);
  const std::vector<std::string> labels = {
      "Ausgabe der &Fundorte zu einem Mineral", "Ausgabe der Fundorte zu einem Synonymeintrag",
      "Winkel in Grad und Minuten", "Systematik-Beschreibung", "Blasenhilfe zeigen",
      "kleine Zeichens\xE4tze"};
  for (int id = 1280; id <= 1285; ++id)
    UI_CHECK_EQ(windowText(GetDlgItem(dlg, id)), labels[static_cast<std::size_t>(id - 1280)]);
  UI_CHECK_EQ(windowText(GetDlgItem(dlg, IDOK)), std::string("&OK"));
  UI_CHECK_EQ(windowText(GetDlgItem(dlg, IDCANCEL)), std::string("&Abbrechen"));
  settle(300);
  UI_CHECK(saveScreenshot(dlg, "screenshots/options-defaults.png"));

  // Localities off: the synonym box goes grey and is written as "0" although still checked.
  clickButton(dlg, 1280);
  settle(300);
  UI_CHECK(!isEnabled(dlg, 1281));
  UI_CHECK(isChecked(dlg, 1281));
  clickButton(dlg, IDOK);
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK_EQ(iniValue(folder, "Mineral Fundortliste"), std::string("0"));
  UI_CHECK_EQ(iniValue(folder, "Mineral AF-Liste"), std::string("0"));
  UI_CHECK_EQ(iniValue(folder, "Blasenhilfe"), std::string("1"));
  UI_CHECK_EQ(iniValue(folder, "Stufensortierung"), std::string("0"));

  // Opened again: the synonym box is grey and unchecked; "&Abbrechen" writes nothing.
  sendCommand(main, 1041);
  dlg = waitForDialog(kalvor.processId(), "Optionen", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    UI_CHECK(!isChecked(dlg, 1280));
    UI_CHECK(!isChecked(dlg, 1281) && !isEnabled(dlg, 1281));
    clickButton(dlg, 1282);
    settle(200);
    clickButton(dlg, IDCANCEL);
    UI_CHECK(waitUntilClosed(dlg));
    UI_CHECK_EQ(iniValue(folder, "Winkel mit Minuten"), std::string("0"));
  }

  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  if (!code) kalvor.kill();
}

namespace {

// The records of the list window's rows, top to bottom.
std::vector<long> listedRecords(HWND main) {
  std::vector<long> records;
  const HWND list = GetDlgItem(main, 1000);
  if (!list) return records;
  const LRESULT count = SendMessageA(list, 0x40B, 0, 0);
  for (LRESULT row = 0; row < count; ++row)
    records.push_back(static_cast<long>(SendMessageA(list, 0x40A, static_cast<WPARAM>(row), 0)));
  return records;
}

// Chooses a specimen order in the options dialog and confirms it.
bool chooseSpecimenOrder(Program& kalvor, HWND main, int mode) {
  sendCommand(main, 1041);
  const HWND dlg = waitForDialog(kalvor.processId(), "Optionen", 10000);
  if (!dlg) return false;
  SendDlgItemMessageA(dlg, 1286, CB_SETCURSEL, static_cast<WPARAM>(mode), 0);
  clickButton(dlg, IDOK);
  const bool closed = waitUntilClosed(dlg);
  settle(500);
  return closed;
}

}  // namespace

// Three specimens entered with the indexes "30", "4" and "100": the Stufen
// list follows "Stufensortierung" as soon as the options dialog is confirmed.
UI_CASE(options, specimenOrderFollowsTheOption) {
  const std::string folder = prepareCaseFolder("options-sort");
  UI_CHECK(!folder.empty());
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Grube Clara\" --ort Oberwolfach",
                       folder, 60000).value_or(99), 0u);
  for (const char* index : {"30", "4", "100"}) {
    UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe stufe neu --minerale Fluorit --fundort 1 --index " +
                             index,
                         folder, 60000).value_or(99), 0u);
  }
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;

  sendCommand(main, 1021);  // "S&tufen"
  settle(800);
  // Without a settings file the specimens stand in the order they were entered.
  UI_CHECK_EQ(listedRecords(main), (std::vector<long>{1, 2, 3}));
  // "&OK" without touching anything keeps that order and bubble help on.
  sendCommand(main, 1041);
  if (const HWND dlg = waitForDialog(kalvor.processId(), "Optionen", 10000)) {
    clickButton(dlg, IDOK);
    UI_CHECK(waitUntilClosed(dlg));
  } else {
    UI_CHECK(!"options dialog opened");
  }
  UI_CHECK(waitUntilResponsive(main, 10000));
  const std::string sortKept = iniValue(folder, "Stufensortierung");
  UI_CHECK(sortKept == "0" || sortKept == "(fehlt)");
  const std::string bubbleKept = iniValue(folder, "Blasenhilfe");
  UI_CHECK(bubbleKept == "1" || bubbleKept == "(fehlt)");
  UI_CHECK_EQ(listedRecords(main), (std::vector<long>{1, 2, 3}));

  UI_CHECK(chooseSpecimenOrder(kalvor, main, 1));  // "numerischer Index": 4, 30, 100
  UI_CHECK_EQ(iniValue(folder, "Stufensortierung"), std::string("1"));
  UI_CHECK_EQ(listedRecords(main), (std::vector<long>{2, 1, 3}));

  UI_CHECK(chooseSpecimenOrder(kalvor, main, 2));  // "Zeichenketten Index": "100", "30", "4"
  UI_CHECK_EQ(iniValue(folder, "Stufensortierung"), std::string("2"));
  UI_CHECK_EQ(listedRecords(main), (std::vector<long>{3, 1, 2}));
  UI_CHECK(saveScreenshot(main, "screenshots/options-stufen-sortiert.png"));

  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  if (!code) kalvor.kill();

  // The order is kept for the next start.
  Program again;
  const HWND second = startKalvor(again, folder);
  UI_CHECK(second != nullptr);
  if (!second) return;
  sendCommand(second, 1021);
  settle(800);
  UI_CHECK_EQ(listedRecords(second), (std::vector<long>{3, 1, 2}));
  PostMessageA(second, WM_CLOSE, 0, 0);
  if (!again.waitForExit(30000)) again.kill();
}
