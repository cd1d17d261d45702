// The dialogs "Fundortsuche" (FUNDORTSUCHE) and "Sammlungsauswertung"
// (SAMMLUNGSAUSWERTUNG) without their windows: what their lists offer, what
// "Neue Suche" leaves in the controls, and what "Suchen" makes of the
// controls — the records found, or the message with the control to select
// and the text range to mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "collection/form_fields.h"
#include "search/collection_search.h"

namespace kalvor {

class Collection;

// Control ids of "Fundortsuche".
namespace locality_search_controls {
inline constexpr int kSearch = 1;
inline constexpr int kCancel = 2;
inline constexpr int kMinerals = 1170;
inline constexpr int kNearestPlace = 1171;
inline constexpr int kRegion = 1172;
inline constexpr int kCountry = 1173;
inline constexpr int kMineralList = 1174;
inline constexpr int kNewSearch = 1175;
inline constexpr int kElements = 1176;
inline constexpr int kSystematics = 1177;
}  // namespace locality_search_controls

// Control ids of "Sammlungsauswertung".
namespace specimen_search_controls {
inline constexpr int kSearch = 1;
inline constexpr int kCancel = 2;
inline constexpr int kMinerals = 1200;
inline constexpr int kLocality = 1201;
inline constexpr int kStoragePlace = 1202;
inline constexpr int kIndex = 1203;
inline constexpr int kMineralList = 1204;
inline constexpr int kDate = 1205;
inline constexpr int kCollectionPieces = 1206;
inline constexpr int kExchangePieces = 1207;
inline constexpr int kBought = 1208;
inline constexpr int kFound = 1209;
inline constexpr int kSwapped = 1210;
inline constexpr int kNewSearch = 1211;
inline constexpr int kElements = 1212;
inline constexpr int kSystematics = 1213;
}  // namespace specimen_search_controls

// What the controls of "Fundortsuche" hold (texts in Windows-1252).
struct LocalitySearchControls {
  std::string minerals;      // 1170
  std::string elements;      // 1176
  std::string systematics;   // 1177
  std::string nearestPlace;  // 1171, at most 39 characters
  std::size_t region = 0;    // 1172: selected index, 0 = "ganzes Land"
  std::size_t country = 0;   // 1173: selected index, 0 = "Welt"
  bool operator==(const LocalitySearchControls&) const = default;
};

// The entries of the two drop-down lists: "Welt" and every country; "ganzes
// Land" and every region, only those of the selected country when one is.
std::vector<std::string> countryChoices(Collection& collection);
std::vector<std::string> regionChoices(Collection& collection, const std::vector<std::string>& countries,
                                       std::size_t countryIndex);

// The controls at the opening and after "Neue Suche": everything empty, entry 0.
LocalitySearchControls newLocalitySearch();

// What the controls of "Sammlungsauswertung" hold (texts in Windows-1252).
struct SpecimenSearchControls {
  std::string minerals;          // 1200
  std::string elements;          // 1212
  std::string systematics;       // 1213
  std::string storagePlace;      // 1202, at most 79 characters
  std::string index;             // 1203, at most 39 characters
  std::string date;              // 1205
  std::uint32_t locality = 0;    // 1201: the selected item's locality number, 0 = "unbekannt"
  bool collectionPieces = true;  // 1206
  bool exchangePieces = true;    // 1207
  bool bought = true;            // 1208
  bool found = true;             // 1209
  bool swapped = true;           // 1210
  bool operator==(const SpecimenSearchControls&) const = default;
};

// The controls at the opening and after "Neue Suche": the five boxes ticked,
// the fields empty, "Fundort" on "unbekannt".
SpecimenSearchControls newSpecimenSearch();

// What "Suchen" answers.
struct CollectionSearchFormOutcome {
  std::optional<RecordSet> records;  // present and not empty on success
  std::optional<FormFailure> failure;
  bool beep = false;  // sound the default beep before the message
  // "Fundortsuche": the minerals the locality descriptions mark afterwards.
  OptionalNumberList highlightElements;
  OptionalNumberList highlightSystematics;
  bool succeeded() const { return !failure; }
};

// "Suchen" of "Fundortsuche": the field limits, then searchLocalities. The
// region and country are the texts of the selected entries of the lists.
CollectionSearchFormOutcome searchLocalityForm(Collection& collection, const LocalitySearchControls& controls,
                                               const std::vector<std::string>& regions,
                                               const std::vector<std::string>& countries,
                                               const MineralCriteriaSources& sources);

// "Suchen" of "Sammlungsauswertung": the field limits, then searchSpecimens.
CollectionSearchFormOutcome searchSpecimenForm(Collection& collection, const SpecimenSearchControls& controls,
                                               const MineralCriteriaSources& sources);

}  // namespace kalvor
