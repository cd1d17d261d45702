#include "shell/toolbar_window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "resources/resource_ids.h"
#include "views/toolbar_model.h"
#include "win32/gdi_objects.h"
#include "win32/window_class.h"

namespace kalvor::shell {
namespace {

static_assert(views::kTbEnableButton == TB_ENABLEBUTTON && views::kTbCheckButton == TB_CHECKBUTTON &&
              views::kTbPressButton == TB_PRESSBUTTON && views::kTbHideButton == TB_HIDEBUTTON &&
              views::kTbIndeterminateMsg == TB_INDETERMINATE);
static_assert(views::kTbIsButtonEnabled == TB_ISBUTTONENABLED &&
              views::kTbIsButtonChecked == TB_ISBUTTONCHECKED &&
              views::kTbIsButtonPressed == TB_ISBUTTONPRESSED &&
              views::kTbIsButtonHidden == TB_ISBUTTONHIDDEN &&
              views::kTbIsButtonIndeterminate == TB_ISBUTTONINDETERMINATE);
static_assert(views::kTbSetState == TB_SETSTATE && views::kTbGetState == TB_GETSTATE &&
              views::kTbAddBitmap == TB_ADDBITMAP && views::kTbAddButtons == TB_ADDBUTTONSA &&
              views::kTbInsertButton == TB_INSERTBUTTONA && views::kTbDeleteButton == TB_DELETEBUTTON &&
              views::kTbGetButton == TB_GETBUTTON && views::kTbButtonCount == TB_BUTTONCOUNT &&
              views::kTbCommandToIndex == TB_COMMANDTOINDEX);

// Begin and end notifications of a press, in the high word of lParam.
constexpr LPARAM kPressBegins = 0x201;
constexpr LPARAM kPressEnds = 0x203;
// The colour the images leave transparent.
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// One added bitmap: the images, their opaque shape and their dark lines as
// monochrome masks (0 where the property holds), for drawing and embossing.
struct ImageStrip {
  int count = 0;
  win32::GdiBitmap colour;  // transparent pixels black
  win32::GdiBitmap shape;   // 0 opaque, 1 transparent
  win32::GdiBitmap dark;    // 0 dark opaque pixel, 1 else
  int width = 0;
  int height = 0;
};

// Monochrome bitmap from a predicate over the pixels (rows WORD-aligned, 1 = white).
template <typename Pred>
HBITMAP monochrome(int width, int height, const std::vector<RGBQUAD>& px, Pred setBit) {
  const int stride = ((width + 15) / 16) * 2;
  std::vector<BYTE> bits(static_cast<std::size_t>(stride * height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const RGBQUAD& q = px[static_cast<std::size_t>((height - 1 - y) * width + x)];
      if (setBit(q)) bits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  return CreateBitmap(width, height, 1, 1, bits.data());
}

bool loadStrip(HBITMAP loaded, int count, ImageStrip& strip) {
  BITMAP info = {};
  if (!loaded || !GetObjectA(loaded, sizeof info, &info)) return false;
  const int w = info.bmWidth;
  const int h = info.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;  // bottom-up
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<RGBQUAD> px(static_cast<std::size_t>(w * h));
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, loaded, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != h) return false;
  auto transparent = [](const RGBQUAD& q) { return q.rgbRed == 255 && q.rgbGreen == 0 && q.rgbBlue == 255; };
  strip.shape = win32::GdiBitmap(monochrome(w, h, px, transparent));
  strip.dark = win32::GdiBitmap(monochrome(w, h, px, [&](const RGBQUAD& q) {
    return transparent(q) || q.rgbRed * 3 + q.rgbGreen * 6 + q.rgbBlue > 1280;
  }));
  std::vector<RGBQUAD> blackened = px;
  for (RGBQUAD& q : blackened) {
    if (transparent(q)) q = RGBQUAD{0, 0, 0, 0};
  }
  const HDC dc = GetDC(nullptr);
  strip.colour =
      win32::GdiBitmap(CreateDIBitmap(dc, &bi.bmiHeader, CBM_INIT, blackened.data(), &bi, DIB_RGB_COLORS));
  ReleaseDC(nullptr, dc);
  strip.count = count;
  strip.width = w;
  strip.height = h;
  return strip.colour && strip.shape && strip.dark;
}

class Toolbar {
 public:
  explicit Toolbar(HWND window) : window_(window) {}

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
  std::string textAt(POINT client) const {
    const int i = model_.hitTest(client.x, client.y);
    const auto b = model_.button(i);
    return b && b->text ? std::string(b->text) : std::string();
  }

 private:
  HWND parent() const { return GetParent(window_); }
  void addBitmap(int count, const TBADDBITMAP* add);
  void repaint(views::Repaint what, int index);
  void paint(HDC dc);
  void drawButton(HDC dc, int index, RECT client);
  void drawImage(HDC dc, int image, int x, int y, bool embossed);
  void placeSelf();
  void notify(LPARAM code, int command);

  HWND window_;
  views::ToolbarModel model_;
  std::vector<ImageStrip> strips_;
};

void Toolbar::addBitmap(int count, const TBADDBITMAP* add) {
  ImageStrip strip;
  if (add) {
    win32::GdiBitmap owned;
    HBITMAP bitmap = nullptr;
    if (add->hInst) {
      owned = win32::GdiBitmap(LoadBitmapA(add->hInst, MAKEINTRESOURCEA(add->nID)));
      bitmap = owned.get();
    } else {
      bitmap = reinterpret_cast<HBITMAP>(add->nID);
    }
    // A bitmap that cannot be loaded leaves its buttons without images.
    if (!loadStrip(bitmap, count, strip)) strip = ImageStrip{};
  }
  strip.count = count;
  strips_.push_back(std::move(strip));
}

void Toolbar::repaint(views::Repaint what, int index) {
  if (what == views::Repaint::None) return;
  RECT client;
  GetClientRect(window_, &client);
  if (what == views::Repaint::All) {
    InvalidateRect(window_, nullptr, TRUE);
  } else if (const auto r = model_.rect(index, client.bottom)) {
    RECT rc = {r->left, r->top, r->right, r->bottom};
    InvalidateRect(window_, &rc, TRUE);
  }
  // Every change shows at once, also while a command keeps the program busy.
  UpdateWindow(window_);
}

void Toolbar::drawImage(HDC dc, int image, int x, int y, bool embossed) {
  int first = 0;
  for (const ImageStrip& s : strips_) {
    if (image < first + s.count) {
      if (!s.colour) return;
      const int sx = (image - first) * views::kToolbarImageWidth;
      const int w = views::kToolbarImageWidth;
      const int h = std::min(views::kToolbarImageHeight, s.height);
      const HDC mem = CreateCompatibleDC(dc);
      const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
      const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
      if (!embossed) {
        const HGDIOBJ old = SelectObject(mem, s.shape.get());
        BitBlt(dc, x, y, w, h, mem, sx, 0, SRCAND);
        SelectObject(mem, s.colour.get());
        BitBlt(dc, x, y, w, h, mem, sx, 0, SRCPAINT);
        SelectObject(mem, old);
      } else {
        // The dark lines, once in the highlight colour shifted by a pixel, once in the shadow colour.
        constexpr DWORD kPatternWhereBlack = 0x00B8074A;
        const HGDIOBJ old = SelectObject(mem, s.dark.get());
        const HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        BitBlt(dc, x + 1, y + 1, w, h, mem, sx, 0, kPatternWhereBlack);
        SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
        BitBlt(dc, x, y, w, h, mem, sx, 0, kPatternWhereBlack);
        SelectObject(dc, oldBrush);
        SelectObject(mem, old);
      }
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBk);
      DeleteDC(mem);
      return;
    }
    first += s.count;
  }
}

void Toolbar::drawButton(HDC dc, int index, RECT client) {
  const auto r = model_.rect(index, client.bottom);
  if (!r) return;
  const views::ToolbarButton& b = model_.buttons()[static_cast<std::size_t>(index)];
  RECT rc = {r->left, r->top, r->right, r->bottom};
  const bool sunk = (b.state & (views::kTbPressed | views::kTbChecked)) != 0;
  const bool disabled = !(b.state & views::kTbEnabled) || (b.state & views::kTbIndeterminate);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  if (sunk && !(b.state & views::kTbPressed)) {
    // Checked but not held down: the lighter face of a latched button.
    RECT inner = rc;
    InflateRect(&inner, -2, -2);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_3DLIGHT));
  }
  DrawEdge(dc, &rc, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const int shift = sunk ? 1 : 0;
  const int x = rc.left + (views::kToolbarButtonWidth - views::kToolbarImageWidth) / 2 + shift;
  const int y = rc.top + (views::kToolbarButtonHeight - views::kToolbarImageHeight) / 2 + shift;
  drawImage(dc, b.image, x, y, disabled);
}

void Toolbar::paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  // An etched line closes the band towards the list below.
  RECT line = {client.left, client.bottom - 2, client.right, client.bottom};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  for (int i = 0; i < model_.count(); ++i) drawButton(dc, i, client);
}

