// "Etiketten für Stufen" (STUFENETIKETTEN): labels for specimens of the
// collection, filled from what was entered for them (minerals, accompanying
// minerals, locality line, collection index, a QR code where the format has
// room), for the selected specimen or every specimen of the list, in a
// chosen format, placed on the sheet one after the other like the direct
// labels.
#pragma once

#include <cstdint>
#include <vector>

#include "app/startup.h"
#include "labels/label_format.h"
#include "platform/settings.h"
#include "shell/dialog.h"
#include "shell/label_print_job.h"

namespace kalvor::shell {

// Ends with 1 when labels were printed.
class PieceLabelsDialog final : public ModalDialog {
 public:
  // `pieces`: the specimens of the list in its order; `selected`: the
  // selected one, 0 for none.
  PieceLabelsDialog(HINSTANCE instance, LabelPrintJob& job, Settings& settings, ReferenceData& data,
                    std::vector<std::uint32_t> pieces, std::uint32_t selected)
      : ModalDialog(instance, "STUFENETIKETTEN"), job_(job), settings_(settings), data_(data),
        pieces_(std::move(pieces)), selected_(selected) {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  void onCancel() override;

  void showRest();
  void formatChosen();

  LabelPrintJob& job_;
  Settings& settings_;
  ReferenceData& data_;
  std::vector<std::uint32_t> pieces_;
  std::uint32_t selected_;
  std::vector<LabelFormat> userFormats_;  // printing form
  int format_ = 0;
};

}  // namespace kalvor::shell
