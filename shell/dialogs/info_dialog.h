// The Info dialog "InfoDialog": program name, version, where to obtain it,
// the sources of the mineral data with their licences, and two pictures of
// "logos.pf". Any command and the close box end it.
#pragma once

#include "shell/dialog.h"

namespace kalvor::shell {

class InfoDialog final : public ModalDialog {
 public:
  explicit InfoDialog(HINSTANCE instance) : ModalDialog(instance, "InfoDialog") {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onClose() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
};

}  // namespace kalvor::shell