void Toolbar::placeSelf() {
  const HWND owner = parent();
  if (!owner) return;
  RECT client;
  GetClientRect(owner, &client);
  const int width = client.right + 2 * GetSystemMetrics(SM_CXBORDER);
  RECT own;
  GetWindowRect(window_, &own);
  POINT at = {own.left, own.top};
  ScreenToClient(owner, &at);
  if (at.x == 0 && at.y == 0 && own.right - own.left == width &&
      own.bottom - own.top == views::kToolbarHeight)
    return;
  SetWindowPos(window_, nullptr, 0, 0, width, views::kToolbarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Toolbar::notify(LPARAM code, int command) {
  SendMessageA(parent(), WM_COMMAND, ID_TOOLBAR, (code << 16) | (command & 0xFFFF));
}

LRESULT Toolbar::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == views::kTbAddBitmap) {
    const int first = model_.addImages(static_cast<int>(wParam));
    addBitmap(static_cast<int>(wParam), reinterpret_cast<const TBADDBITMAP*>(lParam));
    InvalidateRect(window_, nullptr, TRUE);
    return first;
  }
  const views::ToolbarReply reply = views::toolbarReply(model_, msg, static_cast<std::uintptr_t>(wParam),
                                                        static_cast<std::intptr_t>(lParam));
  if (reply.handled) {
    repaint(reply.repaint, reply.index);
    return static_cast<LRESULT>(reply.value);
  }
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window_, &ps);
      paint(dc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_SIZE:
      placeSelf();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int i = model_.hitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (i < 0) return 0;
      SetCapture(window_);
      if (model_.press(i)) repaint(views::Repaint::Button, i);
      notify(kPressBegins, model_.buttons()[static_cast<std::size_t>(i)].command);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (model_.captured() >= 0) {
        const bool over = model_.hitTest(static_cast<short>(LOWORD(lParam)),
                                         static_cast<short>(HIWORD(lParam))) == model_.captured();
        const int i = model_.captured();
        if (model_.track(over)) repaint(views::Repaint::Button, i);
      }
      return 0;
    case WM_LBUTTONUP: {
      const int i = model_.captured();
      if (i < 0) return 0;
      const bool over =
          model_.hitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))) == i;
      const int pressedCommand = model_.buttons()[static_cast<std::size_t>(i)].command;
      const int command = model_.release(over);
      ReleaseCapture();
      notify(kPressEnds, pressedCommand);
      // A check may have moved within a group: repaint the bar.
      repaint(views::Repaint::All, i);
      // Posted: the command may destroy the toolbar ("Programm beenden").
      if (command) PostMessageA(parent(), WM_COMMAND, static_cast<WPARAM>(command), 0);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (model_.captured() >= 0 && reinterpret_cast<HWND>(lParam) != window_) {
        const int i = model_.captured();
        model_.release(false);
        repaint(views::Repaint::Button, i);
      }
      return 0;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_NOTIFY:
      return SendMessageA(parent(), msg, wParam, lParam);
    default:
      return DefWindowProcA(window_, msg, wParam, lParam);
  }
}

