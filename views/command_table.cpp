#include "views/command_table.h"

#include <algorithm>
#include <array>

namespace kalvor::views {
namespace {

constexpr int kTextDeleteSpecimen = 10093;     // "Wollen Sie die angewählte Stufe wirklich löschen?"
constexpr int kCaptionDeleteSpecimen = 10094;  // "Stufe löschen"

void quit(ViewController& v) {
  v.host().destroyToolbar();
  v.host().closeMainWindow();
}

void searchMineral(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  if (host.listExists()) host.setListRedraw(false);
  const DialogOutcome outcome = host.runDialog(Dialog::MineralSearch, 0);
  if (outcome.code == 0 || !host.mineralResultExists()) {
    host.setListRedraw(true);
    return;
  }
  state.rememberedMineral = -1;
  state.resultFlag(View::Mineral) = true;
  if (state.view != View::Mineral) runCommand(v, 1020);
  state.descriptionKind = DescriptionKind::Mineral;
  host.createMineralList({.searchResult = true, .selection = 0});
  v.refreshToolbar(true);
}

void change(ViewController& v) {
  ViewHost& host = v.host();
  const View view = v.state().view;
  if (view == View::Mineral || view == View::Glossar) {
    host.beep();
    return;
  }
  const std::int32_t record = host.currentRecord();
  if (record == 0) return;
  const Dialog dialog = view == View::Fundort ? Dialog::ChangeLocality : Dialog::ChangeSpecimen;
  const int code = host.runDialog(dialog, record).code;
  if (code != 0 && host.descriptionOpen()) host.rebuildDescription();
}

void deleteRecord(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const View view = state.view;
  if (view == View::Mineral || view == View::Glossar) {
    host.beep();
    return;
  }
  const std::int32_t record = host.currentRecord();
  if (record == 0) return;
  if (view == View::Stufen) {
    if (!host.askYesNo(kTextDeleteSpecimen, kCaptionDeleteSpecimen)) return;
    // A failed delete keeps the specimen in the result; the list is built
    // anew either way, from what the collection now holds.
    if (host.deleteSpecimen(record) && state.specimenResult)
      state.specimenResult->remove(static_cast<std::uint32_t>(record));
  } else {
    if (host.runDialog(Dialog::DeleteLocality, record).code != 1) return;
    if (state.localityResult) state.localityResult->remove(static_cast<std::uint32_t>(record));
  }
  v.recreateRecordList(view, 0);
}

void leaveExchange(ViewController& v) {
  ViewHost& host = v.host();
  host.setListRedraw(false);
  host.closeExchangeList();
  host.restoreMainMenu();
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
  if (v.state().view != View::Mineral) runCommand(v, 1020);
  host.setListRedraw(true);
}

// "Fundortsuche" (localities) and "Sammlungsauswertung" (specimens).
void searchRecords(ViewController& v, View view) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const bool localities = view == View::Fundort;
  DialogOutcome outcome =
      host.runDialog(localities ? Dialog::LocalitySearch : Dialog::SpecimenSearch, 0);
  std::optional<RecordSet>& result = localities ? state.localityResult : state.specimenResult;
  if (outcome.records) result = std::move(outcome.records);
  if (outcome.code == 1 && result) {
    if (host.descriptionOpen()) {
      host.setDescriptionTitle(localities ? kTitleLocality : kTitleSpecimen);
      if (host.drawingOpen()) host.destroyDrawing();
    }
    state.resultFlag(view) = true;
    if (state.view != view) runCommand(v, static_cast<int>(view));
    RangeListRequest request;
    request.last = localities ? host.localityCount() : host.specimenCount();
    request.records = result;
    request.kind = localities ? ListKind::Locality : ListKind::Specimen;
    host.createRangeList(request);
  }
  // The toolbar follows the view actually shown: after a cancelled search
  // that is still the previous view with its own flag.
  v.refreshToolbar();
}

void searchLocality(ViewController& v) { searchRecords(v, View::Fundort); }
void searchSpecimen(ViewController& v) { searchRecords(v, View::Stufen); }

void importExchange(ViewController& v) {
  ViewHost& host = v.host();
  host.setListRedraw(false);
  if (const auto chosen = host.chooseExchangeFile(false)) {
    if (v.state().view != View::Mineral) runCommand(v, 1020);
    if (host.openExchangeList(withExchangeExtension(*chosen))) {
      host.installExchangeMenu();
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
  host.setListRedraw(true);
}

void exportExchange(ViewController& v) {
  if (const auto chosen = v.host().chooseExchangeFile(true)) {
    v.host().exportExchangeList(withExchangeExtension(*chosen));
  }
}

void addLocality(ViewController& v) {
  ViewHost& host = v.host();
  ViewState& state = v.state();
  const int code = host.runDialog(Dialog::NewLocality, 0).code;
  // The dialog may have found the index damaged: the flag is asked afresh.
  state.indexDamaged = host.indexDamaged();
  if (state.indexDamaged) host.graySearchItems();
  if (code != 1) return;
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
  const std::int32_t localities = host.localityCount();
  const std::int32_t specimens = host.specimenCount();
  const int code = host.runDialog(Dialog::NewSpecimen, 0).code;
  state.indexDamaged = host.indexDamaged();
  if (state.indexDamaged) host.graySearchItems();
  const bool newLocality = host.localityCount() != localities;
  const bool newSpecimen = code == 1 || host.specimenCount() != specimens;
  if (newLocality) state.enablingLocalities.reset();
  if (newSpecimen) state.enablingSpecimens.reset();
  if (newSpecimen && state.view == View::Stufen && !state.resultFlag(View::Stufen)) {
    v.recreateRecordList(View::Stufen, 0);
  }
  if (state.view == View::Fundort) {
    if (newLocality) {
      v.recreateRecordList(View::Fundort, 0);
    } else if (host.descriptionOpen()) {
      // The locality shown may have gained a specimen.
      host.rebuildDescription();
    }
  }
  v.refreshToolbar();
}

void searchName(ViewController& v) {
  ViewHost& host = v.host();
  const std::int32_t mineral = host.runDialog(Dialog::NameSearch, 0).mineral;
  if (mineral == 0) return;
  if (v.state().view != View::Mineral) runCommand(v, 1020);
  runCommand(v, 1023);
  host.createMineralList({.searchResult = false, .selection = mineral});
  if (host.descriptionOpen()) host.invalidateDescription();
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
  const std::int32_t mineral = v.host().currentMineral();
  if (mineral > 0) v.host().printMineralProfile(mineral - 1);
}

void printLocality(ViewController& v) {
  const std::int32_t record = v.host().currentRecord();
  if (record != 0) v.host().printLocality(record);
}

void printSpecimenList(ViewController& v) {
  ViewState& state = v.state();
  if (state.resultFlag(View::Stufen)) {
    v.host().printSpecimenList(state.specimenResult);
  } else {
    state.enablingSpecimens = v.host().allSpecimens();
    v.host().printSpecimenList(state.enablingSpecimens);
  }
}

void printLabels(ViewController& v) { v.host().runDialog(Dialog::DirectLabels, 0); }
void info(ViewController& v) { v.host().runDialog(Dialog::Info, 0); }

void options(ViewController& v) {
  ViewHost& host = v.host();
  const std::uintptr_t font = host.mainFontToken();
  if (host.runDialog(Dialog::Options, 0).code != 0) {
    host.resortSpecimens();
    if (v.state().view == View::Stufen) v.recreateRecordList(View::Stufen, 0);
    if (host.descriptionOpen()) host.repaintDescription();
  }
  if (host.mainFontToken() != font) host.applyListFont();
}

void toolbarPrint(ViewController& v) {
  switch (v.state().view) {
    case View::Mineral: printProfile(v); break;
    case View::Stufen: runCommand(v, 1033); break;
    case View::Fundort: printLocality(v); break;
    case View::Glossar: break;
  }
}

void toolbarSearch(ViewController& v) {
  switch (v.state().view) {
    case View::Mineral: runCommand(v, 1002); break;
    case View::Fundort: runCommand(v, 1006); break;
    case View::Stufen: runCommand(v, 1007); break;
    case View::Glossar: break;
  }
}

constexpr std::array kCommands = {
    CommandEntry{1001, quit},               // "Kalvor &beenden", toolbar "Programm beenden"
    CommandEntry{1002, searchMineral},      // "&Suchen" / "&Mineral"
    CommandEntry{1003, change},             // "&Ändern"
    CommandEntry{1004, deleteRecord},       // "&Löschen"
    CommandEntry{1005, leaveExchange},      // "&Tauschassistent" / "&Beenden"
    CommandEntry{1006, searchLocality},     // "&Suchen" / "&Fundort"
    CommandEntry{1007, searchSpecimen},     // "&Suchen" / "&Stufe"
    CommandEntry{1008, importExchange},     // "Tauschliste &importieren"
    CommandEntry{1009, exportExchange},     // "Tauschliste &exportieren"
    CommandEntry{1013, addLocality},        // "&Fundort hinzu"
    CommandEntry{1014, addSpecimen},        // "&Stufenbeschreibung hinzu"
    CommandEntry{1015, searchName},         // "&Suchen" / "&Name"
    CommandEntry{1020, viewMineral},        // "&Ansicht" / "&Mineral"
    CommandEntry{1021, viewSpecimens},      // "S&tufen"
    CommandEntry{1022, viewLocalities},     // "&Ansicht" / "&Fundort"
    CommandEntry{1023, viewAll},            // "&Alle Einträge"
    CommandEntry{1024, viewResult},         // "&Suchergebnis"
    CommandEntry{1025, viewDetailedList},   // "Ausführliche &Liste"
    CommandEntry{1026, viewDescription},    // "Beschreibungsfenster"
    CommandEntry{1027, viewGlossary},       // "&Glossar"
    CommandEntry{1030, printProfile},       // "Mineral&steckbrief"
    CommandEntry{1031, printLocality},      // "&Fundstellenbeschreibung"
    CommandEntry{1033, printSpecimenList},  // "&Sammlungs-/Stufenliste"
    CommandEntry{1034, printLabels},        // "Etiketten (&Direkt)"
    CommandEntry{1040, info},               // "&Info"
    CommandEntry{1041, options},            // "&Optionen"
    CommandEntry{1320, viewMineral},        // toolbar "Ansicht: Minerale"
    CommandEntry{1321, viewSpecimens},      // toolbar "Ansicht: Stufen"
    CommandEntry{1322, viewLocalities},     // toolbar "Ansicht: Fundort"
    CommandEntry{1323, viewGlossary},       // toolbar "Ansicht: Glossar"
    CommandEntry{1324, viewResult},         // toolbar "Ansicht: Suchergebnis"
    CommandEntry{1325, viewAll},            // toolbar "Ansicht: Alle Einträge"
    CommandEntry{1330, viewDetailedList},   // toolbar "Ansicht: Ausführliche Liste"
    CommandEntry{1331, viewDescription},    // toolbar "Ansicht: Beschreibungsfenster"
    CommandEntry{1332, toolbarPrint},       // toolbar "Druck"
    CommandEntry{1333, toolbarSearch},      // toolbar "Suchen"
};

static_assert(std::is_sorted(kCommands.begin(), kCommands.end(),
                             [](const CommandEntry& a, const CommandEntry& b) { return a.id < b.id; }));

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

bool runCommand(ViewController& views, int id) {
  const auto it = std::lower_bound(kCommands.begin(), kCommands.end(), id,
                                   [](const CommandEntry& e, int key) { return e.id < key; });
  if (it == kCommands.end() || it->id != id) return false;
  it->handler(views);
  return true;
}

}  // namespace kalvor::views
