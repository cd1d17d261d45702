#include "views/command_table.h"

#include <algorithm>
#include <array>

#include "resources/resource_ids.h"
#include "string_ids.h"

namespace kalvor::views {
namespace {

void quit(ViewController& v) {
  v.host().frame.destroyToolbar();
  v.host().frame.closeMainWindow();
}

void searchMineral(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  if (host.list.listExists()) host.list.setListRedraw(false);
  if (!host.dialogs.runMineralSearch() || !host.data.mineralResultExists()) {
    host.list.setListRedraw(true);
    return;
  }
  state.rememberedMineral = -1;
  state.resultFlag(View::Mineral) = true;
  if (state.view != View::Mineral) runCommand(v, CMD_VIEW_MINERAL);
  state.descriptionKind = DescriptionKind::Mineral;
  host.list.createMineralList({.searchResult = true, .selection = 0});
  v.refreshToolbar(true);
}

void change(ViewController& v) {
  ViewHost& host = v.host();
  const View view = v.state().view;
  if (view == View::Mineral || view == View::Glossar) {
    host.frame.beep();
    return;
  }
  const std::int32_t record = host.list.currentRecord();
  if (record == 0) return;
  const bool changed =
      view == View::Fundort ? host.dialogs.runChangeLocality(record) : host.dialogs.runChangeSpecimen(record);
  if (!changed) return;
  // A changed name (locality) or index or first mineral (specimen) moves the
  // record in its sort order and changes its row: the list is made anew around it.
  v.recreateRecordList(view, record);
  if (host.sideWindows.descriptionOpen()) host.sideWindows.rebuildDescription();
}

void deleteRecord(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const View view = state.view;
  if (view == View::Mineral || view == View::Glossar) {
    host.frame.beep();
    return;
  }
  const std::int32_t record = host.list.currentRecord();
  if (record == 0) return;
  if (view == View::Stufen) {
    if (!host.dialogs.askYesNo(strings::kStrDeleteSpecimenQuestion, strings::kStrDeleteSpecimenCaption)) return;
    // A failed delete keeps the specimen in the result; the list is built
    // anew either way, from what the collection now holds.
    if (host.data.deleteSpecimen(record) && state.specimenResult)
      state.specimenResult->remove(static_cast<std::uint32_t>(record));
  } else {
    if (!host.dialogs.runDeleteLocality(record)) return;
    if (state.localityResult) state.localityResult->remove(static_cast<std::uint32_t>(record));
  }
  v.recreateRecordList(view, 0);
}

void leaveExchange(ViewController& v) {
  ViewHost& host = v.host();
  host.list.setListRedraw(false);
  host.exchange.closeExchangeList();
  host.frame.restoreMainMenu();
  v.state().exchangeOpen = false;
  // The own collection's search results come back with its records.
  ViewState& state = v.state();
  if (state.ownResults) {
    state.localityResult = std::move(state.ownResults->localities);
    state.specimenResult = std::move(state.ownResults->specimens);
    state.resultFlag(View::Fundort) = state.ownResults->localityFlag;
    state.resultFlag(View::Stufen) = state.ownResults->specimenFlag;
    state.ownResults.reset();
  }
  // The enabling copies described the exchange list's records.
  v.state().enablingLocalities.reset();
  v.state().enablingSpecimens.reset();
  if (v.state().view != View::Mineral) runCommand(v, CMD_VIEW_MINERAL);
  host.list.setListRedraw(true);
}

// "Fundortsuche" (localities) and "Sammlungsauswertung" (specimens).
void searchRecords(ViewController& v, View view) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const bool localities = view == View::Fundort;
  RecordSearchOutcome outcome =
      localities ? host.dialogs.runLocalitySearch() : host.dialogs.runSpecimenSearch();
  std::optional<RecordSet>& result = localities ? state.localityResult : state.specimenResult;
  if (outcome.records) result = std::move(outcome.records);
  if (outcome.accepted && result) {
    if (host.sideWindows.descriptionOpen()) {
      host.sideWindows.setDescriptionTitle(localities ? kTitleLocality : kTitleSpecimen);
      if (host.sideWindows.drawingOpen()) host.sideWindows.destroyDrawing();
    }
    state.resultFlag(view) = true;
    if (state.view != view) runCommand(v, static_cast<int>(view));
    RangeListRequest request;
    request.last = localities ? host.data.localityCount() : host.data.specimenCount();
    request.records = result;
    request.kind = localities ? ListKind::Locality : ListKind::Specimen;
    host.list.createRangeList(request);
  }
  // The toolbar follows the view actually shown: after a cancelled search
  // that is still the previous view with its own flag.
  v.refreshToolbar();
}

void searchLocality(ViewController& v) { searchRecords(v, View::Fundort); }
void searchSpecimen(ViewController& v) { searchRecords(v, View::Stufen); }

void importExchange(ViewController& v) {
  ViewHost& host = v.host();
  host.list.setListRedraw(false);
  if (const auto chosen = host.exchange.chooseExchangeFile(false)) {
    if (v.state().view != View::Mineral) runCommand(v, CMD_VIEW_MINERAL);
    if (host.exchange.openExchangeList(withExchangeExtension(*chosen))) {
      host.frame.installExchangeMenu();
      v.state().exchangeOpen = true;
      // Record numbers of the own collection mean other records in the
      // exchange list: its search results wait until the mode ends.
      ViewState& state = v.state();
      if (!state.ownResults) {
        state.ownResults = ViewState::CollectionResults{
            std::move(state.localityResult), std::move(state.specimenResult),
            state.resultFlag(View::Fundort), state.resultFlag(View::Stufen)};
      }
      state.localityResult.reset();
      state.specimenResult.reset();
      state.resultFlag(View::Fundort) = false;
      state.resultFlag(View::Stufen) = false;
      v.state().enablingLocalities.reset();
      v.state().enablingSpecimens.reset();
    }
  }
  host.list.setListRedraw(true);
}

void exportExchange(ViewController& v) {
  if (const auto chosen = v.host().exchange.chooseExchangeFile(true)) {
    v.host().exchange.exportExchangeList(withExchangeExtension(*chosen));
  }
}

// "Sammlung &reparieren …": the lists are built anew from the repaired collection.
void repairCollection(ViewController& v) {
  ViewHost& host = v.host();
  if (v.state().exchangeOpen || !host.data.repairCollection()) return;
  ViewState& state = v.state();
  state.indexDamaged = host.data.indexDamaged();
  if (state.indexDamaged) host.frame.graySearchItems();
  state.localityResult.reset();
  state.specimenResult.reset();
  state.resultFlag(View::Fundort) = false;
  state.resultFlag(View::Stufen) = false;
  state.enablingLocalities.reset();
  state.enablingSpecimens.reset();
  if (state.view == View::Fundort || state.view == View::Stufen) v.recreateRecordList(state.view, 0);
  v.refreshToolbar();
}

void addLocality(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const bool stored = host.dialogs.runNewLocality();
  // The dialog may have found the index damaged: the flag is asked afresh.
  state.indexDamaged = host.data.indexDamaged();
  if (state.indexDamaged) host.frame.graySearchItems();
  if (!stored) return;
  // A new locality can make the Fundort button usable.
  state.enablingLocalities.reset();
  if (state.view == View::Fundort && !state.resultFlag(View::Fundort)) {
    v.recreateRecordList(View::Fundort, 0);
  }
  v.refreshToolbar();
}

void addSpecimen(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const std::int32_t localities = host.data.localityCount();
  const std::int32_t specimens = host.data.specimenCount();
  const bool stored = host.dialogs.runNewSpecimen();
  state.indexDamaged = host.data.indexDamaged();
  if (state.indexDamaged) host.frame.graySearchItems();
  const bool newLocality = host.data.localityCount() != localities;
  const bool newSpecimen = stored || host.data.specimenCount() != specimens;
  if (newLocality) state.enablingLocalities.reset();
  if (newSpecimen) state.enablingSpecimens.reset();
  if (newSpecimen && state.view == View::Stufen && !state.resultFlag(View::Stufen)) {
    v.recreateRecordList(View::Stufen, 0);
  }
  if (state.view == View::Fundort) {
    if (newLocality) {
      v.recreateRecordList(View::Fundort, 0);
    } else if (host.sideWindows.descriptionOpen()) {
      // The locality shown may have gained a specimen.
      host.sideWindows.rebuildDescription();
    }
  }
  v.refreshToolbar();
}

void searchName(ViewController& v) {
  ViewHost& host = v.host();
  const std::optional<std::int32_t> mineral = host.dialogs.runNameSearch();
  if (!mineral || *mineral == 0) return;
  if (v.state().view != View::Mineral) runCommand(v, CMD_VIEW_MINERAL);
  runCommand(v, CMD_VIEW_ALL);
  host.list.createMineralList({.searchResult = false, .selection = *mineral});
  if (host.sideWindows.descriptionOpen()) host.sideWindows.invalidateDescription();
  v.refreshToolbar(v.state().resultFlag(View::Mineral));
}

void viewMineral(ViewController& v) { v.switchToMineral(); }
void viewSpecimens(ViewController& v) { v.switchToRecords(View::Stufen); }
void viewLocalities(ViewController& v) { v.switchToRecords(View::Fundort); }
void viewGlossary(ViewController& v) { v.switchToGlossary(); }
void viewAll(ViewController& v) { v.showEntries(false); }
void viewResult(ViewController& v) { v.showEntries(true); }
void viewDetailedList(ViewController& v) { v.detailedList(); }
void viewDescription(ViewController& v) { v.openSideWindows(); }

void printProfile(ViewController& v) {
  const std::int32_t mineral = v.host().list.currentMineral();
  if (mineral > 0) v.host().printing.printMineralProfile(mineral - 1);
}

void printLocality(ViewController& v) {
  const std::int32_t record = v.host().list.currentRecord();
  if (record != 0) v.host().printing.printLocality(record);
}

void printSpecimenList(ViewController& v) {
  ViewState& state = v.state();
  if (state.resultFlag(View::Stufen)) {
    v.host().printing.printSpecimenList(state.specimenResult);
  } else {
    state.enablingSpecimens = v.host().data.allSpecimens();
    v.host().printing.printSpecimenList(state.enablingSpecimens);
  }
}

void printLabels(ViewController& v) { v.host().dialogs.runDirectLabels(); }

// Labels for what the Stufen view lists: its result, or every specimen.
void printSpecimenLabels(ViewController& v) {
  ViewState& state = v.state();
  if (state.view != View::Stufen) return;
  const std::int32_t selected = v.host().list.currentRecord();
  if (state.resultFlag(View::Stufen)) {
    v.host().printing.printSpecimenLabels(state.specimenResult, selected);
  } else {
    state.enablingSpecimens = v.host().data.allSpecimens();
    v.host().printing.printSpecimenLabels(state.enablingSpecimens, selected);
  }
}

void info(ViewController& v) { v.host().dialogs.runInfo(); }

void options(ViewController& v) {
  ViewHost& host = v.host();
  const std::uintptr_t font = host.list.mainFontToken();
  if (host.dialogs.runOptions()) {
    host.data.resortSpecimens();
    if (v.state().view == View::Stufen) v.recreateRecordList(View::Stufen, 0);
    if (host.sideWindows.descriptionOpen()) host.sideWindows.repaintDescription();
  }
  if (host.list.mainFontToken() != font) host.list.applyListFont();
}

void toolbarPrint(ViewController& v) {
  switch (v.state().view) {
    case View::Mineral: printProfile(v); break;
    case View::Stufen: runCommand(v, CMD_PRINT_SPECIMEN_LIST); break;
    case View::Fundort: printLocality(v); break;
    case View::Glossar: break;
  }
}

void toolbarSearch(ViewController& v) {
  switch (v.state().view) {
    case View::Mineral: runCommand(v, CMD_SEARCH_MINERAL); break;
    case View::Fundort: runCommand(v, CMD_SEARCH_LOCALITY); break;
    case View::Stufen: runCommand(v, CMD_SEARCH_SPECIMEN); break;
    case View::Glossar: break;
  }
}

// --- What each command needs of the host, by view -------------------------

constexpr Need nothing(const ViewState&) { return {}; }
template <DialogKind kDialog>
constexpr Need dialog(const ViewState&) { return {kDialog, std::nullopt}; }
template <PrintJob kJob>
constexpr Need print(const ViewState&) { return {std::nullopt, kJob}; }

// The entry, change and delete commands write to the collection.
template <DialogKind kDialog>
constexpr Need writingDialog(const ViewState&) { return {kDialog, std::nullopt, true}; }

Need changeNeeds(const ViewState& s) {
  if (s.view == View::Fundort) return {DialogKind::ChangeLocality, std::nullopt, true};
  if (s.view == View::Stufen) return {DialogKind::ChangeSpecimen, std::nullopt, true};
  return {};
}

// Deleting a specimen only asks; a locality has a dialog of its own.
Need deleteNeeds(const ViewState& s) {
  if (s.view == View::Fundort) return {DialogKind::DeleteLocality, std::nullopt, true};
  if (s.view == View::Stufen) return {std::nullopt, std::nullopt, true};
  return {};
}

Need toolbarPrintNeeds(const ViewState& s) {
  switch (s.view) {
    case View::Mineral: return {std::nullopt, PrintJob::MineralProfile};
    case View::Stufen: return {std::nullopt, PrintJob::SpecimenList};
    case View::Fundort: return {std::nullopt, PrintJob::Locality};
    case View::Glossar: break;
  }
  return {};
}

Need toolbarSearchNeeds(const ViewState& s) {
  switch (s.view) {
    case View::Mineral: return {DialogKind::MineralSearch, std::nullopt};
    case View::Fundort: return {DialogKind::LocalitySearch, std::nullopt};
    case View::Stufen: return {DialogKind::SpecimenSearch, std::nullopt};
    case View::Glossar: break;
  }
  return {};
}

constexpr std::array kCommands = {
    // "Kalvor &beenden", toolbar "Programm beenden"
    CommandEntry{CMD_QUIT, quit, nothing},
    // "&Suchen" / "&Mineral"
    CommandEntry{CMD_SEARCH_MINERAL, searchMineral, dialog<DialogKind::MineralSearch>},
    CommandEntry{CMD_CHANGE, change, changeNeeds},                // "&Ändern"
    CommandEntry{CMD_DELETE, deleteRecord, deleteNeeds},          // "&Löschen"
    CommandEntry{CMD_LEAVE_EXCHANGE, leaveExchange, nothing},     // "&Tauschassistent" / "&Beenden"
    // "&Suchen" / "&Fundort", "&Suchen" / "&Stufe"
    CommandEntry{CMD_SEARCH_LOCALITY, searchLocality, dialog<DialogKind::LocalitySearch>},
    CommandEntry{CMD_SEARCH_SPECIMEN, searchSpecimen, dialog<DialogKind::SpecimenSearch>},
    CommandEntry{CMD_IMPORT_EXCHANGE, importExchange, nothing},   // "Tauschliste &importieren"
    CommandEntry{CMD_EXPORT_EXCHANGE, exportExchange, nothing},   // "Tauschliste &exportieren"
    CommandEntry{CMD_REPAIR_COLLECTION, repairCollection, nothing},  // "Sammlung &reparieren …"
    // "&Fundort hinzu", "&Stufenbeschreibung hinzu"
    CommandEntry{CMD_ADD_LOCALITY, addLocality, writingDialog<DialogKind::NewLocality>},
    CommandEntry{CMD_ADD_SPECIMEN, addSpecimen, writingDialog<DialogKind::NewSpecimen>},
    CommandEntry{CMD_SEARCH_NAME, searchName, dialog<DialogKind::NameSearch>},  // "&Suchen" / "&Name"
    CommandEntry{CMD_VIEW_MINERAL, viewMineral, nothing},         // "&Ansicht" / "&Mineral"
    CommandEntry{CMD_VIEW_SPECIMENS, viewSpecimens, nothing},     // "S&tufen"
    CommandEntry{CMD_VIEW_LOCALITIES, viewLocalities, nothing},   // "&Ansicht" / "&Fundort"
    CommandEntry{CMD_VIEW_ALL, viewAll, nothing},                 // "&Alle Einträge"
    CommandEntry{CMD_VIEW_RESULT, viewResult, nothing},           // "&Suchergebnis"
    CommandEntry{CMD_VIEW_DETAILED_LIST, viewDetailedList, nothing},  // "Ausführliche &Liste"
    CommandEntry{CMD_VIEW_DESCRIPTION, viewDescription, nothing},     // "Beschreibungsfenster"
    CommandEntry{CMD_VIEW_GLOSSARY, viewGlossary, nothing},           // "&Glossar"
    // "Mineral&steckbrief", "&Fundstellenbeschreibung", "&Sammlungs-/Stufenliste"
    CommandEntry{CMD_PRINT_PROFILE, printProfile, print<PrintJob::MineralProfile>},
    CommandEntry{CMD_PRINT_LOCALITY, printLocality, print<PrintJob::Locality>},
    CommandEntry{CMD_PRINT_SPECIMEN_LIST, printSpecimenList, print<PrintJob::SpecimenList>},
    // "Etiketten (&Direkt)"
    CommandEntry{CMD_PRINT_LABELS, printLabels, dialog<DialogKind::DirectLabels>},
    // "Stufen&etiketten"
    CommandEntry{CMD_PRINT_SPECIMEN_LABELS, printSpecimenLabels, print<PrintJob::SpecimenLabels>},
    CommandEntry{CMD_INFO, info, dialog<DialogKind::Info>},           // "&Info"
    CommandEntry{CMD_OPTIONS, options, dialog<DialogKind::Options>},  // "&Optionen"
    CommandEntry{CMD_TOOLBAR_VIEW_MINERAL, viewMineral, nothing},     // "Ansicht: Minerale"
    CommandEntry{CMD_TOOLBAR_VIEW_SPECIMENS, viewSpecimens, nothing},    // "Ansicht: Stufen"
    CommandEntry{CMD_TOOLBAR_VIEW_LOCALITIES, viewLocalities, nothing},  // "Ansicht: Fundort"
    CommandEntry{CMD_TOOLBAR_VIEW_GLOSSARY, viewGlossary, nothing},      // "Ansicht: Glossar"
    CommandEntry{CMD_TOOLBAR_VIEW_RESULT, viewResult, nothing},          // "Ansicht: Suchergebnis"
    CommandEntry{CMD_TOOLBAR_VIEW_ALL, viewAll, nothing},                // "Ansicht: Alle Einträge"
    CommandEntry{CMD_TOOLBAR_DETAILED_LIST, viewDetailedList, nothing},  // "Ansicht: Ausführliche Liste"
    CommandEntry{CMD_TOOLBAR_DESCRIPTION, viewDescription, nothing},     // "Ansicht: Beschreibungsfenster"
    CommandEntry{CMD_TOOLBAR_PRINT, toolbarPrint, toolbarPrintNeeds},    // "Druck"
    CommandEntry{CMD_TOOLBAR_SEARCH, toolbarSearch, toolbarSearchNeeds},  // "Suchen"
};

static_assert(std::is_sorted(kCommands.begin(), kCommands.end(),
                             [](const CommandEntry& a, const CommandEntry& b) { return a.id < b.id; }));

const CommandEntry* find(int id) {
  const auto it = std::lower_bound(kCommands.begin(), kCommands.end(), id,
                                   [](const CommandEntry& e, int key) { return e.id < key; });
  return it == kCommands.end() || it->id != id ? nullptr : &*it;
}

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

bool hostHas(ViewHost& host, const Need& need) {
  if (need.dialog && !host.dialogs.has(*need.dialog)) return false;
  if (need.print && !host.printing.has(*need.print)) return false;
  return true;
}

// While an exchange list is open the records are those of the list: nothing
// may be entered, changed or deleted in the user's collection.
bool needMet(ViewController& views, const Need& need) {
  if (need.writesCollection && views.state().exchangeOpen) return false;
  return hostHas(views.host(), need);
}

bool commandAvailable(ViewController& views, int id) {
  const CommandEntry* entry = find(id);
  return entry && needMet(views, entry->needs(views.state()));
}

bool runCommand(ViewController& views, int id) {
  const CommandEntry* entry = find(id);
  if (!entry) return false;
  // Grayed items cannot be chosen, but a command can still arrive (another
  // command, a stray message): a missing dialog must not pass in silence.
  if (!needMet(views, entry->needs(views.state()))) {
    views.host().frame.beep();
    return true;
  }
  entry->handler(views);
  return true;
}

void grayUnavailableCommands(ViewController& views, MenuEditor& menu) {
  for (const CommandEntry& entry : kCommands) {
    if (!needMet(views, entry.needs(views.state()))) menu.enableItem(entry.id, false);
  }
}

void disableUnavailableButtons(ViewController& views) {
  if (!views.host().frame.toolbarExists()) return;
  for (const CommandEntry& entry : kCommands) {
    if (entry.id < CMD_TOOLBAR_VIEW_MINERAL) continue;
    if (!needMet(views, entry.needs(views.state())))
      views.host().frame.setToolbarButton(entry.id, kButtonDisabled);
  }
}

}  // namespace kalvor::views
