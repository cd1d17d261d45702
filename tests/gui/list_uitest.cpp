// The mineral list: it shows the names in the order of the stored name list,
// typing letters in it selects the first matching name, and the dialog
// "Namensuche" finds a mineral and hands it to the main list.
#include <algorithm>
#include <cstdio>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

// The id of the first stored name that begins with `prefix`, 0 when none does.
std::uint32_t firstIdWithPrefix(const std::vector<StoredName>& names, const std::string& prefix) {
  for (const StoredName& n : names)
    if (beginsWithIgnoringCase(n.name, prefix)) return n.id;
  return 0;
}

// True iff the list shows its own vertical scroll bar.
bool hasScrollBar(HWND list) {
  const HWND bar = FindWindowExA(list, nullptr, "ScrollBar", nullptr);
  return bar != nullptr && IsWindowVisible(bar);
}

std::string nameOfId(const std::vector<StoredName>& names, long id) {
  for (const StoredName& n : names)
    if (static_cast<long>(n.id) == id) return n.name;
  return {};
}

}  // namespace

UI_CASE(list, mineralListTypeAheadAndNameSearch) {
  Program kalvor;
  UI_CHECK(kalvor.start("kalvor.exe"));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  UI_CHECK(main != nullptr);
  const HWND list = main ? waitForChild(main, 1000, 60000) : nullptr;
  UI_CHECK(list != nullptr);
  if (!list) {
    kalvor.kill();
    return;
  }
  settle(500);

  // The rows are the stored name list in its order (the collation order the
  // program sorted it in), every name once.
  const std::vector<StoredName> names = readStoredNames("kalvor.fl");
  UI_CHECK(names.size() > 1000);
  UI_CHECK_EQ(listQuery(list, kListQueryCount), static_cast<long>(names.size()));
  bool sameOrder = !names.empty();
  for (std::size_t row = 0; row < std::min<std::size_t>(names.size(), 40); ++row)
    sameOrder = sameOrder && listQuery(list, kListQueryItem, row) == static_cast<long>(names[row].id);
  const std::size_t last = names.size() - 1;
  sameOrder = sameOrder && listQuery(list, kListQueryItem, last) == static_cast<long>(names[last].id);
  UI_CHECK(sameOrder);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(names.front().id));
  UI_CHECK_EQ(listQuery(list, kListQueryTop), 0L);

  // A letter typed in the list is the whole type-ahead text: "q" finds the
  // first Q name, and a "u" right after it the first U name (not "Qu").
  typeLetters(list, "q");
  const std::uint32_t firstQ = firstIdWithPrefix(names, "Q");
  UI_CHECK(firstQ != 0);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(firstQ));
  UI_CHECK(listQuery(list, kListQueryTop) > 0);
  typeLetters(list, "u");
  const std::uint32_t firstU = firstIdWithPrefix(names, "U");
  UI_CHECK(firstU != 0 && firstU != firstIdWithPrefix(names, "Qu"));
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(firstU));
  typeLetters(list, "m");
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(firstIdWithPrefix(names, "M")));
  typeLetters(list, "q");
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(firstQ));
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/list-mineral-qu.png"));

  // Paging: End shows the last name, Page Up moves up by the visible rows.
  PostMessageA(list, WM_KEYDOWN, VK_END, 1);
  settle(200);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(names.back().id));
  PostMessageA(list, WM_KEYDOWN, VK_HOME, 1);
  settle(200);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(names.front().id));
  UI_CHECK_EQ(listQuery(list, kListQueryTop), 0L);
  // Up at the top changes nothing; Page Down moves by a page, Page Up back.
  PostMessageA(list, WM_KEYDOWN, VK_UP, 1);
  PostMessageA(list, WM_KEYDOWN, VK_NEXT, 1);
  settle(200);
  const long pageTop = listQuery(list, kListQueryTop);
  UI_CHECK(pageTop > 0);
  UI_CHECK(listQuery(list, kListQuerySelected) != static_cast<long>(names.front().id));
  PostMessageA(list, WM_KEYDOWN, VK_PRIOR, 1);
  settle(200);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(names.front().id));
  UI_CHECK_EQ(listQuery(list, kListQueryTop), 0L);
  // The scroll bar moves the rows, not the selection; a click selects the top row shown.
  PostMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  settle(200);
  const long scrolledTop = listQuery(list, kListQueryTop);
  UI_CHECK(scrolledTop > 0);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), static_cast<long>(names.front().id));
  const int rowsTop = listRowsTop(list);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, rowsTop + 2));
  PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, rowsTop + 2));
  settle(200);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), listQuery(list, kListQueryItem, scrolledTop));

  // A dialog with its own list leaves the main list exactly as it was.
  const long mainSelected = listQuery(list, kListQuerySelected);
  sendCommand(main, 1015);
  if (const HWND cancelled = waitForDialog(kalvor.processId(), "Namensuche", 10000)) {
    UI_CHECK(setControlText(cancelled, 1310, "Zirkon"));
    settle(200);
    UI_CHECK(clickButton(cancelled, 2));
    settle(300);
  } else {
    UI_CHECK(!"Namensuche did not open");
  }
  UI_CHECK(GetDlgItem(main, 1000) == list);
  UI_CHECK_EQ(listQuery(list, kListQuerySelected), mainSelected);
  UI_CHECK_EQ(listQuery(list, kListQueryTop), scrolledTop);

  // "Namensuche": typing a name moves the dialog's list; OK selects it in the main list.
  sendCommand(main, 1015);
  const HWND dialog = waitForDialog(kalvor.processId(), "Namensuche", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    const HWND dialogList = GetDlgItem(dialog, 1311);
    UI_CHECK(dialogList != nullptr);
    // Typing "qu" into the watched field selects the first name beginning with Qu.
    UI_CHECK(setControlText(dialog, 1310, "qu"));
    settle(200);
    UI_CHECK_EQ(listQuery(dialogList, kListQuerySelected), static_cast<long>(firstIdWithPrefix(names, "Qu")));
    UI_CHECK(setControlText(dialog, 1310, "Malachit"));
    settle(200);
    const std::uint32_t malachite = firstIdWithPrefix(names, "Malachit");
    UI_CHECK(malachite != 0);
    UI_CHECK_EQ(listQuery(dialogList, kListQuerySelected), static_cast<long>(malachite));
    // A trailing blank completes: to the one name beginning with "quarz" (not
    // Quartz), and to the part all "pump" names share.
    UI_CHECK(setControlText(dialog, 1310, "quarz "));
    settle(200);
    UI_CHECK_EQ(windowText(GetDlgItem(dialog, 1310)), std::string("Quarz"));
    UI_CHECK_EQ(nameOfId(names, listQuery(dialogList, kListQuerySelected)), std::string("Quarz"));
    UI_CHECK(setControlText(dialog, 1310, "Azurit, pump "));
    settle(200);
    UI_CHECK_EQ(windowText(GetDlgItem(dialog, 1310)), std::string("Azurit, Pumpellyit-("));
    UI_CHECK(setControlText(dialog, 1310, "Azurit, Malachit"));
    settle(200);
    UI_CHECK_EQ(listQuery(dialogList, kListQuerySelected), static_cast<long>(malachite));
    // A key move in the dialog's list writes the new name in place of the last one.
    const auto at = std::find_if(names.begin(), names.end(), [&](const StoredName& n) { return n.id == malachite; });
    const std::string next = at != names.end() && at + 1 != names.end() ? (at + 1)->name : std::string();
    PostMessageA(dialogList, WM_KEYDOWN, VK_DOWN, 1);
    settle(200);
    UI_CHECK_EQ(windowText(GetDlgItem(dialog, 1310)), "Azurit, " + next);
    PostMessageA(dialogList, WM_KEYDOWN, VK_UP, 1);
    settle(200);
    UI_CHECK_EQ(windowText(GetDlgItem(dialog, 1310)), std::string("Azurit, Malachit"));
    // A letter typed in the dialog's list is a selection change like a key
    // move: the name found is written in place of the last one.
    const std::uint32_t firstZ = firstIdWithPrefix(names, "Z");
    UI_CHECK(firstZ != 0);
    typeLetters(dialogList, "z");
    UI_CHECK_EQ(listQuery(dialogList, kListQuerySelected), static_cast<long>(firstZ));
    UI_CHECK_EQ(windowText(GetDlgItem(dialog, 1310)), "Azurit, " + nameOfId(names, firstZ));
    UI_CHECK(setControlText(dialog, 1310, "Azurit, Malachit"));
    settle(200);
    UI_CHECK(saveScreenshot(dialog, "screenshots/list-namensuche.png"));
    UI_CHECK(clickButton(dialog, 1));
    // The main list is made anew over all names with Malachit selected.
    UI_CHECK(waitForListSelection(main, 1000, static_cast<long>(malachite), 10000));
    settle(300);
    UI_CHECK(saveScreenshot(main, "screenshots/list-mineral-malachit.png"));
  }

  // The scroll bar's thumb: the row the message carries becomes the top row.
  if (const HWND rows = GetDlgItem(main, 1000)) {
    const long count = listQuery(rows, kListQueryCount);
    SendMessageA(rows, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, count / 2), 0);
    UI_CHECK_EQ(listQuery(rows, kListQueryTop), count / 2);
    SendMessageA(rows, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, count / 3), 0);
    UI_CHECK_EQ(listQuery(rows, kListQueryTop), count / 3);
    SendMessageA(rows, WM_VSCROLL, SB_TOP, 0);
    UI_CHECK_EQ(listQuery(rows, kListQueryTop), 0L);
    // Smoothness figures (reported, not asserted): each step is painted at
    // once, as a user holding the key would see it.
    SendMessageA(rows, WM_KEYDOWN, VK_HOME, 1);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 200; ++i) {
      SendMessageA(rows, WM_KEYDOWN, VK_NEXT, 1);
      RedrawWindow(rows, nullptr, nullptr, RDW_UPDATENOW);
    }
    QueryPerformanceCounter(&end);
    const double pageMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
    const long pagedTop = listQuery(rows, kListQueryTop);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 200; ++i) {
      SendMessageA(rows, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, (count - 1) * i / 199), 0);
      RedrawWindow(rows, nullptr, nullptr, RDW_UPDATENOW);
    }
    QueryPerformanceCounter(&end);
    const double thumbMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("list timing: 200 Page Down %.1f ms (top row %ld of %ld names), 200 thumb positions %.1f ms\n",
                pageMs, pagedTop, count, thumbMs);
    std::fflush(stdout);
  }

  // The glossary is a record list: a letter finds the first term beginning with it.
  const std::vector<std::string> terms = readGlossaryTerms("kalvor.gl");
  UI_CHECK(terms.size() > 10);
  sendCommand(main, 1027);  // "&Glossar"
  settle(500);
  const HWND glossary = GetDlgItem(main, 1000);
  UI_CHECK(glossary != nullptr);
  UI_CHECK_EQ(listQuery(glossary, kListQueryCount), static_cast<long>(terms.size()));
  UI_CHECK_EQ(listQuery(glossary, kListQuerySelected), 1L);
  typeLetters(glossary, "f");
  const long found = listQuery(glossary, kListQuerySelected);
  UI_CHECK(found > 1 && found <= static_cast<long>(terms.size()));
  if (found > 1 && found <= static_cast<long>(terms.size())) {
    UI_CHECK(beginsWithIgnoringCase(terms[static_cast<std::size_t>(found - 1)], "f"));
    UI_CHECK(!beginsWithIgnoringCase(terms[static_cast<std::size_t>(found - 2)], "f"));
  }
  // From there, "d" walks back to the first term beginning with D.
  typeLetters(glossary, "d");
  const long back = listQuery(glossary, kListQuerySelected);
  UI_CHECK(back > 1 && back < found);
  if (back > 1 && back < found) {
    UI_CHECK(beginsWithIgnoringCase(terms[static_cast<std::size_t>(back - 1)], "d"));
    UI_CHECK(!beginsWithIgnoringCase(terms[static_cast<std::size_t>(back - 2)], "d"));
  }
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/list-glossar-d.png"));

  // With every row fitting the list has no scroll bar; a resize that leaves
  // the rows no longer fitting creates it.
  RECT place{};
  GetWindowRect(glossary, &place);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
  UI_CHECK(hasScrollBar(glossary));
  MoveWindow(glossary, place.left, place.top, place.right - place.left,
             static_cast<int>(terms.size()) * 40 + 100, TRUE);
  settle(200);
  UI_CHECK(!hasScrollBar(glossary));
  UI_CHECK_EQ(listQuery(glossary, kListQueryTop), 0L);
  MoveWindow(glossary, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  settle(200);
  UI_CHECK(hasScrollBar(glossary));
  UI_CHECK_EQ(listQuery(glossary, kListQuerySelected), back);

  PostMessageA(main, WM_CLOSE, 0, 0);
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  if (!code) kalvor.kill();
}

