// The list window's procedure: creation, keys, scrolling, mouse and the
// watched edit fields of the parent. Painting and headers: list_paint.cpp.
#include "controls/list_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "controls/list_state.h"
#include "win32/window_class.h"

namespace kalvor::controls {
namespace {

constexpr UINT_PTR kDragTimer = 1000;
constexpr UINT kDragPeriodMs = 18;

std::string windowText(HWND window) {
  std::string text(views::kMaxWatchedTextLength + 1, '\0');
  const int n = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(0, n)));
  return text;
}

// Where the last name of an edit text starts: after the last comma and its blanks.
std::size_t lastNameStart(const std::string& text) {
  std::size_t start = text.rfind(',');
  start = start == std::string::npos ? 0 : start + 1;
  while (start < text.size() && text[start] == ' ') ++start;
  return start;
}

// Writes `name` in place of the edit's last name, keeping the names before
// it, and puts the caret after it.
void writeEdit(ListState& s, const std::string& name) {
  if (!s.activeEdit) return;
  std::string text = windowText(s.activeEdit);
  text = text.substr(0, lastNameStart(text)) + name;
  s.writingEdit = true;
  SetWindowTextA(s.activeEdit, text.c_str());
  s.writingEdit = false;
  const auto caret = static_cast<WPARAM>(text.size());
  SendMessageA(s.activeEdit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

// Marks one row for repainting (nothing while redrawing is off or the row is not shown).
void invalidateRow(ListState& s, int row) {
  const views::ListModel& m = *s.model;
  if (!s.redraw || row < m.topRow() || row >= m.topRow() + m.visibleRows()) return;
  const int recordHeight = s.rowHeight * s.rowsPerRecord();
  const int y = s.rowsTop() + (row - m.topRow()) * recordHeight;
  RECT r{0, y, s.rowWidth(), y + recordHeight};
  InvalidateRect(s.window, &r, FALSE);
}

// Repaints what a selection or scroll change touched: every row after a
// scroll, else only the rows that lost and gained the selection.
void showChange(ListState& s, int oldSelection, int oldTop) {
  const views::ListModel& m = *s.model;
  if (m.topRow() != oldTop) {
    syncScrollBar(s);
    invalidateRows(s);
    return;
  }
  if (m.selection() == oldSelection) return;
  invalidateRow(s, oldSelection);
  invalidateRow(s, m.selection());
}

// After a selection change by key or mouse.
void reportSelection(ListState& s) {
  if (!s.writesEdit() && s.letterTarget) {
    InvalidateRect(s.letterTarget, nullptr, TRUE);
    return;
  }
  if (s.rangeMode() || s.model->count() == 0) return;
  s.typeAhead = s.model->nodeAt(s.model->selection()).name;
  if (s.writesEdit()) writeEdit(s, s.typeAhead);
}

// Runs a model operation and repaints what it changed; returns its result.
template <typename Op>
bool change(ListState& s, Op op) {
  const int oldSelection = s.model->selection();
  const int oldTop = s.model->topRow();
  const bool result = op(*s.model);
  showChange(s, oldSelection, oldTop);
  // The letter target (the description window) follows every new selection.
  if (s.model->selection() != oldSelection && s.letterTarget && !s.writesEdit())
    InvalidateRect(s.letterTarget, nullptr, TRUE);
  return result;
}

void searchWithText(ListState& s, const std::string& raw) {
  if (s.rangeMode()) return;
  const views::WatchedText typed = views::parseWatchedText(raw);
  s.typeAhead = typed.text;
  if (!typed.complete) {
    change(s, [&](views::ListModel& m) { return m.searchName(typed.text); });
    return;
  }
  std::optional<std::string> completed;
  change(s, [&](views::ListModel& m) {
    completed = m.complete(typed.text);
    return completed.has_value();
  });
  if (!completed) {
    MessageBeep(0);
    return;
  }
  s.typeAhead = *completed;
  if (s.writesEdit()) writeEdit(s, *completed);
}

void onEditText(ListState& s, HWND edit) {
  if (s.writingEdit || !edit) return;
  searchWithText(s, windowText(edit));
}

void onLetter(ListState& s, char letter) {
  if (s.rangeMode()) {
    if (!s.renderer) return;
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    views::RowRenderer& renderer = *s.renderer;
    const bool moved = change(s, [&](views::ListModel& m) {
      return m.searchLetter(letter, [&](std::int32_t r) { return renderer.firstCharacter(r); });
    });
    SetCursor(previous);
    if (moved) reportSelection(s);
    return;
  }
  // One letter is the whole type-ahead text: it finds the first name with
  // that initial, as the record lists find the first record.
  s.typeAhead.assign(1, letter);
  if (change(s, [&](views::ListModel& m) { return m.searchName(s.typeAhead); })) reportSelection(s);
}

void onKey(ListState& s, WPARAM key, LPARAM flags) {
  if (key >= 'A' && key <= 'Z') {
    if (!(flags & (1 << 30))) onLetter(s, static_cast<char>(key - 'A' + 'a'));
    return;
  }
  bool moved = true;
  switch (key) {
    case VK_PRIOR: moved = change(s, [](views::ListModel& m) { return m.pageUp(); }); break;
    case VK_NEXT: moved = change(s, [](views::ListModel& m) { return m.pageDown(); }); break;
    case VK_UP: moved = change(s, [](views::ListModel& m) { return m.lineUp(); }); break;
    case VK_DOWN: moved = change(s, [](views::ListModel& m) { return m.lineDown(); }); break;
    case VK_HOME: change(s, [](views::ListModel& m) { m.home(); return true; }); break;
    case VK_END: change(s, [](views::ListModel& m) { m.end(); return true; }); break;
    default: return;
  }
  if (!moved) {
    MessageBeep(0);
    return;
  }
  reportSelection(s);
}

void onScroll(ListState& s, WPARAM wParam) {
  views::ListModel& m = *s.model;
  int top = m.topRow();
  switch (LOWORD(wParam)) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= m.visibleRows(); break;
    case SB_PAGEDOWN: top += m.visibleRows(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The message carries the row; only past 16 bits does the scroll bar's
      // 32-bit tracking position have to stand in for it.
      top = HIWORD(wParam);
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (m.lastTop() > 0xFFFF && s.scrollBar && GetScrollInfo(s.scrollBar, SB_CTL, &info)) top = info.nTrackPos;
      break;
    }
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = m.lastTop(); break;
    default: return;
  }
  const int oldTop = m.topRow();
  m.scrollTo(top);
  showChange(s, m.selection(), oldTop);
}

// The row under a client point, if it shows an entry.
std::optional<int> rowAt(const ListState& s, int y) {
  if (y < s.rowsTop()) return std::nullopt;
  const int row = s.model->topRow() + (y - s.rowsTop()) / (s.rowHeight * s.rowsPerRecord());
  if (row >= s.model->count()) return std::nullopt;
  return row;
}

void endDrag(ListState& s) {
  if (!s.dragging) return;
  s.dragging = false;
  KillTimer(s.window, kDragTimer);
  if (GetCapture() == s.window) ReleaseCapture();
}

void onButtonDown(ListState& s, int y) {
  s.dragging = true;
  SetTimer(s.window, kDragTimer, kDragPeriodMs, nullptr);
  SetCapture(s.window);
  SetFocus(s.window);
  const auto row = rowAt(s, y);
  if (!row) return;
  const bool changed = change(s, [&](views::ListModel& m) { return m.select(*row); });
  if (changed || s.writesEdit()) reportSelection(s);
}

void onDragMove(ListState& s, int y) {
  const int rowsBottom = s.rowsTop() + s.model->visibleRows() * s.rowHeight * s.rowsPerRecord();
  if (!s.dragging || y < s.rowsTop() || y >= rowsBottom) return;
  const auto row = rowAt(s, y);
  if (row && change(s, [&](views::ListModel& m) { return m.select(*row); })) reportSelection(s);
}

void onDragTimer(ListState& s) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(s.window, &p);
  const int rowsBottom = s.rowsTop() + s.model->visibleRows() * s.rowHeight * s.rowsPerRecord();
  bool changed = false;
  if (p.y < s.rowsTop()) changed = change(s, [](views::ListModel& m) { return m.lineUp(); });
  else if (p.y >= rowsBottom) changed = change(s, [](views::ListModel& m) { return m.lineDown(); });
  if (changed) reportSelection(s);
}

