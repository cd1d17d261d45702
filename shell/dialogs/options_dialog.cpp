#include "shell/dialogs/options_dialog.h"

namespace kalvor::shell {

bool OptionsDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  show(views::fromSettings(settings_, views::isSmallScreen(screenWidth_)));
  return true;
}

void OptionsDialog::show(const views::OptionsDialogState& s) {
  check(views::kIdMineralLocalityList, s.mineralLocalityList);
  check(views::kIdAliasLocalityList, s.aliasLocalityList);
  enable(views::kIdAliasLocalityList, s.aliasLocalityListEnabled);
  check(views::kIdAnglesWithMinutes, s.anglesWithMinutes);
  check(views::kIdSystematicsAsText, s.systematicsAsText);
  check(views::kIdBubbleHelp, s.bubbleHelp);
  check(views::kIdSmallFonts, s.smallFonts);
  for (unsigned id : views::kSpecimenSortItemIds) {
    sendItem(views::kIdSpecimenSort, CB_ADDSTRING, 0,
             reinterpret_cast<LPARAM>(text(static_cast<int>(id)).c_str()));
  }
  sendItem(views::kIdSpecimenSort, CB_SETCURSEL, static_cast<WPARAM>(s.specimenSort));
}

views::OptionsDialogState OptionsDialog::read() const {
  views::OptionsDialogState s;
  s.mineralLocalityList = isChecked(views::kIdMineralLocalityList);
  s.aliasLocalityList = isChecked(views::kIdAliasLocalityList);
  s.aliasLocalityListEnabled = isEnabled(views::kIdAliasLocalityList);
  s.anglesWithMinutes = isChecked(views::kIdAnglesWithMinutes);
  s.systematicsAsText = isChecked(views::kIdSystematicsAsText);
  s.bubbleHelp = isChecked(views::kIdBubbleHelp);
  s.smallFonts = isChecked(views::kIdSmallFonts);
  const LRESULT item = sendItem(views::kIdSpecimenSort, CB_GETCURSEL);
  s.specimenSort = item == CB_ERR ? 0 : static_cast<int>(item);
  return s;
}

bool OptionsDialog::onCommand(int id, int code) {
  // The list of other names' localities only makes sense with the mineral's own.
  if (id != views::kIdMineralLocalityList) return false;
  if (code == BN_CLICKED) enable(views::kIdAliasLocalityList, isChecked(views::kIdMineralLocalityList));
  return true;
}

void OptionsDialog::onOk() {
  const HWND owner = GetWindow(window(), GW_OWNER);
  views::OptionsSideEffects effects;
  effects.switchBubbleHelp = hooks_.switchBubbleHelp;
  effects.recreateFonts = [this, owner](bool small) {
    if (hooks_.recreateFonts) hooks_.recreateFonts(small);
    if (owner) InvalidateRect(owner, nullptr, TRUE);
  };
  // A key that cannot be written keeps its old value; there is nothing better to offer.
  views::writeOptions(read(), settings_, effects);
  end(1);
}

}  // namespace kalvor::shell
