#include "shell/dialogs/collection_evaluation_dialog.h"

#include "collection/form_fields.h"
#include "determination/reference_sources.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/search_dialog_parts.h"

namespace kalvor::shell {
namespace {

constexpr WPARAM kMineralsFieldLength = 1999;
constexpr WPARAM kDateFieldLength = 40;

void limitToStored(HWND dialog, int id) {
  if (const FieldLimit* limit = fieldLimitOf(id))
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, limit->maxChars, 0);
}

}  // namespace

bool SpecimenSearchDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  // "Standort" and "Index" take no more than a specimen stores.
  limitToStored(window(), ID_SPECIMEN_SEARCH_STORAGE_PLACE);
  limitToStored(window(), ID_SPECIMEN_SEARCH_INDEX);
  sendItem(ID_SPECIMEN_SEARCH_MINERALS, EM_LIMITTEXT, kMineralsFieldLength);
  sendItem(ID_SPECIMEN_SEARCH_DATE, EM_LIMITTEXT, kDateFieldLength);
  sendItem(ID_SPECIMEN_SEARCH_MINERAL_LIST, controls::kListSetEnvironment, 0,
           reinterpret_cast<LPARAM>(&lists_));
  sendItem(ID_SPECIMEN_SEARCH_MINERAL_LIST, controls::kListWatchEdit, ID_SPECIMEN_SEARCH_MINERALS);
  localities_ = localityChoices(data_.collection(), false);
  sizeLocalityItems(item(ID_SPECIMEN_SEARCH_LOCALITY));
  show(newSpecimenSearch());
  focus(ID_SPECIMEN_SEARCH_MINERALS);
  return false;
}

void SpecimenSearchDialog::show(const SpecimenSearchControls& c) {
  setItemText(ID_SPECIMEN_SEARCH_MINERALS, c.minerals);
  setItemText(ID_SPECIMEN_SEARCH_ELEMENTS, c.elements);
  setItemText(ID_SPECIMEN_SEARCH_SYSTEMATICS, c.systematics);
  setItemText(ID_SPECIMEN_SEARCH_STORAGE_PLACE, c.storagePlace);
  setItemText(ID_SPECIMEN_SEARCH_INDEX, c.index);
  setItemText(ID_SPECIMEN_SEARCH_DATE, c.date);
  fillLocalityList(item(ID_SPECIMEN_SEARCH_LOCALITY), localities_, 0);
  check(ID_SPECIMEN_SEARCH_COLLECTION_PIECES, c.collectionPieces);
  check(ID_SPECIMEN_SEARCH_EXCHANGE_PIECES, c.exchangePieces);
  check(ID_SPECIMEN_SEARCH_BOUGHT, c.bought);
  check(ID_SPECIMEN_SEARCH_FOUND, c.found);
  check(ID_SPECIMEN_SEARCH_SWAPPED, c.swapped);
}

bool SpecimenSearchDialog::onCommand(int id, int code) {
  if (id != ID_SPECIMEN_SEARCH_NEW || code != BN_CLICKED) return false;
  show(newSpecimenSearch());
  focus(ID_SPECIMEN_SEARCH_MINERALS);
  return true;
}

void SpecimenSearchDialog::onOk() {
  SpecimenSearchControls c;
  c.minerals = itemText(ID_SPECIMEN_SEARCH_MINERALS);
  c.elements = itemText(ID_SPECIMEN_SEARCH_ELEMENTS);
  c.systematics = itemText(ID_SPECIMEN_SEARCH_SYSTEMATICS);
  c.storagePlace = itemText(ID_SPECIMEN_SEARCH_STORAGE_PLACE);
  c.index = itemText(ID_SPECIMEN_SEARCH_INDEX);
  c.date = itemText(ID_SPECIMEN_SEARCH_DATE);
  c.locality = selectedLocality(item(ID_SPECIMEN_SEARCH_LOCALITY));
  c.collectionPieces = isChecked(ID_SPECIMEN_SEARCH_COLLECTION_PIECES);
  c.exchangePieces = isChecked(ID_SPECIMEN_SEARCH_EXCHANGE_PIECES);
  c.bought = isChecked(ID_SPECIMEN_SEARCH_BOUGHT);
  c.found = isChecked(ID_SPECIMEN_SEARCH_FOUND);
  c.swapped = isChecked(ID_SPECIMEN_SEARCH_SWAPPED);
  const ReferenceMineralFacts facts(data_.database(), data_.names());
  MineralCriteriaSources sources;
  sources.index = &data_.searchIndex();
  sources.minerals = &facts;
  const HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  CollectionSearchFormOutcome outcome = searchSpecimenForm(data_.collection(), c, sources);
  SetCursor(old);
  if (outcome.failure) {
    if (outcome.beep) MessageBeep(0);
    showFormFailure(window(), *outcome.failure);
    return;
  }
  outcome_ = std::move(outcome);
  end(1);
}

bool SpecimenSearchDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != ID_SPECIMEN_SEARCH_LOCALITY) return false;
  drawLocalityItem(item, localities_, collectionMessageText(CollectionMessage::kUnknownLocality));
  return true;
}

}  // namespace kalvor::shell
