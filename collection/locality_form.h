// The locality forms without their windows: what the region and country
// boxes show for a stored text, the checks and the save of "FUNDORTERFASSUNG",
// and the replacement list and delete of "FUNDSTELLELOESCHEN".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/form_fields.h"
#include "collection/locality.h"

namespace kalvor {

class Collection;

// What an editable drop-down box shows for a stored text: the entry equal to
// it, or no selection with the stored text in the edit part. Selecting an
// entry that merely begins with the text would change the record at OK.
struct ComboChoice {
  std::optional<std::size_t> selected;  // index into the entries
  std::string editText;                 // the text the edit part shows
};
ComboChoice comboChoiceFor(const std::vector<std::string>& entries, std::string_view stored);

// Checks the texts of a locality against what the record stores: name,
// nearest place, region, country, map reference (39 characters, one line)
// and the description (32,766). Nothing when all fit.
std::optional<FormFailure> checkLocalityFields(const Locality& locality);

// The OK of the locality form: the checks, then saveLocalityFromForm.
struct LocalityFormOutcome {
  std::optional<std::uint32_t> number;  // the saved locality's number
  FormFailure failure;                  // when nothing was saved (kSaveFailed for a failed write)
  bool saved() const { return number.has_value(); }
};
LocalityFormOutcome saveLocalityForm(Collection& collection, Locality locality);

// The replacement list of the delete form: "unbekannt" (item data 0), then
// every locality that is not deleted, in sort order, without locality
// `deleting` itself (the delete would refuse it as its own replacement).
std::vector<LocalityChoice> replacementChoices(Collection& collection, std::uint32_t deleting);

// The OK of the delete form after the question was answered "Ja": kNone when
// the locality was deleted, kSaveFailed when a read or write failed (the form
// then shows "Speicherungsproblem" and does not end with success).
CollectionMessage deleteLocalityFromForm(Collection& collection, std::uint32_t n, bool withSpecimens,
                                         std::uint32_t replacement);

// Deleting a specimen from the specimen list: kNone, or kSaveFailed.
CollectionMessage deleteSpecimenFromList(Collection& collection, std::uint32_t n);

}  // namespace kalvor
