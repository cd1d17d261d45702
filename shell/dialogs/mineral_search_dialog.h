// The dialog "Mineralbestimmung": the properties observed on an unknown
// specimen, searched in the reference data. It opens with the criteria of the
// last search and ends with 1 when minerals were found.
#pragma once

#include <vector>

#include "app/startup.h"
#include "collection/locality.h"
#include "determination/determination_search.h"
#include "search/determination_form.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class MineralSearchDialog final : public ModalDialog {
 public:
  // `saved` lives for the whole run: it is shown at the opening and updated by every search.
  MineralSearchDialog(HINSTANCE instance, ReferenceData& data, DeterminationCriteria& saved)
      : ModalDialog(instance, "SUCHEN"), data_(data), saved_(saved) {}
  // The minerals found, in name-list order; empty unless the dialog ended with 1.
  SearchResultList takeResults() { return std::move(results_); }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;

  // Puts the model's control values into the controls, and reads them back.
  void show(const DeterminationControls& controls);
  DeterminationControls read() const;

  ReferenceData& data_;
  DeterminationCriteria& saved_;
  std::vector<LocalityChoice> localities_;
  SearchResultList results_;
};

}  // namespace kalvor::shell
