#include "shell/dialogs/piece_labels_dialog.h"

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "labels/label_content.h"
#include "labels/label_geometry.h"
#include "resources/label_dialog_ids.h"
#include "shell/dialogs/label_definition_dialog.h"
#include "shell/dialogs/label_format_choice.h"

namespace kalvor::shell {

bool PieceLabelsDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  format_ = takeRememberedLabelFormat(window(), job_.sheet(), settings_, userFormats_);
  fillLabelFormatList(item(IDC_SL_FORMAT), userFormats_, format_);
  check(IDC_SL_QR_CODE, job_.sheet().format() && job_.sheet().format()->qrCode());
  enable(IDC_SL_SELECTED, selected_ != 0);
  check(selected_ != 0 ? IDC_SL_SELECTED : IDC_SL_ALL, true);
  const std::string all = "alle Stufen der &Liste (" + std::to_string(pieces_.size()) + ")";
  setItemText(IDC_SL_ALL, all);
  sendItem(IDC_SL_COUNT, EM_LIMITTEXT, 3);
  setItemText(IDC_SL_COUNT, "1");
  showRest();
  return true;
}

void PieceLabelsDialog::showRest() { setItemText(IDC_SL_REST, labelRestText(job_.sheet().rest())); }

void PieceLabelsDialog::formatChosen() {
  const int chosen = selectedLabelFormat(item(IDC_SL_FORMAT));
  if (takeLabelFormat(window(), job_.sheet(), userFormats_, chosen)) {
    format_ = chosen;
    check(IDC_SL_QR_CODE, job_.sheet().format()->qrCode());
  } else {
    sendItem(IDC_SL_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(format_));
  }
  showRest();
}

bool PieceLabelsDialog::onCommand(int id, int code) {
  if (id == IDC_SL_FORMAT && code == CBN_SELCHANGE) {
    formatChosen();
    return true;
  }
  if (id == IDC_SL_NEW_FORMAT && code == BN_CLICKED) {
    LabelDefinitionDialog definition(instance(), settings_, job_.page(), &data_);
    definition.run(window());
    userFormats_ = loadLabelFormats(settings_, true);
    const bool beyond = !labelFormatAt(userFormats_, format_);
    if (beyond) format_ = 0;
    fillLabelFormatList(item(IDC_SL_FORMAT), userFormats_, format_);
    if (beyond || format_ >= kBuiltInLabelFormatCount) formatChosen();
    return true;
  }
  return false;
}

void PieceLabelsDialog::onOk() {
  const std::optional<int> copies = parseLabelCopies(itemText(IDC_SL_COUNT));
  if (!copies) {
    MessageBeep(0);
    MessageBoxA(window(), "Die Anzahl Etiketten muss zwischen 1 und 999 liegen.", "Anzahl Etiketten",
                MB_OK | MB_ICONINFORMATION);
    focus(IDC_SL_COUNT);
    return;
  }
  job_.sheet().setQrCode(isChecked(IDC_SL_QR_CODE));
  std::vector<std::uint32_t> chosen = pieces_;
  if (isChecked(IDC_SL_SELECTED) && selected_ != 0) chosen = {selected_};
  Collection& collection = data_.collection();
  for (std::uint32_t n : chosen) {
    const std::optional<Specimen> piece = readSpecimen(collection, n);
    if (!piece || piece->deleted()) continue;
    std::optional<Locality> locality;
    if (piece->localityNumber() != 0) {
      locality = readLocality(collection, piece->localityNumber(), false);
      if (locality && locality->deleted()) locality.reset();
    }
    job_.print(specimenLabelContent(*piece, data_.names(), locality, &data_.database()), *copies);
  }
  showRest();
  const bool printed = job_.labelsDrawn() > 0;
  job_.finish(window());
  rememberLabelFormat(settings_, format_);
  end(printed ? 1 : 0);
}

void PieceLabelsDialog::onCancel() {
  job_.abort();
  end(0);
}

}  // namespace kalvor::shell
