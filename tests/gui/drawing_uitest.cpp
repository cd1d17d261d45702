// The drawing window beside the mineral list: the crystal drawings of the
// selected mineral with "<<", "i" and ">>", turning a computed drawing with
// the arrow keys and back with Pos1, and "Keine Zeichnung verfügbar" for a
// mineral without drawings.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr int kNext = 1150;
constexpr int kPrevious = 1151;
constexpr int kSource = 1154;

HWND drawingWindow(HWND main) { return FindWindowExA(main, nullptr, "#32770", "Kristallzeichnung"); }

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

// The window paints what it was told to show when the program gets to it
// (after a posted command, a selection in the list): paints a pending update
// of `window` now, then returns once `shown` holds. False on time-out.
template <class Condition>
bool waitForPaint(HWND main, HWND window, Condition shown) {
  const DWORD start = GetTickCount();
  for (;;) {
    waitUntilResponsive(main, 10000);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (shown()) return true;
    if (GetTickCount() - start > 20000) return false;
    Sleep(20);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
}

// The pixels of the window's drawing area (the client area above the
// buttons) as the screen shows them.
std::vector<std::uint8_t> drawingPixels(HWND window) {
  RECT client = {};
  RECT button = {};
  GetClientRect(window, &client);
  GetWindowRect(GetDlgItem(window, kPrevious), &button);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&button), 2);
  const int w = client.right;
  const int h = button.top;
  std::vector<std::uint8_t> pixels;
  if (w <= 0 || h <= 0) return pixels;
  // Read from the screen, as saveScreenshot does: what the user sees.
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  HDC dc = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(dc);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint8_t*>(bits);
    pixels.assign(p, p + static_cast<std::size_t>(w) * h * 4);
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, dc);
  return pixels;
}

// Pixels that are not the window colour: what is drawn.
std::size_t inkedPixels(const std::vector<std::uint8_t>& pixels) {
  const COLORREF back = GetSysColor(COLOR_WINDOW);
  std::size_t inked = 0;
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
    if (RGB(pixels[i + 2], pixels[i + 1], pixels[i]) != back) ++inked;
  return inked;
}

