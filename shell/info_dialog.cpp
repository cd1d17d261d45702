#include "shell/info_dialog.h"

#include "shell/logo.h"
#include "shell/progress_dialog.h"
#include "shell/startup_win.h"

namespace kalvor::shell {
namespace {

// Draws one picture of "logos.pf" into an owner-drawn frame. The file is read
// on each paint: the dialog is rare and the pictures are small.
void drawFrame(const AppContext& app, const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
  RECT edge = item.rcItem;
  DrawEdge(item.hDC, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const bool captioned = item.CtlID == kInfoCaptionedPictureFrame;
  const std::optional<Picture> picture =
      readPictureAtSlot("logos.pf", captioned ? kInfoCaptionedPictureSlot : kInfoPictureSlot);
  if (!picture) return;
  drawPictureInFrame(item.hDC, *picture, edge, captioned ? loadString(app, kInfoPictureCaption) : std::string());
}

INT_PTR CALLBACK infoDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const auto* app = reinterpret_cast<const AppContext*>(lParam);
      centreOverClientArea(dialog, app->mainWindow);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* app = reinterpret_cast<const AppContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (!app) return FALSE;
      drawFrame(*app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    }
    case WM_COMMAND:
      EndDialog(dialog, 1);
      return TRUE;
    case WM_CLOSE:
      // The close box sends no command; it ends the dialog the same way.
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int runInfoDialog(AppContext& app) {
  DialogBoxParamA(app.instance, "InfoDialog", app.mainWindow, infoDialogProc, reinterpret_cast<LPARAM>(&app));
  return 1;
}

}  // namespace kalvor::shell
