#include "collection/locality_form.h"

#include <utility>

#include "collection/collection.h"
#include "collection/mineral_specimen.h"

namespace kalvor {

ComboChoice comboChoiceFor(const std::vector<std::string>& entries, std::string_view stored) {
  ComboChoice choice;
  choice.editText = std::string(stored);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == stored) {
      choice.selected = i;
      break;
    }
  }
  return choice;
}

std::optional<FormFailure> checkLocalityFields(const Locality& locality) {
  namespace fc = field_controls;
  const std::pair<int, const std::string*> fields[] = {
      {fc::kLocalityName, &locality.name},
      {fc::kLocalityNearestPlace, &locality.nearestPlace},
      {fc::kLocalityRegion, &locality.region},
      {fc::kLocalityCountry, &locality.country},
      {fc::kLocalityMapReference, &locality.mapReference},
      {fc::kLocalityDescription, &locality.description},
  };
  for (const auto& [control, text] : fields) {
    if (auto failure = checkFieldText(control, *text)) return failure;
  }
  return std::nullopt;
}

LocalityFormOutcome saveLocalityForm(Collection& collection, Locality locality) {
  LocalityFormOutcome out;
  if (auto failure = checkLocalityFields(locality)) {
    out.failure = std::move(*failure);
    return out;
  }
  out.number = saveLocalityFromForm(collection, std::move(locality));
  if (!out.number) out.failure = formFailure(CollectionMessage::kSaveFailed);
  return out;
}

std::vector<LocalityChoice> replacementChoices(Collection& collection, std::uint32_t deleting) {
  std::vector<LocalityChoice> choices = localityChoices(collection, false);
  std::erase_if(choices, [&](const LocalityChoice& c) { return c.itemData != 0 && c.itemData == deleting; });
  return choices;
}

CollectionMessage deleteLocalityFromForm(Collection& collection, std::uint32_t n, bool withSpecimens,
                                         std::uint32_t replacement) {
  return deleteLocality(collection, n, withSpecimens, replacement) ? CollectionMessage::kNone
                                                                   : CollectionMessage::kSaveFailed;
}

CollectionMessage deleteSpecimenFromList(Collection& collection, std::uint32_t n) {
  return deleteSpecimen(collection, n) ? CollectionMessage::kNone : CollectionMessage::kSaveFailed;
}

}  // namespace kalvor
