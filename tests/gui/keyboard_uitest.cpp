// The dialogs of the main window without a mouse: each stands centred over
// the main window's client area, the first field has the
// focus when a dialog opens, Tab walks the controls in a useful order and
// comes round again, Enter answers with the default button and Escape
// cancels. Keys are posted to the control with the focus, so the dialog's own
// keyboard handling (as for a real key press) decides what they do.
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

// The window with the keyboard focus in the thread that owns `window`.
HWND focusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// The control id of the focused window when it is a child of `dialog`, else 0.
int focusedId(HWND dialog) {
  const HWND focus = focusOf(dialog);
  return focus && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0;
}

// Presses and releases a key at the focused control.
void pressKey(HWND dialog, UINT key) {
  const HWND target = focusOf(dialog) ? focusOf(dialog) : dialog;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  settle(150);
}

// The ids the focus visits when Tab is pressed `count` times, starting with
// the control that has the focus now.
std::vector<int> tabWalk(HWND dialog, int count) {
  std::vector<int> ids{focusedId(dialog)};
  for (int i = 0; i < count; ++i) {
    pressKey(dialog, VK_TAB);
    ids.push_back(focusedId(dialog));
  }
  return ids;
}

// True when `dialog` stands centred over the client area of `main` (one pixel
// of rounding either way).
bool centredOver(HWND main, HWND dialog) {
  RECT client = {};
  RECT own = {};
  GetClientRect(main, &client);
  MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(dialog, &own);
  const LONG left = client.left + ((client.right - client.left) - (own.right - own.left)) / 2;
  const LONG top = client.top + ((client.bottom - client.top) - (own.bottom - own.top)) / 2;
  return own.left >= left - 1 && own.left <= left + 1 && own.top >= top - 1 && own.top <= top + 1;
}

}  // namespace

UI_CASE(keyboard, dialogsWorkWithoutAMouse) {
  const std::string folder = prepareCaseFolder("keyboard");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  UI_CHECK(waitForChild(main, 1000, 10000) != nullptr);
  settle(300);
  // The list has the keyboard from the start, so letters and arrows reach it.
  UI_CHECK(focusOf(main) == GetDlgItem(main, 1000));

  // "Namensuche": the name field first, then the list, "&OK", "&Abbrechen".
  sendCommand(main, 1015);
  HWND dialog = waitForDialog(kalvor.processId(), "Namensuche", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    settle(200);
    UI_CHECK(centredOver(main, dialog));
    UI_CHECK_EQ(tabWalk(dialog, 4), (std::vector<int>{1310, 1311, IDOK, IDCANCEL, 1310}));
    for (char c : std::string("Malachit")) PostMessageA(GetDlgItem(dialog, 1310), WM_CHAR, c, 1);
    settle(300);
    const long chosen = listQuery(GetDlgItem(dialog, 1311), kListQuerySelected);
    UI_CHECK(chosen > 0);
    // Enter in the name field answers "&OK": the main list selects the name.
    pressKey(dialog, VK_RETURN);
    UI_CHECK(waitUntilClosed(dialog));
    UI_CHECK(waitForListSelection(main, 1000, chosen, 10000));
    // The new list takes the keyboard back.
    UI_CHECK(focusOf(main) == GetDlgItem(main, 1000));
  }

  // Escape leaves "Namensuche" without changing the main list.
  const long before = listQuery(GetDlgItem(main, 1000), kListQuerySelected);
  sendCommand(main, 1015);
  dialog = waitForDialog(kalvor.processId(), "Namensuche", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    settle(200);
    for (char c : std::string("Zirkon")) PostMessageA(GetDlgItem(dialog, 1310), WM_CHAR, c, 1);
    settle(200);
    pressKey(dialog, VK_ESCAPE);
    UI_CHECK(waitUntilClosed(dialog));
    settle(200);
    UI_CHECK_EQ(listQuery(GetDlgItem(main, 1000), kListQuerySelected), before);
  }

  // "Optionen": the check boxes from the top, the sort order, then the buttons.
  sendCommand(main, 1041);
  dialog = waitForDialog(kalvor.processId(), "Optionen", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    settle(200);
    UI_CHECK(centredOver(main, dialog));
    UI_CHECK_EQ(tabWalk(dialog, 9),
                (std::vector<int>{1280, 1281, 1282, 1283, 1284, 1285, 1286, IDOK, IDCANCEL, 1280}));
    // Space ticks the focused box; Escape cancels, so nothing is written.
    pressKey(dialog, VK_TAB);
    pressKey(dialog, VK_TAB);
    UI_CHECK_EQ(focusedId(dialog), 1282);
    pressKey(dialog, VK_SPACE);
    UI_CHECK(IsDlgButtonChecked(dialog, 1282) == BST_CHECKED);
    pressKey(dialog, VK_ESCAPE);
    UI_CHECK(waitUntilClosed(dialog));
    char value[32] = "";
    GetPrivateProfileStringA("Optionen", "Winkel mit Minuten", "(fehlt)", value, sizeof value,
                             (folder + "\\kalvor.ini").c_str());
    UI_CHECK_EQ(std::string(value), std::string("(fehlt)"));
  }

  // Enter on the ticked box answers "&OK" and writes it.
  sendCommand(main, 1041);
  dialog = waitForDialog(kalvor.processId(), "Optionen", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    settle(200);
    pressKey(dialog, VK_TAB);
    pressKey(dialog, VK_TAB);
    pressKey(dialog, VK_SPACE);
    pressKey(dialog, VK_RETURN);
    UI_CHECK(waitUntilClosed(dialog));
    char value[32] = "";
    GetPrivateProfileStringA("Optionen", "Winkel mit Minuten", "(fehlt)", value, sizeof value,
                             (folder + "\\kalvor.ini").c_str());
    UI_CHECK_EQ(std::string(value), std::string("1"));
  }

  // "Info": the focus on its button; Enter closes it, and so does Escape.
  UI_CHECK(focusOf(main) == GetDlgItem(main, 1000));
  for (UINT key : {VK_RETURN, VK_ESCAPE}) {
    sendCommand(main, 1040);
    dialog = waitForDialog(kalvor.processId(), "Info", 10000);
    UI_CHECK(dialog != nullptr);
    if (!dialog) continue;
    settle(200);
    UI_CHECK_EQ(focusedId(dialog), IDOK);
    pressKey(dialog, key);
    UI_CHECK(waitUntilClosed(dialog));
    settle(200);
    // Back in the main window, the list has the keyboard again.
    UI_CHECK(focusOf(main) == GetDlgItem(main, 1000));
  }

  // "Kalvor &beenden" ends the program normally.
  sendCommand(main, 1001);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK_EQ(code.value_or(0), 1u);
  if (!code) kalvor.kill();
}
