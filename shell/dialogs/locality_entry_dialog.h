// The dialog "FUNDORTERFASSUNG" (title "Fundortbeschreibung"): a new
// locality or a stored one changed, with its minerals, region and country.
// Run from the Fundort view and, nested, from the specimen form ("neue
// Fundstelle"), which hands over the specimen's minerals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "collection/locality.h"
#include "shell/app_context.h"
#include "shell/dialog.h"

namespace kalvor::shell {

struct LocalityEntryRequest {
  // The locality to change; -1 for a new one.
  std::int32_t record = -1;
  // Mineral numbers (0-based) shown as coming from a specimen: they carry the
  // specimen mark and cannot be removed in the dialog.
  std::vector<std::int32_t> prefilledMinerals;
};

// Runs the dialog over `owner`. The stored locality's number, nothing after
// "Abbrechen" (or when the record cannot be loaded or no collection is open).
// A failed write is told as "Speicherungsproblem" and keeps the dialog open.
std::optional<std::int32_t> runLocalityEntry(HWND owner, AppContext& context, const LocalityEntryRequest& request);

class LocalityEntryDialog final : public ModalDialog {
 public:
  LocalityEntryDialog(AppContext& context, Locality locality)
      : ModalDialog(context.windows.instance, "FUNDORTERFASSUNG"), context_(context), locality_(std::move(locality)) {}
  // The number the locality was stored under (after the dialog ended with 1).
  std::uint32_t storedNumber() const { return locality_.number; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onOk() override;
  bool onDrawItem(const DRAWITEMSTRUCT& item) override;
  bool onMeasureItem(MEASUREITEMSTRUCT& item) override;
  void onDestroyed() override;

  void addSelectedMineral();
  void deleteSelectedMineral();
  // Refills the known-minerals list and selects entry `selected` (none when out of range).
  void fillKnownMinerals(int selected);
  void updateDeleteButton();
  void fillCombo(int id, std::uint16_t field, const std::string& stored);
  // The dialog's fields into the record (mineral list included).
  void readFields();
  void openDescription();

  AppContext& context_;
  Locality locality_;
  HFONT markedFont_ = nullptr;
};

}  // namespace kalvor::shell
