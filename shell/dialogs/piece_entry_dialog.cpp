#include "shell/dialogs/piece_entry_dialog.h"

#include <algorithm>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/form_fields.h"
#include "resources/piece_entry_ids.h"
#include "shell/dialogs/locality_entry_dialog.h"
#include "shell/dialogs/piece_description_dialog.h"
#include "shell/dialogs/search_dialog_parts.h"

namespace kalvor::shell {
namespace {

// The mineral fields hold names, not a stored text: room for the 99 names
// of a specimen at their longest, with the commas between them.
constexpr WPARAM kMineralFieldLength = 99 * 41;
constexpr WPARAM kCountFieldLength = 4;  // 1..9999
// "25.03.1984", a year up to 65535 and blanks around it.
constexpr WPARAM kDateFieldLength = 16;
constexpr WPARAM kAmountFieldLength = 20;

// The text and edit limit of each plain edit field, in one place.
struct EditField {
  int id;
  std::string SpecimenFormFields::* text;
};
constexpr EditField kEditFields[] = {
    {IDC_PIECE_MAIN_MINERALS, &SpecimenFormFields::mainMinerals},
    {IDC_PIECE_ACCOMPANYING, &SpecimenFormFields::accompanyingMinerals},
    {IDC_PIECE_INDEX, &SpecimenFormFields::index},
    {IDC_PIECE_SIZE, &SpecimenFormFields::size},
    {IDC_PIECE_COUNT, &SpecimenFormFields::count},
    {IDC_PIECE_DATE, &SpecimenFormFields::date},
    {IDC_PIECE_STORAGE_PLACE, &SpecimenFormFields::storagePlace},
    {IDC_PIECE_VALUE, &SpecimenFormFields::value},
    {IDC_PIECE_PURCHASE_PRICE, &SpecimenFormFields::purchasePrice},
};

WPARAM editLimit(int id) {
  // Index, storage place and size take no more than the record stores.
  if (const FieldLimit* limit = fieldLimitOf(id)) return limit->maxChars;
  switch (id) {
    case IDC_PIECE_COUNT:
      return kCountFieldLength;
    case IDC_PIECE_DATE:
      return kDateFieldLength;
    case IDC_PIECE_VALUE:
    case IDC_PIECE_PURCHASE_PRICE:
      return kAmountFieldLength;
    default:
      return kMineralFieldLength;
  }
}

// Sizes the rows of the owner-drawn locality list to the dialog's font.
void sizeListRows(HWND list) { SendMessageA(list, LB_SETITEMHEIGHT, 0, listRowHeight(list)); }

// A message of the form over `owner`, with its own caption.
int showMessage(HWND owner, CollectionMessage message, UINT type) {
  const std::string text = collectionMessageText(message);
  const std::string caption = collectionMessageText(collectionMessageCaption(message));
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

}  // namespace

PieceEntryDialog::PieceEntryDialog(AppContext& app, std::uint32_t existing, SpecimenFormFields fields)
    : ModalDialog(app.windows.instance, "STUFENERFASSUNG"), app_(app), existing_(existing),
      fields_(std::move(fields)) {}

Collection& PieceEntryDialog::collection() { return app_.data.reference->collection(); }

bool PieceEntryDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  for (const EditField& field : kEditFields) sendItem(field.id, EM_LIMITTEXT, editLimit(field.id));
  sendItem(IDC_PIECE_MINERAL_LIST, controls::kListSetEnvironment, 0,
           reinterpret_cast<LPARAM>(&app_.display.lists));
  // The list of all minerals follows whichever mineral field is being typed in.
  sendItem(IDC_PIECE_MINERAL_LIST, controls::kListWatchEdit, IDC_PIECE_MAIN_MINERALS);
  sendItem(IDC_PIECE_MINERAL_LIST, controls::kListWatchEdit, IDC_PIECE_ACCOMPANYING);
  localities_ = localityChoices(collection(), true);
  sizeListRows(item(IDC_PIECE_LOCALITIES));
  show(fields_);
  if (existing_ != 0) {
    // A stored specimen is changed once; OK takes over as default button.
    enable(IDC_PIECE_MORE, false);
    SendMessageA(window(), DM_SETDEFID, IDOK, 0);
  } else {
    SendMessageA(window(), DM_SETDEFID, IDC_PIECE_MORE, 0);
    sendItem(IDC_PIECE_MORE, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    sendItem(IDOK, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  focus(IDC_PIECE_MAIN_MINERALS);
  return false;
}

void PieceEntryDialog::show(const SpecimenFormFields& fields) {
  for (const EditField& field : kEditFields) setItemText(field.id, fields.*field.text);
  check(IDC_PIECE_COLLECTION, fields.collectionPiece);
  check(IDC_PIECE_EXCHANGE, !fields.collectionPiece);
  check(IDC_PIECE_BOUGHT, fields.acquisition == Acquisition::kBought);
  check(IDC_PIECE_FOUND, fields.acquisition == Acquisition::kFound);
  check(IDC_PIECE_SWAPPED, fields.acquisition == Acquisition::kSwapped);
  enablePrice(fields.acquisition == Acquisition::kBought);
  fillLocalities(fields.localityItem.value_or(0));
}

SpecimenFormFields PieceEntryDialog::read() const {
  SpecimenFormFields fields;
  for (const EditField& field : kEditFields) fields.*field.text = itemText(field.id);
  fields.collectionPiece = isChecked(IDC_PIECE_COLLECTION);
  fields.acquisition = isChecked(IDC_PIECE_BOUGHT)  ? Acquisition::kBought
                       : isChecked(IDC_PIECE_FOUND) ? Acquisition::kFound
                                                    : Acquisition::kSwapped;
  const LRESULT i = sendItem(IDC_PIECE_LOCALITIES, LB_GETCURSEL);
  if (i != LB_ERR) fields.localityItem = static_cast<std::uint16_t>(localities_[static_cast<std::size_t>(i)].itemData);
  fields.description = fields_.description;
  // A specimen stored without its new locality keeps that state while "neue
  // Fundstelle" stays selected, instead of asking for the locality again.
  fields.newLocalityDeclined = fields_.newLocalityDeclined;
  return fields;
}

void PieceEntryDialog::fillLocalities(std::uint32_t selectedItem) {
  const HWND list = item(IDC_PIECE_LOCALITIES);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  // Without LBS_HASSTRINGS an item is its value; the texts stay here.
  for (const LocalityChoice& choice : localities_) SendMessageA(list, LB_ADDSTRING, 0, choice.itemData);
  const auto chosen = std::find_if(localities_.begin(), localities_.end(),
                                   [&](const LocalityChoice& c) { return c.itemData == selectedItem; });
  // A remembered locality that is gone starts at "unbekannt".
  const WPARAM index = chosen == localities_.end() ? 0 : static_cast<WPARAM>(chosen - localities_.begin());
  SendMessageA(list, LB_SETCURSEL, index, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void PieceEntryDialog::enablePrice(bool on) {
  enable(IDC_PIECE_PURCHASE_PRICE, on);
  enable(IDC_PIECE_PRICE_LABEL, on);
}

bool PieceEntryDialog::onCommand(int id, int code) {
  switch (id) {
    case IDC_PIECE_BOUGHT:
      if (code == BN_CLICKED) enablePrice(true);
      return true;
    case IDC_PIECE_FOUND:
    case IDC_PIECE_SWAPPED:
      if (code == BN_CLICKED) {
        setItemText(IDC_PIECE_PURCHASE_PRICE, "");
        enablePrice(false);
      }
      return true;
    case IDC_PIECE_DESCRIPTION:
      if (code == BN_CLICKED) editDescription();
      return true;
    case IDC_PIECE_MORE:
      if (code == BN_CLICKED && existing_ == 0 && save()) {
        show(fields_ = newSpecimenFields(collection()));
        focus(IDC_PIECE_MAIN_MINERALS);
      }
      return true;
    default:
      return false;
  }
}

void PieceEntryDialog::onOk() {
  if (save()) end(1);
}

bool PieceEntryDialog::save() {
  SpecimenFormFields fields = read();
  FormResult collected = collectSpecimen(collection(), fields, existing_);
  while (collected.status == FormStatus::kNeedsNewLocality) {
    if (const std::optional<std::uint32_t> entered = enterLocality(collected.specimen)) {
      fields.localityItem = static_cast<std::uint16_t>(*entered);
    } else {
      if (showMessage(window(), CollectionMessage::kNoNewLocality,
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        focus(IDC_PIECE_LOCALITIES);
        return false;
      }
      fields.newLocalityDeclined = true;
    }
    collected = collectSpecimen(collection(), fields, existing_);
  }
  if (collected.status == FormStatus::kError) {
    // The entry form's input errors come with the information icon.
    showFormFailure(window(), collected.failure, MB_ICONINFORMATION);
    return false;
  }
  const HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  const FormResult saved = saveSpecimen(collection(), std::move(collected.specimen));
  SetCursor(old);
  if (saved.status != FormStatus::kSaved) {
    // The input stays in the fields for another try.
    showMessage(window(), saved.message, MB_OK | MB_ICONSTOP);
    return false;
  }
  storedAny_ = true;
  return true;
}

std::optional<std::uint32_t> PieceEntryDialog::enterLocality(const Specimen& collected) {
  LocalityEntryRequest request;
  for (std::uint16_t id : collected.minerals)
    if (id != 0) request.prefilledMinerals.push_back(static_cast<std::int32_t>(id) - 1);
  const std::optional<std::int32_t> number = runLocalityEntry(window(), app_, request);
  if (!number || *number <= 0) return std::nullopt;
  // The new locality joins the list, selected.
  const auto item = static_cast<std::uint32_t>(*number) + 1;
  localities_ = localityChoices(collection(), true);
  fillLocalities(item);
  return item;
}

void PieceEntryDialog::editDescription() {
  const SpecimenFormFields fields = read();
  PieceSummary summary{fields.mainMinerals, fields.accompanyingMinerals, {}, fields.size, fields.index};
  const LRESULT i = sendItem(IDC_PIECE_LOCALITIES, LB_GETCURSEL);
  if (i != LB_ERR) {
    const LocalityChoice& choice = localities_[static_cast<std::size_t>(i)];
    summary.locality = choice.itemData == 0 ? collectionMessageText(CollectionMessage::kUnknownLocality)
                                            : choice.text;
  }
  PieceDescriptionDialog dialog(instance(), std::move(summary), fields_.description);
  if (dialog.run(window()) == 1) fields_.description = dialog.description();
}

bool PieceEntryDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != IDC_PIECE_LOCALITIES) return false;
  drawLocalityItem(item, localities_, collectionMessageText(CollectionMessage::kUnknownLocality));
  return true;
}

bool PieceEntryDialog::onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A character typed into the locality list jumps to the first locality with that initial.
  if (msg != WM_CHARTOITEM || reinterpret_cast<HWND>(lParam) != item(IDC_PIECE_LOCALITIES)) return false;
  const std::optional<std::size_t> found = localityChoiceForKey(localities_, static_cast<char>(LOWORD(wParam)));
  result = found ? static_cast<LRESULT>(*found) : -2;  // -2: the key is handled, nothing to select
  return true;
}

}  // namespace kalvor::shell
