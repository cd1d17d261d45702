// The locality forms, driven as a user would on a collection made with
// kalvor-cli in the case's folder: a new locality with three minerals typed
// and completed in the watched field, a long description, a new region and a
// known country appears in the Fundort list in sort order and in the files;
// the fields take no more than the record stores, a longer name is refused
// with nothing written; a change is
// stored; a locality is deleted onto a replacement and one with its
// specimens; while an exchange list is open nothing can be entered, changed
// or deleted. Every time kalvor-cli reads back what kalvor.exe wrote.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/gui/file_dialog_driver.h"
#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

std::string itemText(HWND dlg, int id) { return windowText(GetDlgItem(dlg, id)); }

bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}
bool anyLineContains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// Waits until the main list is a new window (not `old`) with `rows` rows and
// nothing left to paint; false on time-out.
bool waitForNewList(HWND main, HWND old, long rows) {
  for (int i = 0; i < 60000; ++i) {
    const HWND list = GetDlgItem(main, 1000);
    if (list && list != old && listQuery(list, kListQueryCount) == rows &&
        !GetUpdateRect(list, nullptr, FALSE))
      return true;
    Sleep(1);  // poll interval only: the condition above decides
  }
  return false;
}

// Types `text` into a control key by key, as WM_CHAR messages (Windows-1252).
void typeText(HWND control, const std::string& text) {
  for (unsigned char c : text) PostMessageA(control, WM_CHAR, c, 1);
}

// The edit part of an editable drop-down box.
HWND comboEdit(HWND dlg, int id) { return FindWindowExA(GetDlgItem(dlg, id), nullptr, "Edit", nullptr); }

// Selects locality `record` in the main list by its first letter.
bool selectLocality(HWND main, const std::string& letter, long record) {
  typeLetters(GetDlgItem(main, 1000), letter);
  return waitForListSelection(main, 1000, record, 10000);
}

// Answers the message box on top with `button` (IDYES, IDOK, ...) and waits until it is gone.
bool answer(DWORD pid, HWND owner, int button) {
  const HWND box = waitForDialogWhere(pid, {.owner = owner, .enabled = true}, 10000);
  if (!box) return false;
  clickButton(box, button);
  return waitUntilClosed(box);
}

