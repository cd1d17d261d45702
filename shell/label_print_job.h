// One document of labels on the default printer, open while a label dialog
// runs: the sheet fills row by row over several presses of "&Weitere" and
// goes to the printer at "&OK", or is thrown away at "&Abbrechen".
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "labels/label_layout.h"
#include "labels/label_sheet.h"
#include "win32/printer_canvas.h"
#include "win32/printer_document.h"

namespace kalvor::shell {

class LabelPrintJob {
 public:
  // Opens the default printer without a dialog and starts the document
  // `name` (Windows-1252). Nothing, after the message over `owner`, when
  // there is no default printer or it refuses the document.
  static std::unique_ptr<LabelPrintJob> open(HWND owner, HINSTANCE instance, std::string_view name);
  ~LabelPrintJob();
  LabelPrintJob(const LabelPrintJob&) = delete;
  LabelPrintJob& operator=(const LabelPrintJob&) = delete;

  PageGeometry page() const { return canvas_.geometry(); }
  LabelSheet& sheet() { return sheet_; }
  // Draws `copies` labels at the next places of the sheet.
  void print(const LabelContent& content, int copies);
  int labelsDrawn() const { return labels_; }

  // Ends the last page and the document, which goes to the printer; a
  // document without a label is thrown away instead (no empty job). False,
  // after the message over `owner`, when the printer refused a step.
  bool finish(HWND owner);
  // Throws the whole document away.
  void abort() { document_.abort(); }

 private:
  LabelPrintJob(win32::PrinterDc dc, HINSTANCE instance);

  HINSTANCE instance_;
  win32::PrinterDc dc_;
  win32::PrinterDocument document_;
  win32::PrinterCanvas canvas_;
  LabelSheet sheet_;
  int labels_ = 0;
};

}  // namespace kalvor::shell
