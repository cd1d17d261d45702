// The UI test driver: starts kalvor.exe and works its windows the way a user
// would, through real window messages (no mocks).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kalvor::uitest {

// A started program; the handles are closed by the destructor.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(Program&& other) noexcept;
  Program& operator=(Program&& other) noexcept;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts `commandLine` in the current folder. Returns false when it cannot start.
  bool start(const std::string& commandLine);
  // Starts `commandLine` with `folder` as its working folder.
  bool start(const std::string& commandLine, const std::string& folder);
  // Waits for the program to end; returns its exit code, or nothing on time-out.
  std::optional<DWORD> waitForExit(DWORD timeoutMs);
  // Ends the program forcibly (used when a test failed and it still runs).
  void kill();
  DWORD processId() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_ = {};
};

// Waits until a top-level window of that class and title (either may be null)
// belonging to the process exists and is visible. Returns it, or null on time-out.
HWND waitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs);

// Waits for a dialog (class "#32770") with that title owned by the process.
HWND waitForDialog(DWORD processId, const char* title, DWORD timeoutMs);

// What a sought dialog (class "#32770", visible) of the process must be;
// a field left at its default accepts any.
struct DialogQuery {
  const char* title = nullptr;
  HWND owner = nullptr;   // the window that owns it
  HWND except = nullptr;  // a dialog that does not count (the one already open)
  int control = 0;        // a control it must have
  bool enabled = false;   // it must take input
};
// The first dialog of the process that answers the query, waiting up to
// timeoutMs; null on time-out.
HWND waitForDialogWhere(DWORD processId, const DialogQuery& query, DWORD timeoutMs);

// The titles of the menu bar's items, in order ("&Datei", "&Suchen", ...).
std::vector<std::string> menuBarTitles(HWND window);

// The texts of the items of the popup at `position` of the menu bar (separators as "").
std::vector<std::string> popupItemTexts(HWND window, int position);

// The state flags (MF_GRAYED, MF_CHECKED, ...) of a menu item found by command id anywhere in the bar.
std::optional<UINT> menuItemState(HWND window, UINT commandId);

// The state flags of item `commandId` in the popup at `position`, read after
// the program prepared the popup as it does when the user opens it.
std::optional<UINT> preparedItemState(HWND window, int position, UINT commandId);
// A menu item as the user sees it once its menu is open: grayed, or there
// and not grayed, or checked. An item that is not there is none of these.
bool itemGrayed(HWND window, int position, UINT commandId);
bool itemEnabled(HWND window, int position, UINT commandId);
bool itemChecked(HWND window, int position, UINT commandId);

// The text of item `commandId` in the popup at `position` after the program
// prepared it (a key stands after a tab: "&Mineral\tStrg+1").
std::optional<std::string> preparedItemText(HWND window, int position, UINT commandId);

// Sends a menu or toolbar command as the menu would.
void sendCommand(HWND window, WORD commandId);

// Sets the text of a dialog control.
bool setControlText(HWND dialog, int controlId, const std::string& text);
// Reads the text of a window or control.
std::string windowText(HWND window);
// The description window: the main window's side window that is not the
// drawing window ("Kristallzeichnung"); nothing while it is closed.
HWND descriptionOf(HWND main);
// Clicks a button the way a user would (BM_CLICK).
bool clickButton(HWND dialog, int controlId);
// The items of a list box control.
std::vector<std::string> listBoxItems(HWND dialog, int controlId);

// A fresh working folder for one case, cases\<name> under the current folder:
// emptied, then given kalvor.exe, kalvor-cli.exe and the reference files of
// the current folder (no derived files, no collection, no kalvor.ini).
// Returns its full path, empty on failure.
std::string prepareCaseFolder(const std::string& name);

// Runs a program in `folder` and waits for it; its exit code, nothing on time-out.
std::optional<DWORD> runToEnd(const std::string& commandLine, const std::string& folder, DWORD timeoutMs);

// Runs `commandLine` in `folder` (kalvor-cli, typically) and waits for it;
// the lines of its standard output without their line ends.
std::vector<std::string> runForLines(const std::string& commandLine, const std::string& folder);

// Size and last write time of a file; nothing when it does not exist.
struct FileStamp {
  ULONGLONG size = 0;
  ULONGLONG written = 0;  // FILETIME as one number
  DWORD attributes = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
std::optional<FileStamp> fileStamp(const std::string& path);

// The texts of the direct children of a window, in z order.
std::vector<std::string> childTexts(HWND window);

// Waits until the program's user-interface thread answers a message again
// (its start-up and any modal work are over). False on time-out.
bool waitUntilResponsive(HWND window, DWORD timeoutMs);

// Starts kalvor.exe in `folder` and waits for its main window and for the end
// of its data start-up. Null (and the program killed) when it does not come up.
HWND startKalvor(Program& kalvor, const std::string& folder);

// Closes the program as the user would and returns its exit code (killed on time-out).
std::optional<DWORD> closeKalvor(Program& kalvor, HWND main);

// Waits until a dialog is gone (it ends asynchronously after a click); false on time-out.
bool waitUntilClosed(HWND dialog);

// Lets the program under test work off its messages for a while.
void settle(DWORD ms);

// Waits up to 20 s for `condition` to hold, asking every 25 ms. A posted
// command runs after the messages sent meanwhile: its effect is waited for.
template <typename Condition>
bool waitUntil(Condition condition) {
  for (int i = 0; i < 800; ++i) {
    if (condition()) return true;
    settle(25);
  }
  return false;
}

// Saves a picture of the window (PrintWindow, else the screen under it) as PNG.
bool saveScreenshot(HWND window, const std::string& path);

}  // namespace kalvor::uitest
