// The dialog "FUNDORTERFASSUNG" (title "Fundortbeschreibung"): a new
// locality or a stored one changed, with its minerals, region and country.
// Run from the Fundort view and, nested, from the specimen form ("neue
// Fundstelle"), which hands over the specimen's minerals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/app_context.h"

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

}  // namespace kalvor::shell
