#include "render/measuring_canvas.h"

namespace kalvor {

FixedCanvasMetrics standardMeasuringMetrics() {
  FixedCanvasMetrics m;
  const FixedFontMetrics text{8, 13, 3, 10};
  const FixedFontMetrics system{7, 13, 3, 10};
  m.fonts[static_cast<int>(FontSlot::kText)] = text;
  m.fonts[static_cast<int>(FontSlot::kSmall)] = {6, 10, 2, 8};
  m.fonts[static_cast<int>(FontSlot::kHeading)] = {11, 18, 4, 14};
  m.fonts[static_cast<int>(FontSlot::kSecondary)] = text;
  m.fonts[static_cast<int>(FontSlot::kItalic)] = text;
  m.fonts[static_cast<int>(FontSlot::kLowered)] = system;
  m.fonts[static_cast<int>(FontSlot::kSystem6)] = system;
  m.fonts[static_cast<int>(FontSlot::kSystem7)] = system;
  m.fonts[static_cast<int>(FontSlot::kSystem8)] = system;
  m.fonts[static_cast<int>(FontSlot::kGreek)] = {9, 13, 3, 10};
  // A superscript's top (6 + 10) stands 3 above the text ascent 13; a
  // subscript's bottom (4 + 2) 3 below the text descent 3.
  m.offsets = ScriptOffsets{6, 4, 3, 3};
  m.averageCharWidth = 7;
  m.checkMarkWidth = 8;
  return m;
}

MeasuringCanvas::MeasuringCanvas() : MeasuringCanvas(standardMeasuringMetrics()) {}

MeasuringCanvas::MeasuringCanvas(const FixedCanvasMetrics& metrics) : metrics_(metrics) {}

FontSlot MeasuringCanvas::selectFont(FontSlot slot) {
  const FontSlot previous = font_;
  if (static_cast<int>(slot) < kFontSlotCount) font_ = slot;
  return previous;
}

TextExtent MeasuringCanvas::measureText(std::string_view text) {
  const FixedFontMetrics& f = metrics_.fonts[static_cast<int>(font_)];
  return TextExtent{static_cast<int>(text.size()) * f.charWidth, f.ascent + f.descent};
}

int MeasuringCanvas::inkHeight(std::string_view text) {
  return text.empty() ? 0 : metrics_.fonts[static_cast<int>(font_)].inkHeight;
}

int MeasuringCanvas::ascent() { return metrics_.fonts[static_cast<int>(font_)].ascent; }

void MeasuringCanvas::drawText(int x, int baseline, std::string_view text) {
  if (text.empty()) return;
  texts_.push_back(DrawnText{x, baseline, font_, colour_, std::string(text), clip_, turned_, pagesBegun_});
}

void MeasuringCanvas::drawLine(int x1, int y1, int x2, int y2) {
  lines_.push_back(DrawnLine{x1, y1, x2, y2, colour_, false, pagesBegun_});
}

Rgb MeasuringCanvas::setTextColour(Rgb colour) {
  const Rgb previous = colour_;
  colour_ = colour;
  return previous;
}

void MeasuringCanvas::drawCheckMark(int x, int baseline) {
  checkMarks_.push_back(DrawnCheckMark{x, baseline});
}

void MeasuringCanvas::clipTo(int left, int top, int right, int bottom) {
  clip_ = ClipRect{left, top, right, bottom};
}

std::string MeasuringCanvas::visibleText(const DrawnText& t) const {
  if (!t.clip) return t.text;
  const ClipRect& c = *t.clip;
  // A text whose baseline lies outside the clip's rows shows nothing; the
  // fixed metrics make every character one cell of the font's width.
  if (t.baseline < c.top || t.baseline >= c.bottom) return {};
  const int width = metrics_.fonts[static_cast<int>(t.font)].charWidth;
  std::string out;
  for (std::size_t i = 0; i < t.text.size(); ++i) {
    const int left = t.x + static_cast<int>(i) * width;
    if (left >= c.left && left + width <= c.right) out += t.text[i];
  }
  return out;
}

void MeasuringCanvas::clearRecord() {
  texts_.clear();
  lines_.clear();
  checkMarks_.clear();
  rects_.clear();
}

FixedFontMetrics measuringFontMetrics(const FontRequest& request) {
  const int h = request.height > 0 ? request.height : 1;
  return FixedFontMetrics{h / 2 > 0 ? h / 2 : 1, h, h / 4, h * 3 / 4};
}

bool MeasuringCanvas::beginPage() {
  ++pagesBegun_;
  return true;
}

bool MeasuringCanvas::endPage() {
  ++pagesEnded_;
  return true;
}

void MeasuringCanvas::setFont(FontSlot slot, const FontRequest& request) {
  const int i = static_cast<int>(slot);
  if (i >= kFontSlotCount) return;
  metrics_.fonts[i] = measuringFontMetrics(request);
  requests_[i] = request;
}

FontMetrics MeasuringCanvas::fontMetrics() {
  const FixedFontMetrics& f = metrics_.fonts[static_cast<int>(font_)];
  return FontMetrics{f.ascent, f.descent, 0, f.charWidth};
}

bool MeasuringCanvas::setTextTurned(bool turned) {
  const bool previous = turned_;
  turned_ = turned;
  return previous;
}

void MeasuringCanvas::drawDottedLine(int x1, int y1, int x2, int y2) {
  lines_.push_back(DrawnLine{x1, y1, x2, y2, colour_, true, pagesBegun_});
}

void MeasuringCanvas::fillRect(int left, int top, int right, int bottom) {
  rects_.push_back(DrawnRect{left, top, right, bottom, pagesBegun_});
}

}  // namespace kalvor
