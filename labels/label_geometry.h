// Where labels go on a sheet: the label's size in device units, how many fit
// in a row and on a page, and the check that refuses a format that cannot be
// placed (too small, larger than the page, or with nonsensical frame or
// font sizes) before any division by a count of zero.
#pragma once

#include <optional>
#include <string>

#include "labels/label_format.h"
#include "render/page_canvas.h"

namespace kalvor {

// A label's size and the counts per row and page, in device units.
struct LabelGeometry {
  int w = 0;        // label width: int(dpiX × width)
  int h = 0;        // face height: int(dpiY × height)
  int H = 0;        // full height with the stand: int(dpiY × (height + standHeight))
  int perRow = 0;   // int(pageWidth ÷ (width × dpiX))
  int rows = 0;     // int(pageHeight ÷ ((height + standHeight) × dpiY))
  int perPage = 0;  // perRow × rows
  bool operator==(const LabelGeometry&) const = default;
};

// Why a format cannot be placed; kNone when it can.
enum class LabelFormatProblem {
  kNone,
  kWidth,          // below 0.1 inch or wider than the page
  kHeight,         // below 0.1 inch, or with its stand taller than the page
  kStandHeight,    // negative
  kFrame,          // negative, or the frame leaves no room inside
  kFontSize,       // outside 1 to 200 points
  kIndexFontSize,  // outside 1 to 200 points
};

// The smallest label side the formats accept, in inches.
inline constexpr double kMinLabelSide = 0.1;
// The largest font size the formats accept, in points.
inline constexpr int kMaxLabelFontSize = 200;

// Checks a format in printing form against a page.
LabelFormatProblem checkLabelFormat(const LabelFormat& printingForm, const PageGeometry& page);

// The German message for a problem, naming the field (Windows-1252).
std::string labelFormatProblemText(LabelFormatProblem problem);

// The geometry of a format in printing form on a page; nothing when
// checkLabelFormat finds a problem.
std::optional<LabelGeometry> labelGeometry(const LabelFormat& printingForm, const PageGeometry& page);

// Device height of a label font of size `size` (negative, printing form):
// (size × fontDpiY + 71) div 72, a negative number as font creation takes it.
constexpr int labelFontHeight(int size, int fontDpiY) { return (size * fontDpiY + 71) / 72; }

// What the count field "Anzahl Etiketten" accepts.
inline constexpr int kMinLabelCopies = 1;
inline constexpr int kMaxLabelCopies = 999;
// The count typed into "Anzahl Etiketten": a whole number from 1 to 999;
// nothing otherwise.
std::optional<int> parseLabelCopies(std::string_view text);

}  // namespace kalvor
