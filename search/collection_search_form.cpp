#include "search/collection_search_form.h"

#include <utility>

#include "collection/collection.h"
#include "collection/value_index.h"
#include "refdb/strings.h"

namespace kalvor {
namespace {

namespace lc = locality_search_controls;
namespace sc = specimen_search_controls;

// The control that a search message points at; 0 for "nothing found".
int controlOfMessage(int messageId, bool localitySearch) {
  switch (messageId) {
    case kMsgInvalidElementCharacters:
    case kMsgUnseenElement:
      return localitySearch ? lc::kElements : sc::kElements;
    case kMsgRegionNotInCountry:
      return lc::kRegion;
    case kMsgNoSpecimenType:
    case kMsgNoCollectionPieces:
    case kMsgNoExchangePieces:
      return sc::kCollectionPieces;
    case kMsgNoAcquisition:
    case kMsgAcquisitionCombinationEmpty:
      return sc::kBought;
    default:
      return 0;
  }
}

CollectionSearchFormOutcome outcomeOf(CollectionSearchOutcome out, bool localitySearch,
                                      const std::string& dateText) {
  CollectionSearchFormOutcome form;
  form.beep = out.beep;
  if (out.succeeded()) {
    form.records = std::move(out.records);
    form.highlightElements = std::move(out.highlightElements);
    form.highlightSystematics = std::move(out.highlightSystematics);
    return form;
  }
  FormFailure f;
  f.messageId = out.messageId;
  f.captionId = out.captionId;
  f.controlId = controlOfMessage(out.messageId, localitySearch);
  if (f.controlId == lc::kElements || f.controlId == sc::kElements) {
    f.selectionBegin = out.selectionBegin;
    f.selectionEnd = out.selectionEnd;
  }
  if (out.captionId == kMsgInputErrorCaption) {
    // The date messages: the whole date is marked.
    f.controlId = sc::kDate;
    f.selectionEnd = dateText.size();
  }
  // 10078 names what was searched for: "Fundstelle" or "Stufe".
  if (out.insertId != 0)
    f.inserts.push_back(loadResourceString(static_cast<unsigned>(out.insertId) - kStringIdBase));
  form.failure = std::move(f);
  return form;
}

}  // namespace

std::vector<std::string> countryChoices(Collection& collection) {
  return fillValueList(collection, index_field::kLocalityCountry, kMsgWorld);
}

std::vector<std::string> regionChoices(Collection& collection, const std::vector<std::string>& countries,
                                       std::size_t countryIndex) {
  if (countryIndex >= 1 && countryIndex < countries.size())
    return fillValueList(collection, index_field::kLocalityRegion, kMsgWholeCountry,
                         index_field::kLocalityCountry, countries[countryIndex]);
  return fillValueList(collection, index_field::kLocalityRegion, kMsgWholeCountry);
}

LocalitySearchControls newLocalitySearch() { return {}; }

SpecimenSearchControls newSpecimenSearch() { return {}; }

CollectionSearchFormOutcome searchLocalityForm(Collection& collection, const LocalitySearchControls& c,
                                               const std::vector<std::string>& regions,
                                               const std::vector<std::string>& countries,
                                               const MineralCriteriaSources& sources) {
  CollectionSearchFormOutcome form;
  if (auto f = checkFieldText(lc::kNearestPlace, c.nearestPlace)) {
    form.failure = std::move(f);
    return form;
  }
  LocalitySearchInput in;
  in.minerals = c.minerals;
  in.elementExpression = c.elements;
  in.systematics = c.systematics;
  in.nearestPlace = c.nearestPlace;
  if (c.region >= 1 && c.region < regions.size()) in.region = regions[c.region];
  if (c.country >= 1 && c.country < countries.size()) in.country = countries[c.country];
  return outcomeOf(searchLocalities(collection, in, sources), true, {});
}

CollectionSearchFormOutcome searchSpecimenForm(Collection& collection, const SpecimenSearchControls& c,
                                               const MineralCriteriaSources& sources) {
  CollectionSearchFormOutcome form;
  for (const auto& [control, text] :
       {std::pair{sc::kStoragePlace, &c.storagePlace}, std::pair{sc::kIndex, &c.index}}) {
    if (auto f = checkFieldText(control, *text)) {
      form.failure = std::move(f);
      return form;
    }
  }
  SpecimenSearchInput in;
  in.minerals = c.minerals;
  in.elementExpression = c.elements;
  in.systematics = c.systematics;
  in.locality = c.locality;
  in.storagePlace = c.storagePlace;
  in.index = c.index;
  in.date = c.date;
  in.collectionPieces = c.collectionPieces;
  in.exchangePieces = c.exchangePieces;
  in.bought = c.bought;
  in.found = c.found;
  in.swapped = c.swapped;
  return outcomeOf(searchSpecimens(collection, in, sources), false, c.date);
}

}  // namespace kalvor
