// The description window: it stands at the left of the list from the start,
// shows the selected entry of every view, scrolls by line and page with the
// mouse's scroll bar and the keyboard, and opens a link on a double click.
// Its pictures go to screenshots/ (the documentation takes them from there).
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr int kListId = 1000;
constexpr int kMineralScroll = 1233;

// What the window shows: its client area as read from the screen.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;  // rows top first, 3 bytes per pixel
  bool operator==(const Shot&) const = default;
  const std::uint8_t* at(int x, int y) const { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

Shot capture(HWND window) {
  Shot shot;
  RECT r;
  GetClientRect(window, &r);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  shot.width = r.right;
  shot.height = r.bottom;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = shot.width;
  bi.bmiHeader.biHeight = -shot.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const int stride = ((shot.width * 3 + 3) / 4) * 4;
    for (int y = 0; y < shot.height; ++y) {
      const auto* row = static_cast<const std::uint8_t*>(bits) + static_cast<std::size_t>(y) * stride;
      shot.bgr.insert(shot.bgr.end(), row, row + shot.width * 3);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

bool dark(const std::uint8_t* p) { return p[0] < 96 && p[1] < 96 && p[2] < 96; }

// Rows of the shot (left of `right`) with dark ink in them: the text lines' pixels.
int inkRows(const Shot& shot, int top, int bottom, int right) {
  int rows = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, shot.height); ++y) {
    for (int x = 0; x < std::min(right, shot.width); ++x) {
      if (dark(shot.at(x, y))) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

// The rectangle of a child in its parent's client coordinates.
RECT childRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Selects the mineral `name` in the list as a user would: its initial, then
// the arrow key down to it. False when it is not selected.
bool selectMineral(HWND main, const std::vector<StoredName>& names, const std::string& name) {
  std::uint32_t id = 0;
  for (const StoredName& n : names)
    if (n.name == name) id = n.id;
  const HWND list = GetDlgItem(main, kListId);
  if (id == 0 || !list) return false;
  typeLetters(list, name.substr(0, 1));
  waitUntilResponsive(main, 20000);
  for (int step = 0; step < 3000 && listQuery(list, kListQuerySelected) != static_cast<long>(id); ++step)
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
  waitUntilResponsive(main, 20000);
  settle(200);
  return listQuery(list, kListQuerySelected) == static_cast<long>(id);
}

int scrollPos(HWND bar) { return static_cast<int>(SendMessageA(bar, SBM_GETPOS, 0, 0)); }
int scrollMax(HWND bar) {
  int low = 0, high = 0;
  SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  return high;
}
void scroll(HWND window, HWND bar, int code) {
  SendMessageA(window, WM_VSCROLL, static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(bar));
}

HWND focusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// The keyboard focus moves when kalvor.exe has handled the key, and Wine may
// settle the window activation that goes with it a little later: wait for it.
bool waitForFocus(HWND main, HWND wanted, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (focusOf(main) != wanted) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
  return true;
}

// A posted key is handled after the program answers a sent message: wait for
// the scroll position it leads to.
bool waitForScroll(HWND main, HWND bar, int position) {
  const DWORD start = GetTickCount();
  for (;;) {
    waitUntilResponsive(main, 20000);
    if (scrollPos(bar) == position) return true;
    if (GetTickCount() - start > 20000) return false;
    Sleep(20);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
}

double now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

UI_CASE(description, windowFollowsTheListInEveryView) {
  const std::string folder = prepareCaseFolder("description");
  UI_CHECK(!folder.empty());
  // A locality where quartz occurs and a specimen from there, so that every kind has a page.
  UI_CHECK_EQ(
      runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Grube Clara\" --ort Oberwolfach "
                        "--region Schwarzwald --land Deutschland --minerale \"Quarz, Fluorit, Baryt\" "
                        "--beschreibung \"Schwerspat- und Flussspatgrube im Rankachtal.\"",
               folder, 60000)
          .value_or(99),
      0u);
  UI_CHECK_EQ(
      runToEnd(folder + "\\kalvor-cli.exe stufe neu --minerale \"Fluorit, Quarz\" --begleitminerale Baryt "
                        "--fundort 1 --datum 12.08.1995 --erwerb gefunden --groesse \"6 x 4 cm\" "
                        "--beschreibung \"Violette Fluoritwuerfel auf Quarz.\"",
               folder, 60000)
          .value_or(99),
      0u);
  // More places with quartz: a page longer than the window, with a locality list.
  for (int n = 2; n <= 40; ++n)
    UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Quarzbruch " + std::to_string(n) +
                             "\" --land Deutschland --minerale Quarz",
                         folder, 60000)
                    .value_or(99),
                0u);
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  settle(500);
  const HWND list = GetDlgItem(main, kListId);
  const HWND description = descriptionOf(main);
  UI_CHECK(description != nullptr);
  if (!description || !list) {
    kalvor.kill();
    return;
  }
  // At the left below the toolbar strip, 200 pixels of the client width left to the list.
  RECT client;
  GetClientRect(main, &client);
  RECT inner;
  GetClientRect(description, &inner);
  const RECT outer = childRect(description);
  UI_CHECK(windowText(description) == "Mineralbeschreibung");
  UI_CHECK_EQ(inner.right, client.right - 200);
  UI_CHECK_EQ(outer.left, 0L);
  UI_CHECK_EQ(outer.top, 27L);
  UI_CHECK_EQ(outer.bottom, client.bottom);
  UI_CHECK(childRect(list).left == outer.right);

  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  UI_CHECK(selectMineral(main, names, "Quarz"));
  const Shot quartz = capture(description);
  // Name, systematics, crystal system, formula ... and the locality below: many lines of ink.
  UI_CHECK(inkRows(quartz, 0, quartz.height, quartz.width) > 100);
  UI_CHECK(saveScreenshot(main, "screenshots/beschreibung-mineral.png"));
  UI_CHECK(selectMineral(main, names, "Galenit"));
  UI_CHECK(!(capture(description) == quartz));
  UI_CHECK(selectMineral(main, names, "Quarz"));
  UI_CHECK(capture(description) == quartz);  // the same page again, pixel for pixel

  // In a lower main window the page is longer than the description window:
  // it scrolls by line and by page and stops at both ends.
  RECT mainRect;
  GetWindowRect(main, &mainRect);
  SetWindowPos(main, nullptr, 0, 0, mainRect.right - mainRect.left, 600, SWP_NOMOVE | SWP_NOZORDER);
  waitUntilResponsive(main, 20000);
  settle(300);
  HWND bar = GetDlgItem(description, kMineralScroll);
  UI_CHECK(bar != nullptr);
  if (bar) {
    const int last = scrollMax(bar);
    UI_CHECK(last > 5);
    UI_CHECK_EQ(scrollPos(bar), 0);
    const Shot top = capture(description);
    scroll(description, bar, SB_LINEDOWN);
    UI_CHECK_EQ(scrollPos(bar), 1);
    UI_CHECK(!(capture(description) == top));
    scroll(description, bar, SB_PAGEDOWN);
    UI_CHECK(scrollPos(bar) == std::min(6, last));
    for (int i = 0; i < 20; ++i) scroll(description, bar, SB_PAGEDOWN);
    UI_CHECK_EQ(scrollPos(bar), last);
    // The last page is full: its lowest lines stand at the window's bottom.
    const Shot end = capture(description);
    UI_CHECK(inkRows(end, end.height * 3 / 4, end.height, end.width - 30) > 0);
    scroll(description, bar, SB_LINEDOWN);
    UI_CHECK_EQ(scrollPos(bar), last);
    for (int i = 0; i < 20; ++i) scroll(description, bar, SB_PAGEUP);
    UI_CHECK_EQ(scrollPos(bar), 0);
    scroll(description, bar, SB_LINEUP);
    UI_CHECK_EQ(scrollPos(bar), 0);
    UI_CHECK(capture(description) == top);
    // Without a mouse: Tab leads from the list into the window, Page Down scrolls, F6 leads back.
    SetForegroundWindow(main);
    PostMessageA(list, WM_KEYDOWN, VK_TAB, 1);
    waitUntilResponsive(main, 20000);
    UI_CHECK(waitForFocus(main, bar, 20000));
    PostMessageA(bar, WM_KEYDOWN, VK_NEXT, 1);
    UI_CHECK(waitForScroll(main, bar, std::min(5, last)));
    PostMessageA(bar, WM_KEYDOWN, VK_DOWN, 1);
    UI_CHECK(waitForScroll(main, bar, std::min(6, last)));
    PostMessageA(bar, WM_KEYDOWN, VK_F6, 1);
    waitUntilResponsive(main, 20000);
    UI_CHECK(waitForFocus(main, list, 20000));
  }

  SetWindowPos(main, nullptr, 0, 0, mainRect.right - mainRect.left, mainRect.bottom - mainRect.top,
               SWP_NOMOVE | SWP_NOZORDER);
  waitUntilResponsive(main, 20000);
  settle(300);

  // Repainting Galenit's page after a selection change, as holding an arrow key does.
  UI_CHECK(selectMineral(main, names, "Galenit"));
  {
    constexpr int kChanges = 40;
    double worst = 0, sum = 0;
    for (int i = 0; i < kChanges; ++i) {
      const double began = now();
      SendMessageA(list, WM_KEYDOWN, i % 2 ? VK_UP : VK_DOWN, 1);
      RedrawWindow(description, nullptr, nullptr, RDW_UPDATENOW);
      const double took = now() - began;
      worst = std::max(worst, took);
      sum += took;
    }
    double idle = 0;
    for (int i = 0; i < kChanges; ++i) {
      const double began = now();
      RedrawWindow(description, nullptr, nullptr, RDW_UPDATENOW);
      idle += now() - began;
    }
    std::printf(
        "description repaint after a selection change (Galenit and its neighbour): mean %.2f ms, "
        "worst %.2f ms, round trip without change %.3f ms\n",
        sum / kChanges * 1000, worst * 1000, idle / kChanges * 1000);
  }

  // The glossary is read here: heading and text, and "Ausführliche Liste" keeps the window.
  sendCommand(main, 1027);
  waitUntilResponsive(main, 20000);
  settle(500);
  UI_CHECK(windowText(description) == "Lexikoneintrag");
  const Shot glossary = capture(description);
  UI_CHECK(inkRows(glossary, 0, 30, glossary.width) > 5);                // the heading
  UI_CHECK(inkRows(glossary, 30, glossary.height, glossary.width) > 5);  // the text line below it
  UI_CHECK(saveScreenshot(main, "screenshots/beschreibung-glossar.png"));
  sendCommand(main, 1025);
  waitUntilResponsive(main, 20000);
  UI_CHECK(IsWindow(description) && descriptionOf(main) == description);

  sendCommand(main, 1022);  // "&Fundort"
  waitUntilResponsive(main, 20000);
  settle(500);
  UI_CHECK(windowText(description) == "Fundortbeschreibung");
  const Shot locality = capture(description);
  UI_CHECK(inkRows(locality, 0, locality.height, locality.width) > 40);
  UI_CHECK(saveScreenshot(main, "screenshots/beschreibung-fundort.png"));

  sendCommand(main, 1021);  // "S&tufen"
  waitUntilResponsive(main, 20000);
  settle(500);
  UI_CHECK(windowText(description) == "Stufenbeschreibung");
  const Shot specimen = capture(description);
  UI_CHECK(inkRows(specimen, 0, specimen.height, specimen.width) > 40);
  UI_CHECK(!(specimen == locality));
  UI_CHECK(saveScreenshot(main, "screenshots/beschreibung-stufe.png"));

  // "Ausführliche Liste" closes the window elsewhere and the list takes the width;
  // "Beschreibungsfenster" brings it back with its width.
  sendCommand(main, 1020);
  waitUntilResponsive(main, 20000);
  sendCommand(main, 1025);
  waitUntilResponsive(main, 20000);
  settle(300);
  UI_CHECK(descriptionOf(main) == nullptr);
  UI_CHECK(childRect(GetDlgItem(main, kListId)).left == 0);
  sendCommand(main, 1026);
  waitUntilResponsive(main, 20000);
  settle(300);
  const HWND reopened = descriptionOf(main);
  UI_CHECK(reopened != nullptr);
  if (reopened) {
    RECT again;
    GetClientRect(reopened, &again);
    UI_CHECK_EQ(again.right, inner.right);
    UI_CHECK(childRect(GetDlgItem(main, kListId)).left == childRect(reopened).right);
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

namespace {

// A glossary of our own in which an alias's reference word is a term.
bool writeGlossary(const std::string& path, const std::vector<std::string>& entries) {
  std::string out;
  auto u16 = [&](std::size_t v) {
    out += static_cast<char>(v & 0xFF), out += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::size_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  u16(entries.size());
  std::size_t at = 2 + 4 * entries.size();
  for (const std::string& e : entries) {
    u32(at);
    at += 2 + e.size();
  }
  for (const std::string& e : entries) {
    u16(e.size());
    out += e;
  }
  std::ofstream file(path, std::ios::binary);
  file << out;
  return static_cast<bool>(file);
}

bool linkGreen(const std::uint8_t* p) { return p[1] > 100 && p[0] < 60 && p[2] < 60; }  // (0, 127, 0)
bool invertedGreen(const std::uint8_t* p) { return p[1] < 160 && p[0] > 200 && p[2] > 200; }

}  // namespace

UI_CASE(description, doubleClickOpensALink) {
  const std::string folder = prepareCaseFolder("description-link");
  UI_CHECK(!folder.empty());
  UI_CHECK(
      writeGlossary(folder + "\\kalvor.gl", {"#Blende#~Bergmannswort.", "#Sphalerit#~Zinksulfid, $ZnS$."}));
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  settle(500);
  const HWND description = descriptionOf(main);
  UI_CHECK(description != nullptr);
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  UI_CHECK(selectMineral(main, names, "Blende"));
  // The reference word "Sphalerit" is a link: drawn in the reference colour.
  const Shot page = capture(description);
  int linkX = -1, linkY = -1;
  for (int y = 0; y < page.height && linkX < 0; ++y)
    for (int x = 0; x < page.width; ++x)
      if (linkGreen(page.at(x, y))) {
        linkX = x;
        linkY = y;
        break;
      }
  UI_CHECK(linkX >= 0);
  if (linkX >= 0 && description) {
    POINT screen = {linkX + 1, linkY + 2};
    ClientToScreen(description, &screen);
    // The cursor the program shows at a place of the window (after a move there).
    auto cursorAt = [&](int x, int y) {
      SetCursorPos(x, y);
      settle(300);
      CURSORINFO cursor = {};
      cursor.cbSize = sizeof cursor;
      GetCursorInfo(&cursor);
      return cursor.hCursor;
    };
    const HCURSOR plain = cursorAt(screen.x + 40, screen.y + 300);  // over no text: the arrow
    const HCURSOR overLink = cursorAt(screen.x, screen.y);
    UI_CHECK(overLink != nullptr && overLink != plain);  // the hand
    PostMessageA(description, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(linkX + 1, linkY + 2));
    waitUntilResponsive(main, 20000);
    settle(200);
    const Shot opened = capture(description);
    int inverted = 0;
    for (int x = 0; x < opened.width; ++x)
      if (invertedGreen(opened.at(x, linkY))) ++inverted;
    UI_CHECK(inverted > 0);  // the opened link stands out inverted
    UI_CHECK(saveScreenshot(main, "screenshots/beschreibung-link.png"));
    // Over the open link the cursor is the arrow again.
    cursorAt(screen.x + 40, screen.y + 300);
    UI_CHECK(cursorAt(screen.x, screen.y) == plain);
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}
