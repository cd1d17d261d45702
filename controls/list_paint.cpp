// Drawing of the list window: fonts and row height, the layout of rows,
// scroll bar and column headers, and flicker-free painting of the rows.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <map>

#include "controls/list_state.h"
#include "win32/gdi_canvas.h"

namespace kalvor::controls {

views::RowRenderer* activeRenderer(const ListState& s) {
  if (s.rangeMode()) return s.renderer.get();
  if (s.flags & kListStyleWide) return s.mineralRenderer.get();
  return nullptr;
}

namespace {

Rgb rgbOf(COLORREF c) {
  return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
          static_cast<std::uint8_t>(GetBValue(c))};
}


// Header items carry which column (line and position) they stand for.
struct HeaderColumn {
  int line;
  int position;  // -1: the indent in front of a continuation line
};

void destroyHeaders(ListState& s) {
  for (HWND h : s.headers) DestroyWindow(h);
  s.headers.clear();
  s.headerHeight = 0;
}

std::map<int, std::vector<views::HeaderCell>> headerLines(const ListState& s, int rowWidth) {
  std::map<int, std::vector<views::HeaderCell>> lines;
  if (const views::RowRenderer* r = activeRenderer(s)) {
    for (const views::HeaderCell& cell : r->headerCells(rowWidth)) lines[cell.line].push_back(cell);
  }
  return lines;
}

void buildHeaders(ListState& s, int rowWidth) {
  destroyHeaders(s);
  const auto lines = headerLines(s, rowWidth);
  if (lines.empty()) return;
  const int height = s.baseHeight * 10 / 8;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s.window, GWLP_HINSTANCE));
  for (const auto& [line, cells] : lines) {
    const int top = static_cast<int>(s.headers.size()) * height;
    const HWND header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_HORZ, 0, top,
                                        rowWidth, height, s.window, nullptr, instance, nullptr);
    if (!header) continue;
    SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
    int index = 0;
    const auto add = [&](const std::string& text, int width) {
      HDITEMA item = {};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.cxy = std::max(0, width);
      item.pszText = const_cast<char*>(text.c_str());
      SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    };
    if (cells.front().left > 0) add("", cells.front().left);
    for (const views::HeaderCell& cell : cells) add(cell.name, cell.right - cell.left);
    SetWindowLongPtrA(header, GWLP_USERDATA, static_cast<LONG_PTR>(line * 2 + (cells.front().left > 0 ? 1 : 0)));
    s.headers.push_back(header);
  }
  s.headerHeight = static_cast<int>(s.headers.size()) * height;
}

std::optional<HeaderColumn> columnOf(const ListState& s, HWND header, int item) {
  if (std::find(s.headers.begin(), s.headers.end(), header) == s.headers.end()) return std::nullopt;
  const auto tag = static_cast<int>(GetWindowLongPtrA(header, GWLP_USERDATA));
  const int position = item - (tag & 1);
  return HeaderColumn{tag / 2, position};
}

int rowsAreaHeight(const ListState& s) { return std::max(0, static_cast<int>(s.client.cy) - s.headerHeight); }

int visibleRowsFor(const ListState& s) {
  return std::max(1, rowsAreaHeight(s) / std::max(1, s.rowHeight * s.rowsPerRecord()));
}

}  // namespace

void applyFont(ListState& s, HFONT font) {
  s.font = font;
  // The program's units: the system font's average width and its line
  // height with the external leading, as the font table measured them.
  const LONG units = GetDialogBaseUnits();
  const win32::DescriptionFontSet* fonts = s.env ? s.env->fonts : nullptr;
  s.baseHeight = fonts ? fonts->lineHeight() : HIWORD(units);
  s.averageCharWidth = fonts ? fonts->averageCharWidth() : LOWORD(units);
  win32::WindowDc dc(s.window);
  {
    win32::ScopedSelectObject select(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), ", ", 2, &size);
    s.rowHeight = std::max(1, static_cast<int>(size.cy) + s.baseHeight / 8);
  }
  LOGFONTA logFont = {};
  s.aliasFont.reset();
  if (GetObjectA(font, sizeof logFont, &logFont)) {
    logFont.lfItalic = TRUE;
    s.aliasFont = win32::GdiFont(CreateFontIndirectA(&logFont));
  }
}

