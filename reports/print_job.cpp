#include "reports/print_job.h"

#include <algorithm>

namespace kalvor {

namespace {

FontRequest reportFont(const char* face, int points, int dpiY, std::uint8_t pitchAndFamily) {
  FontRequest r;
  r.face = face;
  // As the printer setup makes its fonts: (-points × dpi + 71) div 72, negated.
  r.height = std::max(1, -((-points * dpiY + 71) / 72));
  r.pitchAndFamily = pitchAndFamily;
  return r;
}

}  // namespace

void setReportFonts(PageCanvas& device) {
  const int dpiY = device.geometry().dpiY;
  constexpr std::uint8_t kRoman = 0x12, kSwiss = 0x22;
  device.setFont(FontSlot::kText, reportFont("Times New Roman", kReportTextPoints, dpiY, kRoman));
  device.setFont(FontSlot::kSmall, reportFont("Times New Roman", kReportSmallPoints, dpiY, kRoman));
  device.setFont(FontSlot::kHeading, reportFont("Times New Roman", kReportHeadingPoints, dpiY, kRoman));
  device.setFont(FontSlot::kSecondary, reportFont("Arial", kReportSecondaryPoints, dpiY, kSwiss));
  FontRequest italic = reportFont("Times New Roman", kReportTextPoints, dpiY, kRoman);
  italic.italic = true;
  device.setFont(FontSlot::kItalic, italic);
  device.setFont(FontSlot::kLowered, reportFont("Arial", kReportSmallPoints, dpiY, kSwiss));
  FontRequest symbol = reportFont("Symbol", kReportTextPoints, dpiY, 0x50);
  symbol.symbol = true;
  device.setFont(FontSlot::kGreek, symbol);
}

PrintFrame beginPrintJob(PageCanvas& device, DescriptionLayout& layout, int firstLabel, int labelCount) {
  setReportFonts(device);
  const PageGeometry g = device.geometry();
  const int margin = static_cast<int>(g.dpiX * kReportMarginInches);
  PrintFrame f;
  f.area = LayoutArea{g.offsetX + margin, g.offsetY, g.width - margin, g.height};
  Canvas& canvas = layout.canvas();
  {
    ScopedFont text(device, FontSlot::kText);
    const FontMetrics m = device.fontMetrics();
    f.charWidth = std::max(1, m.averageCharWidth);
    f.lineHeight = std::max(1, m.lineHeight());
    f.pageTop = f.area.top + f.eighths(1) + canvas.measureText("\xDC").height;
  }
  int widest = 0;
  for (int label = firstLabel; label < firstLabel + labelCount; ++label) {
    ScopedFont font(canvas, layout.labelFont(label));
    widest = std::max(widest, canvas.measureText(descriptionLabelText(label)).width);
  }
  ScopedFont text(canvas, FontSlot::kText);
  f.valueX = f.area.left + widest + canvas.measureText(" ").width;
  return f;
}

int labelValueLine(DescriptionLayout& layout, std::string_view text, int label, int labelX, int y, int valueX,
                   int wrapWidth) {
  return layout.drawLabelledLine(valueX, y, label, text, wrapWidth, labelX) - y;
}

int labelRichText(DescriptionLayout& layout, int label, std::string_view text, int labelX, int y, int valueX,
                  int width) {
  Canvas& canvas = layout.canvas();
  int labelAscent = 0;
  int labelBottom = y;
  {
    ScopedFont font(canvas, layout.labelFont(label));
    labelAscent = canvas.ascent();
    canvas.drawText(labelX, y + labelAscent, descriptionLabelText(label));
    labelBottom = y + canvas.measureText("Ag").height;
  }
  ScopedFont font(canvas, FontSlot::kSecondary);
  const int textTop = y + std::max(0, labelAscent - canvas.ascent());
  return std::max(labelBottom, layout.drawRichText(valueX, textTop, FontSlot::kSecondary, text, width, 0));
}

void drawHorizontalLine(Canvas& canvas, int x1, int x2, int y) { canvas.drawLine(x1, y, x2, y); }

void drawVerticalLine(Canvas& canvas, int x, int y1, int y2) { canvas.drawLine(x, y1, x, y2); }

void drawCheckBox(Canvas& canvas, int x, int y, int side, bool marked) {
  const int top = y - side;
  const int right = x + side;
  canvas.drawLine(x, top, right, top);
  canvas.drawLine(right, top, right, y);
  canvas.drawLine(right, y, x, y);
  canvas.drawLine(x, y, x, top);
  if (marked) {
    canvas.drawLine(x, top, right, y);
    canvas.drawLine(x, y, right, top);
  }
}

std::string printFailedText() {
  return "Der Drucker hat eine Seite nicht angenommen; der Druck wurde abgebrochen.";
}

}  // namespace kalvor
