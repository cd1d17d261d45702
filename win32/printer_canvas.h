// The page canvas of a printer: the report and label layouts draw on the
// printer's device context through it. Texts, measuring and clipping are the
// screen's GdiCanvas on the printer's own fonts; pages go through the
// document, whose every step is checked.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "render/page_canvas.h"
#include "win32/gdi_canvas.h"
#include "win32/printer_document.h"

namespace kalvor::win32 {

class PrinterCanvas final : public PageCanvas {
 public:
  // Draws on `dc` (not owned) and begins and ends pages in `document`; both
  // must outlive the canvas. The document must be started before the first
  // page.
  PrinterCanvas(HDC dc, PrinterDocument& document);
  ~PrinterCanvas() override;
  PrinterCanvas(const PrinterCanvas&) = delete;
  PrinterCanvas& operator=(const PrinterCanvas&) = delete;

  // PageCanvas
  PageGeometry geometry() const override { return geometry_; }
  bool beginPage() override;
  bool endPage() override;
  void setFont(FontSlot slot, const FontRequest& request) override;
  FontMetrics fontMetrics() override;
  bool setTextTurned(bool turned) override;
  void drawDottedLine(int x1, int y1, int x2, int y2) override;
  void fillRect(int left, int top, int right, int bottom) override;

  // Canvas
  FontSlot selectFont(FontSlot slot) override { return gdi_.selectFont(slot); }
  FontSlot currentFont() const override { return gdi_.currentFont(); }
  TextExtent measureText(std::string_view text) override { return gdi_.measureText(text); }
  int inkHeight(std::string_view text) override { return gdi_.inkHeight(text); }
  int ascent() override { return gdi_.ascent(); }
  void drawText(int x, int baseline, std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  Rgb setTextColour(Rgb colour) override {
    colour_ = colour;
    return gdi_.setTextColour(colour);
  }
  void drawCheckMark(int x, int baseline) override;
  int checkMarkWidth() override;
  void clipTo(int left, int top, int right, int bottom) override { gdi_.clipTo(left, top, right, bottom); }
  void unclip() override { gdi_.unclip(); }
  int averageCharWidth() override;
  ScriptOffsets scriptOffsets() override;

 private:
  // The pen width of lines: a fifth of a point, at least one unit.
  int lineWidth() const;
  COLORREF colourRef() const { return RGB(colour_.red, colour_.green, colour_.blue); }

  HDC dc_;
  PrinterDocument& document_;
  PageGeometry geometry_;
  DescriptionFontSet fonts_;
  // The fonts again, turned by 180 degrees, made when first drawn turned.
  std::array<std::optional<FontRequest>, kFontSlotCount> requests_;
  std::array<GdiFont, kFontSlotCount> turnedFonts_;
  GdiCanvas gdi_;
  Rgb colour_;
  bool turned_ = false;
  int savedGraphicsMode_ = 0;
};

}  // namespace kalvor::win32
