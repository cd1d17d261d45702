#include "search/collection_search.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/form_fields.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "collection/value_index.h"
#include "determination/formula_scan.h"
#include "refdb/collation.h"
#include "refdb/strings.h"

namespace kalvor {

namespace {

// The edit fields of the search dialogs accept what the records store: a
// longer text could never match.
constexpr std::size_t kNearestPlaceChars = field_limits::kLocalityText;
constexpr std::size_t kStoragePlaceChars = field_limits::kStoragePlace;
constexpr std::size_t kIndexChars = field_limits::kSpecimenIndex;

CollectionSearchOutcome message(int id, int caption = kMsgSearchFailedCaption) {
  CollectionSearchOutcome out;
  out.messageId = id;
  out.captionId = caption;
  return out;
}

CollectionSearchOutcome nothingFound(int word) {
  CollectionSearchOutcome out = message(kMsgNoMatchingRecords);
  out.insertId = word;
  return out;
}

// Absent or without members: the case in which a criterion finds nothing.
bool isEmpty(const std::optional<RecordSet>& set) { return !set || set->count() == 0; }

// Restricts a running result (absent = unrestricted so far) by `next`
// (absent = this criterion was not given): whichever exists, or both intersected.
std::optional<RecordSet> narrow(std::optional<RecordSet> running, std::optional<RecordSet> next) {
  if (!running) return next;
  if (!next) return running;
  return intersectRecordSets(std::move(running), std::move(next));
}

std::string trimmedRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

bool isBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

// True iff `field` begins with `entered` (case-sensitive, over the entered length).
bool beginsWith(std::string_view field, std::string_view entered) {
  return field.size() >= entered.size() && field.compare(0, entered.size(), entered) == 0;
}

// The mineral list of the element and systematics fields.
struct MineralCriterion {
  std::optional<CollectionSearchOutcome> stop;  // a message ends the search here
  OptionalNumberList elements;                  // the element expression's minerals
  OptionalNumberList minerals;                  // after the systematics step; absent: no criterion
  bool systematicsChanged = false;
};

MineralCriterion readMineralCriterion(const std::string& elementField,
                                      const std::string& systematicsField,
                                      const MineralCriteriaSources& src, int word) {
  MineralCriterion out;
  const std::string expression = trimmedRight(elementField);
  if (!expression.empty()) {
    const ElementCheck check = validateElementExpression(expression);
    if (check.result != 0) {
      CollectionSearchOutcome stop =
          message(check.result > 0 ? kMsgInvalidElementCharacters : kMsgUnseenElement);
      stop.selectionBegin = check.selectionBegin;
      stop.selectionEnd = check.selectionEnd;
      out.stop = stop;
      return out;
    }
    if (src.index) out.elements = searchElementExpression(expression, *src.index);
    // An expression that names no mineral ends the search, whatever the systematics say.
    if (!out.elements) {
      out.stop = nothingFound(word);
      return out;
    }
  }
  OptionalNumberList running = out.elements;
  const SystematicsStep step =
      applySystematicsCriterion(systematicsField, src.index, src.minerals, running);
  if (step.nothingFits) {
    out.stop = nothingFound(word);
    return out;
  }
  out.systematicsChanged = step.restricted;
  out.minerals = std::move(running);
  return out;
}

// The records carrying any of the minerals (field 1050 or 1070). Present (if
// need be empty) whenever there is a mineral list: a list whose minerals no
// record carries must find nothing rather than lift the restriction.
std::optional<RecordSet> recordsWithMinerals(ValueIndex& index, const NumberList& minerals,
                                             std::uint16_t field) {
  std::optional<RecordSet> out = RecordSet();
  for (MineralNumber m : minerals.numbers) {
    out = uniteRecordSets(std::move(out), index.getRecordSet(IndexValue::ofNumber(m), field));
  }
  return out;
}

// Steps shared by both searches: element expression and systematics, then
// the names of the "Minerale" field. `mineralSet` receives the set of the
// records that carry one of the minerals (absent when no field was given).
std::optional<CollectionSearchOutcome> mineralStep(Collection& collection,
                                                   const std::string& namesField,
                                                   const std::string& elementField,
                                                   const std::string& systematicsField,
                                                   const MineralCriteriaSources& src,
                                                   std::uint16_t field, int word,
                                                   std::optional<RecordSet>& mineralSet,
                                                   MineralCriterion* criterionOut) {
  MineralCriterion criterion = readMineralCriterion(elementField, systematicsField, src, word);
  if (criterion.stop) return criterion.stop;
  ValueIndex& index = collection.valueIndex();
  if (criterion.minerals) mineralSet = recordsWithMinerals(index, *criterion.minerals, field);
  if (!isBlank(namesField)) {
    for (std::uint16_t id : parseMineralList(collection.names(), namesField)) {
      if (id == 0) continue;
      mineralSet = uniteRecordSets(
          std::move(mineralSet),
          index.getRecordSet(IndexValue::ofNumber(static_cast<std::uint32_t>(id) - 1u), field));
    }
    if (isEmpty(mineralSet)) return nothingFound(word);
  }
  // A mineral criterion that no record meets: nothing can be found.
  if (mineralSet && mineralSet->count() == 0) return nothingFound(word);
  if (criterionOut) *criterionOut = std::move(criterion);
  return std::nullopt;
}

// The set of a text key. An empty text is no key of the index (whose lookup
// would answer an empty text with the field's first entry): no set.
std::optional<RecordSet> textSet(ValueIndex& index, const std::string& text, std::uint16_t field) {
  if (text.empty()) return std::nullopt;
  return index.getRecordSet(IndexValue::ofText(text), field);
}

// Every record 1..count (bit 0 clear): the start of a text filter without a
// restriction so far.
RecordSet allNumbered(std::uint32_t count) {
  RecordSet all = RecordSet::allRecords(count + 1);
  all.remove(0);
  return all;
}

// Does a stored date meet the criterion (day 0: month and year; day and
// month 0: the year)?
bool dateMatches(std::uint32_t stored, std::uint32_t wanted) {
  if ((wanted & 0xFF) != 0) return stored == wanted;
  if ((wanted & 0xFF00) != 0) return (stored >> 8) == (wanted >> 8);
  return (stored >> 16) == (wanted >> 16);
}

}  // namespace

std::string CollectionSearchOutcome::messageText() const {
  if (messageId == 0) return {};
  // The date messages beyond the string table are the entry form's own.
  std::string text = messageId >= static_cast<int>(CollectionMessage::kNoMineral)
                         ? collectionMessageText(static_cast<CollectionMessage>(messageId))
                         : loadResourceString(static_cast<unsigned>(messageId) - kStringIdBase);
  if (insertId != 0) {
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) {
      text.replace(at, 2, loadResourceString(static_cast<unsigned>(insertId) - kStringIdBase));
    }
  }
  return text;
}

