#include "win32/gdi_canvas.h"

#include <algorithm>
#include <vector>

namespace kalvor::win32 {

int capitalHeight(HDC dc, std::string_view text) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int height = tm.tmHeight;
  const int width = std::max<int>(1, tm.tmMaxCharWidth);
  MemoryDc memory(dc);
  if (!memory || height <= 0) return 0;
  GdiBitmap bitmap(CreateCompatibleBitmap(dc, 2 * width, 2 * height));
  if (!bitmap) return 0;
  ScopedSelectObject selectBitmap(memory.get(), bitmap.get());
  ScopedSelectObject selectFont(memory.get(), GetCurrentObject(dc, OBJ_FONT));
  PatBlt(memory.get(), 0, 0, 2 * width, 2 * height, BLACKNESS);
  SetTextColor(memory.get(), RGB(255, 255, 255));
  SetBkMode(memory.get(), TRANSPARENT);
  SetTextAlign(memory.get(), TA_BASELINE | TA_LEFT);
  for (char c : text) TextOutA(memory.get(), 0, height, &c, 1);
  for (int row = 0; row < 2 * height; ++row)
    for (int col = 0; col < width; ++col)
      if ((GetPixel(memory.get(), col, row) & 0xFFFFFF) != 0) return std::max(0, height - row);
  return 0;
}

HFONT DescriptionFontSet::font(FontSlot slot) const {
  const int i = static_cast<int>(slot);
  if (i >= 0 && i < kFontSlotCount && fonts_[i]) return fonts_[i].get();
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void DescriptionFontSet::setFont(FontSlot slot, GdiFont font) {
  const int i = static_cast<int>(slot);
  if (i >= 0 && i < kFontSlotCount) fonts_[i] = std::move(font);
}

GdiCanvas::GdiCanvas(HDC dc, const DescriptionFontSet& fonts)
    : state_(dc), dc_(dc), fonts_(fonts), colour_(state_.savedColour()) {
  SelectObject(dc, fonts.font(FontSlot::kText));
}

FontSlot GdiCanvas::selectFont(FontSlot slot) {
  const FontSlot previous = font_;
  if (static_cast<int>(slot) < kFontSlotCount) {
    font_ = slot;
    SelectObject(dc_, fonts_.font(slot));
  }
  return previous;
}

TextExtent GdiCanvas::measureText(std::string_view text) {
  if (text.empty()) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return TextExtent{0, tm.tmHeight};
  }
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return TextExtent{size.cx, size.cy};
}

int GdiCanvas::inkHeight(std::string_view text) {
  // Measuring ink draws into a bitmap; the same few texts are asked for again and again.
  const auto key = std::make_pair(static_cast<int>(font_), std::string(text));
  const auto it = inkCache_.find(key);
  if (it != inkCache_.end()) return it->second;
  const int height = capitalHeight(dc_, text);
  inkCache_.emplace(key, height);
  return height;
}

int GdiCanvas::ascent() { return fontAscent(dc_); }

void GdiCanvas::drawText(int x, int baseline, std::string_view text) { drawTextAt(dc_, x, baseline, text); }

void GdiCanvas::drawLine(int x1, int y1, int x2, int y2) {
  drawLineIn(dc_, colour_, PS_SOLID, x1, y1, x2, y2);
}

Rgb GdiCanvas::setTextColour(Rgb colour) {
  const Rgb previous = colour_;
  colour_ = colour;
  SetTextColor(dc_, RGB(colour.red, colour.green, colour.blue));
  return previous;
}

void GdiCanvas::drawCheckMark(int x, int baseline) {
  const int width = GetSystemMetrics(SM_CXMENUCHECK);
  const int height = GetSystemMetrics(SM_CYMENUCHECK);
  RECT r{x, baseline - height, x + width, baseline};
  DrawFrameControl(dc_, &r, DFC_MENU, DFCS_MENUCHECK);
}

void GdiCanvas::clipTo(int left, int top, int right, int bottom) { state_.clipTo(left, top, right, bottom); }

void GdiCanvas::unclip() { state_.unclip(); }

int GdiCanvas::checkMarkWidth() { return GetSystemMetrics(SM_CXMENUCHECK); }

}  // namespace kalvor::win32
