// The list window class "EIPLISTE": the mineral name list with type-ahead
// and every record list of the program. It scrolls, selects, finds and draws
// column headers; what a record row contains comes from a RowRenderer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collection/record_set.h"
#include "refdb/names.h"
#include "views/row_renderer.h"
#include "win32/gdi_canvas.h"

namespace kalvor::controls {

inline constexpr const char* kListClass = "EIPLISTE";

// Style bits (the low 11 bits of the window style).
inline constexpr DWORD kListStyleWide = 0x0002;        // internal: wide enough for detailed mineral rows
inline constexpr DWORD kListStyleWritesEdit = 0x0004;  // writes the selected name into the active watched edit
inline constexpr DWORD kListStyleRange = 0x0008;       // range mode (records by number)
inline constexpr DWORD kListStyleRecordSet = 0x0010;   // internal: a record set is in use
inline constexpr DWORD kListStyleFullNames = 0x0100;   // mineral mode over the full name list always
inline constexpr DWORD kListStyleMask = 0x07FF;

// Messages of the list window.
inline constexpr UINT kListSetLetterTarget = 0x401;  // lParam: HWND told of selection changes, or null
inline constexpr UINT kListRereadEdit = 0x402;       // re-read the active watched edit and search
inline constexpr UINT kListSetLeftDouble = 0x403;    // lParam: ListCallback for a left double click
inline constexpr UINT kListSetRightDouble = 0x404;   // lParam: ListCallback for a right double click
inline constexpr UINT kListWatchEdit = 0x405;        // wParam: id of a sibling edit field to watch
inline constexpr UINT kListActivateEdit = 0x406;     // lParam: HWND of a watched edit; make it active, search
inline constexpr UINT kListSetFont = 0x407;          // wParam: HFONT; recompute the layout
// Queries for the UI tests (and any owner that has only the window handle).
inline constexpr UINT kListQuerySelected = 0x408;  // returns the selected id (MineralNumber + 1) or record
inline constexpr UINT kListQueryTop = 0x409;       // returns the top row
inline constexpr UINT kListQueryItem = 0x40A;      // wParam: row; returns its id or record, 0 past the end
inline constexpr UINT kListQueryCount = 0x40B;     // returns the number of rows
inline constexpr UINT kListQueryCharWidth = 0x40C; // returns the average character width of column widths
inline constexpr UINT kListQueryColumnRight = 0x40D; // wParam: k; right edge in pixels of the k-th header cell, -1 when none
// lParam: const ListEnvironment*; a list made from a dialog template starts
// empty and shows the mineral names once it has its environment.
inline constexpr UINT kListSetEnvironment = 0x40E;

// Notifications to the parent (WM_COMMAND high word, low word = control id).
inline constexpr WORD kListFocusGained = 0x100;
inline constexpr WORD kListFocusLost = 0x200;

// Called on a double click with the list window and the selected mineral's
// MineralNumber (-1 in range mode).
using ListCallback = void (*)(HWND list, std::int32_t mineralNumber);

// What every list window needs from the program around it. The program owns
// one and keeps it (and what it points to) alive longer than every list.
struct ListEnvironment {
  // The mineral names of mineral mode; null before the data is loaded.
  const MineralNameList* names = nullptr;
  // The program's font table: its units size the rows and headers, range and
  // wide mineral rows are drawn in its fonts. Null: the dialog base units.
  const win32::DescriptionFontSet* fonts = nullptr;
  // Makes the renderer of detailed mineral rows for wide mineral lists; may be empty.
  std::function<std::unique_ptr<views::RowRenderer>()> makeMineralRows;
  // Widest mineral name (+ 10/4 average widths) per list font, keyed by its
  // LOGFONT bytes: measured once by the first list that needs it.
  mutable std::map<std::string, int> widestNames;
};

// What a list window shows; passed as the creation parameter. A list made
// from a dialog template has none and waits for kListSetEnvironment.
struct ListCreateParams {
  const ListEnvironment* environment = nullptr;
  // The font of the rows; null takes the parent's font (WM_GETFONT).
  HFONT font = nullptr;
  // Mineral mode: nothing = every name; else the ordinals (ascending) of a result list.
  std::optional<std::vector<std::uint32_t>> ordinals;
  // Mineral mode: ordinal of the node to select (or the last one before it).
  std::uint32_t selectOrdinal = 0;
  // Range mode (style bit 0x0008): records first..last, the record to select.
  std::int32_t first = 1;
  std::int32_t last = 0;
  std::int32_t selection = 0;
  // Range mode: when present, only its members, walked in displayOrder (record
  // numbers) when that is not empty, else in number order.
  std::optional<RecordSet> records;
  std::vector<std::uint32_t> displayOrder;
  // Range mode: draws the rows; the window takes it over.
  std::unique_ptr<views::RowRenderer> renderer;
};

// Registers the class once per run (comctl32 is initialised with it).
// Returns true on success (also when it is already registered).
bool registerListClass(HINSTANCE instance);

// The measures the row renderers need: the average character width and the
// widest mineral name in the main font (+ 10/4 average widths), measured once.
views::RowMetrics listRowMetrics(const ListEnvironment& environment);

// Creates a list child window of `parent` with control id `id` at `rect`.
// Style bits from kListStyle*; returns null on failure (an empty record set).
HWND createListWindow(HWND parent, int id, const RECT& rect, DWORD styleBits, ListCreateParams params);

// The selected mineral's id (MineralNumber + 1), 0 in range mode or without a window.
std::uint32_t listSelectedMineral(HWND list);
// The selected node's ordinal in mineral mode.
std::optional<std::uint32_t> listSelectedOrdinal(HWND list);
// The selected record number in range mode, 0 otherwise.
std::int32_t listSelectedRecord(HWND list);

}  // namespace kalvor::controls