// Clicks a button and returns once the window has handled the click (the
// window steps and repaints while handling it).
void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The description window shows the list's new entry when the program gets to
// its paint, and its paint tells the drawing window to start again (1159).
// Here both paint now, so the drawing window shows the new entry before the
// test looks.
void showSelection(HWND main, HWND drawing) {
  if (const HWND description = FindWindowExA(main, nullptr, "#32770", "Mineralbeschreibung"))
    RedrawWindow(description, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RedrawWindow(drawing, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void press(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Moves the list's selection to the row of `id`: its first letter typed, then
// the arrow keys down from the first name with that letter.
bool selectRow(HWND main, HWND list, const std::vector<StoredName>& names, std::uint32_t id) {
  const auto rowOf = [&](long wanted) {
    const auto at = std::find_if(names.begin(), names.end(),
                                 [&](const StoredName& n) { return static_cast<long>(n.id) == wanted; });
    return at == names.end() ? -1 : static_cast<int>(at - names.begin());
  };
  const int row = rowOf(static_cast<long>(id));
  if (row < 0) return false;
  typeLetters(list, names[static_cast<std::size_t>(row)].name.substr(0, 1));
  waitUntilResponsive(main, 10000);
  const int from = rowOf(listQuery(list, kListQuerySelected));
  if (from < 0 || from > row) return false;
  for (int i = from; i < row; ++i) PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
  return waitForListSelection(main, 1000, static_cast<long>(id), 20000);
}

std::uint32_t idOf(const std::vector<StoredName>& names, const std::string& name) {
  for (const StoredName& n : names)
    if (n.name == name) return n.id;
  return 0;
}

}  // namespace

UI_CASE(drawing, quartzStepsAndTurns) {
  const std::string folder = prepareCaseFolder("drawing");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  const HWND list = waitForChild(main, 1000, 60000);
  UI_CHECK(list != nullptr);
  const HWND drawing = drawingWindow(main);
  UI_CHECK(drawing != nullptr);
  if (!list || !drawing) {
    kalvor.kill();
    return;
  }
  settle(300);
  // At the top right, below the toolbar's strip, reaching the right edge; the list below it.
  RECT client = {};
  RECT own = {};
  RECT listRect = {};
  GetClientRect(main, &client);
  GetWindowRect(drawing, &own);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&own), 2);
  GetWindowRect(list, &listRect);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&listRect), 2);
  UI_CHECK_EQ(own.top, 27L);
  UI_CHECK_EQ(own.right, client.right);
  UI_CHECK(listRect.top >= own.bottom);
  // The description window reaches exactly to its left edge: neither covers the other.
  const HWND description = FindWindowExA(main, nullptr, "#32770", "Mineralbeschreibung");
  UI_CHECK(description != nullptr);
  if (description) {
    RECT beside = {};
    GetWindowRect(description, &beside);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&beside), 2);
    UI_CHECK_EQ(beside.right, own.left);
  }

  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  const std::uint32_t quartz = idOf(names, "Quarz");
  UI_CHECK(quartz != 0);
  UI_CHECK(selectRow(main, list, names, quartz));
  showSelection(main, drawing);

  // The first drawing: "<<" disabled, "i" and ">>" enabled, a crystal drawn.
  UI_CHECK(waitForPaint(main, drawing, [&] {
    return !enabled(drawing, kPrevious) && enabled(drawing, kSource) && enabled(drawing, kNext);
  }));
  const std::vector<std::uint8_t> first = drawingPixels(drawing);
  UI_CHECK(inkedPixels(first) > 200);
  UI_CHECK(saveScreenshot(main, "screenshots/drawing-quarz.png"));

  // The arrow keys turn the crystal; Pos1 brings back the first view byte for byte.
  // Each key is waited for until the picture changes (or, for Pos1, is the first again).
  SetForegroundWindow(main);
  const auto changedFrom = [&](const std::vector<std::uint8_t>& before) {
    return waitForPaint(main, drawing, [&] { return drawingPixels(drawing) != before; });
  };
  const auto isFirstAgain = [&] {
    return waitForPaint(main, drawing, [&] { return drawingPixels(drawing) == first; });
  };
  press(drawing, VK_RIGHT);
  UI_CHECK(changedFrom(first));
  std::vector<std::uint8_t> turnedRight = drawingPixels(drawing);
  press(drawing, VK_RIGHT);
  UI_CHECK(changedFrom(turnedRight));
  turnedRight = drawingPixels(drawing);
  UI_CHECK(inkedPixels(turnedRight) > 200);
  press(drawing, VK_DOWN);
  UI_CHECK(changedFrom(turnedRight));
  UI_CHECK(saveScreenshot(drawing, "screenshots/drawing-quarz-turned.png"));
  press(drawing, VK_HOME);
  UI_CHECK(isFirstAgain());
  // Dragging with the left button turns it too; Pos1 again brings the first view back.
  PostMessageA(drawing, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 100));
  PostMessageA(drawing, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 120));
  PostMessageA(drawing, WM_LBUTTONUP, 0, MAKELPARAM(100, 120));
  UI_CHECK(changedFrom(first));
  press(drawing, VK_HOME);
  UI_CHECK(isFirstAgain());

  // ">>" steps through the drawings and is disabled at the last; "<<" back.
  int steps = 0;
  while (enabled(drawing, kNext) && steps < 30) {
    click(drawing, kNext);
    ++steps;
  }
  UI_CHECK(steps >= 1);
  UI_CHECK(!enabled(drawing, kNext));
  UI_CHECK(enabled(drawing, kPrevious));
  UI_CHECK(changedFrom(first));
  // 1159 (the description window shows another mineral) starts again at the
  // first drawing. The buttons change at once, the picture with the next
  // paint: both are waited for.
  SendMessageA(drawing, WM_COMMAND, 1159, 0);
  UI_CHECK(waitForPaint(main, drawing, [&] { return !enabled(drawing, kPrevious); }));
  UI_CHECK(isFirstAgain());
  for (int i = 0; i < steps; ++i) click(drawing, kNext);
  UI_CHECK(!enabled(drawing, kNext));
  for (int i = 0; i < steps; ++i) click(drawing, kPrevious);
  UI_CHECK(!enabled(drawing, kPrevious));
  UI_CHECK(isFirstAgain());

  // "Quartz", another name for quartz, shows quartz's page and so its drawings.
  const std::uint32_t alias = idOf(names, "Quartz");
  UI_CHECK(alias != 0);
  UI_CHECK(selectRow(main, list, names, alias));
  showSelection(main, drawing);
  UI_CHECK(waitForPaint(main, drawing, [&] {
    return !enabled(drawing, kPrevious) && enabled(drawing, kSource) && enabled(drawing, kNext);
  }));
  UI_CHECK(drawingPixels(drawing) == first);
  UI_CHECK(selectRow(main, list, names, quartz));
  showSelection(main, drawing);
  UI_CHECK(waitForPaint(main, drawing, [&] { return enabled(drawing, kSource); }));

  // "i" tells where the drawing comes from: computed, not an atlas.
  PostMessageA(GetDlgItem(drawing, kSource), BM_CLICK, 0, 0);
  const HWND info = waitForDialog(kalvor.processId(), "Kristallzeichnungs-Informationen", 10000);
  UI_CHECK(info != nullptr);
  if (info) {
    const std::vector<std::string> texts = childTexts(info);
    const bool computed = std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
      return t.find("Atlas") == std::string::npos && t.find("berechnet aus den Formen") != std::string::npos;
    });
    UI_CHECK(computed);
    PostMessageA(info, WM_COMMAND, IDOK, 0);
    UI_CHECK(waitUntilClosed(info));
  }

  // A mineral without drawings (the first such row of the list): all buttons
  // disabled, the two lines of text in the middle. Row by row, each selection
  // handled and shown before the next.
  bool found = false;
  SendMessageA(list, WM_KEYDOWN, VK_HOME, 1);
  for (int row = 0; row < 400 && !found; ++row) {
    showSelection(main, drawing);
    found = !enabled(drawing, kPrevious) && !enabled(drawing, kSource) && !enabled(drawing, kNext);
    if (!found) SendMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
  }
  UI_CHECK(found);
  UI_CHECK(waitForPaint(main, drawing, [&] {
    return !enabled(drawing, kPrevious) && !enabled(drawing, kSource) && !enabled(drawing, kNext);
  }));
  const std::vector<std::uint8_t> nothing = drawingPixels(drawing);
  UI_CHECK(inkedPixels(nothing) > 20);
  UI_CHECK(inkedPixels(nothing) < inkedPixels(first));
  UI_CHECK(saveScreenshot(drawing, "screenshots/drawing-keine.png"));

  // The program ends as it always does, with code 1.
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}
