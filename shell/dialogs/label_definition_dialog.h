// "Etikettenformat Definition" (ETIKETTENDEFINITION): the user's label
// formats of "kalvor.ini" are edited or a new one is defined, with a live
// preview of a sample label on the screen and the number of labels that fit
// a page of the default printer.
#pragma once

#include <optional>
#include <vector>

#include "app/startup.h"
#include "labels/label_format.h"
#include "labels/label_format_form.h"
#include "platform/settings.h"
#include "render/page_canvas.h"
#include "shell/dialog.h"

namespace kalvor::shell {

// Ends with 1 when a format was saved, 0 otherwise.
class LabelDefinitionDialog final : public ModalDialog {
 public:
  // `printerPage`: the page of the default printer the count is worked out
  // for; `data` (may be null) looks up the sample's formula.
  LabelDefinitionDialog(HINSTANCE instance, Settings& settings, const PageGeometry& printerPage,
                        const ReferenceData* data)
      : ModalDialog(instance, "ETIKETTENDEFINITION"), settings_(settings), printerPage_(printerPage),
        data_(data) {}

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
  void onOk() override;

  void show(const LabelFormatFields& fields);
  LabelFormatFields read() const;
  // Re-reads the fields, shows the count per page and redraws the preview.
  void refresh();
  void chooseFont();
  void drawPreview(const DRAWITEMSTRUCT& item) const;

  Settings& settings_;
  PageGeometry printerPage_;
  const ReferenceData* data_;
  std::vector<LabelFormat> formats_;  // settings form
  std::optional<int> selected_;       // list position of the format shown; nothing for a new one
  std::optional<FontDescription> font_;
  LabelFormat working_;  // settings form
};

}  // namespace kalvor::shell
