#include "shell/keyboard_win.h"

#include <string>
#include <vector>

#include "views/accelerators.h"
#include "views/toolbar_model.h"

namespace kalvor::shell {

HACCEL createProgramAccelerators() {
  std::vector<ACCEL> keys;
  for (const views::Accelerator& a : views::acceleratorTable()) {
    BYTE flags = FVIRTKEY;
    if (a.modifiers & views::kKeyCtrl) flags |= FCONTROL;
    if (a.modifiers & views::kKeyAlt) flags |= FALT;
    if (a.modifiers & views::kKeyShift) flags |= FSHIFT;
    keys.push_back(ACCEL{flags, a.key, static_cast<WORD>(a.command)});
  }
  return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

void showKeysInMenu(HMENU menu, views::View view) {
  for (const auto& [id, key] : views::menuKeyTexts(view)) {
    char text[128] = "";
    if (GetMenuStringA(menu, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND) <= 0) continue;
    std::string shown = views::withKeyText(text, key);
    if (shown == text) continue;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = shown.data();
    SetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &item);
  }
}

bool keyMayRun(const AppContext& app, int command) {
  const auto kept = app.windows.toolbarStates.find(command);
  if (kept != app.windows.toolbarStates.end()) return views::keyMayRun(kept->second);
  // A state the command layer never set is the button table's.
  for (const views::ToolbarButton& button : views::programToolbarButtons())
    if (button.command == command && !(button.style & views::kTbSeparator))
      return views::keyMayRun(button.state);
  return true;
}

}  // namespace kalvor::shell
