#include "win32/screen_page_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "win32/gdi_canvas.h"

namespace kalvor::win32 {
namespace {

GdiFont makeFont(const FontRequest& r, bool turned) {
  LOGFONTA lf{};
  lf.lfHeight = -std::max(1, r.height);
  lf.lfWeight = r.weight;
  lf.lfItalic = r.italic ? TRUE : FALSE;
  lf.lfUnderline = r.underline ? TRUE : FALSE;
  lf.lfStrikeOut = r.strikeOut ? TRUE : FALSE;
  lf.lfCharSet = r.symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
  lf.lfPitchAndFamily = r.pitchAndFamily;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  // Turned by 180 degrees: escapement and orientation in tenths of a degree.
  lf.lfEscapement = lf.lfOrientation = turned ? 1800 : 0;
  const std::string face = r.symbol ? std::string("Symbol") : r.face;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return GdiFont(CreateFontIndirectA(&lf));
}

}  // namespace

ScreenPageCanvas::ScreenPageCanvas(HDC dc, const PageGeometry& page) : state_(dc), dc_(dc), page_(page) {
  SetTextColor(dc, RGB(0, 0, 0));
}

HFONT ScreenPageCanvas::fontOf(FontSlot slot, bool turned) const {
  const auto i = static_cast<std::size_t>(slot);
  if (i < fonts_.size()) {
    if (turned && turnedFonts_[i]) return turnedFonts_[i].get();
    if (fonts_[i]) return fonts_[i].get();
  }
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void ScreenPageCanvas::selectCurrent() { SelectObject(dc_, fontOf(font_, turned_)); }

void ScreenPageCanvas::setFont(FontSlot slot, const FontRequest& request) {
  const auto i = static_cast<std::size_t>(slot);
  if (i >= fonts_.size()) return;
  // The old font may be selected: select the stock font before deleting it.
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  fonts_[i] = makeFont(request, false);
  turnedFonts_[i] = makeFont(request, true);
  selectCurrent();
}

FontSlot ScreenPageCanvas::selectFont(FontSlot slot) {
  const FontSlot previous = font_;
  if (static_cast<int>(slot) < kFontSlotCount) {
    font_ = slot;
    selectCurrent();
  }
  return previous;
}

bool ScreenPageCanvas::setTextTurned(bool turned) {
  const bool previous = turned_;
  turned_ = turned;
  selectCurrent();
  return previous;
}

FontMetrics ScreenPageCanvas::fontMetrics() {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  return FontMetrics{tm.tmAscent, tm.tmDescent, tm.tmExternalLeading, tm.tmAveCharWidth};
}

TextExtent ScreenPageCanvas::measureText(std::string_view text) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  if (text.empty()) return TextExtent{0, tm.tmHeight};
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  // A turned font reports its extent along its own direction on some drivers.
  return TextExtent{std::abs(size.cx), tm.tmHeight};
}

int ScreenPageCanvas::inkHeight(std::string_view text) { return capitalHeight(dc_, text); }

int ScreenPageCanvas::ascent() { return fontAscent(dc_); }

void ScreenPageCanvas::drawText(int x, int baseline, std::string_view text) {
  drawTextAt(dc_, x, baseline, text);
}

void ScreenPageCanvas::drawLine(int x1, int y1, int x2, int y2) {
  drawLineIn(dc_, colour_, PS_SOLID, x1, y1, x2, y2);
}

void ScreenPageCanvas::drawDottedLine(int x1, int y1, int x2, int y2) {
  drawLineIn(dc_, colour_, PS_DOT, x1, y1, x2, y2);
}

void ScreenPageCanvas::fillRect(int left, int top, int right, int bottom) {
  GdiBrush brush(CreateSolidBrush(RGB(colour_.red, colour_.green, colour_.blue)));
  if (!brush) return;
  const RECT r{left, top, right, bottom};
  FillRect(dc_, &r, brush.get());
}

Rgb ScreenPageCanvas::setTextColour(Rgb colour) {
  const Rgb previous = colour_;
  colour_ = colour;
  SetTextColor(dc_, RGB(colour.red, colour.green, colour.blue));
  return previous;
}

void ScreenPageCanvas::drawCheckMark(int x, int baseline) {
  // Labels carry no check marks; a small tick in the text colour all the same.
  const int s = std::max(2, ascent() / 2);
  drawLine(x, baseline - s / 2, x + s / 3, baseline);
  drawLine(x + s / 3, baseline, x + s, baseline - s);
}

int ScreenPageCanvas::checkMarkWidth() { return std::max(2, ascent() / 2); }

void ScreenPageCanvas::clipTo(int left, int top, int right, int bottom) {
  state_.clipTo(left, top, right, bottom);
}

void ScreenPageCanvas::unclip() { state_.unclip(); }

int ScreenPageCanvas::averageCharWidth() {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  return tm.tmAveCharWidth;
}

ScriptOffsets ScreenPageCanvas::scriptOffsets() {
  // Worked out from the two fonts as the description's font table does:
  // a superscript rises by a third of the main ascent, a subscript drops by
  // a quarter of it.
  const FontSlot previous = selectFont(FontSlot::kText);
  const int mainAscent = ascent();
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  const int mainDescent = tm.tmDescent;
  selectFont(FontSlot::kSmall);
  GetTextMetricsA(dc_, &tm);
  selectFont(previous);
  ScriptOffsets o;
  o.superscriptRise = mainAscent / 3;
  o.subscriptDrop = mainAscent / 4;
  o.extraAbove = std::max(0, o.superscriptRise + static_cast<int>(tm.tmAscent) - mainAscent);
  o.extraBelow = std::max(0, o.subscriptDrop + static_cast<int>(tm.tmDescent) - mainDescent);
  return o;
}

}  // namespace kalvor::win32
