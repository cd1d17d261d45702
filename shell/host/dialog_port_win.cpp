#include "shell/dialogs/info_dialog.h"
#include "shell/dialogs/locality_delete_dialog.h"
#include "shell/dialogs/locality_entry_dialog.h"
#include "shell/dialogs/locality_search_dialog.h"
#include "shell/dialogs/mineral_search_dialog.h"
#include "shell/dialogs/name_search_dialog.h"
#include "shell/dialogs/options_dialog.h"
#include "shell/dialogs/piece_entry_dialog.h"
#include "shell/dialogs/collection_evaluation_dialog.h"
#include "shell/host/collection_writes.h"
#include "shell/host/win_ports.h"
#include "win32/font_table.h"
#include "win32/strings.h"

namespace kalvor::shell {

bool WinDialogs::runMineralSearch() {
  if (!app_.data.reference) return false;
  MineralSearchDialog dialog(app_.windows.instance, *app_.data.reference, app_.search.determination);
  if (dialog.run(app_.windows.main) != 1) return false;
  app_.search.minerals = dialog.takeResults();
  return true;
}

views::RecordSearchOutcome WinDialogs::runLocalitySearch() {
  if (!app_.data.reference) return {};
  LocalitySearchDialog dialog(app_.windows.instance, *app_.data.reference, app_.display.lists);
  if (dialog.run(app_.windows.main) != 1) return {};
  CollectionSearchFormOutcome found = dialog.takeOutcome();
  app_.search.highlightElements = std::move(found.highlightElements);
  app_.search.highlightSystematics = std::move(found.highlightSystematics);
  return {.accepted = true, .records = std::move(found.records)};
}

views::RecordSearchOutcome WinDialogs::runSpecimenSearch() {
  if (!app_.data.reference) return {};
  SpecimenSearchDialog dialog(app_.windows.instance, *app_.data.reference, app_.display.lists);
  if (dialog.run(app_.windows.main) != 1) return {};
  return {.accepted = true, .records = dialog.takeOutcome().records};
}

bool WinDialogs::runNewLocality() {
  if (refuseReadOnlyCollection(app_)) return false;
  const bool stored = runLocalityEntry(app_.windows.main, app_, {}).has_value();
  mendIndexAfterSave(app_);
  return stored;
}

bool WinDialogs::runChangeLocality(std::int32_t record) {
  if (record <= 0 || refuseReadOnlyCollection(app_)) return false;
  LocalityEntryRequest request;
  request.record = record;
  const bool stored = runLocalityEntry(app_.windows.main, app_, request).has_value();
  mendIndexAfterSave(app_);
  return stored;
}

bool WinDialogs::runDeleteLocality(std::int32_t record) {
  if (!app_.data.reference || record <= 0) return false;
  Collection& collection = app_.data.reference->collection();
  std::optional<Locality> locality = readLocality(collection, static_cast<std::uint32_t>(record));
  if (!locality || locality->deleted()) return false;
  if (refuseReadOnlyCollection(app_)) return false;
  LocalityDeleteDialog dialog(app_.windows.instance, collection, std::move(*locality));
  const bool deleted = dialog.run(app_.windows.main) == 1;
  mendIndexAfterSave(app_);
  return deleted;
}

std::optional<std::int32_t> WinDialogs::runNameSearch() {
  NameSearchDialog dialog(app_.windows.instance, app_.display.lists);
  if (dialog.run(app_.windows.main) != 1 || dialog.chosenMineral() == 0) return std::nullopt;
  return dialog.chosenMineral();
}

bool WinDialogs::runNewSpecimen() {
  if (!app_.data.reference || refuseReadOnlyCollection(app_)) return false;
  PieceEntryDialog dialog(app_, 0, newSpecimenFields(app_.data.reference->collection()));
  // "&weitere Stufe" may have stored specimens before "Abbrechen".
  const bool stored = dialog.run(app_.windows.main) == 1 || dialog.storedAny();
  mendIndexAfterSave(app_);
  return stored;
}

bool WinDialogs::runChangeSpecimen(std::int32_t record) {
  if (!app_.data.reference || record <= 0) return false;
  Collection& collection = app_.data.reference->collection();
  const std::optional<Specimen> specimen = readSpecimen(collection, static_cast<std::uint32_t>(record));
  if (!specimen || specimen->deleted()) return false;
  SpecimenFormFields fields = fieldsOfSpecimen(collection, *specimen);
  fields.newLocalityDeclined = specimen->localityValue == 1;
  if (refuseReadOnlyCollection(app_)) return false;
  PieceEntryDialog dialog(app_, specimen->number, std::move(fields));
  const bool stored = dialog.run(app_.windows.main) == 1;
  mendIndexAfterSave(app_);
  return stored;
}

void WinDialogs::runInfo() {
  InfoDialog(app_.windows.instance, app_.display.pictures).run(app_.windows.main);
}

bool WinDialogs::runOptions() {
  OptionsDialogHooks hooks;
  hooks.recreateFonts = [this](bool) { win32::recreateFontTable(app_.display.fonts, *app_.settings.ini); };
  hooks.switchBubbleHelp = [this](bool on) {
    if (app_.windows.bubbleHelp) app_.windows.bubbleHelp->setEnabled(on);
  };
  OptionsDialog dialog(app_.windows.instance, *app_.settings.ini, win32::screenWidth(), std::move(hooks));
  return dialog.run(app_.windows.main) == 1;
}

bool WinDialogs::askYesNo(int textId, int captionId) {
  return MessageBoxA(app_.windows.main, win32::loadString(app_.windows.instance, textId).c_str(),
                     win32::loadString(app_.windows.instance, captionId).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kalvor::shell
