// The dialog "Sammlungsauswertung": the specimens of the collection found by
// minerals, locality, storage place, index, date, kind and acquisition. It
// ends with 1 and the specimens found, or 0 after "Abbrechen".
#pragma once

#include <vector>

#include "app/startup.h"
#include "collection/locality.h"
#include "controls/list_control.h"
#include "search/collection_search_form.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class SpecimenSearchDialog final : public ModalDialog {
 public:
  SpecimenSearchDialog(HINSTANCE instance, ReferenceData& data, const controls::ListEnvironment& lists)
      : ModalDialog(instance, "SAMMLUNGSAUSWERTUNG"), data_(data), lists_(lists) {}
  // What "Suchen" found.
  CollectionSearchFormOutcome takeOutcome() { return std::move(outcome_); }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;

  void show(const SpecimenSearchControls& controls);

  ReferenceData& data_;
  const controls::ListEnvironment& lists_;
  std::vector<LocalityChoice> localities_;
  CollectionSearchFormOutcome outcome_;
};

}  // namespace kalvor::shell
