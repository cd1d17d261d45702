// Backups at exit: kalvor.exe keeps a generation of a changed collection in
// "Sicherung" when it ends normally, and none when nothing changed.
#include "tests/gui/file_dialog_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

void removeGenerations(const std::string& folder) {
  runToEnd("cmd /c rmdir /s /q \"" + folder + "\\Sicherung\"", folder, 60000);
}

}  // namespace

UI_CASE(backup, generationAtExitOnlyAfterAChange) {
  const std::string folder = prepareCaseFolder("backup_exit");
  UI_CHECK(!folder.empty());
  if (folder.empty()) return;
  removeGenerations(folder);  // an earlier run's
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Grube Clara\" --ort Oberwolfach",
                       folder, 60000)
                  .value_or(99),
              0u);
  // The command line kept its own generation; without it the collection is
  // unsaved, and the program's exit must keep it.
  UI_CHECK_EQ(backupGenerations(folder), 1);
  removeGenerations(folder);
  UI_CHECK_EQ(backupGenerations(folder), 0);
  {
    Program kalvor;
    const HWND main = startKalvor(kalvor, folder);
    UI_CHECK(main != nullptr);
    if (!main) return;
    UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  }
  UI_CHECK_EQ(backupGenerations(folder), 1);
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe sicherung liste", folder, 60000).value_or(99), 0u);
  // A run without a change keeps no further generation.
  {
    Program kalvor;
    const HWND main = startKalvor(kalvor, folder);
    UI_CHECK(main != nullptr);
    if (!main) return;
    UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  }
  UI_CHECK_EQ(backupGenerations(folder), 1);
}
