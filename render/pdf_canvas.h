// A page canvas that writes a PDF file through cairo: device units are
// pixels of a chosen resolution on A4 pages, texts go in as UTF-8 (converted
// from Windows-1252 here, at the edge) in Liberation Serif and Sans, which
// cairo embeds. Only the native build has it (KALVOR_HAVE_CAIRO); the
// Windows programs print through GDI instead.
#pragma once

#include <memory>
#include <string>

#include "render/page_canvas.h"

namespace kalvor {

// A4 in inches.
inline constexpr double kA4WidthInches = 210.0 / 25.4;
inline constexpr double kA4HeightInches = 297.0 / 25.4;
// The margin a PDF page keeps free on every side, as a printer's unprintable
// border does: a sixth of an inch. Device coordinates start inside it.
inline constexpr double kPdfMarginInches = 1.0 / 6;

class PdfCanvas : public PageCanvas {
 public:
  // Creates the file at `path` (UTF-8) with A4 pages of `dpi` device units
  // per inch; the printable area lies kPdfMarginInches inside the paper's
  // edges, and the printing offset is that border too, as a printer driver
  // reports its unprintable border: labels and reports land where they do
  // on a printer with the same border. Nothing when the file cannot be made.
  static std::unique_ptr<PdfCanvas> create(const std::string& path, int dpi);

  // Closes the file (a page not ended goes in as it stands). False when the
  // file could not be written completely.
  virtual bool finish() = 0;
  // Pages ended so far.
  virtual int pageCount() const = 0;
};

}  // namespace kalvor
