// The toolbar under the menu: its buttons show the states of the menu marks
// in every view, a click switches the view as the menu does, and a mouse
// resting on a button or on a focused dialog control shows bubble help.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr int kToolbarId = 3000;

// Toolbar command and the menu item of the same command ("&Ansicht" is popup 3).
const std::vector<std::pair<UINT, UINT>> kViewPairs = {{1320, 1020}, {1321, 1021}, {1322, 1022},
                                                       {1323, 1027}, {1325, 1023}, {1324, 1024},
                                                       {1330, 1025}, {1331, 1026}};

LRESULT buttonState(HWND toolbar, UINT command) { return SendMessageA(toolbar, TB_GETSTATE, command, 0); }

// Compares each view button with its menu item: usable alike, marked alike.
// In the Glossar view the glossary is read in the description window: its
// button stays pressed and "Ausführliche Liste" disabled, whatever the menu
// says while that window is not open. `views` is the position of "&Ansicht"
// in the bar (3, or 2 in "Tauschmenu", which has no "&Ändern").
bool toolbarMatchesMenu(HWND main, const char* view, int views = 3) {
  const HWND toolbar = GetDlgItem(main, kToolbarId);
  bool same = true;
  const bool glossary = (preparedItemState(main, views, 1027).value_or(0) & MF_CHECKED) != 0;
  if (glossary && (buttonState(toolbar, 1331) != 7 || buttonState(toolbar, 1330) != 16)) {
    fail(__FILE__, __LINE__, std::string("view ") + view + ": description buttons in the glossary");
    same = false;
  }
  for (const auto& [button, item] : kViewPairs) {
    if (glossary && (button == 1330 || button == 1331)) continue;
    const LRESULT state = buttonState(toolbar, button);
    const UINT menu = preparedItemState(main, views, item).value_or(0xFFFF);
    const bool buttonUsable = state >= 0 && (state & TBSTATE_ENABLED) && !(state & TBSTATE_INDETERMINATE);
    const bool buttonMarked = state >= 0 && (state & TBSTATE_CHECKED);
    if (menu == 0xFFFF || buttonUsable != !(menu & MF_GRAYED) || buttonMarked != ((menu & MF_CHECKED) != 0)) {
      fail(__FILE__, __LINE__,
           std::string("view ") + view + ": button " + std::to_string(button) + " state " +
               std::to_string(state) + " against menu item " + std::to_string(item) + " flags " +
               std::to_string(menu));
      same = false;
    }
  }
  // "Suchen" and "Druck" act on the current view: usable as that view's items of
  // "&Suchen" and "&Drucken" (the popup after "&Ansicht").
  const std::vector<std::pair<UINT, std::pair<UINT, UINT>>> current = {
      {1020, {1002, 1030}}, {1022, {1006, 1031}}, {1021, {1007, 1033}}};
  for (const auto& [viewItem, items] : current) {
    if (!(preparedItemState(main, views, viewItem).value_or(0) & MF_CHECKED)) continue;
    const std::pair<UINT, std::pair<UINT, int>> pairs[] = {{1333, {items.first, 1}},
                                                           {1332, {items.second, views + 1}}};
    for (const auto& [button, item] : pairs) {
      const LRESULT state = buttonState(toolbar, button);
      const UINT menu = preparedItemState(main, item.second, item.first).value_or(0xFFFF);
      const bool buttonUsable = state >= 0 && (state & TBSTATE_ENABLED) && !(state & TBSTATE_INDETERMINATE);
      if (menu == 0xFFFF || buttonUsable != !(menu & MF_GRAYED)) {
        fail(__FILE__, __LINE__,
             std::string("view ") + view + ": button " + std::to_string(button) + " state " +
                 std::to_string(state) + " against menu item " + std::to_string(item.first) + " flags " +
                 std::to_string(menu));
        same = false;
      }
    }
  }
  return same;
}

