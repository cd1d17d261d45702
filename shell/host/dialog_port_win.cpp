#include "shell/dialogs/info_dialog.h"
#include "shell/dialogs/name_search_dialog.h"
#include "shell/dialogs/options_dialog.h"
#include "shell/font_table.h"
#include "shell/host/win_ports.h"
#include "win32/strings.h"

namespace kalvor::shell {

std::optional<std::int32_t> WinDialogs::runNameSearch() {
  NameSearchDialog dialog(app_.instance);
  if (dialog.run(app_.mainWindow) != 1 || dialog.chosenMineral() == 0) return std::nullopt;
  return dialog.chosenMineral();
}

void WinDialogs::runInfo() { InfoDialog(app_.instance).run(app_.mainWindow); }

bool WinDialogs::runOptions() {
  OptionsDialogHooks hooks;
  hooks.recreateFonts = [this](bool) { recreateFontTable(app_.fonts, *app_.settings); };
  OptionsDialog dialog(app_.instance, *app_.settings, screenWidth(), std::move(hooks));
  return dialog.run(app_.mainWindow) == 1;
}

bool WinDialogs::askYesNo(int textId, int captionId) {
  return MessageBoxA(app_.mainWindow, win32::loadString(app_.instance, textId).c_str(),
                     win32::loadString(app_.instance, captionId).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kalvor::shell
