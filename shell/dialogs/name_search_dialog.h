// The dialog "Namensuche": the user types a mineral name (the list of all
// minerals follows the typing) or picks one from the list.
#pragma once

#include <cstdint>

#include "controls/list_control.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class NameSearchDialog final : public ModalDialog {
 public:
  // `lists` lends the dialog's list the mineral names.
  NameSearchDialog(HINSTANCE instance, const controls::ListEnvironment& lists)
      : ModalDialog(instance, "Namensuche"), lists_(lists) {}
  // The name-list id (MineralNumber + 1) chosen with "OK"; 0 after "Abbrechen".
  std::int32_t chosenMineral() const { return mineral_; }

 private:
  bool onInit() override;
  void onOk() override;

  const controls::ListEnvironment& lists_;
  std::int32_t mineral_ = 0;
};

}  // namespace kalvor::shell
