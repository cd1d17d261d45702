// The dialog "STUFENERFASSUNG" (title "Stufenbeschreibung"): a new specimen,
// or a stored one changed. Reading, checking and saving are the collection's
// specimen form (collectSpecimen, saveSpecimen); this class moves the field
// texts in and out, runs "neue Fundstelle" and the long description, and
// shows the form's messages. Ends with 1 after a save by "OK", else 0.
#pragma once

#include <cstdint>
#include <vector>

#include "collection/locality.h"
#include "collection/mineral_specimen_form.h"
#include "shell/app_context.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class PieceEntryDialog final : public ModalDialog {
 public:
  // `existing` = 0 enters new specimens starting from `fields`; otherwise
  // the dialog changes specimen `existing`, shown by `fields`.
  PieceEntryDialog(AppContext& app, std::uint32_t existing, SpecimenFormFields fields);
  // True when at least one specimen was stored ("&weitere Stufe" included).
  bool storedAny() const { return storedAny_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  Collection& collection();
  void show(const SpecimenFormFields& fields);
  SpecimenFormFields read() const;
  void fillLocalities(std::uint32_t selectedItem);
  void enablePrice(bool on);
  // Collects and saves; true when the specimen was stored.
  bool save();
  // "neue Fundstelle": the new locality's item, or nothing after "Abbrechen".
  std::optional<std::uint32_t> enterLocality(const Specimen& collected);
  void editDescription();

  AppContext& app_;
  std::uint32_t existing_;
  SpecimenFormFields fields_;
  std::vector<LocalityChoice> localities_;
  bool storedAny_ = false;
};

}  // namespace kalvor::shell
