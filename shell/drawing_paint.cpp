#include <algorithm>
#include <string>

#include "crystal/drawing_preparation.h"
#include "resources/resource_ids.h"
#include "shell/drawing_window.h"
#include "shell/logo.h"
#include "win32/gdi_objects.h"

namespace kalvor::shell {
namespace {

constexpr const char* kNoDrawing = "Keine Zeichnung";
constexpr const char* kNotAvailable = "verf\xFCgbar";

constexpr std::uint32_t kMoveBit = 0x80000000u;
constexpr std::uint32_t kHiddenBit = 0x8000u;

// Walks prepared drawing values: a move selects its pen (bit 15: the dotted
// one of the hidden edges) and goes to the point, a line draws to it.
void drawValues(HDC dc, const std::vector<std::uint32_t>& values) {
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  const win32::GdiPen visible(CreatePen(PS_SOLID, 1, ink));
  const win32::GdiPen hidden(CreatePen(PS_DOT, 1, ink));
  const win32::ScopedSelectObject pen(dc, visible.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  for (const std::uint32_t v : values) {
    const int x = static_cast<int>(v & 0x7FFFu);
    const int y = static_cast<int>((v >> 16) & 0x7FFFu);
    if (v & kMoveBit) {
      SelectObject(dc, (v & kHiddenBit) ? hidden.get() : visible.get());
      MoveToEx(dc, x, y, nullptr);
    } else {
      LineTo(dc, x, y);
    }
  }
  SetBkMode(dc, oldMode);
}

}  // namespace

void DrawingWindow::paint() {
  RECT update;
  if (!GetUpdateRect(window(), &update, FALSE)) return;
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(window(), &ps);
  if (dc) paintInto(dc);
  EndPaint(window(), &ps);
}

void DrawingWindow::paintInto(HDC dc) {
  // The list's selection may have moved since the last paint.
  fetch(false);
  const RECT area = drawingArea();
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  const int items = itemCount();
  if (items == 0) {
    enable(ID_DRAWING_PREVIOUS, false);
    enable(ID_DRAWING_SOURCE, false);
    enable(ID_DRAWING_NEXT, false);
    paintNothing(dc, area);
    return;
  }
  bool previous = true;
  bool next = true;
  if (index_ >= items - 1) {
    index_ = items - 1;
    next = false;
  }
  if (index_ < 1) {
    index_ = 0;
    previous = false;
  }
  enable(ID_DRAWING_PREVIOUS, previous);
  enable(ID_DRAWING_NEXT, next);
  enable(ID_DRAWING_SOURCE, index_ < drawingCount());
  if (index_ < drawingCount()) {
    paintDrawing(dc, area);
  } else {
    paintPicture(dc, area, static_cast<std::size_t>(index_ - drawingCount()));
  }
}

void DrawingWindow::paintNothing(HDC dc, const RECT& area) {
  const win32::ScopedSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  const UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
  const COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  const int middle = (area.top + area.bottom) / 2;
  const int shift = app_.display.fonts.lineHeight() * 5 / 8;
  const int x = (area.left + area.right) / 2;
  TextOutA(dc, x, middle - shift, kNoDrawing, static_cast<int>(std::char_traits<char>::length(kNoDrawing)));
  TextOutA(dc, x, middle + shift, kNotAvailable,
           static_cast<int>(std::char_traits<char>::length(kNotAvailable)));
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldColour);
  SetTextAlign(dc, oldAlign);
}

void DrawingWindow::paintDrawing(HDC dc, const RECT& area) {
  const crystal::DrawingArea size{area.right - area.left, area.bottom - area.top,
                                  app_.display.fonts.averageCharWidth(), app_.display.fonts.lineHeight()};
  const auto i = static_cast<std::size_t>(index_);
  // A turned crystal is scaled anew for every view; the shipped view once.
  if (turned_ && turnedIndex_ == index_) {
    const std::vector<std::uint32_t> values = turned_->values();
    const auto prepared = crystal::prepareDrawing(values, size);
    if (prepared) drawValues(dc, *prepared);
    return;
  }
  if (i >= prepared_.size()) prepared_.resize(i + 1);
  if (!prepared_[i]) prepared_[i] = crystal::prepareDrawing(block_->valuesOf(i), size);
  // An area smaller than the margins leaves nothing to draw.
  if (prepared_[i]) drawValues(dc, *prepared_[i]);
}

void DrawingWindow::paintPicture(HDC dc, const RECT& area, std::size_t picture) {
  const PictureFile* file = app_.data.reference ? app_.data.reference->pictures() : nullptr;
  if (!file || picture >= pictureList_.size()) return;
  const std::optional<std::uint32_t> offset = file->pictureOffset(pictureList_[picture].pictureNumber());
  if (!offset) return;
  const Picture* decoded = app_.display.pictures.fetch(*file, PictureSource::kMineralPictures, *offset);
  if (decoded) drawPictureInFrame(dc, *decoded, area, pictureList_[picture].caption());
}

}  // namespace kalvor::shell
