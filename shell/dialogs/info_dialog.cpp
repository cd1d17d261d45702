#include "shell/dialogs/info_dialog.h"

#include "resources/resource_ids.h"
#include "string_ids.h"
#include "shell/logo.h"

namespace kalvor::shell {

bool InfoDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  return true;
}

bool InfoDialog::onCommand(int, int) {
  end(1);
  return true;
}

bool InfoDialog::onClose() {
  // The close box sends no command; it ends the dialog the same way.
  end(1);
  return true;
}

// Draws one picture of "logos.pf" into an owner-drawn frame; a repaint takes
// it decoded from the program's picture cache.
bool InfoDialog::onDrawItem(const DRAWITEMSTRUCT& frame) {
  if (frame.CtlID != ID_INFO_PICTURE && frame.CtlID != ID_INFO_CAPTIONED_PICTURE) return false;
  FillRect(frame.hDC, &frame.rcItem, GetSysColorBrush(COLOR_WINDOW));
  RECT edge = frame.rcItem;
  DrawEdge(frame.hDC, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const bool captioned = frame.CtlID == ID_INFO_CAPTIONED_PICTURE;
  const Picture* picture =
      cachedPictureAtSlot(pictures_, "logos.pf", captioned ? kInfoCaptionedPictureSlot : kInfoPictureSlot);
  if (picture) drawPictureInFrame(frame.hDC, *picture, edge, captioned ? text(strings::kStrInfoPictureCaption) : std::string());
  return true;
}

}  // namespace kalvor::shell
