#include "shell/dialogs/locality_description_dialog.h"

#include "collection/form_fields.h"
#include "resources/resource_ids.h"

namespace kalvor::shell {

bool LocalityDescriptionDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  setItemText(ID_LOCALITY_NAME, locality_.name);
  setItemText(ID_LOCALITY_NEAREST_PLACE, locality_.nearestPlace);
  setItemText(ID_LOCALITY_REGION, locality_.region);
  setItemText(ID_LOCALITY_MAP_REFERENCE, locality_.mapReference);
  // The stored length (zero included) is an i16: no more can be kept.
  if (const FieldLimit* limit = fieldLimitOf(field_controls::kLocalityDescription))
    sendItem(ID_LOCALITY_DESCRIPTION, EM_LIMITTEXT, limit->maxChars);
  setItemText(ID_LOCALITY_DESCRIPTION, locality_.description);
  focus(ID_LOCALITY_DESCRIPTION);
  return false;
}

bool LocalityDescriptionDialog::onCommand(int id, int code) {
  if (id != ID_LOCALITY_BACK || code != BN_CLICKED) return false;
  onOk();
  return true;
}

void LocalityDescriptionDialog::onOk() {
  description_ = itemText(ID_LOCALITY_DESCRIPTION);
  end(1);
}

}  // namespace kalvor::shell
