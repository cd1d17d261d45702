// The three search dialogs, driven as a user would: "Mineralbestimmung"
// finds the minerals that "kalvor-cli bestimme" prints for the same entries,
// keeps its entries for the next opening, clears them with "Neue Suche" and
// refuses an unreadable hardness with the field marked; "Fundortsuche" and
// "Sammlungsauswertung" find the records "kalvor-cli suche" finds, and the
// views switch between "Alle Einträge" and "Suchergebnis" afterwards.
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

bool isChecked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
long comboSelection(HWND dlg, int id) {
  return static_cast<long>(SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0));
}
std::string itemText(HWND dlg, int id) { return windowText(GetDlgItem(dlg, id)); }

// Selects the entry with that text in a drop-down list the way a user's pick
// does (the list tells its dialog); false when there is none. Item texts are
// read through the selection: WM_GETTEXT is marshalled between processes.
bool pickChoice(HWND dlg, int id, const std::string& text) {
  const HWND combo = GetDlgItem(dlg, id);
  const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    if (windowText(combo) == text) {
      PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
      return true;
    }
  }
  return false;
}

// The window that has the keyboard focus in the thread of `window`.
HWND focusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// Waits until the focus is on `control` (keys and clicks are worked off in turn).
bool waitForFocus(HWND control) {
  for (int i = 0; i < 200; ++i) {
    if (focusOf(control) == control) return true;
    settle(25);
  }
  return false;
}

// A key pressed on the focused control (the dialog's keyboard handling sees it first).
void pressKey(HWND dlg, WPARAM key) {
  const HWND target = focusOf(dlg) ? focusOf(dlg) : dlg;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// Alt with an underlined letter.
void pressAlt(HWND dlg, char letter) {
  const HWND target = focusOf(dlg) ? focusOf(dlg) : dlg;
  PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(letter), 0x20000001);
}

// Windows-1252 to UTF-8, as the command-line tool prints.
std::string utf8Of(const std::string& cp1252) {
  std::wstring wide(cp1252.size(), L'\0');
  const int n = MultiByteToWideChar(1252, 0, cp1252.data(), static_cast<int>(cp1252.size()), wide.data(),
                                    static_cast<int>(wide.size()));
  std::string out(static_cast<std::size_t>(n) * 3, '\0');
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), static_cast<int>(out.size()),
                                    nullptr, nullptr);
  out.resize(static_cast<std::size_t>(m));
  return out;
}

// The record numbers of "N: ..." lines.
std::vector<long> recordNumbers(const std::vector<std::string>& lines) {
  std::vector<long> numbers;
  for (const std::string& line : lines) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    numbers.push_back(std::strtol(line.substr(0, colon).c_str(), nullptr, 10));
  }
  return numbers;
}