std::int32_t callbackArgument(const ListState& s) {
  return static_cast<std::int32_t>(s.model->selectedMineralId()) - 1;
}

void onRightDoubleClick(ListState& s, int y) {
  if (!s.rightDouble) return;
  const auto row = rowAt(s, y);
  if (!row) {
    MessageBeep(0);
    return;
  }
  // The row under the mouse is the selection only for the call.
  const int oldSelection = s.model->selection();
  const int oldTop = s.model->topRow();
  s.model->select(*row);
  const HWND window = s.window;
  s.rightDouble(window, callbackArgument(s));
  if (listStateOf(window) != &s) return;  // the callback destroyed the list
  s.model->select(oldSelection);
  s.model->scrollTo(oldTop);
}

// --- Watched edit fields: the parent's WM_COMMAND reaches the lists first ----

// Each list subclasses its parent on its own (subclass id = the list window),
// so lists sharing a parent come and go in any order.
LRESULT CALLBACK parentSubclassProc(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
  auto* s = reinterpret_cast<ListState*>(data);
  if (msg == WM_COMMAND && lParam && s->model) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    const bool watched = std::find(s->watchedIds.begin(), s->watchedIds.end(), id) != s->watchedIds.end();
    if (watched && (code == EN_SETFOCUS || code == EN_CHANGE)) {
      s->activeEdit = reinterpret_cast<HWND>(lParam);
      onEditText(*s, s->activeEdit);
    }
  }
  return DefSubclassProc(parent, msg, wParam, lParam);
}

