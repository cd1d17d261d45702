#include "shell/drawing_window.h"

#include <windowsx.h>

#include <algorithm>
#include <numbers>

#include "controls/list_control.h"
#include "crystal/drawing_preparation.h"
#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"
#include "shell/window_layout.h"
#include "string_ids.h"
#include "win32/gdi_objects.h"
#include "win32/strings.h"

namespace kalvor::shell {
namespace {

// The side windows stand below the toolbar's strip.
constexpr int kSideWindowTop = 27;
// Width of a drawing window opened without the description window.
constexpr int kLoneWidth = 200;
// One press of an arrow key turns the crystal by 5 degrees; a drag by 0.5 degrees a pixel.
constexpr double kKeyStep = std::numbers::pi / 36;
constexpr double kDragStep = std::numbers::pi / 360;

constexpr const char* kSourceCaption = "Kristallzeichnungs-Informationen";

RECT mainClient(const AppContext& app) {
  RECT r = {};
  GetClientRect(app.windows.main, &r);
  return r;
}

// The outer rectangle of a child of the main window in its client coordinates.
RECT rectInMain(const AppContext& app, HWND child) {
  RECT r = {};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, app.windows.main, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The description window reaches from the left edge to `right`, below the toolbar strip.
void fitDescription(const AppContext& app, int right) {
  if (!app.windows.description) return;
  const RECT client = mainClient(app);
  SetWindowPos(app.windows.description, nullptr, 0, kSideWindowTop, std::max(0, right),
               std::max(0, static_cast<int>(client.bottom) - kSideWindowTop), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

DrawingWindow::DrawingWindow(AppContext& app) : ModelessDialog(app.windows.instance, "LeerBox"), app_(app) {}

bool DrawingWindow::open() {
  if (isOpen()) return true;
  if (!create(app_.windows.main, &app_.windows.modelessDialogs)) return false;
  ShowWindow(window(), SW_SHOW);
  // Without the description window the list tells this window of its new selections.
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  if (list && !app_.windows.description)
    SendMessageA(list, controls::kListSetLetterTarget, 0, reinterpret_cast<LPARAM>(window()));
  return true;
}

bool DrawingWindow::onInit() {
  app_.windows.drawing = window();
  const RECT client = mainClient(app_);
  int left = client.right - kLoneWidth;
  if (app_.windows.description) left = rectInMain(app_, app_.windows.description).right;
  RECT own = {};
  GetWindowRect(window(), &own);
  saved_ = {};
  index_ = 0;
  shownMineral_ = -1;
  turned_.reset();
  for (const auto& [id, text] : {std::pair{ID_DRAWING_PREVIOUS, "<<"}, std::pair{ID_DRAWING_SOURCE, "i"},
                                 std::pair{ID_DRAWING_NEXT, ">>"}}) {
    CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, window(),
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SendMessageA(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  SetWindowTextA(window(), text(strings::kStrCrystalDrawing).c_str());
  MoveWindow(window(), left, kSideWindowTop, client.right - left, own.bottom - own.top, FALSE);
  saved_ = rectInMain(app_, window());
  layoutButtons();
  // The list keeps the keyboard.
  return false;
}

void DrawingWindow::layoutButtons() {
  RECT client = {};
  GetClientRect(window(), &client);
  const int average = app_.display.fonts.averageCharWidth();
  const int row = app_.display.fonts.lineHeight() * 10 / 8;
  const int w = client.right;
  const int top = client.bottom - row;
  MoveWindow(item(ID_DRAWING_PREVIOUS), 0, top, std::max(0, w / 2 - 8 * average / 4), row, TRUE);
  MoveWindow(item(ID_DRAWING_SOURCE), w / 2 - 6 * average / 4, top, 12 * average / 4, row, TRUE);
  const int nextLeft = w / 2 + 8 * average / 4;
  MoveWindow(item(ID_DRAWING_NEXT), nextLeft, top, std::max(0, w - nextLeft), row, TRUE);
}

RECT DrawingWindow::drawingArea() const {
  RECT area = {};
  GetClientRect(window(), &area);
  area.bottom = std::max(area.top, area.bottom - app_.display.fonts.lineHeight() * 10 / 8);
  return area;
}

void DrawingWindow::onSize() {
  layoutButtons();
  const RECT now = rectInMain(app_, window());
  const bool changed = now.left != saved_.left || now.right - now.left != saved_.right - saved_.left ||
                       now.bottom - now.top != saved_.bottom - saved_.top;
  if (changed) {
    saved_ = now;
    fitDescription(app_, now.left);
    placeListWindow(app_);
  }
  // The drawings are scaled anew for the new area.
  prepared_.assign(prepared_.size(), std::nullopt);
  InvalidateRect(window(), nullptr, TRUE);
}

void DrawingWindow::onPositionChanging(WINDOWPOS& pos) {
  if (pos.flags & SWP_NOMOVE) return;
  pos.y = kSideWindowTop;
  if (pos.x == saved_.left) return;
  saved_.right += pos.x - saved_.left;
  saved_.left = pos.x;
  fitDescription(app_, pos.x);
}

void DrawingWindow::onMinMaxInfo(MINMAXINFO& info) const {
  const RECT client = mainClient(app_);
  if (widestName_ < 0 && app_.data.reference) {
    // Measured once: the limits follow the widest name of the list.
    widestName_ = 0;
    const win32::WindowDc dc(window());
    const win32::ScopedSelectObject font(dc.get(), app_.display.fonts.font(FontSlot::kText));
    for (const NameListNode& node : app_.data.reference->names().nodes()) {
      SIZE size = {};
      GetTextExtentPoint32A(dc.get(), node.name.data(), static_cast<int>(node.name.size()), &size);
      widestName_ = std::max(widestName_, static_cast<int>(size.cx));
    }
  }
  if (widestName_ > 0) {
    info.ptMinTrackSize.x = widestName_ / 2;
    info.ptMaxTrackSize.x = 29 * app_.display.fonts.averageCharWidth() / 4 + widestName_;
  }
  info.ptMinTrackSize.y = client.bottom / 4;
  info.ptMaxTrackSize.y = client.bottom * 3 / 4;
}

void DrawingWindow::fetch(bool force) {
  const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW);
  std::int32_t mineral =
      list && app_.data.reference ? static_cast<std::int32_t>(controls::listSelectedMineral(list)) - 1 : -1;
  // An alias's page describes the mineral it leads to: its drawings are that mineral's.
  if (mineral >= 0 && app_.windows.description && app_.windows.describedEntry == mineral + 1)
    mineral = app_.windows.describedMineral;
  if (!force && mineral == shownMineral_) return;
  shownMineral_ = mineral;
  index_ = 0;
  turned_.reset();
  block_.reset();
  forms_.reset();
  pictureList_.clear();
  prepared_.clear();
  if (mineral < 0) return;
  const ReferenceData& data = *app_.data.reference;
  const auto n = static_cast<MineralNumber>(mineral);
  if (data.drawings()) block_ = data.drawings()->drawingBlockFor(n);
  if (block_ && block_->drawings.empty()) block_.reset();
  if (data.pictures() && data.pictureLists()) pictureList_ = data.pictureLists()->pictureListFor(n);
  prepared_.resize(static_cast<std::size_t>(drawingCount()));
  if (!formsFileTried_) {
    formsFileTried_ = true;
    formsFile_ = crystal::FormsFile::open(data.folder());
  }
  if (block_ && formsFile_) forms_ = formsFile_->formsFor(n);
}

void DrawingWindow::step(int delta) {
  SendMessageA(window(), WM_NCACTIVATE, TRUE, 0);
  const int next = index_ + delta;
  if (next < 0 || next >= itemCount()) return;
  index_ = next;
  turned_.reset();
  InvalidateRect(window(), nullptr, TRUE);
  UpdateWindow(window());
}

void DrawingWindow::showSource() {
  if (!block_ || index_ >= drawingCount()) return;
  const std::string info =
      crystal::drawingSourceText(block_->sources[static_cast<std::size_t>(index_)], forms_);
  MessageBoxA(window(), info.c_str(), kSourceCaption, MB_ICONINFORMATION);
}

bool DrawingWindow::onCommand(int id, int /*code*/) {
  switch (id) {
    case ID_DRAWING_NEXT:
      step(1);
      break;
    case ID_DRAWING_PREVIOUS:
      step(-1);
      break;
    case ID_DRAWING_SOURCE:
      showSource();
      break;
    case CMD_DRAWING_RESTART:
      // The description window shows another mineral: start again with its first drawing.
      fetch(true);
      InvalidateRect(window(), nullptr, TRUE);
      return true;
    default:
      return false;
  }
  // The window keeps the keyboard after a click on a button, so the arrows turn the crystal.
  SetFocus(window());
  return true;
}

crystal::TurnableDrawing* DrawingWindow::turnable() {
  if (turned_ && turnedIndex_ == index_) return &*turned_;
  turned_.reset();
  if (!block_ || !forms_ || index_ >= drawingCount()) return nullptr;
  const DrawingSource& source = block_->sources[static_cast<std::size_t>(index_)];
  // Only computed drawings carry the forms they were computed from; the figure is the view + 1.
  if (source.volume() != crystal::kComputedVolume || source.figure() == 0) return nullptr;
  turned_ = crystal::TurnableDrawing::make(*forms_, static_cast<std::uint8_t>(source.figure() - 1));
  turnedIndex_ = index_;
  return turned_ ? &*turned_ : nullptr;
}

void DrawingWindow::turn(double aboutVertical, double aboutHorizontal) {
  crystal::TurnableDrawing* drawing = turnable();
  if (!drawing) return;
  drawing->turn(aboutVertical, aboutHorizontal);
  const RECT area = drawingArea();
  InvalidateRect(window(), &area, TRUE);
  UpdateWindow(window());
}

bool DrawingWindow::onKey(WPARAM key) {
  switch (key) {
    case VK_LEFT:
      turn(-kKeyStep, 0);
      return true;
    case VK_RIGHT:
      turn(kKeyStep, 0);
      return true;
    case VK_UP:
      turn(0, -kKeyStep);
      return true;
    case VK_DOWN:
      turn(0, kKeyStep);
      return true;
    case VK_HOME:
      // Back to the drawing exactly as shipped.
      if (turned_) {
        turned_.reset();
        const RECT area = drawingArea();
        InvalidateRect(window(), &area, TRUE);
        UpdateWindow(window());
      }
      return true;
    default:
      return false;
  }
}

bool DrawingWindow::onClose() {
  destroy();
  return true;
}

void DrawingWindow::onDestroy() {
  app_.windows.drawing = nullptr;
  turned_.reset();
  dragFrom_.reset();
  placeListWindow(app_);
  if (const HWND list = GetDlgItem(app_.windows.main, ID_LIST_WINDOW)) {
    if (!app_.windows.description) SendMessageA(list, controls::kListSetLetterTarget, 0, 0);
    SetFocus(list);
  }
}

void DrawingWindow::onDestroyed() { app_.windows.drawing = nullptr; }

bool DrawingWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return true;
    case WM_PRINTCLIENT:
      paintInto(reinterpret_cast<HDC>(wParam));
      return true;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
      result = 1;
      return true;
    }
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) onSize();
      return true;
    case WM_WINDOWPOSCHANGING:
      onPositionChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      return true;
    case WM_GETMINMAXINFO:
      onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_SYSCOMMAND:
      // The window stands where the layout puts it: it cannot be dragged.
      return (wParam & 0xFFF0) == SC_MOVE;
    case WM_GETDLGCODE:
      // The arrow keys turn the crystal instead of walking the buttons.
      result = DLGC_WANTARROWS;
      return true;
    case WM_SETFOCUS:
      // The window itself keeps the focus (no hand-over to a button).
      return true;
    case WM_KEYDOWN:
      return onKey(wParam);
    case WM_LBUTTONDOWN:
      SetFocus(window());
      SetCapture(window());
      dragFrom_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      return true;
    case WM_MOUSEMOVE:
      if (dragFrom_ && (wParam & MK_LBUTTON)) {
        const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const POINT from = *dragFrom_;
        dragFrom_ = at;
        turn((at.x - from.x) * kDragStep, (at.y - from.y) * kDragStep);
      }
      return true;
    case WM_LBUTTONUP:
      if (dragFrom_) ReleaseCapture();
      dragFrom_.reset();
      return true;
    case WM_CAPTURECHANGED:
      dragFrom_.reset();
      return true;
    case WM_DESTROY:
      onDestroy();
      return true;
    default:
      return false;
  }
}

}  // namespace kalvor::shell