// Dragging the divider after "Mineralname" in the wide mineral list changes
// that column's width, and the exit writes only that entry to "kalvor.ini".
UI_CASE(list, columnWidthDraggedAndSavedAtExit) {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  const std::string ini = std::string(folder) + "\\kalvor.ini";
  WritePrivateProfileStringA("Mineralliste", nullptr, nullptr, ini.c_str());

  Program kalvor;
  UI_CHECK(kalvor.start("kalvor.exe"));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  const HWND list = main ? waitForChild(main, 1000, 60000) : nullptr;
  UI_CHECK(list != nullptr);
  if (!list) {
    kalvor.kill();
    return;
  }
  settle(500);
  // The list shows its columns when it is wide: "Ausführliche Liste" closes the description window.
  sendCommand(main, 1025);
  waitUntilResponsive(main, 20000);
  settle(300);
  const std::vector<HWND> headers = listHeaders(list);
  UI_CHECK_EQ(headers.size(), std::size_t{1});  // the default mineral layout has one line
  const long average = listQuery(list, kListQueryCharWidth);
  UI_CHECK(average > 0);
  // A header line is 10/8 of the system font's line height (height plus external leading) high.
  if (!headers.empty()) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    RECT r{};
    GetWindowRect(headers.front(), &r);
    UI_CHECK_EQ(static_cast<long>(r.bottom - r.top), static_cast<long>((tm.tmHeight + tm.tmExternalLeading) * 10 / 8));
    UI_CHECK_EQ(listRowsTop(list), static_cast<int>(r.bottom - r.top));
  }
  if (!headers.empty() && average > 0) {
    // "Mineralname" is 80 quarter character widths wide by default.
    const int nameRight = static_cast<int>(80 * average / 4);
    dragHeaderDivider(headers.front(), nameRight, 40);
    UI_CHECK(saveScreenshot(main, "screenshots/list-column-dragged.png"));
    PostMessageA(main, WM_CLOSE, 0, 0);
    const auto code = kalvor.waitForExit(30000);
    UI_CHECK(code.has_value());
    if (!code) kalvor.kill();
    char value[64] = {};
    GetPrivateProfileStringA("Mineralliste", "Feld0", "", value, sizeof value, ini.c_str());
    const std::string expected = "1,1," + std::to_string((nameRight + 40) * 4 / average);
    UI_CHECK_EQ(std::string(value), expected);
    // No other column changed, so no other key is written.
    GetPrivateProfileStringA("Mineralliste", "Feld10", "", value, sizeof value, ini.c_str());
    UI_CHECK_EQ(std::string(value), std::string());
    GetPrivateProfileStringA("Mineralliste", "Feld1", "", value, sizeof value, ini.c_str());
    UI_CHECK_EQ(std::string(value), std::string());

    // The next start reads the layout back: "Systematik" now begins where the wider name column ends.
    Program again;
    UI_CHECK(again.start("kalvor.exe"));
    const HWND main2 = waitForWindow(again.processId(), "Kalvor", "Kalvor", 60000);
    const HWND list2 = main2 ? waitForChild(main2, 1000, 60000) : nullptr;
    UI_CHECK(list2 != nullptr);
    if (list2) {
      sendCommand(main2, 1025);  // the wide list
      // The command is posted and the wide list may be a new window: the
      // description window closing says it ran, then the list standing now is asked.
      for (int i = 0; i < 800 && descriptionOf(main2) != nullptr; ++i)
        settle(25);  // poll interval only: the closed description window decides
      UI_CHECK(descriptionOf(main2) == nullptr);
      UI_CHECK(waitUntilResponsive(main2, 20000));
      const long storedQuarters = (nameRight + 40) * 4 / average;
      const HWND wide = GetDlgItem(main2, 1000);
      UI_CHECK(wide != nullptr);
      if (wide) UI_CHECK_EQ(listQuery(wide, kListQueryColumnRight, 0), storedQuarters * average / 4);
      PostMessageA(main2, WM_CLOSE, 0, 0);
    }
    if (!again.waitForExit(30000)) again.kill();
  } else {
    kalvor.kill();
  }
  WritePrivateProfileStringA("Mineralliste", nullptr, nullptr, ini.c_str());
}

