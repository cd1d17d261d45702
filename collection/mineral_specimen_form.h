// The specimen entry form without its window: the field values as the dialog
// (or kalvor-cli) reads them, the input rules (date syntax, count, prices,
// mineral lists) and the whole "collect and save" flow. Each step answers
// with success or the message the form shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/collection_messages.h"
#include "collection/form_fields.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"

namespace kalvor {

class Collection;

enum class Acquisition { kBought, kFound, kSwapped };

// The values of the form's controls (texts in Windows-1252).
struct SpecimenFormFields {
  bool collectionPiece = true;  // "&Sammlungsstufe", else "&Tauschstufe"
  Acquisition acquisition = Acquisition::kFound;
  std::string mainMinerals;          // 1070
  std::string accompanyingMinerals;  // 1071
  std::string index;                 // 1077
  std::string storagePlace;          // 1084
  std::string size;                  // 1074
  std::string count = "1";           // 1075
  std::string date;                  // 1076
  std::string value;                 // 1085
  std::string purchasePrice;         // 1086
  // Item data of the selected locality entry: 0 "unbekannt", 1 "neue
  // Fundstelle", otherwise locality number + 1; nothing when none is selected.
  std::optional<std::uint16_t> localityItem;
  // The user was asked for a new locality, entered none and chose to save
  // the specimen without one.
  bool newLocalityDeclined = false;
  std::string description;  // from "ausführliche Beschreibung"
};

// Result of reading a date field: the date value or the message to show.
struct DateParse {
  std::uint32_t date = 0;
  CollectionMessage error = CollectionMessage::kNone;
  bool ok() const { return error == CollectionMessage::kNone; }
};

// "25.03.1984", "08.1988", "1991" or empty (date 0), blanks around it allowed:
// numbers separated by single points and nothing else, a year of 1..65535
// (kBadDate otherwise), month 1..12, 29 February only in leap years, no day
// beyond the month's length. The one date reading of the entry form and the
// collection evaluation.
DateParse parseSpecimenDate(std::string_view text);

// The date as the form shows it: "%d.%d.%d", "%d.%d" or "%d"; empty for 0.
std::string formatSpecimenDate(std::uint32_t date);

// "%d" of the count field; outside 1..9999 or no number gives 1.
std::uint16_t parseSpecimenCount(std::string_view text);

// Price fields are read with parseAmount (collection/form_fields.h).
// A price as the form shows it ("%7.2f").
std::string formatPrice(float value);

// The fields that show an existing specimen (minerals joined by ",").
SpecimenFormFields fieldsOfSpecimen(const Collection& collection, const Specimen& specimen);

// The fields of a new specimen: collection piece, found, count "1", the index
// text from [Sammlung] "Index" and the locality from [Edit] "Fundort".
SpecimenFormFields newSpecimenFields(const Collection& collection);

// The "Fundort" list of the form: the entry a typed character selects, the
// first locality (after "unbekannt" and "neue Fundstelle") whose line, which
// begins with its name, begins with that letter, case and accents ignored.
// Nothing when no locality does.
std::optional<std::size_t> localityChoiceForKey(const std::vector<LocalityChoice>& choices, char typed);

enum class FormStatus {
  kCollected,         // the record is complete
  kSaved,             // written, indexed, sorted in and on its locality; when a step
                      // after the record failed, the value index is left marked
                      // (ValueIndex::updateFailed) and must be rebuilt
  kError,             // show `message` (caption through collectionMessageCaption); nothing saved
  kNeedsNewLocality,  // "neue Fundstelle": run the locality form first, then collect
                      // again with the new locality selected, or ask kNoNewLocality
};

struct FormResult {
  FormStatus status = FormStatus::kError;
  CollectionMessage message = CollectionMessage::kNone;
  // With kError: the message with its inserts and the control to select.
  FormFailure failure;
  Specimen specimen;  // the collected record (number set after a save)
};

// Steps 1-5 of the form: kind and acquisition, minerals (kUnknownMineral for a
// name that matches no mineral, kNoMineral when the main minerals name none),
// locality, date, count, texts (kTextTooLong, kLineBreak: nothing is cut) and
// prices (kInvalidAmount, kAmountTooLarge). The
// record keeps `existing`'s number (0 for a new specimen). Writes the chosen
// locality to [Edit] "Fundort".
FormResult collectSpecimen(Collection& collection, const SpecimenFormFields& fields, std::uint32_t existing);

// Steps 6-7: writes the specimen (kSaveFailed when that fails), sorts a new
// one into the specimen order and saves "kalvor.sts", adds it to its kind,
// acquisition, mineral and locality sets and to its locality's lists; after
// a new specimen the index text goes to [Sammlung] "Index".
FormResult saveSpecimen(Collection& collection, Specimen specimen);

// Collect and save in one go (the form's OK and "&weitere Stufe").
FormResult collectAndSaveSpecimen(Collection& collection, const SpecimenFormFields& fields,
                                  std::uint32_t existing);

}  // namespace kalvor
