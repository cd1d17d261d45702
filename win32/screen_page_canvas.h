// A page canvas on the screen: the preview of a label in the format
// definition is drawn by the same layout as the printed sheet. It makes its
// own fonts for the screen's resolution and draws text upside down with
// fonts turned by 180 degrees; a page is just the picture, so beginning and
// ending one does nothing (the printer has its own canvas).
#pragma once

#include <windows.h>

#include <array>

#include "render/page_canvas.h"
#include "win32/canvas_dc_state.h"
#include "win32/gdi_objects.h"

namespace kalvor::win32 {

class ScreenPageCanvas final : public PageCanvas {
 public:
  // Draws on `dc` (not owned, a screen or memory DC) with the page `page`; the DC's font, colour,
  // alignment and background mode are put back when the canvas ends.
  ScreenPageCanvas(HDC dc, const PageGeometry& page);
  ~ScreenPageCanvas() override = default;
  ScreenPageCanvas(const ScreenPageCanvas&) = delete;
  ScreenPageCanvas& operator=(const ScreenPageCanvas&) = delete;

  PageGeometry geometry() const override { return page_; }
  bool beginPage() override { return true; }
  bool endPage() override { return true; }
  void setFont(FontSlot slot, const FontRequest& request) override;
  FontMetrics fontMetrics() override;
  bool setTextTurned(bool turned) override;
  void drawDottedLine(int x1, int y1, int x2, int y2) override;
  void fillRect(int left, int top, int right, int bottom) override;

  FontSlot selectFont(FontSlot slot) override;
  FontSlot currentFont() const override { return font_; }
  TextExtent measureText(std::string_view text) override;
  int inkHeight(std::string_view text) override;
  int ascent() override;
  void drawText(int x, int baseline, std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  Rgb setTextColour(Rgb colour) override;
  void drawCheckMark(int x, int baseline) override;
  int checkMarkWidth() override;
  void clipTo(int left, int top, int right, int bottom) override;
  void unclip() override;
  int averageCharWidth() override;
  ScriptOffsets scriptOffsets() override;

 private:
  HFONT fontOf(FontSlot slot, bool turned) const;
  void selectCurrent();

  CanvasDcState state_;
  HDC dc_;
  PageGeometry page_;
  std::array<GdiFont, kFontSlotCount> fonts_;
  std::array<GdiFont, kFontSlotCount> turnedFonts_;
  FontSlot font_ = FontSlot::kText;
  bool turned_ = false;
  Rgb colour_;
};

}  // namespace kalvor::win32