std::string CollectionSearchOutcome::captionText() const {
  if (captionId == 0) return {};
  return loadResourceString(static_cast<unsigned>(captionId) - kStringIdBase);
}

CollectionSearchOutcome searchLocalities(Collection& collection, const LocalitySearchInput& input,
                                         const MineralCriteriaSources& sources) {
  namespace f = index_field;
  ValueIndex& index = collection.valueIndex();
  // 1. - 3. Region and country.
  std::optional<RecordSet> regionSet;
  std::optional<RecordSet> countrySet;
  if (input.region) {
    regionSet = textSet(index, *input.region, f::kLocalityRegion);
    if (isEmpty(regionSet)) return nothingFound(kMsgWordLocality);
  }
  if (input.country) {
    countrySet = textSet(index, *input.country, f::kLocalityCountry);
    if (isEmpty(countrySet)) return nothingFound(kMsgWordLocality);
  }
  std::optional<RecordSet> places;
  if (regionSet && countrySet) {
    places = intersectRecordSets(std::move(regionSet), std::move(countrySet));
    if (isEmpty(places)) {
      CollectionSearchOutcome out = message(kMsgRegionNotInCountry);
      out.beep = true;
      return out;
    }
  } else {
    places = regionSet ? std::move(regionSet) : std::move(countrySet);
  }
  // 4., 5. Minerals, by expression, systematics and names.
  std::optional<RecordSet> mineralSet;
  MineralCriterion criterion;
  if (auto stop = mineralStep(collection, input.minerals, input.elementExpression,
                              input.systematics, sources, f::kLocalityMineral, kMsgWordLocality,
                              mineralSet, &criterion)) {
    return *stop;
  }
  // 6.
  places = narrow(std::move(places), std::move(mineralSet));
  // 7. Nearest place, read from the records.
  if (!input.nearestPlace.empty()) {
    const std::string_view entered =
        std::string_view(input.nearestPlace).substr(0, kNearestPlaceChars);
    if (!places) places = allNumbered(collection.localityCount());
    places->remove(0);
    for (std::uint32_t n : places->members()) {
      const std::optional<Locality> loc = readLocality(collection, n, true);
      // A record that cannot be read stays in the set.
      if (loc && !beginsWith(loc->nearestPlace, entered)) places->remove(n);
    }
  }
  // 8. Only existing localities; nothing entered at all finds every one.
  places = narrow(std::move(places), index.getRecordSet(IndexValue::ofNumber(0), f::kLocalityAll));
  // 9.
  if (isEmpty(places)) return nothingFound(kMsgWordLocality);
  // 10.
  CollectionSearchOutcome out;
  out.records = std::move(places);
  out.highlightElements = criterion.elements;
  out.highlightSystematics =
      criterion.systematicsChanged ? criterion.minerals : criterion.elements;
  return out;
}