namespace {

// The records one page of the list shows: how far Page Down moves from the first row.
long pageRows(HWND list) {
  SendMessageA(list, WM_KEYDOWN, VK_HOME, 1);
  SendMessageA(list, WM_KEYDOWN, VK_NEXT, 1);
  const long selected = listQuery(list, kListQuerySelected);
  for (long row = 1; row < 2000; ++row)
    if (listQuery(list, kListQueryItem, static_cast<WPARAM>(row)) == selected) return row;
  return 0;
}

struct ListShape {
  long pageRows = 0;
  std::size_t headerLines = 0;
};

// Starts kalvor.exe, measures its main list and closes it again.
ListShape mainListShape(const char* screenshot) {
  ListShape shape;
  Program kalvor;
  UI_CHECK(kalvor.start("kalvor.exe"));
  const HWND main = waitForWindow(kalvor.processId(), "Kalvor", "Kalvor", 60000);
  const HWND list = main ? waitForChild(main, 1000, 60000) : nullptr;
  UI_CHECK(list != nullptr);
  if (!list) {
    kalvor.kill();
    return shape;
  }
  settle(500);
  sendCommand(main, 1025);  // "Ausführliche Liste": the wide list without the description window
  waitUntilResponsive(main, 20000);
  settle(300);
  shape.headerLines = listHeaders(list).size();
  shape.pageRows = pageRows(list);
  settle(300);
  UI_CHECK(saveScreenshot(main, screenshot));
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!kalvor.waitForExit(30000)) kalvor.kill();
  return shape;
}

}  // namespace

