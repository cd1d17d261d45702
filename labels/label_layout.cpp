#include "labels/label_layout.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/cp1252.h"
#include "labels/qr_code.h"
#include "render/formula_drawing.h"

namespace kalvor {
namespace {

// The upper half of a standing card: everything drawn through it is turned
// by 180 degrees about the centre of the fold line's half, so that the
// lower half's layout reads the right way up once the card is folded and
// stood up. A point (px, py) goes to (sumX - px, sumY - py).
class ReflectedCanvas : public Canvas {
 public:
  ReflectedCanvas(PageCanvas& page, int sumX, int sumY) : page_(page), sumX_(sumX), sumY_(sumY) {}

  FontSlot selectFont(FontSlot slot) override { return page_.selectFont(slot); }
  FontSlot currentFont() const override { return page_.currentFont(); }
  TextExtent measureText(std::string_view text) override { return page_.measureText(text); }
  int inkHeight(std::string_view text) override { return page_.inkHeight(text); }
  int ascent() override { return page_.ascent(); }
  void drawText(int x, int baseline, std::string_view text) override {
    ScopedTurnedText turned(page_, true);
    page_.drawText(sumX_ - x, sumY_ - baseline, text);
  }
  void drawLine(int x1, int y1, int x2, int y2) override {
    page_.drawLine(sumX_ - x1, sumY_ - y1, sumX_ - x2, sumY_ - y2);
  }
  Rgb setTextColour(Rgb colour) override { return page_.setTextColour(colour); }
  void drawCheckMark(int x, int baseline) override { page_.drawCheckMark(sumX_ - x, sumY_ - baseline); }
  int checkMarkWidth() override { return page_.checkMarkWidth(); }
  void clipTo(int left, int top, int right, int bottom) override {
    page_.clipTo(sumX_ - right + 1, sumY_ - bottom + 1, sumX_ - left + 1, sumY_ - top + 1);
  }
  void unclip() override { page_.unclip(); }
  int averageCharWidth() override { return page_.averageCharWidth(); }
  ScriptOffsets scriptOffsets() override { return page_.scriptOffsets(); }

