// The description window's scroll bars (one at a time: 1233 for a mineral
// page, 1230 for a locality or specimen page, 1231 for laid-out text) and
// the keys that lead between the list and the window.
#include <algorithm>

#include "determination/laid_out_text.h"
#include "resources/resource_ids.h"
#include "shell/description_window.h"

namespace kalvor::shell {
namespace {

// Lines a page step moves.
constexpr int kPageStep = 5;

}  // namespace

int DescriptionWindow::scrollBarWidth() const { return app_.display.fonts.averageCharWidth() * 10 / 4; }

void DescriptionWindow::removeScrollBar() {
  if (!scrollBar_) return;
  const bool hadFocus = GetFocus() == scrollBar_;
  DestroyWindow(scrollBar_);
  scrollBar_ = nullptr;
  scrollBarId_ = 0;
  // The keyboard stays in the window.
  if (hadFocus && window()) SetFocus(window());
}

int DescriptionWindow::placeScrollBar(int id, int last, int position) {
  if (last <= 0) {
    removeScrollBar();
    return 0;
  }
  if (scrollBar_ && scrollBarId_ != id) removeScrollBar();
  RECT client;
  GetClientRect(window(), &client);
  const int width = scrollBarWidth();
  if (!scrollBar_) {
    scrollBar_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_VERT,
                                 client.right - width, 0, width, client.bottom, window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    scrollBarId_ = scrollBar_ ? id : 0;
  } else {
    RECT now;
    GetWindowRect(scrollBar_, &now);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != client.right - width || now.bottom - now.top != client.bottom)
      MoveWindow(scrollBar_, client.right - width, 0, width, client.bottom, TRUE);
  }
  if (!scrollBar_) return 0;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = 0;
  info.nMax = last;
  info.nPos = position;
  SetScrollInfo(scrollBar_, SB_CTL, &info, TRUE);
  return width;
}

void DescriptionWindow::onVScroll(WPARAM wParam) {
  if (!scrollBar_) return;
  int& first = scrollBarId_ == ID_DESC_TEXT_SCROLL ? text_.first : page_.first;
  const int last = scrollBarId_ == ID_DESC_TEXT_SCROLL ? text_.last : page_.last;
  int position = first;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: position -= 1; break;
    case SB_LINEDOWN: position += 1; break;
    case SB_PAGEUP: position -= kPageStep; break;
    case SB_PAGEDOWN: position += kPageStep; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(scrollBar_, SB_CTL, &info);
      position = info.nTrackPos;
      break;
    }
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = last; break;
    default: return;
  }
  position = clampScrollLine(position, last);
  if (position == first) return;
  first = position;
  SetScrollPos(scrollBar_, SB_CTL, first, TRUE);
  InvalidateRect(window(), nullptr, FALSE);
  UpdateWindow(window());
}

bool switchPaneByKey(AppContext& app, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_F6)) return false;
  DescriptionWindow* description = app.windows.descriptionWindow.get();
  if (!description || !app.windows.description) return false;
  const HWND list = GetDlgItem(app.windows.main, ID_LIST_WINDOW);
  // Keys go to the window with the keyboard focus, so the message's window is
  // the pane the user is in, even while the main window is not the active one.
  const HWND focus = msg.hwnd;
  if (list && focus == list) {
    SetFocus(description->focusTarget());
    return true;
  }
  if (focus && (focus == app.windows.description || IsChild(app.windows.description, focus))) {
    if (list) SetFocus(list);
    return true;
  }
  return false;
}

}  // namespace kalvor::shell
