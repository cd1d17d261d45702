#include "shell/dialogs/locality_search_dialog.h"

#include "collection/form_fields.h"
#include "determination/reference_sources.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/search_dialog_parts.h"

namespace kalvor::shell {
namespace {

// The names typed into "Minerale" may fill the field's whole buffer.
constexpr WPARAM kMineralsFieldLength = 1999;

}  // namespace

bool LocalitySearchDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  countries_ = countryChoices(data_.collection());
  // "nächster Ort" takes no more than a locality stores.
  if (const FieldLimit* limit = fieldLimitOf(ID_LOCALITY_SEARCH_NEAREST_PLACE))
    sendItem(ID_LOCALITY_SEARCH_NEAREST_PLACE, EM_LIMITTEXT, limit->maxChars);
  sendItem(ID_LOCALITY_SEARCH_MINERALS, EM_LIMITTEXT, kMineralsFieldLength);
  // The mineral list follows what is typed into "Minerale" and writes the picked name there.
  sendItem(ID_LOCALITY_SEARCH_MINERAL_LIST, controls::kListSetEnvironment, 0,
           reinterpret_cast<LPARAM>(&lists_));
  sendItem(ID_LOCALITY_SEARCH_MINERAL_LIST, controls::kListWatchEdit, ID_LOCALITY_SEARCH_MINERALS);
  show(newLocalitySearch());
  focus(ID_LOCALITY_SEARCH_MINERALS);
  return false;
}

void LocalitySearchDialog::fillRegions(std::size_t selected) {
  regions_ =
      regionChoices(data_.collection(), countries_, choiceListSelection(item(ID_LOCALITY_SEARCH_COUNTRY)));
  fillChoiceList(item(ID_LOCALITY_SEARCH_REGION), regions_, selected);
}

void LocalitySearchDialog::show(const LocalitySearchControls& c) {
  setItemText(ID_LOCALITY_SEARCH_MINERALS, c.minerals);
  setItemText(ID_LOCALITY_SEARCH_ELEMENTS, c.elements);
  setItemText(ID_LOCALITY_SEARCH_SYSTEMATICS, c.systematics);
  setItemText(ID_LOCALITY_SEARCH_NEAREST_PLACE, c.nearestPlace);
  fillChoiceList(item(ID_LOCALITY_SEARCH_COUNTRY), countries_, c.country);
  fillRegions(c.region);
}

bool LocalitySearchDialog::onCommand(int id, int code) {
  if (id == ID_LOCALITY_SEARCH_COUNTRY && code == CBN_SELCHANGE) {
    fillRegions(0);
    return true;
  }
  if (id == ID_LOCALITY_SEARCH_NEW && code == BN_CLICKED) {
    show(newLocalitySearch());
    focus(ID_LOCALITY_SEARCH_MINERALS);
    return true;
  }
  return false;
}

void LocalitySearchDialog::onOk() {
  LocalitySearchControls c;
  c.minerals = itemText(ID_LOCALITY_SEARCH_MINERALS);
  c.elements = itemText(ID_LOCALITY_SEARCH_ELEMENTS);
  c.systematics = itemText(ID_LOCALITY_SEARCH_SYSTEMATICS);
  c.nearestPlace = itemText(ID_LOCALITY_SEARCH_NEAREST_PLACE);
  c.country = choiceListSelection(item(ID_LOCALITY_SEARCH_COUNTRY));
  c.region = choiceListSelection(item(ID_LOCALITY_SEARCH_REGION));
  const ReferenceMineralFacts facts(data_.database(), data_.names());
  MineralCriteriaSources sources;
  sources.index = &data_.searchIndex();
  sources.minerals = &facts;
  const HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  CollectionSearchFormOutcome outcome =
      searchLocalityForm(data_.collection(), c, regions_, countries_, sources);
  SetCursor(old);
  if (outcome.failure) {
    if (outcome.beep) MessageBeep(0);
    showFormFailure(window(), *outcome.failure);
    return;
  }
  outcome_ = std::move(outcome);
  end(1);
}

}  // namespace kalvor::shell
