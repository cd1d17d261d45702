#include "shell/bubble_help.h"

#include <algorithm>

#include "refdb/strings.h"
#include "resources/resource_ids.h"
#include "shell/toolbar_window.h"
#include "win32/window_class.h"

namespace kalvor::shell {
namespace {

// What the popup needs to paint itself.
struct BubbleLook {
  std::string text;
  HFONT font = nullptr;
  int padX = 0;
  int padY = 0;
  int radiusX = 0;
  int radiusY = 0;
};

BubbleLook* lookOf(HWND popup) {
  return reinterpret_cast<BubbleLook*>(GetWindowLongPtrA(popup, GWLP_USERDATA));
}

void paintBubble(HWND popup) {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(popup, &ps);
  const BubbleLook* look = lookOf(popup);
  RECT rc;
  GetClientRect(popup, &rc);
  if (look) {
    const HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    RoundRect(dc, 0, 0, rc.right, rc.bottom, 2 * look->radiusX, 2 * look->radiusY);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    const HGDIOBJ oldFont = look->font ? SelectObject(dc, look->font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text = {look->padX, look->padY, rc.right - look->padX, rc.bottom - look->padY};
    DrawTextA(dc, look->text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
  }
  EndPaint(popup, &ps);
}

LRESULT CALLBACK bubbleProc(HWND popup, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new BubbleLook));
      break;
    case WM_NCDESTROY:
      delete lookOf(popup);
      SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
      break;
    case WM_PAINT:
      paintBubble(popup);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      // The mouse goes through to the window below.
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return DefWindowProcA(popup, msg, wParam, lParam);
}

// Mouse, keyboard and command messages end a rest; painting and the like do not.
bool isInput(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_ACTIVATE:
    case WM_PARENTNOTIFY:
    case WM_INITMENU:
    case WM_ENTERMENULOOP:
    case WM_CONTEXTMENU:
    case WM_MOVE:
    case WM_SIZE:
    case WM_NEXTDLGCTL:
      return true;
    default:
      return false;
  }
}

}  // namespace

BubbleHelp::BubbleHelp(HINSTANCE instance) : instance_(instance) {
  WNDCLASSA wc = {};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = bubbleProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kBubbleClass;
  if (win32::registerWindowClass(wc)) {
    popup_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kBubbleClass, "", WS_POPUP,
                             0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  }
  DialogBase::setMessageObserver(this);
}

BubbleHelp::~BubbleHelp() {
  DialogBase::setMessageObserver(nullptr);
  if (popup_) DestroyWindow(popup_);
}

void BubbleHelp::setEnabled(bool on) {
  enabled_ = on;
  // A shown bubble may be one the option no longer allows.
  tracker_.dismiss();
  for (auto& [window, seen] : seen_) {
    (void)window;
    seen.cursor = POINT{-1, -1};
  }
}

void BubbleHelp::startTimer(std::uintptr_t window, unsigned id) {
  SetTimer(reinterpret_cast<HWND>(window), id, views::kHoverTimerMs, nullptr);
}

void BubbleHelp::killTimer(std::uintptr_t window, unsigned id) {
  KillTimer(reinterpret_cast<HWND>(window), id);
  seen_.erase(reinterpret_cast<HWND>(window));
}

void BubbleHelp::hideBubble() {
  if (popup_ && IsWindowVisible(popup_)) ShowWindow(popup_, SW_HIDE);
}

bool BubbleHelp::moved(HWND window) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  const HWND focus = GetFocus();
  Seen& seen = seen_[window];
  const bool changed = cursor.x != seen.cursor.x || cursor.y != seen.cursor.y || focus != seen.focus;
  seen.cursor = cursor;
  seen.focus = focus;
  return changed;
}

bool BubbleHelp::message(HWND window, UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
  const std::uintptr_t w = handle(window);
  if (msg == WM_DESTROY) {
    tracker_.windowDestroyed(w);
    return false;
  }
  if (!tracker_.registered(w)) return false;
  if (msg == WM_TIMER && wParam == tracker_.timerId(w)) {
    tracker_.tick(w, static_cast<unsigned>(wParam), !moved(window));
    return true;
  }
  if (msg == WM_SETCURSOR || msg == WM_MOUSEMOVE) {
    if (moved(window)) tracker_.activity(w);
  } else if (isInput(msg)) {
    tracker_.activity(w);
  }
  return false;
}

bool BubbleHelp::mainWindowMessage(HWND main, UINT msg, WPARAM wParam, LPARAM lParam) {
  return message(main, msg, wParam, lParam);
}

bool BubbleHelp::dialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, bool modeless) {
  if (msg == WM_INITDIALOG) {
    tracker_.registerWindow(
        handle(dialog), modeless ? views::HoverTracker::Kind::Modeless : views::HoverTracker::Kind::Modal);
    return false;
  }
  return message(dialog, msg, wParam, lParam);
}

bool BubbleHelp::showBubble(std::uintptr_t registered) {
  const HWND window = reinterpret_cast<HWND>(registered);
  POINT cursor = {};
  GetCursorPos(&cursor);
  const HWND under = WindowFromPoint(cursor);
  if (!under || under == window || under == popup_ || !IsChild(window, under)) return false;
  if (GetDlgCtrlID(under) == ID_TOOLBAR && isToolbar(under)) {
    const std::string text = toolbarTextAt(under, cursor);
    if (text.empty()) return false;
    RECT bar;
    GetWindowRect(under, &bar);
    const RECT anchor = {cursor.x, bar.top, cursor.x + 1, bar.bottom + 2};
    return show(window, text, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), anchor, cursor);
  }
  if (!enabled_) return false;
  // A control inside a control (the edit of a combo box) stands for its parent.
  HWND control = under;
  while (GetParent(control) && GetParent(control) != window) control = GetParent(control);
  const int id = GetDlgCtrlID(control);
  if (id == 0) return false;
  const HWND focus = GetFocus();
  if (!focus || (focus != control && !IsChild(control, focus))) return false;
  const auto text = controlHelpText(id);
  if (!text) return false;
  RECT anchor;
  GetWindowRect(control, &anchor);
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return show(window, *text, font, anchor, cursor);
}

bool BubbleHelp::show(HWND /*window*/, const std::string& text, HFONT font, RECT anchor, POINT cursor) {
  BubbleLook* look = popup_ ? lookOf(popup_) : nullptr;
  if (!look) return false;
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  const int avg = std::max<int>(1, tm.tmAveCharWidth);
  const int line = std::max<int>(1, tm.tmHeight);
  // Long help texts wrap at half the screen, so the box stays beside the cursor.
  RECT measure = {0, 0, std::max(25 * avg, screenW / 2), 0};
  DrawTextA(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  look->text = text;
  look->font = font;
  look->padX = avg / 2;
  look->padY = line / 4;
  look->radiusX = avg / 2;
  look->radiusY = line / 4;
  const int width = std::max<int>(measure.right, 25 * avg) + 2 * look->padX + 1;
  const int height = measure.bottom + 2 * look->padY + 1;
  // Right of the cursor when it fits, else left; below the anchor when it fits, else above.
  const views::BubblePosition at =
      views::placeBubble(cursor.x, anchor.top, anchor.bottom, width, height, line, screenW, screenH);
  const int x = at.x;
  const int y = at.y;
  SetWindowTextA(popup_, text.c_str());
  const HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, 2 * look->radiusX, 2 * look->radiusY);
  SetWindowRgn(popup_, region, FALSE);  // the window owns the region now
  SetWindowPos(popup_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(popup_, nullptr, TRUE);
  UpdateWindow(popup_);
  return true;
}

}  // namespace kalvor::shell
