#include "shell/description_window.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"
#include "shell/window_layout.h"
#include "views/view_state.h"
#include "win32/gdi_objects.h"
#include "win32/strings.h"

namespace kalvor::shell {
namespace {

// The side windows stand below the toolbar's strip.
constexpr int kSideWindowTop = 27;
// A first opening leaves this much of the main client area to the list.
constexpr int kListShare = 200;

RECT mainClient(const AppContext& app) {
  RECT r = {};
  GetClientRect(app.windows.main, &r);
  return r;
}

}  // namespace

void DescriptionWindowDeleter::operator()(DescriptionWindow* window) const { delete window; }

DescriptionWindow::DescriptionWindow(AppContext& app) : ModelessDialog(app.windows.instance, "LeerBox"), app_(app) {}

bool DescriptionWindow::open() {
  if (isOpen()) return true;
  paintingSuppressed_ = true;
  const bool made = create(app_.windows.main, &app_.windows.modelessDialogs);
  if (made) {
    app_.windows.description = window();
    ShowWindow(window(), SW_SHOW);
  }
  paintingSuppressed_ = false;
  if (made) InvalidateRect(window(), nullptr, TRUE);
  return made;
}

void DescriptionWindow::rebuild() {
  page_.valid = false;
  text_.width = -1;
  shownEntry_ = -1;
}

HWND DescriptionWindow::focusTarget() const { return scrollBar_ ? scrollBar_ : window(); }

bool DescriptionWindow::onInit() {
  const RECT client = mainClient(app_);
  if (saved_.right - saved_.left <= 0) saved_ = {0, 0, client.right - kListShare, 0};
  // The saved width is a client width: grow it by the frame of the window's style.
  RECT frame = {0, 0, saved_.right - saved_.left, 100};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(window(), GWL_EXSTYLE)));
  MoveWindow(window(), 0, kSideWindowTop, frame.right - frame.left, client.bottom - kSideWindowTop, FALSE);
  GetClientRect(window(), &saved_);
  SetWindowTextA(window(), win32::loadString(instance(), views::kTitleMineral).c_str());
  shown_ = views::DescriptionKind::None;
  page_ = {};
  text_ = {};
  shownEntry_ = -1;
  scrollBar_ = nullptr;
  scrollBarId_ = 0;
  // The list keeps the keyboard; Tab or F6 lead here.
  return false;
}

bool DescriptionWindow::onCommand(int id, int /*code*/) {
  if (id != CMD_DESC_REFRESH) return false;
  // An entry dialog changed the collection: the page is read and drawn anew.
  rebuild();
  const win32::WindowDc dc(window());
  if (dc.get()) {
    RECT client;
    GetClientRect(window(), &client);
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_WINDOW));
  }
  InvalidateRect(window(), nullptr, FALSE);
  UpdateWindow(window());
  return true;
}

bool DescriptionWindow::onClose() {
  // The glossary is read here: in its view the window stays.
  if (app_.views.descriptionKind == views::DescriptionKind::Glossary) return true;
  if (app_.windows.drawing) DestroyWindow(app_.windows.drawing);
  destroy();
  WinHost host(app_);
  views::ViewController controller(app_.views, host.ports());
  controller.refreshToolbar();
  return true;
}

void DescriptionWindow::onDestroy() {
  app_.windows.description = nullptr;
  app_.windows.describedEntry = -1;
  app_.windows.describedMineral = -1;
  removeScrollBar();
  placeListWindow(app_);
  if (const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW)) {
    SetFocus(list);
    SendMessageA(list, controls::kListSetLetterTarget, 0, 0);
  }
  page_ = {};
  links_.clear();
  levels_.clear();
  shown_ = views::DescriptionKind::None;
}

void DescriptionWindow::onDestroyed() { app_.windows.description = nullptr; }

