// The options dialog "OptionsDialog": the display options of "kalvor.ini".
#pragma once

#include <functional>

#include "platform/settings.h"
#include "shell/dialog.h"
#include "views/options.h"

namespace kalvor::shell {

// What the dialog asks of the program when "&OK" is pressed; either may be empty.
struct OptionsDialogHooks {
  // Creates the font table anew (small fonts as given) after "Kleine
  // Zeichensätze" is written; the dialog then invalidates the owner.
  std::function<void(bool smallFonts)> recreateFonts;
  // Turns bubble help on or off after "Blasenhilfe" is written.
  std::function<void(bool on)> switchBubbleHelp;
};

// Shows the options from `settings`; "&OK" writes them and calls the hooks,
// ending with 1; "&Abbrechen" ends with 0 and writes nothing.
class OptionsDialog final : public ModalDialog {
 public:
  // `screenWidth` decides the default of small fonts.
  OptionsDialog(HINSTANCE instance, Settings& settings, int screenWidth, OptionsDialogHooks hooks)
      : ModalDialog(instance, "OptionsDialog"), settings_(settings), screenWidth_(screenWidth),
        hooks_(std::move(hooks)) {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  void show(const views::OptionsDialogState& state);
  views::OptionsDialogState read() const;

  Settings& settings_;
  int screenWidth_;
  OptionsDialogHooks hooks_;
};

}  // namespace kalvor::shell
