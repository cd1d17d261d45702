// The options dialog "OptionsDialog": the display options of "kalvor.ini".
#pragma once

#include <windows.h>

#include <functional>

#include "platform/settings.h"

namespace kalvor::shell {

// What the dialog asks of the program when "&OK" is pressed; either may be empty.
struct OptionsDialogHooks {
  // Creates the font table anew (small fonts as given) after "Kleine
  // Zeichensätze" is written; the dialog then invalidates the owner.
  std::function<void(bool smallFonts)> recreateFonts;
  // Turns bubble help on or off after "Blasenhilfe" is written.
  std::function<void(bool on)> switchBubbleHelp;
};

// Runs the modal dialog over `owner` (centred over its client area) with the
// options from `settings`; `screenWidth` decides the default of small fonts.
// Returns 1 after "&OK" (options written, hooks called), 0 after "&Abbrechen"
// or when the dialog cannot be shown.
int runOptionsDialog(HWND owner, HINSTANCE instance, Settings& settings, int screenWidth,
                     const OptionsDialogHooks& hooks);

}  // namespace kalvor::shell