// Presses a key with modifiers as the keyboard does (to the focused window of
// the foreground program), releasing them in reverse order.
void pressKeys(std::vector<WORD> keys) {
  std::vector<INPUT> input;
  for (WORD key : keys) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    input.push_back(in);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *key;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    input.push_back(in);
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Checks that the prepared item shows `expected` (text and key after a tab).
void expectItemText(HWND main, int position, UINT item, const std::string& expected) {
  const std::string text = preparedItemText(main, position, item).value_or("(kein Eintrag)");
  if (text != expected)
    fail(__FILE__, __LINE__,
         "item " + std::to_string(item) + " shows \"" + text + "\", not \"" + expected + "\"");
}

// Screen point in the middle of the toolbar button with that command.
POINT buttonCentre(HWND toolbar, UINT command) {
  const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0);
  // Buttons from x 8, 23 apart; separators 8 wide; the program's table has
  // separators after positions 0, 5, 7, 10, 13.
  int x = 8;
  for (LRESULT i = 0; i < index; ++i) x += (i == 1 || i == 6 || i == 8 || i == 11 || i == 14) ? 8 : 23;
  POINT p = {x + 12, 13};
  ClientToScreen(toolbar, &p);
  return p;
}

// Waits until the menu item `item` of "&Ansicht" is checked; false on time-out.
bool waitForViewMark(HWND main, UINT item, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (preparedItemState(main, 3, item).value_or(0) & MF_CHECKED) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
}

// The same in "Tauschmenu", where "&Ansicht" is popup 2.
bool waitForViewMark2(HWND main, UINT item) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (preparedItemState(main, 2, item).value_or(0) & MF_CHECKED) return true;
    if (GetTickCount() - start > 20000) return false;
    Sleep(50);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
}

// A click with the mouse messages a user's click sends to the bar.
void clickToolbar(HWND toolbar, POINT screen) {
  POINT client = screen;
  ScreenToClient(toolbar, &client);
  const LPARAM at = MAKELPARAM(client.x, client.y);
  PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(toolbar, WM_LBUTTONUP, 0, at);
}

