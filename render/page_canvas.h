// A Canvas on a paged device: a printer, a PDF file, or the measuring canvas
// that stands in for either in the tests. Beside what every canvas does, a
// page canvas knows its page size and resolution, begins and ends pages,
// makes fonts of a requested face and size for its own resolution, draws
// text turned by 180 degrees (the upper half of a standing card), dotted
// lines and filled rectangles. Label sheets and printed reports are laid out
// against this interface only; the GDI printer canvas and the cairo PDF
// canvas are two implementations of it (docs/canvas.md).
#pragma once

#include <cstdint>
#include <string>

#include "render/canvas.h"

namespace kalvor {

// The printable page of a device, in device units.
struct PageGeometry {
  int width = 0;    // HORZRES: printable width
  int height = 0;   // VERTRES: printable height
  int dpiX = 0;     // device units per inch, across
  int dpiY = 0;     // device units per inch, down
  int offsetX = 0;  // printing offset: where labels start
  int offsetY = 0;
  bool operator==(const PageGeometry&) const = default;
};

// A font asked of a device: the device makes the nearest it has.
struct FontRequest {
  std::string face = "Times New Roman";  // Windows-1252
  int height = 0;    // character (em) height in device units, > 0; GDI's lfHeight is -height
  int weight = 400;  // 100-1000
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t pitchAndFamily = 0x12;  // roman family, variable pitch
  bool symbol = false;                 // the symbol character set: Latin letters stand for Greek ones
  bool operator==(const FontRequest&) const = default;
};

// Metrics of the current font in device units.
struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int externalLeading = 0;
  int averageCharWidth = 0;
  // Character cell height plus the external leading: the distance of lines.
  int lineHeight() const { return ascent + descent + externalLeading; }
};

class PageCanvas : public Canvas {
 public:
  // The page of the device.
  virtual PageGeometry geometry() const = 0;
  // Starts a new page; false when the device refuses (the job is then lost).
  virtual bool beginPage() = 0;
  // Ends the current page (it goes to the printer or into the file).
  virtual bool endPage() = 0;

  // Makes a font for `request` on this device and puts it in `slot`, where
  // selectFont() finds it; the slot's previous font is released.
  virtual void setFont(FontSlot slot, const FontRequest& request) = 0;
  // Metrics of the current font.
  virtual FontMetrics fontMetrics() = 0;

  // While on, texts are drawn turned by 180 degrees about their start point:
  // they run leftwards from x and hang below the baseline, upside down.
  // Returns the previous state.
  virtual bool setTextTurned(bool turned) = 0;

  // A one-unit dotted line (a fold line) in the text colour.
  virtual void drawDottedLine(int x1, int y1, int x2, int y2) = 0;
  // Fills the rectangle (right and bottom exclusive) with the text colour.
  virtual void fillRect(int left, int top, int right, int bottom) = 0;
  // Outlines the rectangle (right and bottom exclusive) with one-unit lines.
  void frameRect(int left, int top, int right, int bottom) {
    drawLine(left, top, right - 1, top);
    drawLine(right - 1, top, right - 1, bottom - 1);
    drawLine(right - 1, bottom - 1, left, bottom - 1);
    drawLine(left, bottom - 1, left, top);
  }
};

// Draws turned for the lifetime of the object and puts the previous state back.
class ScopedTurnedText {
 public:
  ScopedTurnedText(PageCanvas& canvas, bool turned)
      : canvas_(canvas), previous_(canvas.setTextTurned(turned)) {}
  ~ScopedTurnedText() { canvas_.setTextTurned(previous_); }
  ScopedTurnedText(const ScopedTurnedText&) = delete;
  ScopedTurnedText& operator=(const ScopedTurnedText&) = delete;

 private:
  PageCanvas& canvas_;
  bool previous_;
};

}  // namespace kalvor