void subclassParent(ListState& s) {
  const HWND parent = GetParent(s.window);
  if (parent && SetWindowSubclass(parent, parentSubclassProc, reinterpret_cast<UINT_PTR>(s.window),
                                  reinterpret_cast<DWORD_PTR>(&s)))
    s.parent = parent;
}

void unsubclassParent(ListState& s) {
  if (s.parent) RemoveWindowSubclass(s.parent, parentSubclassProc, reinterpret_cast<UINT_PTR>(s.window));
  s.parent = nullptr;
}

// --- Creation ------------------------------------------------------------

// Builds the model from what the program lends the list. False when a range
// list has nothing to show or a mineral list has no names.
bool setUp(ListState& s, ListCreateParams& params) {
  s.env = params.environment;
  HFONT font = params.font;
  if (!font) font = reinterpret_cast<HFONT>(SendMessageA(GetParent(s.window), WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  applyFont(s, font);

  if (s.rangeMode()) {
    s.renderer = std::move(params.renderer);
    if (params.records) {
      s.flags |= kListStyleRecordSet;
      s.model = views::ListModel::recordSet(*params.records, params.displayOrder, params.selection);
      if (s.model->count() == 0) MessageBeep(0);
    } else {
      s.model = views::ListModel::range(params.first, params.last, params.selection);
    }
  } else {
    if (!s.env || !s.env->names) return false;
    const MineralNameList& names = *s.env->names;
    if (params.ordinals && !(s.flags & kListStyleFullNames))
      s.model = views::ListModel::someNames(names, *params.ordinals, params.selectOrdinal);
    else
      s.model = views::ListModel::allNames(names, params.selectOrdinal);
    if (names.size() > 0 && s.env->makeMineralRows) s.mineralRenderer = s.env->makeMineralRows();
  }
  updateWideBit(s);
  layOut(s);
  return true;
}

bool onCreate(ListState& s, const CREATESTRUCTA& create) {
  s.flags = static_cast<DWORD>(create.style) & kListStyleMask;
  s.flags &= ~(kListStyleWide | kListStyleRecordSet);
  RECT client{0, 0, 0, 0};
  GetClientRect(s.window, &client);
  s.client = {client.right, client.bottom};
  auto* params = static_cast<ListCreateParams*>(create.lpCreateParams);
  // A dialog template's list has no parameters: it waits for its environment.
  if (params && !setUp(s, *params)) return false;
  subclassParent(s);
  return true;
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto state = std::make_unique<ListState>();
    state->window = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  ListState* s = listStateOf(hwnd);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    std::unique_ptr<ListState> owned(s);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!s) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_CREATE) return onCreate(*s, *reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
  if (msg == WM_DESTROY) {
    endDrag(*s);
    unsubclassParent(*s);
    return 0;
  }
  if (msg == kListSetEnvironment) {
    if (s->model) return 0;
    ListCreateParams params;
    params.environment = reinterpret_cast<const ListEnvironment*>(lParam);
    if (s->rangeMode() || !setUp(*s, params)) return 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    return 1;
  }
  if (msg == kListWatchEdit) {
    // Fields can be named before the environment arrives.
    const int id = static_cast<int>(wParam);
    if (std::find(s->watchedIds.begin(), s->watchedIds.end(), id) != s->watchedIds.end()) return 0;
    s->watchedIds.push_back(id);
    if (!s->activeEdit) s->activeEdit = GetDlgItem(GetParent(hwnd), id);
    return 0;
  }
  if (!s->model) return DefWindowProcA(hwnd, msg, wParam, lParam);

  switch (msg) {
    case WM_SIZE: {
      const SIZE size{LOWORD(lParam), HIWORD(lParam)};
      if (size.cx == s->client.cx && size.cy == s->client.cy) return 0;
      s->client = size;
      updateWideBit(*s);
      layOut(*s);
      invalidateRows(*s);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const WORD code = msg == WM_SETFOCUS ? kListFocusGained : kListFocusLost;
      const int id = GetDlgCtrlID(hwnd);
      SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
      invalidateRow(*s, s->model->selection());  // the focus rectangle comes and goes
      return 0;
    }
    case WM_SETREDRAW:
      s->redraw = wParam != 0;
      if (s->redraw) {
        syncScrollBar(*s);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel from a memory bitmap
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd, &ps);
      paintList(*s, dc, ps.rcPaint);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NOTIFY:
      return onHeaderNotify(*s, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_KEYDOWN:
      onKey(*s, wParam, lParam);
      return 0;
    case WM_VSCROLL:
      onScroll(*s, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      onButtonDown(*s, GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      onDragMove(*s, GET_Y_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kDragTimer && s->dragging) onDragTimer(*s);
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      endDrag(*s);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (s->leftDouble && rowAt(*s, GET_Y_LPARAM(lParam))) s->leftDouble(hwnd, callbackArgument(*s));
      return 0;
    case WM_RBUTTONDBLCLK:
      onRightDoubleClick(*s, GET_Y_LPARAM(lParam));
      return 0;
    case kListSetLetterTarget:
      s->letterTarget = reinterpret_cast<HWND>(lParam);
      return 0;
    case kListRereadEdit:
      onEditText(*s, s->activeEdit);
      return 0;
    case kListSetLeftDouble:
      s->leftDouble = reinterpret_cast<ListCallback>(lParam);
      return 0;
    case kListSetRightDouble:
      s->rightDouble = reinterpret_cast<ListCallback>(lParam);
      return 0;
    case kListActivateEdit:
      s->activeEdit = reinterpret_cast<HWND>(lParam);
      onEditText(*s, s->activeEdit);
      return 0;
    case kListSetFont:
      applyFont(*s, reinterpret_cast<HFONT>(wParam));
      updateWideBit(*s);
      layOut(*s);
      invalidateRows(*s);
      return 0;
    case kListRelayout:
      rebuildHeaders(*s);
      return 0;
    case kListQuerySelected:
      return s->rangeMode() ? s->model->selectedRecord() : static_cast<LRESULT>(s->model->selectedMineralId());
    case kListQueryTop:
      return s->model->topRow();
    case kListQueryItem: {
      const auto row = static_cast<int>(wParam);
      if (row < 0 || row >= s->model->count()) return 0;
      if (s->rangeMode()) return s->model->itemAt(row);
      return static_cast<LRESULT>(s->model->nodeAt(row).id);
    }
    case kListQueryCount:
      return s->model->count();
    case kListQueryCharWidth:
      return s->averageCharWidth;
    case kListQueryColumnRight: {
      const views::RowRenderer* r = activeRenderer(*s);
      if (!r) return -1;
      const auto cells = r->headerCells(s->rowWidth());
      return wParam < cells.size() ? cells[wParam].right : -1;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

ListState* listStateOf(HWND list) {
  if (!list) return nullptr;
  char name[16] = {};
  if (!GetClassNameA(list, name, sizeof name) || std::strcmp(name, kListClass) != 0) return nullptr;
  return reinterpret_cast<ListState*>(GetWindowLongPtrA(list, GWLP_USERDATA));
}

int ListState::rowWidth() const {
  const int scroll = scrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return std::max(0, static_cast<int>(client.cx) - scroll);
}

bool registerListClass(HINSTANCE instance) {
  InitCommonControls();
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = listProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kListClass;
  return win32::registerWindowClass(wc);
}

HWND createListWindow(HWND parent, int id, const RECT& rect, DWORD styleBits, ListCreateParams params) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP | (styleBits & kListStyleMask);
  return CreateWindowExA(0, kListClass, "", style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), &params);
}

std::uint32_t listSelectedMineral(HWND list) {
  const ListState* s = listStateOf(list);
  return s && s->model ? s->model->selectedMineralId() : 0;
}

std::optional<std::uint32_t> listSelectedOrdinal(HWND list) {
  const ListState* s = listStateOf(list);
  if (!s || !s->model) return std::nullopt;
  return s->model->selectedOrdinal();
}

std::int32_t listSelectedRecord(HWND list) {
  const ListState* s = listStateOf(list);
  return s && s->model ? s->model->selectedRecord() : 0;
}

}  // namespace kalvor::controls