// Waits until the main list is a new window (not `old`) with `rows` rows and
// nothing left to paint; false on time-out.
bool waitForPaintedList(HWND main, HWND old, long rows) {
  for (int i = 0; i < 60000; ++i) {
    const HWND list = GetDlgItem(main, 1000);
    if (list && list != old && listQuery(list, kListQueryCount) == rows &&
        !GetUpdateRect(list, nullptr, FALSE))
      return true;
    Sleep(1);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
  return false;
}

// Milliseconds between two performance-counter readings.
double millisecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

UI_CASE(search, determination) {
  const std::string folder = prepareCaseFolder("bestimmung");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  UI_CHECK(names.size() > 1000);
  UI_CHECK(itemEnabled(main, 1, 1002));

  sendCommand(main, 1002);
  HWND dlg = waitForDialog(kalvor.processId(), "Mineralbestimmung", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK(GetWindow(dlg, GW_OWNER) == main);
  // The first field has the focus; the start values of a new run.
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1110)));
  UI_CHECK(isChecked(dlg, 1100) && !isChecked(dlg, 1101) && !isChecked(dlg, 1102));
  UI_CHECK(isChecked(dlg, 1132) && isChecked(dlg, 1133) && !isChecked(dlg, 1134));
  for (int id : {1104, 1113, 1114}) UI_CHECK(!IsWindowEnabled(GetDlgItem(dlg, id)));
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1108, CB_GETCOUNT, 0, 0), LRESULT{9});
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1115, CB_GETCOUNT, 0, 0), LRESULT{13});
  UI_CHECK(SendDlgItemMessageA(dlg, 1110, CB_GETCOUNT, 0, 0) > 100);
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1119, CB_GETCOUNT, 0, 0), LRESULT{1});  // "unbekannt" alone

  // Alt+H goes to "Härte"; an unreadable hardness is refused with the field marked.
  pressAlt(dlg, 'h');
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1106)));
  setControlText(dlg, 1106, "abc");
  clickButton(dlg, IDOK);
  HWND box = waitForDialogWhere(kalvor.processId(), {.except = dlg}, 10000);
  UI_CHECK(box != nullptr);
  if (box) {
    bool named = false;
    for (const std::string& text : childTexts(box))
      if (text.find("H\xE4rte 'abc'") != std::string::npos) named = true;
    UI_CHECK(named);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    UI_CHECK(waitUntilClosed(box));
  }
  UI_CHECK(IsWindow(dlg));
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1106)));
  DWORD from = 99, to = 99;
  SendDlgItemMessageA(dlg, 1106, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  UI_CHECK_EQ(from, DWORD{0});
  UI_CHECK_EQ(to, DWORD{3});

  // Strichfarbe rot, Härte 5,5-6,5, Glanz metall, Annähernd.
  UI_CHECK(pickChoice(dlg, 1110, "rot"));
  UI_CHECK(pickChoice(dlg, 1115, "metall"));
  setControlText(dlg, 1106, "5,5-6,5");
  clickButton(dlg, 1101);
  settle(300);
  UI_CHECK(isChecked(dlg, 1101) && !isChecked(dlg, 1100));
  UI_CHECK(saveScreenshot(dlg, "screenshots/mineralbestimmung.png"));

  const HWND oldList = GetDlgItem(main, 1000);
  const std::vector<std::string> cli =
      runForLines(folder +
                      "\\kalvor-cli.exe bestimme --strichfarbe rot --haerte 5,5-6,5 --glanz metall "
                      "--genauigkeit annaehernd",
                  folder);
  std::vector<long> expected;
  for (const std::string& line : cli) {
    if (line.rfind("Gefunden: ", 0) == 0) continue;
    long id = 0;
    for (const StoredName& n : names)
      if (utf8Of(n.name) == line) id = static_cast<long>(n.id);
    UI_CHECK(id != 0);
    expected.push_back(id);
  }
  UI_CHECK(!expected.empty());
  // The time from "Suchen" to the painted result list, and the part of it
  // after the dialog has vanished (hiding a window can take Wine a while).
  LARGE_INTEGER start, hidden, painted;
  QueryPerformanceCounter(&start);
  hidden = start;
  clickButton(dlg, IDOK);
  while (IsWindow(dlg) && IsWindowVisible(dlg) && millisecondsBetween(start, hidden) < 60000) {
    Sleep(1);  // poll interval only: the condition above decides, the time-out only ends a hang
    QueryPerformanceCounter(&hidden);
  }
  QueryPerformanceCounter(&hidden);
  const bool shown = waitForPaintedList(main, oldList, static_cast<long>(expected.size()));
  QueryPerformanceCounter(&painted);
  UI_CHECK(shown);
  if (shown)
    std::printf(
        "Von \"Suchen\" bis zur gemalten Ergebnisliste: %.1f ms (nach dem Verschwinden des Dialogs: %.1f "
        "ms)\n",
        millisecondsBetween(start, painted), millisecondsBetween(hidden, painted));
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK(waitUntilResponsive(main, 10000));
  // Exactly what the command-line tool prints, in the name list's order; Hämatit among them.
  UI_CHECK_EQ(mainListRows(main), expected);
  bool haematite = false;
  for (long id : mainListRows(main))
    for (const StoredName& n : names)
      if (static_cast<long>(n.id) == id && n.name == "H\xE4matit") haematite = true;
  UI_CHECK(haematite);
  UI_CHECK(itemChecked(main, 3, 1024) && !itemChecked(main, 3, 1023));
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/mineral-suchergebnis.png"));

  // "Alle Einträge" and "Suchergebnis" switch the list.
  sendCommand(main, 1023);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main).size(), names.size());
  UI_CHECK(itemChecked(main, 3, 1023) && !itemChecked(main, 3, 1024));
  sendCommand(main, 1024);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main), expected);
  UI_CHECK(itemChecked(main, 3, 1024) && !itemChecked(main, 3, 1023));

  // Opened again: the entries of the last search; "Neue Suche" clears every field.
  sendCommand(main, 1002);
  dlg = waitForDialog(kalvor.processId(), "Mineralbestimmung", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK_EQ(itemText(dlg, 1110), std::string("rot"));
  UI_CHECK_EQ(itemText(dlg, 1115), std::string("metall"));
  UI_CHECK_EQ(itemText(dlg, 1106), std::string("5.5-6.5"));
  UI_CHECK(isChecked(dlg, 1101) && !isChecked(dlg, 1100) && !isChecked(dlg, 1102));
  setControlText(dlg, 1111, "2.65");
  setControlText(dlg, 1112, "Fe");
  setControlText(dlg, 1118, "IV");
  clickButton(dlg, 1134);
  clickButton(dlg, 1102);
  UI_CHECK(pickChoice(dlg, 1105, "rot"));
  UI_CHECK(pickChoice(dlg, 1108, "trigonal"));
  UI_CHECK(pickChoice(dlg, 1109, "keine"));
  UI_CHECK(pickChoice(dlg, 1107, "uneben"));
  settle(300);
  UI_CHECK(isChecked(dlg, 1134) && isChecked(dlg, 1102));
  clickButton(dlg, 1138);
  settle(500);
  for (int id : {1110, 1105, 1108, 1115, 1109, 1107, 1119}) UI_CHECK_EQ(comboSelection(dlg, id), 0L);
  for (int id : {1106, 1111, 1112, 1118}) UI_CHECK_EQ(itemText(dlg, id), std::string());
  UI_CHECK(isChecked(dlg, 1100) && !isChecked(dlg, 1101) && !isChecked(dlg, 1102));
  UI_CHECK(isChecked(dlg, 1132) && isChecked(dlg, 1133) && !isChecked(dlg, 1134));
  // Escape cancels and leaves the result shown.
  pressKey(dlg, VK_ESCAPE);
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main), expected);
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(search, collectionSearches) {
  const std::string folder = prepareCaseFolder("sammlungssuche");
  UI_CHECK(!folder.empty());
  const std::string cli = folder + "\\kalvor-cli.exe ";
  for (const char* args :
       {"fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald --land Deutschland "
        "--minerale \"Fluorit, Baryt\"",
        "fundort neu --name \"Steinbruch Hartkoppe\" --ort Sailauf --region Spessart --land Deutschland "
        "--minerale \"Quarz, Topas\"",
        "stufe neu --minerale Fluorit --fundort 1 --datum 12.08.1995 --erwerb gefunden --art sammlung "
        "--index A-1",
        "stufe neu --minerale Baryt --fundort 1 --datum 3.5.1995 --erwerb gekauft --art tausch --index A-2",
        "stufe neu --minerale Quarz --fundort 2 --datum 1.7.2001 --erwerb gefunden --art sammlung --index "
        "B-1"})
    UI_CHECK_EQ(runToEnd(cli + args, folder, 60000).value_or(99), 0u);

  const std::vector<long> localitiesExpected =
      recordNumbers(runForLines(cli + "suche fundort --minerale Quarz", folder));
  const std::vector<long> specimensExpected =
      recordNumbers(runForLines(cli + "suche stufe --datum 1995 --art sammlung", folder));
  UI_CHECK_EQ(localitiesExpected, std::vector<long>{2});
  UI_CHECK_EQ(specimensExpected, std::vector<long>{1});

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  UI_CHECK(itemEnabled(main, 1, 1006));
  UI_CHECK(itemEnabled(main, 1, 1007));

  // "Fundortsuche": the mineral list follows "Quar"; a trailing blank completes.
  sendCommand(main, 1006);
  HWND dlg = waitForDialog(kalvor.processId(), "Fundortsuche", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1170)));
  UI_CHECK_EQ(itemText(dlg, 1173), std::string("Welt"));
  UI_CHECK_EQ(itemText(dlg, 1172), std::string("ganzes Land"));
  const HWND mineralList = GetDlgItem(dlg, 1174);
  setControlText(dlg, 1170, "Quar");
  settle(300);
  // The names of the selected list entry's mineral (a mineral may have several).
  auto selectedNames = [&] {
    std::vector<std::string> out;
    const long selected = listQuery(mineralList, kListQuerySelected);
    for (const StoredName& n : names)
      if (static_cast<long>(n.id) == selected) out.push_back(n.name);
    return out;
  };
  auto anyBeginsWith = [](const std::vector<std::string>& list, const std::string& prefix) {
    return std::any_of(list.begin(), list.end(),
                       [&](const std::string& n) { return n.rfind(prefix, 0) == 0; });
  };
  UI_CHECK(anyBeginsWith(selectedNames(), "Quar"));
  // The blank completes as far as the names beginning so agree, and is gone.
  setControlText(dlg, 1170, "Fluori ");
  settle(300);
  const std::string completed = itemText(dlg, 1170);
  UI_CHECK(completed.rfind("Fluorit", 0) == 0);
  UI_CHECK(completed.back() != ' ');
  UI_CHECK(anyBeginsWith(selectedNames(), completed));
  setControlText(dlg, 1170, "Quarz");
  settle(200);
  UI_CHECK(saveScreenshot(dlg, "screenshots/fundortsuche.png"));
  // Enter searches.
  const HWND oldList = GetDlgItem(main, 1000);
  SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 1170)), TRUE);
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1170)));
  pressKey(dlg, VK_RETURN);
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK(waitForPaintedList(main, oldList, static_cast<long>(localitiesExpected.size())));
  UI_CHECK_EQ(mainListRows(main), localitiesExpected);
  UI_CHECK(itemChecked(main, 3, 1022) && itemChecked(main, 3, 1024));
  sendCommand(main, 1023);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main), (std::vector<long>{1, 2}));
  UI_CHECK(itemChecked(main, 3, 1023) && !itemChecked(main, 3, 1024));
  sendCommand(main, 1024);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main), localitiesExpected);

  // "Sammlungsauswertung": a year and collection pieces only.
  sendCommand(main, 1007);
  dlg = waitForDialog(kalvor.processId(), "Sammlungsauswertung", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1200)));
  for (int id = 1206; id <= 1210; ++id) UI_CHECK(isChecked(dlg, id));
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, 1201, CB_GETCOUNT, 0, 0), LRESULT{3});
  // A date the records cannot hold is refused with the date marked.
  setControlText(dlg, 1205, "31.4.1999");
  clickButton(dlg, IDOK);
  HWND box = waitForDialogWhere(kalvor.processId(), {.except = dlg}, 10000);
  UI_CHECK(box != nullptr);
  if (box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    UI_CHECK(waitUntilClosed(box));
  }
  UI_CHECK(IsWindow(dlg));
  UI_CHECK(waitForFocus(GetDlgItem(dlg, 1205)));
  setControlText(dlg, 1205, "1995");
  clickButton(dlg, 1207);
  settle(300);
  UI_CHECK(!isChecked(dlg, 1207));
  UI_CHECK(saveScreenshot(dlg, "screenshots/sammlungsauswertung.png"));
  const HWND before = GetDlgItem(main, 1000);
  clickButton(dlg, IDOK);
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK(waitForPaintedList(main, before, static_cast<long>(specimensExpected.size())));
  UI_CHECK_EQ(mainListRows(main), specimensExpected);
  UI_CHECK(itemChecked(main, 3, 1021) && itemChecked(main, 3, 1024));
  sendCommand(main, 1023);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main).size(), std::size_t{3});
  sendCommand(main, 1024);
  settle(500);
  UI_CHECK(waitUntilResponsive(main, 10000));
  UI_CHECK_EQ(mainListRows(main), specimensExpected);

  // "Neue Suche" ticks every box and empties every field again.
  sendCommand(main, 1007);
  dlg = waitForDialog(kalvor.processId(), "Sammlungsauswertung", 10000);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    setControlText(dlg, 1202, "Vitrine");
    setControlText(dlg, 1203, "A");
    clickButton(dlg, 1208);
    settle(200);
    clickButton(dlg, 1211);
    settle(300);
    for (int id : {1200, 1202, 1203, 1205, 1212, 1213}) UI_CHECK_EQ(itemText(dlg, id), std::string());
    for (int id = 1206; id <= 1210; ++id) UI_CHECK(isChecked(dlg, id));
    UI_CHECK_EQ(comboSelection(dlg, 1201), 0L);
    pressKey(dlg, VK_ESCAPE);
    UI_CHECK(waitUntilClosed(dlg));
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}
