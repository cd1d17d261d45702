// What a canvas changes on a device context it draws on, and puts back: the
// selected font, text colour, baseline alignment, transparent background,
// and the clip of one cell at a time on top of the clip the DC had.
#pragma once

#include <windows.h>

#include <string_view>

#include "render/canvas.h"
#include "win32/gdi_objects.h"

namespace kalvor::win32 {

class CanvasDcState {
 public:
  explicit CanvasDcState(HDC dc);
  ~CanvasDcState();
  CanvasDcState(const CanvasDcState&) = delete;
  CanvasDcState& operator=(const CanvasDcState&) = delete;

  HDC dc() const { return dc_; }
  // The colour the DC had when the canvas began.
  Rgb savedColour() const;

  // A new cell replaces the previous cell's clip instead of narrowing it.
  void clipTo(int left, int top, int right, int bottom);
  void unclip();

 private:
  HDC dc_;
  HGDIOBJ savedFont_;
  COLORREF savedColour_;
  UINT savedAlign_;
  int savedBkMode_;
  bool clipped_ = false;
  bool hadClip_ = false;  // the DC had a clip region of its own before clipTo
  GdiObject<HRGN> savedClip_;
};

// The drawing both screen canvases share.
int fontAscent(HDC dc);
void drawTextAt(HDC dc, int x, int baseline, std::string_view text);
void drawLineIn(HDC dc, Rgb colour, int style, int x1, int y1, int x2, int y2);

}  // namespace kalvor::win32