namespace {

// Widest name of the full list in `font` + 10/4 average widths, cached per font.
int measureWidestName(const ListEnvironment& env, HDC dc, HFONT font, int averageCharWidth) {
  if (!env.names) return 0;
  // Keyed by the font's description: dialogs and the main window use different fonts.
  LOGFONTA logFont = {};
  GetObjectA(font, sizeof logFont, &logFont);
  const std::string key(reinterpret_cast<const char*>(&logFont), sizeof logFont);
  auto& cache = env.widestNames;
  if (const auto it = cache.find(key); it != cache.end()) return it->second;
  int widest = 0;
  {
    win32::ScopedSelectObject select(dc, font);
    // One table of character widths instead of thousands of text measurements.
    std::array<INT, 256> widths{};
    if (!GetCharWidth32A(dc, 0, 255, widths.data())) widths.fill(averageCharWidth);
    for (const NameListNode& node : env.names->nodes()) {
      int width = 0;
      for (const char c : node.name) width += widths[static_cast<unsigned char>(c)];
      widest = std::max(widest, width);
    }
  }
  const int result = widest + 10 * averageCharWidth / 4;
  cache.emplace(key, result);
  return result;
}

}  // namespace

int widestNameWidth(ListState& s) {
  if (!s.env) return 0;
  win32::WindowDc dc(s.window);
  return measureWidestName(*s.env, dc.get(), s.font, s.averageCharWidth);
}

views::RowMetrics listRowMetrics(const ListEnvironment& env) {
  views::RowMetrics metrics;
  if (!env.fonts) return metrics;
  metrics.averageCharWidth = env.fonts->averageCharWidth();
  win32::WindowDc dc(nullptr);
  metrics.widestName =
      measureWidestName(env, dc.get(), env.fonts->font(FontSlot::kText), metrics.averageCharWidth);
  return metrics;
}

void updateWideBit(ListState& s) {
  if (s.rangeMode()) return;
  // The same threshold as the narrow form of the record rows: room for the
  // widest name and 30 quarter character widths besides.
  const views::RowMetrics metrics{s.averageCharWidth, widestNameWidth(s)};
  if (!views::isNarrowRow(metrics, s.client.cx)) s.flags |= kListStyleWide;
  else s.flags &= ~kListStyleWide;
}

void layOut(ListState& s) {
  views::ListModel& m = *s.model;
  const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  // The header lines and rows per record depend on the row width, which
  // depends on the scroll bar: decide with the narrower width first.
  const int narrow = std::max(0, static_cast<int>(s.client.cx) - scrollWidth);
  const views::RowRenderer* renderer = activeRenderer(s);
  s.linesPerRecord = renderer ? std::max(1, renderer->linesPerRecord(narrow)) : 1;
  s.headerHeight = static_cast<int>(headerLines(s, narrow).size()) * (s.baseHeight * 10 / 8);
  const bool needScroll = m.count() > visibleRowsFor(s);
  if (needScroll && !s.scrollBar) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s.window, GWLP_HINSTANCE));
    s.scrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0, s.window,
                                  nullptr, instance, nullptr);
  } else if (!needScroll && s.scrollBar) {
    DestroyWindow(s.scrollBar);
    s.scrollBar = nullptr;
  }
  const int width = s.rowWidth();
  if (renderer) s.linesPerRecord = std::max(1, renderer->linesPerRecord(width));
  buildHeaders(s, width);
  if (s.scrollBar) {
    MoveWindow(s.scrollBar, width, s.headerHeight, scrollWidth, rowsAreaHeight(s), TRUE);
  }
  m.setVisibleRows(visibleRowsFor(s));
  syncScrollBar(s);
}

