// One program per collection: a second kalvor.exe in the same folder brings
// the running window back (restored from the task bar, in front) and ends
// with exit code 0; while kalvor.exe has the collection open, a writing
// kalvor-cli command is refused and changes nothing, a reading one works.
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

UI_CASE(instance, secondStartActivatesTheFirstAndWritersWait) {
  const std::string folder = prepareCaseFolder("instance");
  UI_CHECK(!folder.empty());
  const std::string cli = folder + "\\kalvor-cli.exe";
  UI_CHECK_EQ(runToEnd(cli + " fundort neu --name \"Grube Clara\"", folder, 120000).value_or(99), 0u);

  Program first;
  const HWND main = startKalvor(first, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  ShowWindow(main, SW_MINIMIZE);
  settle(300);
  UI_CHECK(IsIconic(main));

  Program second;
  UI_CHECK(second.start(folder + "\\kalvor.exe", folder));
  const std::optional<DWORD> secondExit = second.waitForExit(60000);
  UI_CHECK(secondExit.has_value());
  UI_CHECK_EQ(secondExit.value_or(99), 0u);
  settle(300);
  // The first program runs on, its window restored and in front; no second main window.
  UI_CHECK(!first.waitForExit(0).has_value());
  UI_CHECK(!IsIconic(main));
  UI_CHECK(IsWindowVisible(main));
  UI_CHECK(GetForegroundWindow() == main);

  // The collection is kalvor.exe's while it runs.
  const std::optional<FileStamp> before = fileStamp(folder + "\\kalvor.fs");
  UI_CHECK(before.has_value());
  UI_CHECK_EQ(runToEnd(cli + " fundort neu --name Erzberg", folder, 120000).value_or(99), 1u);
  UI_CHECK(fileStamp(folder + "\\kalvor.fs") == before);
  UI_CHECK_EQ(runToEnd(cli + " fundort liste", folder, 120000).value_or(99), 0u);

  UI_CHECK_EQ(closeKalvor(first, main).value_or(99), 1u);
  UI_CHECK_EQ(runToEnd(cli + " fundort neu --name Erzberg", folder, 120000).value_or(99), 0u);
}
