#include "views/view_state.h"

#include "views/command_table.h"

namespace kalvor::views {

std::size_t ViewState::index(View v) {
  switch (v) {
    case View::Mineral: return 0;
    case View::Stufen: return 1;
    case View::Fundort: return 2;
    case View::Glossar: return 3;
  }
  return 0;
}

namespace {

bool isEmpty(const std::optional<RecordSet>& set) { return !set || set->count() == 0; }

int titleFor(View view) {
  switch (view) {
    case View::Mineral: return kTitleMineral;
    case View::Stufen: return kTitleSpecimen;
    case View::Fundort: return kTitleLocality;
    case View::Glossar: return kTitleGlossary;
  }
  return kTitleMineral;
}

}  // namespace

bool ViewController::haveLocalities() const {
  return host_.data.localityCount() != 0 && !isEmpty(state_.enablingLocalities);
}

bool ViewController::haveSpecimens() const {
  return host_.data.specimenCount() != 0 && !isEmpty(state_.enablingSpecimens);
}

void ViewController::rebuildEnablingSets() {
  state_.enablingLocalities = host_.data.allLocalities();
  state_.enablingSpecimens = host_.data.allSpecimens();
}

void ViewController::switchToMineral() {
  if (state_.view == View::Glossar) host_.data.closeGlossary();
  if (state_.view == View::Mineral) {
    host_.frame.beep();
    return;
  }
  state_.descriptionKind = DescriptionKind::Mineral;
  if (host_.sideWindows.descriptionOpen()) host_.sideWindows.setDescriptionTitle(kTitleMineral);
  state_.view = View::Mineral;
  // The drawing window belongs to the mineral view only.
  if (host_.sideWindows.descriptionOpen() && !host_.sideWindows.drawingOpen()) host_.sideWindows.createDrawing();
  showMineralList();
}

void ViewController::showMineralList() {
  state_.descriptionKind = DescriptionKind::Mineral;
  bool& flag = state_.resultFlag(View::Mineral);
  if (flag && !host_.data.mineralResultExists()) flag = false;
  // Taken before the list window is replaced, so the mineral stays selected.
  const std::int32_t selection = host_.list.currentMineral();
  host_.list.createMineralList({.searchResult = flag, .selection = selection});
  if (host_.sideWindows.descriptionOpen()) host_.sideWindows.invalidateDescription();
  refreshToolbar(flag);
}

void ViewController::recreateRecordList(View view, std::int32_t selection) {
  const bool localities = view == View::Fundort;
  RangeListRequest request;
  request.selection = selection;
  if (localities) {
    request.last = host_.data.localityCount();
    request.kind = ListKind::Locality;
    if (state_.resultFlag(View::Fundort)) {
      request.records = state_.localityResult;
    } else {
      state_.listLocalities = host_.data.allLocalities();
      request.records = state_.listLocalities;
    }
  } else {
    request.last = host_.data.specimenCount();
    request.kind = ListKind::Specimen;
    if (state_.resultFlag(View::Stufen)) {
      request.records = state_.specimenResult;
    } else {
      state_.listSpecimens = host_.data.allSpecimens();
      request.records = state_.listSpecimens;
    }
  }
  host_.list.createRangeList(request);
}

void ViewController::switchToRecords(View view) {
  if (state_.view == view) {
    host_.frame.beep();
    return;
  }
  const bool localities = view == View::Fundort;
  RecordSet& all = localities ? state_.listLocalities : state_.listSpecimens;
  all = localities ? host_.data.allLocalities() : host_.data.allSpecimens();
  // Without records nothing changes. The glossary is closed only once the
  // switch is certain, so a refused switch leaves the glossary view working.
  if (all.count() == 0) return;
  if (state_.view == View::Glossar) {
    host_.data.closeGlossary();
    if (state_.descriptionKind == DescriptionKind::Glossary) state_.descriptionKind = DescriptionKind::None;
  }
  if (host_.sideWindows.drawingOpen()) host_.sideWindows.destroyDrawing();
  state_.descriptionKind = localities ? DescriptionKind::Locality : DescriptionKind::Specimen;
  state_.view = view;
  if (host_.sideWindows.descriptionOpen()) host_.sideWindows.setDescriptionTitle(titleFor(view));

  RangeListRequest request;
  request.last = localities ? host_.data.localityCount() : host_.data.specimenCount();
  request.kind = localities ? ListKind::Locality : ListKind::Specimen;
  if (state_.resultFlag(view)) {
    request.records = localities ? state_.localityResult : state_.specimenResult;
  } else {
    request.records = all;
  }
  host_.list.createRangeList(request);
  refreshToolbar(state_.resultFlag(view));
}

void ViewController::switchToGlossary() {
  if (state_.view == View::Glossar) {
    host_.frame.beep();
    return;
  }
  state_.descriptionKind = DescriptionKind::None;
  host_.list.setListRedraw(false);
  if (host_.sideWindows.drawingOpen()) host_.sideWindows.destroyDrawing();
  // The glossary is read in the description window, so it must be there.
  if (!host_.sideWindows.descriptionOpen()) {
    host_.sideWindows.createDescription();
    host_.sideWindows.linkDescriptionToList();
  }
  host_.sideWindows.setDescriptionTitle(kTitleGlossary);
  host_.data.openGlossary();
  state_.descriptionKind = DescriptionKind::Glossary;
  RangeListRequest request;
  request.last = host_.data.glossaryCount();
  request.kind = ListKind::Glossary;
  host_.list.createRangeList(request);
  state_.view = View::Glossar;
  refreshToolbar(false);
}

void ViewController::showEntries(bool wantResult) {
  const View view = state_.view;
  if (view == View::Glossar) return;
  bool& flag = state_.resultFlag(view);
  if (flag == wantResult) return;
  // Without a result there is nothing to show; menu and toolbar gray it, a
  // command sent anyway must not leave the flag claiming a result.
  if (wantResult) {
    const bool exists = view == View::Mineral   ? host_.data.mineralResultExists()
                        : view == View::Fundort ? state_.localityResult.has_value()
                                                : state_.specimenResult.has_value();
    if (!exists) return;
  }
  flag = wantResult;
  if (view == View::Mineral) {
    showMineralList();
    return;
  }
  const std::int32_t selection = view == View::Fundort ? host_.list.currentRecord() : 0;
  recreateRecordList(view, selection);
  refreshToolbar(flag);
}

void ViewController::detailedList() {
  // In the glossary view the description window is where the entries are
  // read; it stays open there.
  if (host_.sideWindows.descriptionOpen() && state_.view != View::Glossar) host_.sideWindows.closeDescription();
  host_.list.focusList();
}

void ViewController::openSideWindows() {
  bool created = false;
  if (!host_.sideWindows.descriptionOpen()) {
    host_.sideWindows.createDescription();
    created = true;
  }
  if (state_.view == View::Mineral && !host_.sideWindows.drawingOpen()) {
    host_.sideWindows.createDrawing();
    created = true;
  }
  if (created) {
    host_.sideWindows.linkDescriptionToList();
    host_.sideWindows.setDescriptionTitle(titleFor(state_.view));
    host_.list.placeList();
  }
  host_.list.focusList();
  refreshToolbar();
}

void ViewController::refreshToolbar(bool r) {
  if (!host_.frame.toolbarExists()) return;
  for (int id : {CMD_TOOLBAR_VIEW_MINERAL, CMD_TOOLBAR_VIEW_GLOSSARY, CMD_TOOLBAR_VIEW_LOCALITIES, CMD_TOOLBAR_VIEW_SPECIMENS, CMD_TOOLBAR_SEARCH}) host_.frame.setToolbarButton(id, kButtonUp);
  // The enabling copies are built here only when missing; menu preparation rebuilds them.
  if (!state_.enablingLocalities) state_.enablingLocalities = host_.data.allLocalities();
  if (!haveLocalities()) host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_LOCALITIES, kButtonDisabled);
  if (!state_.enablingSpecimens) state_.enablingSpecimens = host_.data.allSpecimens();
  if (!haveSpecimens()) host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_SPECIMENS, kButtonDisabled);
  host_.frame.setToolbarButton(CMD_TOOLBAR_PRINT, kButtonUp);

  bool resultExists = false;
  switch (state_.view) {
    case View::Mineral:
      host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_MINERAL, kButtonPressed);
      resultExists = host_.data.mineralResultExists();
      break;
    case View::Stufen:
      if (!haveSpecimens()) host_.frame.setToolbarButton(CMD_TOOLBAR_SEARCH, kButtonDisabled);
      host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_SPECIMENS, kButtonPressed);
      resultExists = state_.specimenResult.has_value();
      break;
    case View::Fundort:
      if (!haveLocalities()) host_.frame.setToolbarButton(CMD_TOOLBAR_SEARCH, kButtonDisabled);
      host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_LOCALITIES, kButtonPressed);
      resultExists = state_.localityResult.has_value();
      break;
    case View::Glossar:
      host_.frame.setToolbarButton(CMD_TOOLBAR_SEARCH, kButtonDisabled);
      host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_GLOSSARY, kButtonPressed);
      host_.frame.setToolbarButton(CMD_TOOLBAR_DESCRIPTION, kButtonPressed);
      host_.frame.setToolbarButton(CMD_TOOLBAR_DETAILED_LIST, kButtonDisabled);
      host_.frame.setToolbarButton(CMD_TOOLBAR_PRINT, kButtonDisabled);
      break;
  }
  if (!r) {
    host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_ALL, kButtonPressed);
    host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_RESULT, resultExists ? kButtonUp : kButtonDisabled);
  } else {
    host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_ALL, kButtonUp);
    host_.frame.setToolbarButton(CMD_TOOLBAR_VIEW_RESULT, kButtonPressed);
  }
  if (state_.view != View::Glossar) {
    const bool open = host_.sideWindows.descriptionOpen();
    host_.frame.setToolbarButton(CMD_TOOLBAR_DESCRIPTION, open ? kButtonPressed : kButtonUp);
    host_.frame.setToolbarButton(CMD_TOOLBAR_DETAILED_LIST, open ? kButtonUp : kButtonPressed);
  }
  disableUnavailableButtons(*this);
}

std::string withExchangeExtension(std::string path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (path.find('.', nameStart) == std::string::npos) path += ".ktl";
  return path;
}

}  // namespace kalvor::views
