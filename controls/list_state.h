// The state block of one list window and the operations its topics share
// (painting, headers, layout); private to controls/list_*.cpp.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/list_control.h"
#include "win32/gdi_objects.h"
#include "views/list_model.h"

namespace kalvor::controls {

// Private: lay the list out again (posted after a column width changed).
inline constexpr UINT kListRelayout = 0x40F;

// Everything one list window knows; it lives in the window (GWLP_USERDATA),
// so a dialog's list never disturbs the main window's list.
struct ListState {
  // What the program lends the list; null until it has it.
  const ListEnvironment* env = nullptr;
  HWND window = nullptr;
  HWND scrollBar = nullptr;
  DWORD flags = 0;
  // The font rows are drawn in (not owned) and its italic alias variant (owned).
  HFONT font = nullptr;
  win32::GdiFont aliasFont;
  int rowHeight = 16;
  int baseHeight = 16;  // line height of the system font
  int averageCharWidth = 8;
  std::optional<views::ListModel> model;
  std::unique_ptr<views::RowRenderer> renderer;         // range rows
  std::unique_ptr<views::RowRenderer> mineralRenderer;  // wide mineral rows, when one exists
  int linesPerRecord = 1;
  SIZE client{};
  // Header controls above the rows, one per header line.
  std::vector<HWND> headers;
  int headerHeight = 0;
  // Type-ahead: the text last searched for (a typed letter, an edit's last name).
  std::string typeAhead;
  // Watched edit fields (ids of siblings) and the active one.
  std::vector<int> watchedIds;
  HWND activeEdit = nullptr;
  bool writingEdit = false;  // our own SetWindowText must not search again
  HWND letterTarget = nullptr;
  ListCallback leftDouble = nullptr;
  ListCallback rightDouble = nullptr;
  bool redraw = true;
  bool dragging = false;
  // The parent the list subclassed (SetWindowSubclass) for its watched edit fields.
  HWND parent = nullptr;

  bool rangeMode() const { return (flags & kListStyleRange) != 0; }
  bool writesEdit() const { return (flags & kListStyleWritesEdit) != 0; }
  // Rows per record: what the drawing renderer asks for (range rows and wide
  // mineral rows may use several text lines), 1 for plain names.
  int rowsPerRecord() const { return linesPerRecord; }
  // Height of the area that shows rows: the client below the headers.
  int rowsTop() const { return headerHeight; }
  // Pixel width that rows may use (left of the scroll bar).
  int rowWidth() const;
};

ListState* listStateOf(HWND list);

// Painting and layout (list_paint.cpp).
// Takes the font, measures the row height and the alias font.
void applyFont(ListState& s, HFONT font);
// Width of the widest name of the full list in the list font + 10/4 average widths.
int widestNameWidth(ListState& s);
// Sets or clears the wide bit from the client width (mineral mode).
void updateWideBit(ListState& s);
// Visible rows, scroll bar and headers from the client size; keeps the selection visible.
void layOut(ListState& s);
void paintList(ListState& s, HDC dc, const RECT& update);
// Repaints the rows (or all) after a change; honours WM_SETREDRAW.
void invalidateRows(ListState& s);
void syncScrollBar(ListState& s);
// Header notifications (list_paint.cpp).
LRESULT onHeaderNotify(ListState& s, const NMHDR& header);
void rebuildHeaders(ListState& s);
// The renderer that draws the rows (range rows, wide mineral rows); null for plain names.
views::RowRenderer* activeRenderer(const ListState& s);

}  // namespace kalvor::controls
