#include "crystal/drawing_preparation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "crystal/computed_drawing.h"

namespace kalvor::crystal {

std::optional<std::vector<std::uint32_t>> prepareDrawing(std::span<const std::uint32_t> values,
                                                         const DrawingArea& area) {
  std::vector<std::uint32_t> out(values.begin(), values.end());
  std::uint32_t xm = 0, ym = 0;
  for (std::uint32_t v : values) {
    xm = std::max(xm, v & 0x7FFFu);
    ym = std::max(ym, (v >> 16) & 0x7FFFu);
  }
  if (xm == 0 || ym == 0) return out;
  const int w = area.width - 6 * area.averageCharWidth / 4;
  const int h = area.height - 6 * area.lineHeight / 8;
  if (w <= 0 || h <= 0) return std::nullopt;
  const double scale = std::min(double(w) / xm, double(h) / ym);
  const long marginX = static_cast<long>(std::trunc(w - scale * xm)) / 2;
  const long marginY = static_cast<long>(std::trunc(h - scale * ym)) / 2;
  const long shiftX = 3 * area.averageCharWidth / 4, shiftY = 3 * area.lineHeight / 8;
  for (std::uint32_t& v : out) {
    const long x = static_cast<long>(std::trunc((v & 0x7FFFu) * scale)) + marginX + shiftX;
    const long y = static_cast<long>(std::trunc(((v >> 16) & 0x7FFFu) * scale)) + marginY + shiftY;
    v = (v & 0x80008000u) | static_cast<std::uint32_t>(std::clamp(x, 0L, 32767L)) |
        (static_cast<std::uint32_t>(std::clamp(y, 0L, 32767L)) << 16);
  }
  return out;
}

std::string drawingSourceText(const DrawingSource& source, const std::optional<MineralForms>& forms) {
  if (source.volume() != kComputedVolume) {
    char head[160];
    std::snprintf(
        head, sizeof head,
        "Die angezeigte Zeichnung wurde entnommen aus:\nBrantholm, Atlas der Krystallformen, Band %d, "
        "Tafel %d, Figur %d\n",
        source.volume(), source.plate(), source.figure());
    return head + source.note();
  }
  if (forms) return computedDrawingInfo(*forms);
  std::string text = "Die angezeigte Zeichnung wurde von Kalvor berechnet.\n";
  text += source.note();
  return text;
}

}  // namespace kalvor::crystal
