#include "win32/canvas_dc_state.h"

namespace kalvor::win32 {

CanvasDcState::CanvasDcState(HDC dc)
    : dc_(dc),
      savedFont_(GetCurrentObject(dc, OBJ_FONT)),
      savedColour_(GetTextColor(dc)),
      savedAlign_(SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP)),
      savedBkMode_(SetBkMode(dc, TRANSPARENT)) {}

CanvasDcState::~CanvasDcState() {
  unclip();
  // The canvas's fonts may go with it: the DC must not keep one selected.
  SelectObject(dc_, savedFont_);
  SetTextColor(dc_, savedColour_);
  SetTextAlign(dc_, savedAlign_);
  SetBkMode(dc_, savedBkMode_);
}

Rgb CanvasDcState::savedColour() const {
  return Rgb{GetRValue(savedColour_), GetGValue(savedColour_), GetBValue(savedColour_)};
}

void CanvasDcState::clipTo(int left, int top, int right, int bottom) {
  if (!clipped_) {
    savedClip_ = GdiObject<HRGN>(CreateRectRgn(0, 0, 0, 0));
    hadClip_ = savedClip_ && GetClipRgn(dc_, savedClip_.get()) == 1;
    clipped_ = true;
  } else {
    SelectClipRgn(dc_, hadClip_ ? savedClip_.get() : nullptr);
  }
  IntersectClipRect(dc_, left, top, right, bottom);
}

void CanvasDcState::unclip() {
  if (!clipped_) return;
  SelectClipRgn(dc_, hadClip_ ? savedClip_.get() : nullptr);
  clipped_ = false;
}

int fontAscent(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmAscent;
}

void drawTextAt(HDC dc, int x, int baseline, std::string_view text) {
  if (text.empty()) return;
  TextOutA(dc, x, baseline, text.data(), static_cast<int>(text.size()));
}

void drawLineIn(HDC dc, Rgb colour, int style, int x1, int y1, int x2, int y2) {
  GdiPen pen(CreatePen(style, 1, RGB(colour.red, colour.green, colour.blue)));
  if (!pen) return;
  ScopedSelectObject select(dc, pen.get());
  // The gaps of a dotted line stay transparent.
  const int mode = SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SetBkMode(dc, mode);
}

}  // namespace kalvor::win32
