// The frame every printed report shares: the printer fonts, the page area
// inside a 20 mm margin, the value column behind the widest label, labelled
// lines, rules and check boxes, and how a long job reports its progress and
// learns that the user cancelled it. The device is any PageCanvas: the
// printer, a PDF file or the measuring canvas.
#pragma once

#include <string>
#include <string_view>

#include "determination/description.h"
#include "render/page_canvas.h"

namespace kalvor {

// The margin of a report page: 20 mm in inches.
inline constexpr double kReportMarginInches = 0.7874015748031495;
// The printer fonts of the reports, in points.
inline constexpr int kReportTextPoints = 11;
inline constexpr int kReportSmallPoints = 7;
inline constexpr int kReportHeadingPoints = 17;
inline constexpr int kReportSecondaryPoints = 9;

// Where a long job shows how far it got, and how it learns that the user
// wants it stopped. The status window of the program and the command line
// implement it.
class PrintProgress {
 public:
  virtual ~PrintProgress() = default;
  // The progress line, e.g. "Bearbeite Stufe 3/120" (Windows-1252).
  virtual void show(std::string_view text) = 0;
  // True once the user asked to stop; asked before every entry.
  virtual bool cancelled() = 0;
};

// How a report ended.
enum class PrintOutcome {
  kPrinted,         // every page went to the device
  kNothingToPrint,  // the report had no entry; no page was begun
  kCancelled,       // the user stopped it; the pages so far were ended
  kDeviceFailed,    // the device refused a page: the document is lost
};

struct PrintResult {
  PrintOutcome outcome = PrintOutcome::kNothingToPrint;
  int pages = 0;  // pages ended
};

// The page area and measures of a job, in device units.
struct PrintFrame {
  LayoutArea area;     // inside the margin, from the printing offset on
  int valueX = 0;      // the value column
  int charWidth = 1;   // average character width of the text font
  int lineHeight = 1;  // line height of the text font (with external leading)
  int pageTop = 0;     // where text starts on a page: top + 1/8 line + height of "Ü"
  // Horizontal distances are given in quarters of the character width,
  // vertical ones in eighths of the line height.
  int quarters(int n) const { return n * charWidth / 4; }
  int eighths(int n) const { return n * lineHeight / 8; }
};

// Gives the device the report fonts: text, small, heading, secondary
// ("Arial"), italic, lowered class symbols and Greek ("Symbol").
void setReportFonts(PageCanvas& device);

// Sets the report fonts and measures the page: the area within the margin,
// the value column behind the widest of the labels first .. first+count-1
// (in their printing fonts, plus one blank) and the page top. The layout
// must draw on (a window of) `device` with the printing label-font table.
PrintFrame beginPrintJob(PageCanvas& device, DescriptionLayout& layout, int firstLabel, int labelCount);

// Draws `label` in its font at labelX and `text` (when not empty) at valueX
// on the line whose top is y; with wrapWidth > 0 a long text is broken at
// commas. Returns the height used.
int labelValueLine(DescriptionLayout& layout, std::string_view text, int label, int labelX, int y, int valueX,
                   int wrapWidth = 0);

// Draws `label` at labelX and `text` as rich text in the secondary font from
// valueX, lines no wider than `width`, the first on the label's baseline.
// Returns the y after both.
int labelRichText(DescriptionLayout& layout, int label, std::string_view text, int labelX, int y, int valueX,
                  int width);

// A horizontal line from x1 to x2 at y, a vertical one at x from y1 to y2.
void drawHorizontalLine(Canvas& canvas, int x1, int x2, int y);
void drawVerticalLine(Canvas& canvas, int x, int y1, int y2);
// A square of side `side` whose lower left corner is (x, y); with both
// diagonals when marked.
void drawCheckBox(Canvas& canvas, int x, int y, int side, bool marked);

// The German message for a device that refused a page.
std::string printFailedText();

}  // namespace kalvor