void syncScrollBar(ListState& s) {
  if (!s.scrollBar || !s.redraw) return;
  const views::ListModel& m = *s.model;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
                  std::max(0, m.count() - 1), static_cast<UINT>(m.visibleRows()), m.topRow(), 0};
  SetScrollInfo(s.scrollBar, SB_CTL, &info, TRUE);
}

void invalidateRows(ListState& s) {
  if (!s.redraw) return;
  RECT rows{0, s.rowsTop(), s.rowWidth(), static_cast<LONG>(s.client.cy)};
  InvalidateRect(s.window, &rows, FALSE);
}

void paintList(ListState& s, HDC dc, const RECT& update) {
  if (!s.redraw) return;
  const int width = s.rowWidth();
  const int height = rowsAreaHeight(s);
  if (width <= 0 || height <= 0) return;
  // Rows are drawn into a bitmap and copied in one go, so scrolling never flickers.
  win32::MemoryDc memory(dc);
  win32::GdiBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) return;
  win32::ScopedSelectObject selectBitmap(memory.get(), bitmap.get());
  const HDC m = memory.get();
  RECT all{0, 0, width, height};
  FillRect(m, &all, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(m, TRANSPARENT);
  SetTextAlign(m, TA_LEFT | TA_TOP);

  const views::ListModel& model = *s.model;
  const int recordHeight = s.rowHeight * s.rowsPerRecord();
  const bool focused = GetFocus() == s.window;
  views::RowRenderer* renderer = activeRenderer(s);
  const int firstDirty = std::max(0, static_cast<int>(update.top) - s.rowsTop()) / recordHeight;
  for (int i = firstDirty; i * recordHeight < height; ++i) {
    const int row = model.topRow() + i;
    if (row >= model.count() || i * recordHeight + s.rowsTop() > update.bottom) break;
    const int y = i * recordHeight;
    RECT cell{0, y, width, y + recordHeight};
    const bool selected = row == model.selection();
    if (selected) FillRect(m, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (renderer && s.env && s.env->fonts) {
      const int saved = SaveDC(m);
      IntersectClipRect(m, cell.left, cell.top, cell.right, cell.bottom);
      {
        win32::GdiCanvas canvas(m, *s.env->fonts);
        canvas.setTextColour(rgbOf(text));
        const std::int32_t item = s.rangeMode() ? model.itemAt(row)
                                                : static_cast<std::int32_t>(model.nodeAt(row).id) - 1;
        renderer->drawRow(canvas, 0, y, s.rowHeight, width, item);
      }
      RestoreDC(m, saved);
    } else if (!s.rangeMode()) {
      const NameListNode& node = model.nodeAt(row);
      const HFONT font = node.alias && s.aliasFont ? s.aliasFont.get() : s.font;
      win32::ScopedSelectObject selectFont(m, font);
      SetTextColor(m, text);
      TextOutA(m, 2, y, node.name.data(), static_cast<int>(node.name.size()));
    }
    if (selected && focused) DrawFocusRect(m, &cell);
  }
  BitBlt(dc, 0, s.rowsTop(), width, height, m, 0, 0, SRCCOPY);
}

void rebuildHeaders(ListState& s) {
  layOut(s);
  invalidateRows(s);
}

LRESULT onHeaderNotify(ListState& s, const NMHDR& header) {
  views::RowRenderer* renderer = activeRenderer(s);
  if (!renderer) return 0;
  const auto& nm = reinterpret_cast<const NMHEADERA&>(header);
  const auto column = columnOf(s, header.hwndFrom, nm.iItem);
  if (!column) return 0;
  switch (header.code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      // The indent and columns that run to the row's end keep their width.
      return column->position < 0 || !renderer->columnResizable(column->line, column->position) ? TRUE : FALSE;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      if (column->position >= 0 && nm.pitem && (nm.pitem->mask & HDI_WIDTH)) {
        const int quarters = nm.pitem->cxy * 4 / std::max(1, s.averageCharWidth);
        renderer->setColumnWidth(column->line, column->position, quarters);
        // The header is still inside its notification: rebuild it afterwards.
        PostMessageA(s.window, kListRelayout, 0, 0);
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace kalvor::controls
