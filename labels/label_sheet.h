// A sheet of labels being filled row by row on a page canvas, the way the
// direct label dialog keeps its print job open: labels go to the next place,
// a full row moves the row top down, a full page is ended, and a change of
// format closes the started row and counts the rows that no longer fit as
// used. The printer and the PDF file are both just a PageCanvas here.
#pragma once

#include <optional>

#include "labels/label_format.h"
#include "labels/label_geometry.h"
#include "labels/label_layout.h"
#include "render/page_canvas.h"

namespace kalvor {

// What is left: places in the current row and on the current page, shown
// as "%d/%d" in "Rest (Zeile/Seite):".
struct LabelRest {
  int row = 0;
  int page = 0;
  bool operator==(const LabelRest&) const = default;
};

class LabelSheet {
 public:
  // A sheet on `canvas` (not owned). Pages are begun when the first label
  // goes on them, so a sheet never leaves an empty page behind.
  explicit LabelSheet(PageCanvas& canvas);
  LabelSheet(const LabelSheet&) = delete;
  LabelSheet& operator=(const LabelSheet&) = delete;

  // Takes over a format in printing form: its geometry and fonts. The first
  // format starts at the top of the sheet. A later one closes a started
  // row; when the new full height no longer fits below the row top the
  // page is ended, otherwise the places above the row top are counted as
  // used. Returns the problem and keeps the previous format when the
  // format cannot be placed on this page.
  LabelFormatProblem selectFormat(const LabelFormat& printingForm);

  // Draws `copies` labels of `content`, each at the next place; a page that
  // fills up is ended (the next one begins with the next label). Returns
  // the labels placed on the current page afterwards. Nothing is drawn
  // before a format was selected.
  int printLabels(const LabelContent& content, int copies);

  // Turns the formula line of the current format on or off for the labels
  // that follow (the "Formel:" box of the direct dialog); the places stay.
  void setFormula(bool on);
  // The same for the QR code (the labels for specimens of the collection).
  void setQrCode(bool on);

  // Ends the current page when labels were drawn on it ("&OK").
  void finish();

  LabelRest rest() const;
  int placed() const { return placed_; }
  int rowTop() const { return rowTop_; }
  const std::optional<LabelGeometry>& geometry() const { return geometry_; }
  const std::optional<LabelFormat>& format() const { return format_; }

 private:
  void endPage();

  PageCanvas& canvas_;
  PageGeometry page_;
  std::optional<LabelFormat> format_;
  std::optional<LabelGeometry> geometry_;
  LabelFontMetrics metrics_;
  int placed_ = 0;
  int rowTop_ = 0;
  bool pageOpen_ = false;
};

}  // namespace kalvor