// The item values of an owner-drawn list box.
std::vector<long> listBoxValues(HWND dlg, int id) {
  std::vector<long> values;
  const LRESULT n = SendDlgItemMessageA(dlg, id, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i)
    values.push_back(
        static_cast<long>(SendDlgItemMessageA(dlg, id, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
  return values;
}

// Types `text` key by key into the mineral field, as the keyboard does: the
// list of all minerals follows each key, a trailing blank completes the name.
void typeMineral(HWND dlg, const std::string& text) {
  const HWND field = GetDlgItem(dlg, 1050);
  for (unsigned char c : text) SendMessageA(field, WM_CHAR, c, 1);
}

// Waits until control `id` shows `text`; false on time-out.
bool waitForText(HWND dlg, int id, const std::string& text) {
  for (int i = 0; i < 400; ++i) {
    if (itemText(dlg, id) == text) return true;
    settle(25);
  }
  return false;
}

// Enter in the mineral field: the mineral is added, the form stays open.
bool enterMineral(HWND dlg, std::size_t entriesAfter) {
  const HWND field = GetDlgItem(dlg, 1050);
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(field, WM_KEYUP, VK_RETURN, 0xC0000001);
  for (int i = 0; i < 400; ++i) {
    if (static_cast<std::size_t>(SendDlgItemMessageA(dlg, 1052, LB_GETCOUNT, 0, 0)) == entriesAfter)
      return true;
    settle(25);
  }
  return false;
}

// Selects entry `index` of a list box as a click does (the dialog is told).
void pickListEntry(HWND dlg, int id, long index) {
  SendDlgItemMessageA(dlg, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  settle(100);
}

}  // namespace

UI_CASE(entry_locality, enterChangeDeleteAndExchangeMode) {
  const std::string folder = prepareCaseFolder("fundorterfassung");
  UI_CHECK(!folder.empty());
  const std::string cli = folder + "\\kalvor-cli.exe ";
  for (const char* args :
       {"fundort neu --name \"Steinbruch Hartkoppe\" --ort Sailauf --region Spessart --land Deutschland "
        "--minerale \"Quarz, Topas\"",
        "fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald --land Deutschland "
        "--minerale \"Fluorit, Baryt\"",
        "stufe neu --minerale Quarz --fundort 1 --index A-1",
        "stufe neu --minerale Fluorit --fundort 2 --index A-2 --art tausch"})
    UI_CHECK_EQ(runToEnd(cli + args, folder, 60000).value_or(99), 0u);
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  auto idOf = [&](const std::string& name) -> long {
    for (const StoredName& n : names)
      if (n.name == name) return static_cast<long>(n.id);
    return -1;
  };

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const DWORD pid = kalvor.processId();
  HWND oldList = GetDlgItem(main, 1000);
  sendCommand(main, 1022);
  UI_CHECK(waitForNewList(main, oldList, 2));
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{2, 1}));
  UI_CHECK(itemEnabled(main, 2, 1013));
  UI_CHECK(itemEnabled(main, 2, 1003));
  UI_CHECK(itemEnabled(main, 2, 1004));

  // --- A new locality ---------------------------------------------------
  sendCommand(main, 1013);
  HWND dlg = waitForDialog(pid, "Fundortbeschreibung", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  // Every field takes what its record stores (39 characters) and no more.
  for (int id : {1053, 1056, 1055}) UI_CHECK_EQ(SendDlgItemMessageA(dlg, id, EM_GETLIMITTEXT, 0, 0), 39);
  for (int id : {1060, 1057}) UI_CHECK_EQ(SendMessageA(comboEdit(dlg, id), EM_GETLIMITTEXT, 0, 0), 39);
  const std::string untouched = collectionFiles(folder);
  const std::string sixty(60, 'x');
  typeText(GetDlgItem(dlg, 1053), sixty);
  typeText(comboEdit(dlg, 1060), sixty);
  settle(300);
  UI_CHECK_EQ(itemText(dlg, 1053), std::string(39, 'x'));
  UI_CHECK_EQ(windowText(comboEdit(dlg, 1060)), std::string(39, 'x'));
  // The region box offers an empty entry and the regions stored so far.
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1060, CB_GETCOUNT, 0, 0), 3);
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1057, CB_GETCOUNT, 0, 0), 2);

  // A name longer than the field, put there past its limit, is refused at OK
  // with nothing written.
  SetWindowTextA(GetDlgItem(dlg, 1053), sixty.c_str());
  clickButton(dlg, IDOK);
  UI_CHECK(answer(pid, dlg, IDOK));
  UI_CHECK(IsWindow(dlg));
  UI_CHECK(collectionFiles(folder) == untouched);
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{2, 1}));

  setControlText(dlg, 1053, "Himmelsf\xfcrst Fundgrube");
  setControlText(dlg, 1056, "Brand-Erbisdorf");
  SetWindowTextA(comboEdit(dlg, 1060), "Erzgebirge");
  SetWindowTextA(comboEdit(dlg, 1057), "Deutschland");
  setControlText(dlg, 1055, "TK25 5146");
  // Three minerals typed into the watched field, completed by a trailing
  // blank and each taken with Enter: a beginning only one name has becomes
  // that name; one that several names share no further stays as typed.
  SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 1050)), TRUE);
  typeMineral(dlg, "proust ");
  UI_CHECK(waitForText(dlg, 1050, "Proustit"));
  UI_CHECK(enterMineral(dlg, 1));
  // Added, the name stands selected: the next one is typed over it.
  typeMineral(dlg, "quarz ");
  UI_CHECK(waitForText(dlg, 1050, "Quarz"));
  UI_CHECK(enterMineral(dlg, 2));
  typeMineral(dlg, "rhodo ");
  UI_CHECK(waitForText(dlg, 1050, "rhodo"));  // Rhodochrosit, Rhodolith, Rhodonit, ...
  typeMineral(dlg, "ch ");
  UI_CHECK(waitForText(dlg, 1050, "Rhodochrosit"));
  UI_CHECK(enterMineral(dlg, 3));
  UI_CHECK_EQ(listBoxValues(dlg, 1052),
              (std::vector<long>{idOf("Proustit") - 1, idOf("Quarz") - 1, idOf("Rhodochrosit") - 1}));
  // The dialog is still open: Enter in the mineral field added, it did not save.
  UI_CHECK(IsWindow(dlg));
  // The long description in its own dialog: some thousand characters, more
  // than one storage unit holds, with line breaks.
  std::string description = "Silbererzgrube im Freiberger Revier.\r\nHalden am Bahnhof.";
  for (int line = 1; line <= 60; ++line)
    description += "\r\nSohle " + std::to_string(line) + ": Proustit, Quarz und Rhodochrosit auf Gangart.";
  clickButton(dlg, 1054);
  HWND text = waitForDialog(pid, "Ausf\xfchrliche Fundortbeschreibung", 10000);
  UI_CHECK(text != nullptr);
  if (text) {
    UI_CHECK_EQ(itemText(text, 1053), std::string("Himmelsf\xfcrst Fundgrube"));
    UI_CHECK_EQ(SendDlgItemMessageA(text, 1054, EM_GETLIMITTEXT, 0, 0), 32766);
    setControlText(text, 1054, description.c_str());
    UI_CHECK_EQ(itemText(text, 1054), description);
    settle(200);
    UI_CHECK(saveScreenshot(text, "screenshots/fundortbeschreibung-text.png"));
    clickButton(text, 1061);  // "Zurück"
    UI_CHECK(waitUntilClosed(text));
  }
  settle(200);
  UI_CHECK(saveScreenshot(dlg, "screenshots/fundorterfassung.png"));
  oldList = GetDlgItem(main, 1000);
  clickButton(dlg, IDOK);
  UI_CHECK(waitUntilClosed(dlg));
  // In the list in sort order: Grube Clara, Himmelsfürst, Steinbruch.
  UI_CHECK(waitForNewList(main, oldList, 3));
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{2, 3, 1}));
  std::vector<std::string> shown = runForLines(cli + "fundort zeige 3", folder);
  UI_CHECK(hasLine(shown, "Fundort:            Himmelsf\xc3\xbcrst Fundgrube"));
  UI_CHECK(hasLine(shown, "Region:             Erzgebirge"));
  UI_CHECK(hasLine(shown, "Land:               Deutschland"));
  UI_CHECK(hasLine(shown, "Kartenreferenz:     TK25 5146"));
  UI_CHECK(anyLineContains(shown, "Proustit"));
  UI_CHECK(anyLineContains(shown, "Quarz"));
  UI_CHECK(anyLineContains(shown, "Rhodochrosit"));
  // The long description whole, line breaks included, as the table export gives it.
  UI_CHECK_EQ(runToEnd(cli + "export fundorte fundorte.csv", folder, 60000).value_or(99), 0u);
  UI_CHECK(readBytes(folder + "\\fundorte.csv").value_or("").find("\"" + description + "\"") !=
           std::string::npos);
  UI_CHECK_EQ(runToEnd(cli + "index pruefe", folder, 60000).value_or(99), 0u);

  // --- Changing it: the stored texts come back, the new one is kept -------
  UI_CHECK(selectLocality(main, "H", 3));
  sendCommand(main, 1003);
  dlg = waitForDialog(pid, "Fundortbeschreibung", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    UI_CHECK_EQ(itemText(dlg, 1053), std::string("Himmelsf\xfcrst Fundgrube"));
    UI_CHECK_EQ(windowText(comboEdit(dlg, 1060)), std::string("Erzgebirge"));
    UI_CHECK(SendDlgItemMessageA(dlg, 1060, CB_GETCURSEL, 0, 0) != CB_ERR);
    setControlText(dlg, 1056, "Freiberg");
    oldList = GetDlgItem(main, 1000);
    clickButton(dlg, IDOK);
    UI_CHECK(waitUntilClosed(dlg));
    UI_CHECK(waitForNewList(main, oldList, 3));
  }
  shown = runForLines(cli + "fundort zeige 3", folder);
  UI_CHECK(hasLine(shown,
                   "N\xc3\xa4"
                   "chster Ort:       Freiberg"));
  UI_CHECK(anyLineContains(shown, "Proustit"));
  UI_CHECK_EQ(runToEnd(cli + "export fundorte fundorte.csv", folder, 60000).value_or(99), 0u);
  UI_CHECK(readBytes(folder + "\\fundorte.csv").value_or("").find("\"" + description + "\"") !=
           std::string::npos);
  UI_CHECK_EQ(runToEnd(cli + "index pruefe", folder, 60000).value_or(99), 0u);

  // --- A mineral on one of the locality's specimens cannot be removed -----
  UI_CHECK(selectLocality(main, "S", 1));
  sendCommand(main, 1003);
  dlg = waitForDialog(pid, "Fundortbeschreibung", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    const std::vector<long> entries = listBoxValues(dlg, 1052);
    const auto quartz = std::find(entries.begin(), entries.end(), (idOf("Quarz") - 1) | 0x8000);
    const auto topaz = std::find(entries.begin(), entries.end(), idOf("Topas") - 1);
    UI_CHECK(quartz != entries.end());
    UI_CHECK(topaz != entries.end());
    if (quartz != entries.end() && topaz != entries.end()) {
      pickListEntry(dlg, 1052, static_cast<long>(quartz - entries.begin()));
      UI_CHECK(!IsWindowEnabled(GetDlgItem(dlg, 1058)));
      // Sent anyway, the button's command is refused with the reason.
      PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(1058, BN_CLICKED), 0);
      UI_CHECK(answer(pid, dlg, IDOK));
      UI_CHECK_EQ(listBoxValues(dlg, 1052).size(), entries.size());
      pickListEntry(dlg, 1052, static_cast<long>(topaz - entries.begin()));
      UI_CHECK(IsWindowEnabled(GetDlgItem(dlg, 1058)));
      UI_CHECK(saveScreenshot(dlg, "screenshots/fundort-aendern.png"));
    }
    clickButton(dlg, IDCANCEL);
    UI_CHECK(waitUntilClosed(dlg));
  }

  // --- Deleting Grube Clara onto Himmelsfürst ------------------------------
  UI_CHECK(selectLocality(main, "G", 2));
  sendCommand(main, 1004);
  dlg = waitForDialog(pid, "Fundstelle l\xf6schen", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    UI_CHECK_EQ(itemText(dlg, 1293), std::string("1"));
    // "unbekannt", then the others in sort order; never the locality being deleted.
    const std::vector<long> replacements = listBoxValues(dlg, 1291);
    UI_CHECK_EQ(replacements, (std::vector<long>{0, 3, 1}));
    pickListEntry(dlg, 1291, 1);
    UI_CHECK(saveScreenshot(dlg, "screenshots/fundstelle-loeschen.png"));
    oldList = GetDlgItem(main, 1000);
    clickButton(dlg, IDOK);
    UI_CHECK(answer(pid, dlg, IDYES));
    UI_CHECK(waitUntilClosed(dlg));
    UI_CHECK(waitForNewList(main, oldList, 2));
  }
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{3, 1}));
  shown = runForLines(cli + "stufe zeige 2", folder);
  UI_CHECK(anyLineContains(shown, "Fundort:            Himmelsf\xc3\xbcrst Fundgrube"));
  shown = runForLines(cli + "fundort zeige 3", folder);
  UI_CHECK(anyLineContains(shown, "\xe2\x9c\x93 Fluorit"));
  UI_CHECK_EQ(runToEnd(cli + "index pruefe", folder, 60000).value_or(99), 0u);

  // --- Deleting the Steinbruch with its specimens ---------------------------
  UI_CHECK(selectLocality(main, "S", 1));
  sendCommand(main, 1004);
  dlg = waitForDialog(pid, "Fundstelle l\xf6schen", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    // Without a replacement and without the check box, OK only beeps.
    SendDlgItemMessageA(dlg, 1291, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    clickButton(dlg, IDOK);
    settle(300);
    UI_CHECK(IsWindow(dlg));
    clickButton(dlg, 1292);
    oldList = GetDlgItem(main, 1000);
    clickButton(dlg, IDOK);
    UI_CHECK(answer(pid, dlg, IDYES));
    UI_CHECK(waitUntilClosed(dlg));
    UI_CHECK(waitForNewList(main, oldList, 1));
  }
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{3}));
  const std::vector<std::string> pieces = runForLines(cli + "stufe liste", folder);
  UI_CHECK_EQ(pieces.size(), 1u);
  UI_CHECK(!pieces.empty() && pieces[0].rfind("2:", 0) == 0);
  UI_CHECK_EQ(runToEnd(cli + "index pruefe", folder, 60000).value_or(99), 0u);

  // --- An open exchange list: nothing can be entered, changed or deleted ----
  UI_CHECK_EQ(runToEnd(cli + "tausch export tausch.ktl", folder, 60000).value_or(99), 0u);
  sendCommand(main, 1008);
  const HWND open = waitForDialogWhere(pid, {.owner = main}, 10000);
  UI_CHECK(open != nullptr);
  if (open) {
    UI_CHECK(enterFileName(open, folder + "\\tausch.ktl"));
    UI_CHECK(waitUntilClosed(open));
  }
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(menuBarTitles(main).size() > 0 && menuBarTitles(main)[0] == "&Tauschassistent");
  const auto before = fileStamp(folder + "\\kalvor.fs");
  for (WORD command : {1013, 1014, 1003, 1004}) {
    const auto state = menuItemState(main, command);
    UI_CHECK(!state.has_value() || (*state & MF_GRAYED) != 0);
    sendCommand(main, command);
  }
  UI_CHECK(waitUntilResponsive(main, 10000));
  // No dialog opened (a modal one would disable the main window), no file written.
  UI_CHECK(IsWindowEnabled(main));
  UI_CHECK(fileStamp(folder + "\\kalvor.fs") == before);
  sendCommand(main, 1005);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK(itemEnabled(main, 2, 1013));
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}