 private:
  PageCanvas& page_;
  int sumX_;
  int sumY_;
};

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

void drawCutMarks(Canvas& c, int x, int y, int w, int H) {
  // The first and last fifth of every edge: short marks at each corner.
  const int fw = w / 5, fh = H / 5;
  for (int edgeY : {y, y + H}) {
    c.drawLine(x, edgeY, x + fw, edgeY);
    c.drawLine(x + w - fw, edgeY, x + w, edgeY);
  }
  for (int edgeX : {x, x + w}) {
    c.drawLine(edgeX, y, edgeX, y + fh);
    c.drawLine(edgeX, y + H - fh, edgeX, y + H);
  }
}

void drawFrame(Canvas& c, const LabelFormat& f, const PageGeometry& page, int x, int y, int w, int height) {
  const int dx = static_cast<int>(f.frameDistance * page.dpiX);
  const int dy = static_cast<int>(f.frameDistance * page.dpiY);
  const int nx = static_cast<int>(f.frameWidth * page.dpiX);
  const int ny = static_cast<int>(f.frameWidth * page.dpiY);
  for (int i = 0; i <= nx; ++i) {
    c.drawLine(x + dx + i, y + dy, x + dx + i, y + height - dy);
    c.drawLine(x + w - dx - i, y + dy, x + w - dx - i, y + height - dy);
  }
  for (int j = 0; j <= ny; ++j) {
    c.drawLine(x + dx, y + dy + j, x + w - dx, y + dy + j);
    c.drawLine(x + dx, y + height - dy - j, x + w - dx, y + height - dy - j);
  }
}

// The text of one face, from `top` between `left` and `right`, the free
// line ending at `bottom`.
void drawFace(Canvas& c, const LabelFormat& f, const LabelFontMetrics& m, const LabelContent& content,
              int left, const TextRight& right, int top, int bottom) {
  const int gap = m.lineHeight * 2 / 8;
  int cursor = top;
  {
    ScopedFont main(c, FontSlot::kText);
    cursor = drawWrappedList(c, content.mineral, left, right, cursor) + gap;
    if (f.formula() && !content.formula.empty()) {
      drawFormula(c, left, cursor + m.lineHeight * 5 / 4, content.formula,
                  FormulaFonts{FontSlot::kText, FontSlot::kSmall, FontSlot::kGreek}, false);
      cursor += m.lineHeight * 3 / 2;
    }
    cursor = drawWrappedList(c, content.accompanying, left, right, cursor) + gap;
    cursor = drawWrappedList(c, content.locality, left, right, cursor);
  }
  if (content.freeLine.empty()) return;
  ScopedFont index(c, FontSlot::kSmall);
  const int height = c.measureText(content.freeLine).height;
  const int freeTop = bottom - height;
  // A free line that would run into the text above is left out; one too
  // long for the label is cut at its edge (or at a QR code's).
  if (freeTop < cursor) return;
  ScopedClip clip(c, left, freeTop, right.at(freeTop, height), bottom);
  c.drawText(left, freeTop + c.ascent(), content.freeLine);
}

std::optional<QrCode> qrCodeOf(const LabelContent& content) {
  // Phones read the bytes of a QR code as UTF-8.
  return encodeQrCode(cp1252ToUtf8(content.qrText));
}

// The text area of the face that carries the text: the lower half of a
// standing card printed on both halves, else the face from the top.
struct TextArea {
  int left = 0, right = 0;
  int top = 0;     // top of the first line
  int bottom = 0;  // where the free line ends
};

TextArea textAreaOf(const LabelFormat& f, const LabelGeometry& g, const LabelFontMetrics& m,
                    const PageGeometry& page, int x, int y) {
  const double inset = f.frameWidth + f.frameDistance;
  const int padX = static_cast<int>(inset * page.dpiX) + m.charWidth * 5 / 4;
  const int padY = static_cast<int>(inset * page.dpiY) + m.lineHeight * 4 / 8;
  const bool stand = f.standHeight > 0;
  TextArea a;
  a.left = x + padX;
  a.right = x + g.w - padX;
  const int faceTop = f.bothHalves() ? y + g.h : y;
  a.bottom = (stand && !f.bothHalves()) ? y + g.h : y + g.H - padY;
  a.top = faceTop + padY - m.lineHeight * 2 / 8;
  return a;
}

}  // namespace

std::optional<QrPlacement> placeLabelQrCode(const LabelFormat& f, const LabelGeometry& g,
                                            const LabelFontMetrics& m, const PageGeometry& page,
                                            const LabelContent& content, int x, int y) {
  if (!f.qrCode() || content.qrText.empty()) return std::nullopt;
  const std::optional<QrCode> code = qrCodeOf(content);
  if (!code) return std::nullopt;
  const TextArea a = textAreaOf(f, g, m, page, x, y);
  const int modules = code->size + 4;
  const int side = std::min(a.right - a.left, a.bottom - a.top) * 2 / 5;
  const int moduleSize = side / modules;
  // Modules below a third of a millimetre (0.013 inch) do not scan reliably.
  const int smallest = std::max(1, (page.dpiX * 13 + 999) / 1000);
  if (moduleSize < smallest) return std::nullopt;
  return QrPlacement{a.right - modules * moduleSize, a.bottom - modules * moduleSize, moduleSize, *code};
}

LabelFontMetrics setLabelFonts(PageCanvas& canvas, const LabelFormat& f) {
  const int dpiY = canvas.geometry().dpiY;
  const int mainHeight = std::max(1, -labelFontHeight(f.fontSize, dpiY));
  const int indexHeight = std::max(1, -labelFontHeight(f.indexFontSize, dpiY));
  auto request = [&f](int height) {
    if (f.font) return fontRequestOf(*f.font, height);
    FontRequest r;  // "Times New Roman", roman family, variable pitch
    r.height = height;
    return r;
  };
  canvas.setFont(FontSlot::kText, request(mainHeight));
  canvas.setFont(FontSlot::kSmall, request(indexHeight));
  FontRequest symbol;
  symbol.face = "Symbol";
  symbol.height = mainHeight;
  symbol.symbol = true;
  symbol.pitchAndFamily = 0x50;
  canvas.setFont(FontSlot::kGreek, symbol);
  ScopedFont main(canvas, FontSlot::kText);
  const FontMetrics fm = canvas.fontMetrics();
  return LabelFontMetrics{fm.averageCharWidth, fm.lineHeight()};
}

int drawWrappedList(Canvas& canvas, std::string_view text, int left, int right, int top) {
  return drawWrappedList(canvas, text, left, TextRight{right, right, top}, top);
}

int drawWrappedList(Canvas& canvas, std::string_view text, int left, const TextRight& right, int top) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ',' || text[i] == '/') {
      const std::string_view item = trimBlanks(text.substr(start, i - start));
      if (!item.empty()) items.push_back(item);
      start = i + 1;
    }
  }
  if (items.empty()) return top;
  const int height = canvas.measureText("").height;
  const int ascent = canvas.ascent();
  const int separator = canvas.measureText(", ").width;
  int x = left;
  int lineTop = top;
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::string piece(items[i]);
    if (i + 1 < items.size()) piece += ',';
    const int width = canvas.measureText(piece).width;
    if (x > left && x + width > right.at(lineTop, height)) {
      x = left;
      lineTop += height;
    }
    canvas.drawText(x, lineTop + ascent, piece);
    x += canvas.measureText(items[i]).width + separator;
  }
  return lineTop + height;
}

void drawLabel(PageCanvas& canvas, const LabelFormat& f, const LabelGeometry& g, const LabelFontMetrics& m,
               const LabelContent& content, int x, int y) {
  const PageGeometry page = canvas.geometry();
  drawCutMarks(canvas, x, y, g.w, g.H);
  const bool stand = f.standHeight > 0;
  if (f.frameDistance != 0) {
    drawFrame(canvas, f, page, x, y, g.w, stand ? g.h : g.H);
    if (f.bothHalves()) drawFrame(canvas, f, page, x, y + g.h, g.w, g.H - g.h);
  }
  if (stand) canvas.drawDottedLine(x, y + g.h, x + g.w, y + g.h);

  const TextArea area = textAreaOf(f, g, m, page, x, y);
  TextRight right{area.right, area.right, area.bottom};
  if (const std::optional<QrPlacement> qr = placeLabelQrCode(f, g, m, page, content, x, y)) {
    const QrCode& code = qr->code;
    for (int my = 0; my < code.size; ++my)
      for (int mx = 0; mx < code.size; ++mx)
        if (code.dark(mx, my)) {
          const int px = qr->left + (mx + 2) * qr->moduleSize;
          const int py = qr->top + (my + 2) * qr->moduleSize;
          canvas.fillRect(px, py, px + qr->moduleSize, py + qr->moduleSize);
        }
    right.narrowRight = qr->left - m.charWidth;
    right.narrowTop = qr->top;
  }
  const int left = area.left, top = area.top, bottom = area.bottom;
  drawFace(canvas, f, m, content, left, right, top, bottom);
  if (f.bothHalves()) {
    ReflectedCanvas upper(canvas, 2 * x + g.w, 2 * (y + g.h));
    drawFace(upper, f, m, content, left, right, top, bottom);
  }
}

}  // namespace kalvor
