// "Direkterfassung Mineraletikett" (DIREKTMMERFASSUNG): labels printed
// straight from what the user types, in a chosen format, several copies at
// a time. The print document stays open while the dialog is open: each
// "&Weitere" adds labels to the sheet, "&OK" prints the last entry and
// sends the document, "&Abbrechen" throws the whole document away.
#pragma once

#include <vector>

#include "app/startup.h"
#include "controls/list_control.h"
#include "labels/label_format.h"
#include "platform/settings.h"
#include "shell/dialog.h"
#include "shell/label_print_job.h"
#include "win32/gdi_canvas.h"

namespace kalvor::shell {

class DirectLabelsDialog final : public ModalDialog {
 public:
  // Prints through `job` (already open on the default printer); `fonts`
  // draw the formula display on the screen.
  DirectLabelsDialog(HINSTANCE instance, LabelPrintJob& job, Settings& settings, ReferenceData& data,
                     const controls::ListEnvironment& lists, const win32::DescriptionFontSet& fonts)
      : ModalDialog(instance, "DIREKTMMERFASSUNG"), job_(job), settings_(settings), data_(data), lists_(lists),
        fonts_(fonts) {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
  void onOk() override;
  void onCancel() override;

  // Prints the copies of the entry; false when the count is refused.
  bool printEntry();
  void showRest();
  void formatChosen();
  void newFormat();
  std::string formula() const;

  LabelPrintJob& job_;
  Settings& settings_;
  ReferenceData& data_;
  const controls::ListEnvironment& lists_;
  const win32::DescriptionFontSet& fonts_;
  std::vector<LabelFormat> userFormats_;  // printing form
  int format_ = 0;                        // index in the format list
};

}  // namespace kalvor::shell
