#include "shell/dialogs/locality_entry_dialog.h"

#include <utility>

#include "collection/collection.h"
#include "collection/locality_form.h"
#include "collection/value_index.h"
#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "search/collection_search.h"
#include "shell/dialogs/locality_description_dialog.h"
#include "shell/dialogs/search_dialog_parts.h"
#include "views/list_model.h"

namespace kalvor::shell {
namespace {

namespace lf = locality_format;

// A double click in the list of all minerals adds the mineral, as "Mineral hinzu" does.
void addOnDoubleClick(HWND list, std::int32_t) {
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(ID_LOCALITY_ADD_MINERAL, BN_CLICKED), 0);
}

void showCollectionMessage(HWND owner, CollectionMessage message, UINT icon) {
  MessageBoxA(owner, collectionMessageText(message).c_str(),
              collectionMessageText(collectionMessageCaption(message)).c_str(), MB_OK | icon);
}

}  // namespace

bool LocalityEntryDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  namespace fc = field_controls;
  // Every text field takes no more than its record stores, so nothing is cut at OK.
  for (int id : {fc::kLocalityName, fc::kLocalityNearestPlace, fc::kLocalityMapReference}) {
    if (const FieldLimit* limit = fieldLimitOf(id)) sendItem(id, EM_LIMITTEXT, limit->maxChars);
  }
  for (int id : {fc::kLocalityRegion, fc::kLocalityCountry}) {
    if (const FieldLimit* limit = fieldLimitOf(id)) sendItem(id, CB_LIMITTEXT, limit->maxChars);
  }
  sendItem(ID_LOCALITY_MINERAL, EM_LIMITTEXT, views::kMaxWatchedTextLength);
  setItemText(ID_LOCALITY_NAME, locality_.name);
  setItemText(ID_LOCALITY_NEAREST_PLACE, locality_.nearestPlace);
  setItemText(ID_LOCALITY_MAP_REFERENCE, locality_.mapReference);
  fillCombo(ID_LOCALITY_REGION, index_field::kLocalityRegion, locality_.region);
  fillCombo(ID_LOCALITY_COUNTRY, index_field::kLocalityCountry, locality_.country);
  // The list of all minerals follows the mineral field and writes the name it finds there.
  sendItem(ID_LOCALITY_ALL_MINERALS, controls::kListSetEnvironment, 0,
           reinterpret_cast<LPARAM>(&context_.display.lists));
  sendItem(ID_LOCALITY_ALL_MINERALS, controls::kListWatchEdit, ID_LOCALITY_MINERAL);
  sendItem(ID_LOCALITY_ALL_MINERALS, controls::kListSetLeftDouble, 0, reinterpret_cast<LPARAM>(&addOnDoubleClick));
  fillKnownMinerals(-1);
  focus(ID_LOCALITY_NAME);
  return false;
}

void LocalityEntryDialog::onDestroyed() {
  if (markedFont_) DeleteObject(markedFont_);
  markedFont_ = nullptr;
}

void LocalityEntryDialog::fillCombo(int id, std::uint16_t field, const std::string& stored) {
  std::vector<std::string> entries;
  if (context_.data.reference) entries = fillValueList(context_.data.reference->collection(), field, 0);
  const HWND combo = item(id);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& text : entries) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  // Only the entry equal to the stored text is selected; any other stays as typed.
  const ComboChoice choice = comboChoiceFor(entries, stored);
  if (choice.selected) {
    SendMessageA(combo, CB_SETCURSEL, *choice.selected, 0);
  } else {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(combo, choice.editText.c_str());
  }
}

void LocalityEntryDialog::fillKnownMinerals(int selected) {
  const HWND list = item(ID_LOCALITY_KNOWN_MINERALS);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  // Without LBS_HASSTRINGS the item is its value: the mineral entry.
  for (std::uint16_t entry : locality_.minerals) SendMessageA(list, LB_ADDSTRING, 0, entry);
  if (selected >= 0 && static_cast<std::size_t>(selected) < locality_.minerals.size())
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  updateDeleteButton();
}

void LocalityEntryDialog::updateDeleteButton() {
  const LRESULT i = sendItem(ID_LOCALITY_KNOWN_MINERALS, LB_GETCURSEL);
  bool deletable = false;
  if (i != LB_ERR) {
    deletable = checkMineralDeletable(locality_.minerals, static_cast<std::size_t>(i)) == CollectionMessage::kNone;
  } else {
    // No selection: the button stays usable while some entry could be deleted.
    for (std::uint16_t entry : locality_.minerals) deletable |= (entry & lf::kFromSpecimen) == 0;
  }
  enable(ID_LOCALITY_DELETE_MINERAL, deletable);
}

void LocalityEntryDialog::addSelectedMineral() {
  const std::uint32_t id = controls::listSelectedMineral(item(ID_LOCALITY_ALL_MINERALS));
  if (id == 0) {
    MessageBeep(0);
    return;
  }
  const AddMineralResult added = addMineralToList(locality_.minerals, static_cast<std::uint16_t>(id - 1), false);
  if (added == AddMineralResult::kAdded) {
    fillKnownMinerals(static_cast<int>(locality_.minerals.size()) - 1);
  } else {
    MessageBeep(0);
  }
  // The next name can be typed over the last one.
  focus(ID_LOCALITY_MINERAL);
  sendItem(ID_LOCALITY_MINERAL, EM_SETSEL, 0, -1);
}