void DescriptionWindow::onMinMaxInfo(MINMAXINFO& info) const {
  const RECT client = mainClient(app_);
  const int average = app_.display.fonts.averageCharWidth();
  if (widestName_ < 0 && app_.data.reference) {
    // Measured once: the limits keep the widest name readable in the list.
    widestName_ = 0;
    const win32::WindowDc dc(window());
    const win32::ScopedSelectObject font(dc.get(), app_.display.fonts.font(FontSlot::kText));
    for (const NameListNode& node : app_.data.reference->names().nodes()) {
      SIZE size = {};
      GetTextExtentPoint32A(dc.get(), node.name.data(), static_cast<int>(node.name.size()), &size);
      widestName_ = std::max(widestName_, static_cast<int>(size.cx));
    }
  }
  const int widest = std::max(widestName_, 0);
  const int height = client.bottom - kSideWindowTop;
  info.ptMinTrackSize.x = std::max(1, static_cast<int>(client.right - average * 29 / 4 - widest));
  info.ptMaxTrackSize.x = std::max(static_cast<int>(info.ptMinTrackSize.x), static_cast<int>(client.right - widest / 2));
  info.ptMinTrackSize.y = height;
  info.ptMaxTrackSize.y = height;
}

void DescriptionWindow::onSize() {
  followWithDrawing();
  placeListWindow(app_);
  RECT client;
  GetClientRect(window(), &client);
  if (client.right > 0) saved_ = client;
  rebuild();
  InvalidateRect(window(), nullptr, TRUE);
}

void DescriptionWindow::followWithDrawing() {
  const HWND drawing = app_.windows.drawing;
  if (!drawing) return;
  // The drawing window starts at this window's right edge and keeps its height,
  // so neither covers the other whichever of them was made first.
  RECT own;
  RECT other;
  GetWindowRect(window(), &own);
  GetWindowRect(drawing, &other);
  MapWindowPoints(nullptr, app_.windows.main, reinterpret_cast<POINT*>(&own), 2);
  MapWindowPoints(nullptr, app_.windows.main, reinterpret_cast<POINT*>(&other), 2);
  const RECT client = mainClient(app_);
  if (other.left == own.right && other.right == client.right) return;
  MoveWindow(drawing, own.right, kSideWindowTop, std::max(0, static_cast<int>(client.right - own.right)),
             other.bottom - other.top, TRUE);
}

bool DescriptionWindow::onSetCursor() {
  if (shown_ != views::DescriptionKind::Mineral) return false;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(window(), &at);
  if (!levels_.openableAt(links_, at.x, at.y)) return false;
  const HCURSOR hand = LoadCursorA(instance(), MAKEINTRESOURCEA(IDC_LINK_HAND));
  SetCursor(hand ? hand : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

void DescriptionWindow::onDoubleClick(int x, int y) {
  if (shown_ != views::DescriptionKind::Mineral) return;
  const std::optional<std::size_t> link = levels_.openableAt(links_, x, y);
  if (!link || !levels_.open(*link, links_[*link].kind)) return;
  // The drawings are looked up afresh once the drawing window exists; it starts again.
  if (app_.windows.drawing) SendMessageA(app_.windows.drawing, WM_COMMAND, CMD_DRAWING_RESTART, 0);
  InvalidateRect(window(), nullptr, FALSE);
  UpdateWindow(window());
}

bool DescriptionWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return true;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
      erased_ = true;
      result = 1;
      return true;
    }
    case WM_VSCROLL:
      onVScroll(wParam);
      return true;
    case WM_GETMINMAXINFO:
      onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) onSize();
      return true;
    case WM_SYSCOMMAND:
      // The window stands where the layout puts it: it cannot be dragged.
      return (wParam & 0xFFF0) == SC_MOVE;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || !onSetCursor()) return false;
      result = TRUE;
      return true;
    case WM_LBUTTONDBLCLK:
      onDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONDOWN:
      // A click gives the window the keyboard, so the keys scroll it.
      SetFocus(focusTarget());
      return true;
    case WM_DESTROY:
      onDestroy();
      return true;
    default:
      return false;
  }
}

}  // namespace kalvor::shell
