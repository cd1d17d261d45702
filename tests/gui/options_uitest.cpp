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

std::string iniValue(const char* key) {
  char value[64] = "";
  GetPrivateProfileStringA("Optionen", key, "(fehlt)", value, sizeof value, ".\\kalvor.ini");
  return value;
}

// Waits until the dialog window is gone (it ends asynchronously after a click).
bool waitUntilClosed(HWND dlg) {
  for (int i = 0; i < 100 && IsWindow(dlg); ++i) settle(100);
  return !IsWindow(dlg);
}

}  // namespace

UI_CASE(options, defaultsOkAndCancel) {
  DeleteFileA("kalvor.ini");
  Program kalvor;
  UI_CHECK(kalvor.start("kalvor.exe"));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  UI_CHECK(main != nullptr);
  if (!main) {
    kalvor.kill();
    return;
  }

  sendCommand(main, 1041);
  HWND dlg = waitForDialog(kalvor.processId(), "Optionen", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  // Without a settings file: localities on, bubble help shown off, "numerischer Index".
  UI_CHECK(isChecked(dlg, 1280));
  UI_CHECK(isChecked(dlg, 1281) && isEnabled(dlg, 1281));
  UI_CHECK(!isChecked(dlg, 1282));
  UI_CHECK(!isChecked(dlg, 1283));
  UI_CHECK(!isChecked(dlg, 1284));
  UI_CHECK_EQ(isChecked(dlg, 1285), GetSystemMetrics(SM_CXSCREEN) <= 800);
  const std::vector<std::string> modes = {"in Eingabereihenfolge", "numerischer Index",
                                          "Zeichenketten Index", "erstes Mineral",
                                          "kombinierter Index"};
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1286, CB_GETCURSEL, 0, 0), LRESULT{1});
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
  UI_CHECK_EQ(iniValue("Mineral Fundortliste"), std::string("0"));
  UI_CHECK_EQ(iniValue("Mineral AF-Liste"), std::string("0"));
  UI_CHECK_EQ(iniValue("Blasenhilfe"), std::string("0"));
  UI_CHECK_EQ(iniValue("Stufensortierung"), std::string("1"));

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
    UI_CHECK_EQ(iniValue("Winkel mit Minuten"), std::string("0"));
  }

  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  if (!code) kalvor.kill();
}
