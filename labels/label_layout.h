// One specimen label drawn on a page canvas: cut marks, frames, the fold
// line of a label with a stand, the wrapped mineral list, the formula line,
// the accompanying minerals, the locality, the free line in the index font,
// the upside-down upper half of a standing card printed on both halves, and
// a QR code when the format carries one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "labels/label_format.h"
#include "labels/label_geometry.h"
#include "labels/qr_code.h"
#include "render/canvas.h"
#include "render/page_canvas.h"

namespace kalvor {

// What one label says. Texts are Windows-1252.
struct LabelContent {
  std::string mineral;       // "Mineral:": one or more names, wrapped at ',' and '/'
  std::string accompanying;  // "Begleitminerale:"
  std::string locality;      // "Fundort:"
  std::string freeLine;      // "Zusätze:", in the index font at the bottom
  std::string formula;       // formula markup of the mineral; empty when none was found
  std::string qrText;        // what the QR code holds; empty for none
};

// The metrics of the main font that the label layout measures in.
struct LabelFontMetrics {
  int charWidth = 0;   // average character width
  int lineHeight = 0;  // character height plus external leading
};

// Makes the fonts of a format (printing form) on the canvas, sized by
// labelFontHeight at the page's dpiY: kText the main font, kSmall the index
// font, kGreek "Symbol" at the main size. The face is the format's own font
// or "Times New Roman". Returns the main font's metrics.
LabelFontMetrics setLabelFonts(PageCanvas& canvas, const LabelFormat& printingForm);

// The right edge of the text: `right`, or `narrowRight` for lines that
// reach below `narrowTop` (beside a QR code).
struct TextRight {
  int right = 0;
  int narrowRight = 0;
  int narrowTop = 0;
  // The right edge for a line from `top` of `height`.
  int at(int top, int height) const { return top + height > narrowTop ? narrowRight : right; }
};

// Writes `text` cut at every ',' and '/' item by item from (left, top), each
// item but the last followed by ","; an item that would cross the right
// edge starts a new line one text height lower. Returns the position below
// the last line (`top` when there is no item).
int drawWrappedList(Canvas& canvas, std::string_view text, int left, const TextRight& right, int top);
int drawWrappedList(Canvas& canvas, std::string_view text, int left, int right, int top);

// Draws one label with its top left corner at (x, y) in the fonts set by
// setLabelFonts (with the metrics it returned).
void drawLabel(PageCanvas& canvas, const LabelFormat& printingForm, const LabelGeometry& geometry,
               const LabelFontMetrics& metrics, const LabelContent& content, int x, int y);

// Where a label's QR code goes: the square of the code with two light
// modules around it, in the lower right corner of the text area.
struct QrPlacement {
  int left = 0;  // of the square with its light border
  int top = 0;
  int moduleSize = 0;  // device units per module
  QrCode code;
};

// The QR code of a label drawn at (x, y) and where it goes: at most two
// fifths of the text area's smaller side. Nothing when the format carries
// no code, the content has no text for it, the text is too long for a
// code, or the modules would be smaller than a third of a millimetre.
std::optional<QrPlacement> placeLabelQrCode(const LabelFormat& printingForm, const LabelGeometry& geometry,
                                            const LabelFontMetrics& metrics, const PageGeometry& page,
                                            const LabelContent& content, int x, int y);

}  // namespace kalvor