// A mineral layout with a column on a second line ("Farbe" switched on in
// kalvor.ini) gives every mineral two rows in the wide list, as the header
// shows two lines: a page then holds about half as many minerals.
UI_CASE(list, wideMineralRecordsTakeTheRowsOfTheirLines) {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  const std::string ini = std::string(folder) + "\\kalvor.ini";
  WritePrivateProfileStringA("Mineralliste", nullptr, nullptr, ini.c_str());
  const ListShape oneLine = mainListShape("screenshots/list-mineral-one-line.png");
  WritePrivateProfileStringA("Mineralliste", "Feld4", "4,2,150", ini.c_str());
  const ListShape twoLines = mainListShape("screenshots/list-mineral-two-lines.png");
  WritePrivateProfileStringA("Mineralliste", nullptr, nullptr, ini.c_str());

  std::printf("list page: %ld minerals with one line, %ld with two\n", oneLine.pageRows, twoLines.pageRows);
  UI_CHECK_EQ(oneLine.headerLines, std::size_t{1});
  UI_CHECK_EQ(twoLines.headerLines, std::size_t{2});
  UI_CHECK(oneLine.pageRows > 4);
  UI_CHECK(twoLines.pageRows > 0);
  // Two rows per mineral, and a second header line takes about one row more.
  UI_CHECK(2 * twoLines.pageRows <= oneLine.pageRows);
  UI_CHECK(2 * twoLines.pageRows + 4 >= oneLine.pageRows);
}
