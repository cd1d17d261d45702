// The dialog "Fundortsuche": the localities of the collection found by the
// minerals found there, by region, country and nearest place. It ends with 1
// and the localities found, or 0 after "Abbrechen".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "controls/list_control.h"
#include "search/collection_search_form.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class LocalitySearchDialog final : public ModalDialog {
 public:
  LocalitySearchDialog(HINSTANCE instance, ReferenceData& data, const controls::ListEnvironment& lists)
      : ModalDialog(instance, "FUNDORTSUCHE"), data_(data), lists_(lists) {}
  // What "Suchen" found: the localities and the minerals their descriptions mark.
  CollectionSearchFormOutcome takeOutcome() { return std::move(outcome_); }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;

  void show(const LocalitySearchControls& controls);
  // Fills "Region" with the regions of the selected country and selects `selected`.
  void fillRegions(std::size_t selected);

  ReferenceData& data_;
  const controls::ListEnvironment& lists_;
  std::vector<std::string> countries_;
  std::vector<std::string> regions_;
  CollectionSearchFormOutcome outcome_;
};

}  // namespace kalvor::shell
