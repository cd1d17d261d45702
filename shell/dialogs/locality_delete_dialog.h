// The dialog "FUNDSTELLELOESCHEN" ("Fundstelle löschen"): deletes a locality
// with its specimens, or moves its specimens to a replacement locality
// ("unbekannt" or another one; never the locality being deleted). It ends
// with 1 only when the locality was deleted.
#pragma once

#include <cstdint>
#include <vector>

#include "collection/collection.h"
#include "collection/locality.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class LocalityDeleteDialog final : public ModalDialog {
 public:
  LocalityDeleteDialog(HINSTANCE instance, Collection& collection, Locality locality)
      : ModalDialog(instance, "FUNDSTELLELOESCHEN"), collection_(collection), locality_(std::move(locality)) {}

 private:
  bool onInit() override;
  void onOk() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
  bool onMeasureItem(MEASUREITEMSTRUCT& item) override;

  Collection& collection_;
  Locality locality_;
  std::vector<LocalityChoice> replacements_;
};

}  // namespace kalvor::shell