struct BubbleSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK matchBubble(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<BubbleSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char name[32] = "";
  GetClassNameA(w, name, sizeof name);
  if (pid == s->pid && lstrcmpA(name, "KALVOR_BLASE") == 0 && IsWindowVisible(w)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The visible bubble window of the process, or null.
HWND visibleBubble(DWORD processId) {
  BubbleSearch search = {processId, nullptr};
  EnumWindows(matchBubble, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for the bubble to show (or, with `shown` false, to go).
HWND waitForBubble(DWORD processId, bool shown, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const HWND bubble = visibleBubble(processId);
    if ((bubble != nullptr) == shown) return shown ? bubble : reinterpret_cast<HWND>(1);
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
}

// The screen's pixels in a rectangle.
std::vector<unsigned char> screenPixels(RECT r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<unsigned char> out(static_cast<std::size_t>(w * h * 4));
  const HDC screen = GetDC(nullptr);
  const HDC mem = CreateCompatibleDC(screen);
  const HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  const HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), out.data(), &bi, DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

// A point of the list, far from the toolbar: no bubble there.
POINT restingPlace(HWND main) {
  RECT r;
  GetClientRect(main, &r);
  POINT p = {r.right / 2, r.bottom / 2};
  ClientToScreen(main, &p);
  return p;
}

bool enterRecords(const std::string& folder) {
  return runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Grube Clara\" --ort Oberwolfach", folder,
                  60000)
                 .value_or(99) == 0 &&
         runToEnd(folder + "\\kalvor-cli.exe stufe neu --minerale \"Fluorit, Baryt\" --fundort 1", folder,
                  60000)
                 .value_or(99) == 0;
}

// Another collector's exchange list: made by kalvor-cli in a folder of its own.
std::string prepareExchangeList() {
  const std::string other = prepareCaseFolder("toolbar-tauschpartner");
  if (other.empty()) return {};
  const bool made =
      runToEnd(other + "\\kalvor-cli.exe fundort neu --name \"Clara\" --ort Oberwolfach --land Deutschland",
               other, 60000)
              .value_or(99) == 0 &&
      runToEnd(other + "\\kalvor-cli.exe stufe neu --minerale Fluorit --fundort 1 --art tausch", other, 60000)
              .value_or(99) == 0 &&
      runToEnd(other + "\\kalvor-cli.exe tausch export angebot.ktl", other, 60000).value_or(99) == 0;
  const std::string path = other + "\\angebot.ktl";
  return made && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string();
}

// Chooses `path` in the open-file dialog the program shows.
bool chooseFile(DWORD processId, const std::string& path) {
  const HWND dialog = waitForDialog(processId, nullptr, 20000);
  if (!dialog) return false;
  // The file name field: the explorer-style combo box, else the classic edit field.
  HWND field = GetDlgItem(dialog, 1148);
  if (!field) field = GetDlgItem(dialog, 1152);
  if (!field) return false;
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return waitUntilClosed(dialog);
}

}  // namespace

UI_CASE(toolbar, buttonsMirrorTheMenuAndSwitchViews) {
  const std::string folder = prepareCaseFolder("toolbar-views");
  UI_CHECK(!folder.empty());
  UI_CHECK(enterRecords(folder));
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const HWND toolbar = GetDlgItem(main, kToolbarId);
  UI_CHECK(toolbar != nullptr);
  if (!toolbar) {
    kalvor.kill();
    return;
  }
  char name[32] = "";
  GetClassNameA(toolbar, name, sizeof name);
  UI_CHECK_EQ(std::string(name), std::string("KALVOR_MYTB"));
  // A band of 27 pixels at the top, as wide as the window; never a tab stop.
  RECT bar;
  GetWindowRect(toolbar, &bar);
  RECT client;
  GetClientRect(main, &client);
  POINT origin = {0, 0};
  ClientToScreen(main, &origin);
  UI_CHECK_EQ(bar.top, origin.y);
  UI_CHECK_EQ(bar.left, origin.x);
  UI_CHECK_EQ(bar.bottom - bar.top, 27L);
  UI_CHECK(bar.right - bar.left >= client.right);
  UI_CHECK((GetWindowLongA(toolbar, GWL_STYLE) & WS_TABSTOP) == 0);
  UI_CHECK_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), LRESULT{16});

  UI_CHECK(toolbarMatchesMenu(main, "Mineral"));
  // The menu's view switches show on the toolbar at once.
  const std::vector<std::pair<UINT, const char*>> menuViews = {
      {1022, "Fundort"}, {1021, "Stufen"}, {1027, "Glossar"}, {1020, "Mineral"}};
  for (const auto& [command, view] : menuViews) {
    sendCommand(main, static_cast<WORD>(command));
    UI_CHECK(waitUntilResponsive(main, 20000));
    UI_CHECK(toolbarMatchesMenu(main, view));
  }
  // "Ausführliche Liste" and back, from the menu.
  sendCommand(main, 1025);
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(toolbarMatchesMenu(main, "Mineral, ausführliche Liste"));
  sendCommand(main, 1026);
  UI_CHECK(waitUntilResponsive(main, 20000));

  // Clicks on the view buttons switch the view as the menu does.
  const std::vector<std::pair<UINT, UINT>> clicks = {{1322, 1022}, {1321, 1021}, {1323, 1027}, {1320, 1020}};
  for (const auto& [button, item] : clicks) {
    clickToolbar(toolbar, buttonCentre(toolbar, button));
    UI_CHECK(waitUntilResponsive(main, 20000));
    if (!waitForViewMark(main, item, 20000))
      fail(__FILE__, __LINE__,
           "click on " + std::to_string(button) + " did not switch to " + std::to_string(item));
    UI_CHECK(toolbarMatchesMenu(main, "nach Klick"));
  }
  // A press released outside the button changes nothing.
  {
    POINT down = buttonCentre(toolbar, 1321);
    POINT up = restingPlace(main);
    ScreenToClient(toolbar, &down);
    ScreenToClient(toolbar, &up);
    PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    PostMessageA(toolbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    PostMessageA(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    // A click on "Ansicht: Glossar" after it shows that the release was handled.
    clickToolbar(toolbar, buttonCentre(toolbar, 1323));
    UI_CHECK(waitForViewMark(main, 1027, 20000));
    UI_CHECK((preparedItemState(main, 3, 1021).value_or(0) & MF_CHECKED) == 0);
    clickToolbar(toolbar, buttonCentre(toolbar, 1320));
    UI_CHECK(waitForViewMark(main, 1020, 20000));
    UI_CHECK((preparedItemState(main, 3, 1020).value_or(0) & MF_CHECKED) != 0);
    UI_CHECK(toolbarMatchesMenu(main, "Mineral nach Loslassen daneben"));
  }

  // Every toolbar command has a key; the menu item that does the same shows it.
  expectItemText(main, 0, 1001, "Kalvor &beenden\tAlt+F4");
  expectItemText(main, 3, 1020, "&Mineral\tStrg+1");
  expectItemText(main, 3, 1022, "&Fundort\tStrg+2");
  expectItemText(main, 3, 1021, "S&tufen\tStrg+3");
  expectItemText(main, 3, 1027, "&Glossar\tStrg+4");
  expectItemText(main, 3, 1023, "&Alle Eintr\xE4ge\tStrg+A");
  expectItemText(main, 3, 1024, "&Suchergebnis\tStrg+E");
  expectItemText(main, 3, 1025, "Ausf\xFChrliche &Liste\tStrg+L");
  expectItemText(main, 3, 1026, "Beschreibungsfenster\tStrg+B");
  // "Suchen" and "Druck" act on the current view: their keys stand at its items.
  expectItemText(main, 1, 1002, "&Mineral\tStrg+F");
  expectItemText(main, 1, 1006, "&Fundort");
  expectItemText(main, 4, 1030, "Mineral&steckbrief\tStrg+P");
  expectItemText(main, 4, 1031, "&Fundstellenbeschreibung");

  // The keys switch the views as the buttons do, from the list with the keyboard focus.
  SetForegroundWindow(main);
  UI_CHECK(waitUntilResponsive(main, 20000));
  const std::vector<std::pair<WORD, UINT>> keys = {{'2', 1022}, {'3', 1021}, {'4', 1027}, {'1', 1020}};
  for (const auto& [key, item] : keys) {
    pressKeys({VK_CONTROL, key});
    if (!waitForViewMark(main, item, 20000))
      fail(__FILE__, __LINE__,
           "Strg+" + std::string(1, static_cast<char>(key)) + " did not switch to " + std::to_string(item));
    UI_CHECK(toolbarMatchesMenu(main, "nach Taste"));
  }
  expectItemText(main, 1, 1002, "&Mineral\tStrg+F");
  pressKeys({VK_CONTROL, '2'});
  UI_CHECK(waitForViewMark(main, 1022, 20000));
  expectItemText(main, 1, 1006, "&Fundort\tStrg+F");
  expectItemText(main, 1, 1002, "&Mineral");
  expectItemText(main, 4, 1031, "&Fundstellenbeschreibung\tStrg+P");
  // A key whose button is disabled does nothing: no search result, so Strg+E
  // leaves "Alle Einträge"; the next key shows that it was handled.
  UI_CHECK((buttonState(toolbar, 1324) & TBSTATE_ENABLED) == 0);
  pressKeys({VK_CONTROL, 'E'});
  pressKeys({VK_CONTROL, '1'});
  UI_CHECK(waitForViewMark(main, 1020, 20000));
  UI_CHECK(preparedItemState(main, 3, 1023).value_or(0) & MF_CHECKED);
  UI_CHECK(!(preparedItemState(main, 3, 1024).value_or(MF_CHECKED) & MF_CHECKED));
  // Strg+L closes the description window, Strg+B brings it back.
  pressKeys({VK_CONTROL, 'L'});
  UI_CHECK(waitForViewMark(main, 1025, 20000));
  pressKeys({VK_CONTROL, 'B'});
  UI_CHECK(waitForViewMark(main, 1026, 20000));
  UI_CHECK(toolbarMatchesMenu(main, "Mineral nach Strg+B"));
  // Plain letters still reach the list (made anew by each view switch): its
  // type-ahead moves the selection.
  if (const HWND list = GetDlgItem(main, 1000)) {
    UI_CHECK(waitUntilResponsive(main, 20000));
    const long before = listQuery(list, kListQuerySelected);
    pressKeys({'Z'});
    const DWORD start = GetTickCount();
    while (listQuery(list, kListQuerySelected) == before && GetTickCount() - start < 20000)
      Sleep(50);  // poll interval only: the condition above decides, the time-out only ends a hang
    UI_CHECK(listQuery(list, kListQuerySelected) != before);
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(toolbar, buttonsMirrorTheMenuOfTheExchangeAssistant) {
  const std::string exchange = prepareExchangeList();
  UI_CHECK(!exchange.empty());
  const std::string folder = prepareCaseFolder("toolbar-tausch");
  UI_CHECK(!folder.empty());
  UI_CHECK(enterRecords(folder));
  if (exchange.empty()) return;
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  // "Tauschliste importieren" with the other collector's list: the exchange bar replaces the main one.
  sendCommand(main, 1008);
  UI_CHECK(chooseFile(kalvor.processId(), exchange));
  UI_CHECK(waitUntilResponsive(main, 60000));
  const std::vector<std::string> bar = menuBarTitles(main);
  UI_CHECK(!bar.empty() && bar[0] == "&Tauschassistent");
  if (bar.empty() || bar[0] != "&Tauschassistent") {
    kalvor.kill();
    return;
  }
  UI_CHECK(toolbarMatchesMenu(main, "Tausch: Mineral", 2));
  const std::vector<std::pair<UINT, const char*>> views = {{1022, "Tausch: Fundort"},
                                                           {1021, "Tausch: Stufen"},
                                                           {1027, "Tausch: Glossar"},
                                                           {1020, "Tausch: Mineral"}};
  for (const auto& [command, view] : views) {
    sendCommand(main, static_cast<WORD>(command));
    UI_CHECK(waitUntilResponsive(main, 20000));
    UI_CHECK(waitForViewMark2(main, command));
    UI_CHECK(toolbarMatchesMenu(main, view, 2));
  }
  // The keys work in the exchange assistant too.
  SetForegroundWindow(main);
  pressKeys({VK_CONTROL, '3'});
  UI_CHECK(waitForViewMark2(main, 1021));
  UI_CHECK(toolbarMatchesMenu(main, "Tausch: Stufen nach Taste", 2));
  // "&Beenden" leaves the exchange assistant: the main bar and its states are back.
  sendCommand(main, 1005);
  // The command is posted: the main bar's return, not an idle window, says it ran.
  std::vector<std::string> back = menuBarTitles(main);
  for (int i = 0; i < 800 && (back.empty() || back[0] != "&Datei"); ++i) {
    settle(25);  // poll interval only: the menu bar decides
    back = menuBarTitles(main);
  }
  UI_CHECK(!back.empty() && back[0] == "&Datei");
  UI_CHECK(toolbarMatchesMenu(main, "nach dem Tauschassistenten"));
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(toolbar, bubbleOverAButtonComesAndGoesCleanly) {
  const std::string folder = prepareCaseFolder("toolbar-bubble");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const HWND toolbar = GetDlgItem(main, kToolbarId);
  UI_CHECK(toolbar != nullptr);
  if (!toolbar) {
    kalvor.kill();
    return;
  }
  SetForegroundWindow(main);
  UI_CHECK(waitUntilResponsive(main, 20000));
  const DWORD pid = kalvor.processId();

  SetCursorPos(restingPlace(main).x, restingPlace(main).y);
  UI_CHECK(waitForBubble(pid, false, 20000) != nullptr);
  const POINT over = buttonCentre(toolbar, 1323);  // "Ansicht: Glossar"
  SetCursorPos(over.x, over.y);
  HWND bubble = waitForBubble(pid, true, 30000);
  UI_CHECK(bubble != nullptr);
  if (!bubble) {
    kalvor.kill();
    return;
  }
  UI_CHECK_EQ(windowText(bubble), std::string("Ansicht: Glossar"));
  // A popup of its own: topmost, never active, no taskbar button.
  const LONG exStyle = GetWindowLongA(bubble, GWL_EXSTYLE);
  UI_CHECK((exStyle & WS_EX_TOPMOST) && (exStyle & WS_EX_TOOLWINDOW) && (exStyle & WS_EX_NOACTIVATE));
  UI_CHECK(GetForegroundWindow() != bubble);
  RECT shown;
  GetWindowRect(bubble, &shown);
  // Right of the cursor and below the bar.
  UI_CHECK(shown.left >= over.x);
  RECT bar;
  GetWindowRect(toolbar, &bar);
  UI_CHECK(shown.top >= bar.bottom);
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/toolbar-bubble.png"));
  const std::vector<unsigned char> withBubble = screenPixels(shown);

  // Moving away hides it; what was below shows again unchanged.
  SetCursorPos(restingPlace(main).x, restingPlace(main).y);
  UI_CHECK(waitForBubble(pid, false, 20000) != nullptr);
  UI_CHECK(waitUntilResponsive(main, 20000));
  const std::vector<unsigned char> clean = screenPixels(shown);
  UI_CHECK(withBubble != clean);
  // Once more over the same button: the same place; after it goes, the same pixels.
  SetCursorPos(over.x, over.y);
  bubble = waitForBubble(pid, true, 30000);
  UI_CHECK(bubble != nullptr);
  SetCursorPos(restingPlace(main).x, restingPlace(main).y);
  UI_CHECK(waitForBubble(pid, false, 20000) != nullptr);
  UI_CHECK(waitUntilResponsive(main, 20000));
  UI_CHECK(screenPixels(shown) == clean);

  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(toolbar, bubbleOverDialogControlsFollowsTheOption) {
  const std::string folder = prepareCaseFolder("toolbar-dialog-bubble");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const DWORD pid = kalvor.processId();
  SetForegroundWindow(main);

  // Bubble help is on without a settings file: the focused first check box explains itself.
  sendCommand(main, 1041);
  HWND dlg = waitForDialog(pid, "Optionen", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK(IsDlgButtonChecked(dlg, 1284) == BST_CHECKED);
  RECT box;
  GetWindowRect(GetDlgItem(dlg, 1280), &box);
  SetCursorPos(box.left + 20, (box.top + box.bottom) / 2);
  HWND bubble = waitForBubble(pid, true, 30000);
  UI_CHECK(bubble != nullptr);
  if (bubble) {
    const std::string text = windowText(bubble);
    UI_CHECK(text.rfind("Ist dieses Feld angekreuzt", 0) == 0);
    RECT shown;
    GetWindowRect(bubble, &shown);
    UI_CHECK(shown.top >= box.bottom);  // below the control
    UI_CHECK(saveScreenshot(dlg, "screenshots/toolbar-dialog-bubble.png"));
  }
  // Turning it off in the same dialog: "&OK" switches it at once.
  SetCursorPos(restingPlace(main).x, restingPlace(main).y);
  clickButton(dlg, 1284);
  clickButton(dlg, IDOK);
  UI_CHECK(waitUntilClosed(dlg));
  UI_CHECK(waitForBubble(pid, false, 20000) != nullptr);

  sendCommand(main, 1041);
  dlg = waitForDialog(pid, "Optionen", 10000);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK(IsDlgButtonChecked(dlg, 1284) != BST_CHECKED);
  GetWindowRect(GetDlgItem(dlg, 1280), &box);
  SetCursorPos(box.left + 20, (box.top + box.bottom) / 2);
  // The bubble would show within two ticks of one second; give it many more.
  UI_CHECK(waitForBubble(pid, true, 6000) == nullptr);
  clickButton(dlg, IDCANCEL);
  UI_CHECK(waitUntilClosed(dlg));
  // Toolbar buttons keep their bubble with the option off.
  const HWND toolbar = GetDlgItem(main, kToolbarId);
  const POINT over = buttonCentre(toolbar, 1320);
  SetCursorPos(over.x, over.y);
  bubble = waitForBubble(pid, true, 30000);
  UI_CHECK(bubble != nullptr);
  if (bubble) UI_CHECK_EQ(windowText(bubble), std::string("Ansicht: Minerale"));
  SetCursorPos(restingPlace(main).x, restingPlace(main).y);
  UI_CHECK(waitForBubble(pid, false, 20000) != nullptr);
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}
