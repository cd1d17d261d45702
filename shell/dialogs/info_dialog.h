// The Info dialog "InfoDialog": program name, version, where to obtain it,
// the sources of the mineral data with their licences, and two pictures of
// "logos.pf". Any command and the close box end it.
#pragma once

#include "refdb/picture_cache.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class InfoDialog final : public ModalDialog {
 public:
  InfoDialog(HINSTANCE instance, PictureCache& pictures)
      : ModalDialog(instance, "InfoDialog"), pictures_(pictures) {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onClose() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;

  // The program's cache of decoded pictures, shared with the start logo and the drawing window.
  PictureCache& pictures_;
};

}  // namespace kalvor::shell
