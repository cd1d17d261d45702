#include "win32/printer_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kalvor::win32 {

namespace {

PageGeometry measurePage(HDC dc) {
  PageGeometry g;
  g.width = GetDeviceCaps(dc, HORZRES);
  g.height = GetDeviceCaps(dc, VERTRES);
  g.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  g.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  // The driver's printing offset; 0 when it has none.
  g.offsetX = std::max(0, GetDeviceCaps(dc, PHYSICALOFFSETX));
  g.offsetY = std::max(0, GetDeviceCaps(dc, PHYSICALOFFSETY));
  return g;
}

LOGFONTA describe(const FontRequest& r, bool turned) {
  LOGFONTA lf{};
  lf.lfHeight = -std::max(1, r.height);
  lf.lfWeight = r.weight;
  lf.lfItalic = r.italic ? TRUE : FALSE;
  lf.lfUnderline = r.underline ? TRUE : FALSE;
  lf.lfStrikeOut = r.strikeOut ? TRUE : FALSE;
  lf.lfCharSet = r.symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = r.pitchAndFamily;
  if (turned) {
    lf.lfEscapement = 1800;
    lf.lfOrientation = 1800;
  }
  const std::size_t n = std::min(r.face.size(), sizeof lf.lfFaceName - 1);
  std::memcpy(lf.lfFaceName, r.face.data(), n);
  return lf;
}

TEXTMETRICA metricsOf(HDC dc, HFONT font) {
  TEXTMETRICA tm{};
  ScopedSelectObject select(dc, font);
  GetTextMetricsA(dc, &tm);
  return tm;
}

}  // namespace

PrinterCanvas::PrinterCanvas(HDC dc, PrinterDocument& document)
    : dc_(dc), document_(document), geometry_(measurePage(dc)), gdi_(dc, fonts_) {
  // Turned fonts need the advanced mode on some drivers.
  savedGraphicsMode_ = SetGraphicsMode(dc, GM_ADVANCED);
  const Rgb black{};
  setTextColour(black);
}

PrinterCanvas::~PrinterCanvas() {
  if (savedGraphicsMode_) SetGraphicsMode(dc_, savedGraphicsMode_);
}

bool PrinterCanvas::beginPage() {
  if (!document_.startPage()) return false;
  // Some drivers reset the DC at StartPage: put the canvas's state back.
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(dc_, colourRef());
  gdi_.selectFont(gdi_.currentFont());
  return true;
}

bool PrinterCanvas::endPage() { return document_.endPage(); }

void PrinterCanvas::setFont(FontSlot slot, const FontRequest& request) {
  const int i = static_cast<int>(slot);
  if (i < 0 || i >= kFontSlotCount) return;
  const LOGFONTA lf = describe(request, false);
  fonts_.setFont(slot, GdiFont(CreateFontIndirectA(&lf)));
  requests_[i] = request;
  turnedFonts_[i].reset();
  if (slot == FontSlot::kText) {
    const TEXTMETRICA tm = metricsOf(dc_, fonts_.font(FontSlot::kText));
    fonts_.setMeasures(fonts_.scriptOffsets(), std::max<int>(1, tm.tmAveCharWidth),
                       std::max<int>(1, tm.tmHeight + tm.tmExternalLeading));
  }
  // The slot in use gets its new font at once.
  if (gdi_.currentFont() == slot) gdi_.selectFont(slot);
}

FontMetrics PrinterCanvas::fontMetrics() {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  FontMetrics m;
  m.ascent = tm.tmAscent;
  m.descent = tm.tmDescent;
  m.externalLeading = tm.tmExternalLeading;
  m.averageCharWidth = tm.tmAveCharWidth;
  return m;
}

bool PrinterCanvas::setTextTurned(bool turned) { return std::exchange(turned_, turned); }

void PrinterCanvas::drawText(int x, int baseline, std::string_view text) {
  if (!turned_) {
    gdi_.drawText(x, baseline, text);
    return;
  }
  const int i = static_cast<int>(gdi_.currentFont());
  if (!turnedFonts_[i] && requests_[i]) {
    const LOGFONTA lf = describe(*requests_[i], true);
    turnedFonts_[i] = GdiFont(CreateFontIndirectA(&lf));
  }
  if (!turnedFonts_[i]) return;
  ScopedSelectObject select(dc_, turnedFonts_[i].get());
  TextOutA(dc_, x, baseline, text.data(), static_cast<int>(text.size()));
}

int PrinterCanvas::lineWidth() const { return std::max(1, geometry_.dpiX / 360); }

void PrinterCanvas::drawLine(int x1, int y1, int x2, int y2) {
  GdiPen pen(CreatePen(PS_SOLID, lineWidth(), colourRef()));
  if (!pen) return;
  ScopedSelectObject select(dc_, pen.get());
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void PrinterCanvas::drawDottedLine(int x1, int y1, int x2, int y2) {
  // Dots of one unit with gaps of two, drawn one by one: printer drivers
  // widen or drop the styled pens of GDI.
  const int dx = x2 - x1, dy = y2 - y1;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  GdiBrush brush(CreateSolidBrush(colourRef()));
  if (!brush) return;
  for (int s = 0; s <= steps; s += 3) {
    const int x = steps ? x1 + dx * s / steps : x1;
    const int y = steps ? y1 + dy * s / steps : y1;
    RECT r{x, y, x + 1, y + 1};
    FillRect(dc_, &r, brush.get());
  }
}

void PrinterCanvas::fillRect(int left, int top, int right, int bottom) {
  GdiBrush brush(CreateSolidBrush(colourRef()));
  if (!brush) return;
  RECT r{left, top, right, bottom};
  FillRect(dc_, &r, brush.get());
}

int PrinterCanvas::checkMarkWidth() {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  return std::max(1, static_cast<int>(tm.tmHeight * 6 / 10));
}

void PrinterCanvas::drawCheckMark(int x, int baseline) {
  // The screen draws the menu's check mark; a printer gets it as two strokes
  // in the size of the current font.
  const int w = checkMarkWidth();
  GdiPen pen(CreatePen(PS_SOLID, std::max(lineWidth(), w / 8), colourRef()));
  if (!pen) return;
  ScopedSelectObject select(dc_, pen.get());
  MoveToEx(dc_, x + w * 15 / 100, baseline - w * 45 / 100, nullptr);
  LineTo(dc_, x + w * 40 / 100, baseline - w * 15 / 100);
  LineTo(dc_, x + w * 90 / 100, baseline - w * 85 / 100);
}

int PrinterCanvas::averageCharWidth() { return fonts_.averageCharWidth(); }

ScriptOffsets PrinterCanvas::scriptOffsets() {
  // As the screen's font table works them out, from the printer's fonts.
  const TEXTMETRICA main = metricsOf(dc_, fonts_.font(FontSlot::kText));
  const TEXTMETRICA small = metricsOf(dc_, fonts_.font(FontSlot::kSmall));
  ScriptOffsets o;
  o.superscriptRise = main.tmAscent * 2 / 5;
  o.subscriptDrop = main.tmAscent / 4;
  o.extraAbove = std::max<int>(0, o.superscriptRise + small.tmAscent - main.tmAscent);
  o.extraBelow = std::max<int>(0, o.subscriptDrop + small.tmDescent - main.tmDescent);
  return o;
}

}  // namespace kalvor::win32
