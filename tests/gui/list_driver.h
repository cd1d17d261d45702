// Helpers of the UI tests for the list control "EIPLISTE": its query
// messages, typing into it, and the stored name list "kalvor.fl" that the
// program writes at its first start.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kalvor::uitest {

// The list control's query messages (see controls/list_control.h).
inline constexpr UINT kListQuerySelected = 0x408;
inline constexpr UINT kListQueryTop = 0x409;
inline constexpr UINT kListQueryItem = 0x40A;
inline constexpr UINT kListQueryCount = 0x40B;
inline constexpr UINT kListQueryCharWidth = 0x40C;
inline constexpr UINT kListQueryColumnRight = 0x40D;

// One record of "kalvor.fl": the name (Windows-1252) and its id (MineralNumber + 1).
struct StoredName {
  std::string name;
  std::uint32_t id = 0;
  bool alias = false;
};

// Reads "kalvor.fl" (u8 length with the alias bit 0x80, the name, u16 id);
// empty when it cannot be read.
std::vector<StoredName> readStoredNames(const std::string& path);

// The terms of the glossary "kalvor.gl" (u16 count, u32 offsets, u16 length
// and text per entry; the term stands between a leading "#" and the next),
// index = record number - 1; an entry without a term gives "". Empty when unreadable.
std::vector<std::string> readGlossaryTerms(const std::string& path);

// Waits until the child with that id exists; null on time-out.
HWND waitForChild(HWND parent, int id, DWORD timeoutMs);

// Waits until the list child `id` of `parent` reports `selected` (the list
// may be being made anew meanwhile); false on time-out.
bool waitForListSelection(HWND parent, int id, long selected, DWORD timeoutMs);

// The list's column header controls ("SysHeader32"), top to bottom.
std::vector<HWND> listHeaders(HWND list);

// Drags a header divider at client x of `header` by `dx` pixels with the mouse
// messages a user's drag produces.
void dragHeaderDivider(HWND header, int x, int dx);

// The y of the list's first row in its client area: below its column headers.
int listRowsTop(HWND list);

// Sends a query message to the list and returns the answer.
long listQuery(HWND list, UINT message, WPARAM wParam = 0);

// The rows of the main window's list (1000): record numbers, or mineral ids
// in the Mineral view; empty when there is no list.
std::vector<long> mainListRows(HWND main);

// Presses the keys of the letters A-Z in `letters` on the list (key down and up, no repeat).
void typeLetters(HWND list, const std::string& letters);

// True iff `name` begins with `prefix`, ASCII letters compared without case.
bool beginsWithIgnoringCase(const std::string& name, const std::string& prefix);

}  // namespace kalvor::uitest