Toolbar* toolbarOf(HWND window) {
  return reinterpret_cast<Toolbar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK toolbarProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto toolbar = std::make_unique<Toolbar>(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(toolbar.release()));
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  Toolbar* toolbar = toolbarOf(window);
  if (msg == WM_NCDESTROY) {
    // The loaded bitmaps go with the object.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete toolbar;
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  if (!toolbar) return DefWindowProcA(window, msg, wParam, lParam);
  return toolbar->handle(msg, wParam, lParam);
}

}  // namespace

bool registerToolbarClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = toolbarProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kToolbarClass;
  return win32::registerWindowClass(wc);
}

HWND createProgramToolbar(HINSTANCE instance, HWND parent) {
  const HWND toolbar =
      CreateWindowExA(0, kToolbarClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_TOOLBAR)), instance, nullptr);
  if (!toolbar) return nullptr;
  TBADDBITMAP bitmap = {instance, static_cast<UINT_PTR>(views::kToolbarBitmapId)};
  SendMessageA(toolbar, TB_ADDBITMAP, views::kToolbarImageCount, reinterpret_cast<LPARAM>(&bitmap));
  const auto& table = views::programToolbarButtons();
  SendMessageA(toolbar, TB_ADDBUTTONSA, table.size(), reinterpret_cast<LPARAM>(table.data()));
  return toolbar;
}

std::string toolbarTextAt(HWND toolbar, POINT screen) {
  const Toolbar* t = isToolbar(toolbar) ? toolbarOf(toolbar) : nullptr;
  if (!t) return {};
  ScreenToClient(toolbar, &screen);
  return t->textAt(screen);
}

bool isToolbar(HWND window) {
  char name[32] = "";
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, kToolbarClass) == 0;
}

}  // namespace kalvor::shell
