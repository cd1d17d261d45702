#include "shell/dialogs/locality_delete_dialog.h"

#include <string>

#include "collection/locality_form.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/search_dialog_parts.h"

namespace kalvor::shell {

bool LocalityDeleteDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  setItemText(ID_DELETE_LOCALITY_LINE, localityLine(locality_));
  setItemText(ID_DELETE_LOCALITY_SPECIMENS, std::to_string(locality_.specimens.size()));
  replacements_ = replacementChoices(collection_, locality_.number);
  const HWND list = item(ID_DELETE_LOCALITY_REPLACEMENTS);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  // Without LBS_HASSTRINGS the item is its value: the locality number, 0 for "unbekannt".
  for (const LocalityChoice& choice : replacements_) SendMessageA(list, LB_ADDSTRING, 0, choice.itemData);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  focus(ID_DELETE_LOCALITY_REPLACEMENTS);
  return false;
}

void LocalityDeleteDialog::onOk() {
  const bool withSpecimens = isChecked(ID_DELETE_LOCALITY_WITH_SPECIMENS);
  std::uint32_t replacement = 0;
  if (!withSpecimens) {
    const LRESULT i = sendItem(ID_DELETE_LOCALITY_REPLACEMENTS, LB_GETCURSEL);
    if (i == LB_ERR || static_cast<std::size_t>(i) >= replacements_.size()) {
      MessageBeep(0);
      return;
    }
    replacement = replacements_[static_cast<std::size_t>(i)].itemData;
  }
  const std::string question = deleteLocalityQuestion(collection_, locality_.number, withSpecimens, replacement);
  const std::string caption = collectionMessageText(CollectionMessage::kDeleteLocalityCaption);
  if (MessageBoxA(window(), question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  const CollectionMessage result = deleteLocalityFromForm(collection_, locality_.number, withSpecimens, replacement);
  SetCursor(old);
  if (result != CollectionMessage::kNone) {
    // "Speicherungsproblem": the dialog stays open with the user's choice.
    MessageBoxA(window(), collectionMessageText(result).c_str(),
                collectionMessageText(collectionMessageCaption(result)).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  end(1);
}

bool LocalityDeleteDialog::onMeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlID != ID_DELETE_LOCALITY_REPLACEMENTS) return false;
  measure.itemHeight = static_cast<UINT>(listRowHeight(item(ID_DELETE_LOCALITY_REPLACEMENTS)));
  return true;
}

bool LocalityDeleteDialog::onDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlID != ID_DELETE_LOCALITY_REPLACEMENTS) return false;
  drawLocalityItem(draw, replacements_, collectionMessageText(CollectionMessage::kUnknownLocality));
  return true;
}

}  // namespace kalvor::shell