void LocalityEntryDialog::deleteSelectedMineral() {
  const LRESULT selected = sendItem(ID_LOCALITY_KNOWN_MINERALS, LB_GETCURSEL);
  if (selected == LB_ERR) return;
  const auto index = static_cast<std::size_t>(selected);
  const CollectionMessage refusal = checkMineralDeletable(locality_.minerals, index);
  if (refusal != CollectionMessage::kNone) {
    showCollectionMessage(window(), refusal, MB_ICONINFORMATION);
    return;
  }
  locality_.minerals.erase(locality_.minerals.begin() + static_cast<std::ptrdiff_t>(index));
  // The selection moves to the nearest entry that may be deleted, above or below by turns.
  int next = -1;
  const int count = static_cast<int>(locality_.minerals.size());
  for (int step = 0; step < count && next < 0; ++step) {
    for (int candidate : {static_cast<int>(index) - step, static_cast<int>(index) + step}) {
      if (candidate >= 0 && candidate < count && (locality_.minerals[candidate] & lf::kFromSpecimen) == 0) {
        next = candidate;
        break;
      }
    }
  }
  fillKnownMinerals(next);
}

void LocalityEntryDialog::readFields() {
  locality_.name = itemText(ID_LOCALITY_NAME);
  locality_.nearestPlace = itemText(ID_LOCALITY_NEAREST_PLACE);
  locality_.region = itemText(ID_LOCALITY_REGION);
  locality_.country = itemText(ID_LOCALITY_COUNTRY);
  locality_.mapReference = itemText(ID_LOCALITY_MAP_REFERENCE);
}

void LocalityEntryDialog::openDescription() {
  readFields();
  LocalityDescriptionDialog dialog(instance(), locality_);
  if (dialog.run(window()) == 1) locality_.description = dialog.description();
  focus(ID_LOCALITY_DESCRIPTION);
}

bool LocalityEntryDialog::onCommand(int id, int code) {
  switch (id) {
    case ID_LOCALITY_ADD_MINERAL:
      if (code == BN_CLICKED) addSelectedMineral();
      return true;
    case ID_LOCALITY_DELETE_MINERAL:
      if (code == BN_CLICKED) deleteSelectedMineral();
      return true;
    case ID_LOCALITY_DESCRIPTION:
      if (code == BN_CLICKED) openDescription();
      return true;
    case ID_LOCALITY_KNOWN_MINERALS:
      if (code == LBN_SELCHANGE) updateDeleteButton();
      return true;
    default: return false;
  }
}

void LocalityEntryDialog::onOk() {
  // Enter in the mineral field or the list of all minerals adds the mineral.
  const HWND focused = GetFocus();
  if (focused == item(ID_LOCALITY_ALL_MINERALS) ||
      (focused == item(ID_LOCALITY_MINERAL) && !itemText(ID_LOCALITY_MINERAL).empty())) {
    addSelectedMineral();
    return;
  }
  if (!context_.data.reference) return;
  readFields();
  const HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  const LocalityFormOutcome outcome = saveLocalityForm(context_.data.reference->collection(), locality_);
  SetCursor(old);
  if (!outcome.saved()) {
    // Everything typed stays in the dialog, whether the input or the write failed.
    showFormFailure(window(), outcome.failure);
    return;
  }
  locality_.number = static_cast<std::uint16_t>(*outcome.number);
  end(1);
}

bool LocalityEntryDialog::onMeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlID != ID_LOCALITY_KNOWN_MINERALS) return false;
  measure.itemHeight = static_cast<UINT>(listRowHeight(item(ID_LOCALITY_KNOWN_MINERALS)));
  return true;
}

bool LocalityEntryDialog::onDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlID != ID_LOCALITY_KNOWN_MINERALS) return false;
  RECT r = draw.rcItem;
  if (draw.itemAction == ODA_FOCUS) {
    DrawFocusRect(draw.hDC, &r);
    return true;
  }
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  FillRect(draw.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (draw.itemID == static_cast<UINT>(-1) || !context_.data.reference) return true;
  const auto entry = static_cast<std::uint16_t>(draw.itemData);
  const bool fromSpecimen = (entry & lf::kFromSpecimen) != 0;
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(window(), WM_GETFONT, 0, 0));
  if (fromSpecimen && !markedFont_) {
    // The second style: the minerals of the collection's specimens stand in bold italics.
    LOGFONTA logFont{};
    GetObjectA(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    logFont.lfItalic = TRUE;
    logFont.lfWeight = FW_BOLD;
    markedFont_ = CreateFontIndirectA(&logFont);
  }
  const HGDIOBJ old = SelectObject(draw.hDC, fromSpecimen && markedFont_ ? markedFont_ : font);
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::string name(
      context_.data.reference->names().nameOfMineral(static_cast<MineralNumber>(entry & lf::kMineralMask)));
  r.left += 2;
  DrawTextA(draw.hDC, name.c_str(), static_cast<int>(name.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(draw.hDC, old);
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
  return true;
}

std::optional<std::int32_t> runLocalityEntry(HWND owner, AppContext& context, const LocalityEntryRequest& request) {
  if (!context.data.reference) return std::nullopt;
  Collection& collection = context.data.reference->collection();
  Locality locality;
  if (request.record > 0) {
    std::optional<Locality> stored = readLocality(collection, static_cast<std::uint32_t>(request.record));
    if (!stored || stored->deleted()) return std::nullopt;
    locality = std::move(*stored);
  }
  for (std::int32_t mineral : request.prefilledMinerals) {
    if (mineral >= 0 && mineral <= lf::kMineralMask)
      addMineralToList(locality.minerals, static_cast<std::uint16_t>(mineral), true);
  }
  LocalityEntryDialog dialog(context, std::move(locality));
  if (dialog.run(owner) != 1) return std::nullopt;
  return static_cast<std::int32_t>(dialog.storedNumber());
}

}  // namespace kalvor::shell
