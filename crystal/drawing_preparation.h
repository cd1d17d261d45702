// What the Drawing window does with the values of a drawing before it draws
// them: scaling into its drawing area, and the text of its "i" button.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "crystal/forms_file.h"
#include "refdb/drawing_blocks.h"

namespace kalvor::crystal {

// The drawing area and the system font's measures, in pixels.
struct DrawingArea {
  int width = 0, height = 0;
  int averageCharWidth = 8;
  int lineHeight = 16;
};

// The values scaled into the area: the available width W = width - 6/4 average
// character widths and height H = height - 6/8 line height; scale = the smaller
// of W / Xm and H / Ym (Xm, Ym the largest x and y); the picture centred with
// integer half margins and shifted by 3/4 character width and 3/8 line height;
// bits 31 and 15 kept. Values with Xm or Ym 0 stay as they are. Nothing when
// the area is smaller than its margins (a negative scale would run the
// coordinates into the flag bits); coordinates are clamped to 0..32767.
std::optional<std::vector<std::uint32_t>> prepareDrawing(std::span<const std::uint32_t> values,
                                                         const DrawingArea& area);

// The text of the "i" button for a drawing (Windows-1252): for a drawing from
// the atlas (volume > 0) the sentence naming volume, plate and figure with the
// note; for a computed drawing (volume 0) that it was computed, from which
// forms and cell when they are known, else with its note.
std::string drawingSourceText(const DrawingSource& source, const std::optional<MineralForms>& forms);

}  // namespace kalvor::crystal