CollectionSearchOutcome searchSpecimens(Collection& collection, const SpecimenSearchInput& input,
                                        const MineralCriteriaSources& sources) {
  namespace f = index_field;
  ValueIndex& index = collection.valueIndex();
  const auto fixedSet = [&index](std::uint16_t field) {
    return index.getRecordSet(IndexValue::ofNumber(0), field);
  };
  // 1. Specimen type.
  std::optional<RecordSet> running;
  if (!input.collectionPieces && !input.exchangePieces) return message(kMsgNoSpecimenType);
  if (input.collectionPieces != input.exchangePieces) {
    const bool collectionOnly = input.collectionPieces;
    running = fixedSet(collectionOnly ? f::kSpecimenCollection : f::kSpecimenExchange);
    // An entry whose last piece changed type is present but empty: just as none.
    if (isEmpty(running)) {
      return message(collectionOnly ? kMsgNoCollectionPieces : kMsgNoExchangePieces);
    }
  }
  // 2. Acquisition.
  if (!input.bought && !input.found && !input.swapped) return message(kMsgNoAcquisition);
  if (!(input.bought && input.found && input.swapped)) {
    std::optional<RecordSet> acquired;
    if (input.bought) acquired = uniteRecordSets(std::move(acquired), fixedSet(f::kSpecimenBought));
    if (input.found) acquired = uniteRecordSets(std::move(acquired), fixedSet(f::kSpecimenFound));
    if (input.swapped) {
      acquired = uniteRecordSets(std::move(acquired), fixedSet(f::kSpecimenSwapped));
    }
    if (isEmpty(acquired)) return message(kMsgAcquisitionCombinationEmpty);
    // 3.
    running = narrow(std::move(running), std::move(acquired));
  }
  // 4., 5. Minerals.
  std::optional<RecordSet> mineralSet;
  if (auto stop = mineralStep(collection, input.minerals, input.elementExpression,
                              input.systematics, sources, f::kSpecimenMineral, kMsgWordSpecimen,
                              mineralSet, nullptr)) {
    return *stop;
  }
  // 6.
  running = narrow(std::move(running), std::move(mineralSet));
  // 7. Locality.
  if (input.locality >= 1) {
    std::optional<RecordSet> fromLocality =
        index.getRecordSet(IndexValue::ofNumber(input.locality), f::kSpecimenLocality);
    if (isEmpty(fromLocality)) return nothingFound(kMsgWordSpecimen);
    running = narrow(std::move(running), std::move(fromLocality));
  }
  // 8. Date: the same rules as the entry form's date field.
  std::uint32_t wantedDate = 0;
  if (!input.date.empty()) {
    const DateParse date = parseSpecimenDate(input.date);
    if (!date.ok()) return message(static_cast<int>(date.error), kMsgInputErrorCaption);
    wantedDate = date.date;
  }
  // 9. Storage place, index and date, read from the records.
  const std::string_view storage = std::string_view(input.storagePlace).substr(
      0, std::min(input.storagePlace.size(), kStoragePlaceChars));
  const std::string_view indexText =
      std::string_view(input.index).substr(0, std::min(input.index.size(), kIndexChars));
  if (!storage.empty() || !indexText.empty() || wantedDate != 0) {
    if (!running) running = allNumbered(collection.specimenCount());
    running->remove(0);
    for (std::uint32_t n : running->members()) {
      const std::optional<Specimen> s = readSpecimen(collection, n);
      if (!s) continue;  // a record that cannot be read stays in the set
      const bool keep = beginsWith(s->storagePlace, storage) && beginsWith(s->index, indexText) &&
                        (wantedDate == 0 || dateMatches(s->date, wantedDate));
      if (!keep) running->remove(n);
    }
  }
  // 10. Only existing specimens; no criterion at all gives every specimen.
  running = narrow(std::move(running), fixedSet(f::kSpecimenAll));
  // 11.
  if (isEmpty(running)) return nothingFound(kMsgWordSpecimen);
  CollectionSearchOutcome out;
  out.records = std::move(running);
  return out;
}

std::vector<std::string> fillValueList(Collection& collection, std::uint16_t field,
                                       int firstTextId, std::uint16_t filterField,
                                       const std::optional<std::string>& filterText) {
  ValueIndex& index = collection.valueIndex();
  std::optional<RecordSet> filter;
  if (filterText) filter = textSet(index, *filterText, filterField);
  std::vector<std::string> texts;
  for (const IndexEntry& entry : index.entriesOfField(field)) {
    if (entry.memberCount == 0 || !(entry.kind & kIndexKindText)) continue;
    const std::string key = entry.text();
    if (key.empty()) continue;
    if (filterText) {
      if (!filter) continue;
      std::optional<RecordSet> both = intersectRecordSets(
          textSet(index, key, field), filter);
      if (isEmpty(both)) continue;
    }
    texts.push_back(key);
  }
  std::stable_sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
    return collateCompare(a, b, kNameCompareLength, kNameCompareLength) < 0;
  });
  texts.insert(texts.begin(),
               firstTextId == 0
                   ? std::string()
                   : loadResourceString(static_cast<unsigned>(firstTextId) - kStringIdBase));
  return texts;
}

std::vector<std::uint32_t> membersInOrder(const std::optional<RecordSet>& set, SortOrder& order) {
  switchOrderForm(order, kOrderList);
  std::vector<std::uint32_t> out;
  for (std::uint32_t n : order.entries) {
    if (testRecord(set, n)) out.push_back(n);
  }
  return out;
}

}  // namespace kalvor
