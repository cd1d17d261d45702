// The searches over the user's collection: "Fundortsuche" finds localities,
// "Sammlungsauswertung" finds specimens. Every criterion is a set of records
// read from the value index; the sets are united within a criterion and
// intersected across criteria, and the fields the index does not hold
// (nearest place, storage place, index, date) are checked on the records.
// The dialogs only read their controls into an input and show the outcome.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "collection/record_set.h"
#include "collection/sort_order.h"
#include "determination/determination_search.h"
#include "determination/index_slot_source.h"
#include "determination/number_list.h"
#include "string_ids.h"

namespace kalvor {

class Collection;

// String-table ids the collection searches answer with.
inline constexpr int kMsgInputErrorCaption = strings::kStrInputErrorCaption;
inline constexpr int kMsgWholeCountry = strings::kStrWholeCountry;
inline constexpr int kMsgWorld = strings::kStrWorld;
inline constexpr int kMsgRegionNotInCountry = strings::kStrRegionNotInCountry;
inline constexpr int kMsgNoMatchingRecords = strings::kStrNoMatchingRecords;
inline constexpr int kMsgNoSpecimenType = strings::kStrNoSpecimenType;
inline constexpr int kMsgNoAcquisition = strings::kStrNoAcquisition;
inline constexpr int kMsgAcquisitionCombinationEmpty = strings::kStrAcquisitionCombinationEmpty;
inline constexpr int kMsgNoCollectionPieces = strings::kStrNoCollectionPieces;
inline constexpr int kMsgNoExchangePieces = strings::kStrNoExchangePieces;
inline constexpr int kMsgWordLocality = strings::kStrWordLocality;
inline constexpr int kMsgWordSpecimen = strings::kStrWordSpecimen;

// Where the mineral criteria (element expression, systematics) are looked up.
// Without an index (no reference data) such a criterion finds nothing.
struct MineralCriteriaSources {
  const IndexSlotSource* index = nullptr;
  const MineralFacts* minerals = nullptr;  // Lapis numbers for a systematics number
};

// The fields of "Fundortsuche" when "Suchen" is pressed (Windows-1252).
struct LocalitySearchInput {
  std::string minerals;           // 1170 "Minerale": comma-separated names
  std::string elementExpression;  // 1176 "Strukturelemente"
  std::string systematics;        // 1177 "Systematik"
  std::string nearestPlace;       // 1171 "nächster Ort"
  std::optional<std::string> region;   // 1172: the selected text; none = entry 0 "ganzes Land"
  std::optional<std::string> country;  // 1173: the selected text; none = entry 0 "Welt"
};

// The fields of "Sammlungsauswertung" when "Suchen" is pressed (Windows-1252).
struct SpecimenSearchInput {
  std::string minerals;           // 1200 "Minerale"
  std::string elementExpression;  // 1212 "Strukturelemente"
  std::string systematics;        // 1213 "Systematik"
  std::uint32_t locality = 0;     // 1201: the selected item's locality number, 0 = "unbekannt"
  std::string storagePlace;       // 1202 "Standort"
  std::string index;              // 1203 "Index"
  std::string date;               // 1205 "Fund-/Kaufdatum"
  bool collectionPieces = true;   // 1206 "Sammlungsstufe"
  bool exchangePieces = true;     // 1207 "Tauschstufe"
  bool bought = true;             // 1208 "gekauft"
  bool found = true;              // 1209 "gefunden"
  bool swapped = true;            // 1210 "getauscht"
};

// What a search answers: the records found, or the message to show while the
// dialog stays open (its entries kept, the previous result untouched).
struct CollectionSearchOutcome {
  std::optional<RecordSet> records;  // present and not empty on success
  int messageId = 0;                 // 0 on success, else the string id of the text
  int captionId = 0;                 // string id of the caption
  int insertId = 0;                  // for kMsgNoMatchingRecords: the string id put in for "%s"
  bool beep = false;                 // sound the default beep before the message
  // For an invalid element expression: the part of the field to select.
  std::size_t selectionBegin = 0;
  std::size_t selectionEnd = 0;
  // Locality search only: the minerals the locality descriptions mark while
  // the result is shown — the element expression's list, and the systematics
  // result (the element list again when the systematics changed nothing).
  OptionalNumberList highlightElements;
  OptionalNumberList highlightSystematics;

  // True iff records were found.
  bool succeeded() const { return messageId == 0; }
  // The message text with the insert filled in (Windows-1252); empty on success.
  std::string messageText() const;
  // The caption text (Windows-1252); empty on success.
  std::string captionText() const;
};

// "Fundortsuche": the localities that fit every given criterion.
CollectionSearchOutcome searchLocalities(Collection& collection, const LocalitySearchInput& input,
                                         const MineralCriteriaSources& sources);

// "Sammlungsauswertung": the specimens that fit every given criterion; with
// both types, all acquisitions ticked and nothing entered, every specimen.
CollectionSearchOutcome searchSpecimens(Collection& collection, const SpecimenSearchInput& input,
                                        const MineralCriteriaSources& sources);

// The texts of a drop-down list over a text field of the value index (1057
// country, 1060 region): at index 0 string `firstTextId` (empty text for 0),
// then the key texts whose set is not empty, sorted. With a filter text only
// the keys that share a record with the set (filterText, filterField).
std::vector<std::string> fillValueList(Collection& collection, std::uint16_t field,
                                       int firstTextId, std::uint16_t filterField = 0,
                                       const std::optional<std::string>& filterText = std::nullopt);

// The members of `set` in the order of `order` (switched to its list form);
// an absent set lists every record of the order.
std::vector<std::uint32_t> membersInOrder(const std::optional<RecordSet>& set, SortOrder& order);

}  // namespace kalvor
