#include "shell/dialogs/piece_description_dialog.h"

#include "collection/form_fields.h"
#include "resources/piece_entry_ids.h"

namespace kalvor::shell {

bool PieceDescriptionDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  setItemText(IDC_PIECE_MAIN_MINERALS, summary_.mainMinerals);
  setItemText(IDC_PIECE_ACCOMPANYING, summary_.accompanyingMinerals);
  setItemText(IDC_PIECE_LOCALITY_LINE, summary_.locality);
  setItemText(IDC_PIECE_SIZE, summary_.size);
  setItemText(IDC_PIECE_INDEX, summary_.index);
  // No more than the record's length word holds, so nothing is cut at saving.
  sendItem(IDC_PIECE_DESCRIPTION, EM_LIMITTEXT, field_limits::kDescription);
  setItemText(IDC_PIECE_DESCRIPTION, text_);
  focus(IDC_PIECE_DESCRIPTION);
  sendItem(IDC_PIECE_DESCRIPTION, EM_SETSEL, text_.size(), static_cast<LPARAM>(text_.size()));
  return false;
}

bool PieceDescriptionDialog::onCommand(int id, int code) {
  if (id != IDC_PIECE_BACK || code != BN_CLICKED) return false;
  onOk();
  return true;
}

void PieceDescriptionDialog::onOk() {
  text_ = itemText(IDC_PIECE_DESCRIPTION);
  end(1);
}

}  // namespace kalvor::shell
