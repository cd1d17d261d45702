#include "views/view_state.h"

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
  return host_.localityCount() != 0 && !isEmpty(state_.enablingLocalities);
}

bool ViewController::haveSpecimens() const {
  return host_.specimenCount() != 0 && !isEmpty(state_.enablingSpecimens);
}

void ViewController::rebuildEnablingSets() {
  state_.enablingLocalities = host_.allLocalities();
  state_.enablingSpecimens = host_.allSpecimens();
}

void ViewController::switchToMineral() {
  if (state_.view == View::Glossar) host_.closeGlossary();
  if (state_.view == View::Mineral) {
    host_.beep();
    return;
  }
  state_.descriptionKind = DescriptionKind::Mineral;
  if (host_.descriptionOpen()) host_.setDescriptionTitle(kTitleMineral);
  state_.view = View::Mineral;
  // The drawing window belongs to the mineral view only.
  if (host_.descriptionOpen() && !host_.drawingOpen()) host_.createDrawing();
  showMineralList();
}

void ViewController::showMineralList() {
  state_.descriptionKind = DescriptionKind::Mineral;
  bool& flag = state_.resultFlag(View::Mineral);
  if (flag && !host_.mineralResultExists()) flag = false;
  // Taken before the list window is replaced, so the mineral stays selected.
  const std::int32_t selection = host_.currentMineral();
  host_.createMineralList({.searchResult = flag, .selection = selection});
  if (host_.descriptionOpen()) host_.invalidateDescription();
  refreshToolbar(flag);
}

void ViewController::recreateRecordList(View view, std::int32_t selection) {
  const bool localities = view == View::Fundort;
  RangeListRequest request;
  request.selection = selection;
  if (localities) {
    request.last = host_.localityCount();
    request.kind = ListKind::Locality;
    if (state_.resultFlag(View::Fundort)) {
      request.records = state_.localityResult;
    } else {
      state_.listLocalities = host_.allLocalities();
      request.records = state_.listLocalities;
    }
  } else {
    request.last = host_.specimenCount();
    request.kind = ListKind::Specimen;
    if (state_.resultFlag(View::Stufen)) {
      request.records = state_.specimenResult;
    } else {
      state_.listSpecimens = host_.allSpecimens();
      request.records = state_.listSpecimens;
    }
  }
  host_.createRangeList(request);
}

void ViewController::switchToRecords(View view) {
  if (state_.view == view) {
    host_.beep();
    return;
  }
  const bool localities = view == View::Fundort;
  RecordSet& all = localities ? state_.listLocalities : state_.listSpecimens;
  all = localities ? host_.allLocalities() : host_.allSpecimens();
  // Without records nothing changes. The glossary is closed only once the
  // switch is certain, so a refused switch leaves the glossary view working.
  if (all.count() == 0) return;
  if (state_.view == View::Glossar) {
    host_.closeGlossary();
    if (state_.descriptionKind == DescriptionKind::Glossary) state_.descriptionKind = DescriptionKind::None;
  }
  if (host_.drawingOpen()) host_.destroyDrawing();
  state_.descriptionKind = localities ? DescriptionKind::Locality : DescriptionKind::Specimen;
  state_.view = view;
  if (host_.descriptionOpen()) host_.setDescriptionTitle(titleFor(view));

  RangeListRequest request;
  request.last = localities ? host_.localityCount() : host_.specimenCount();
  request.kind = localities ? ListKind::Locality : ListKind::Specimen;
  if (state_.resultFlag(view)) {
    request.records = localities ? state_.localityResult : state_.specimenResult;
  } else {
    request.records = all;
  }
  host_.createRangeList(request);
  refreshToolbar(state_.resultFlag(view));
}

void ViewController::switchToGlossary() {
  if (state_.view == View::Glossar) {
    host_.beep();
    return;
  }
  state_.descriptionKind = DescriptionKind::None;
  host_.setListRedraw(false);
  if (host_.drawingOpen()) host_.destroyDrawing();
  // The glossary is read in the description window, so it must be there.
  if (!host_.descriptionOpen()) {
    host_.createDescription();
    host_.linkDescriptionToList();
  }
  host_.setDescriptionTitle(kTitleGlossary);
  host_.openGlossary();
  state_.descriptionKind = DescriptionKind::Glossary;
  RangeListRequest request;
  request.last = host_.glossaryCount();
  request.kind = ListKind::Glossary;
  host_.createRangeList(request);
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
    const bool exists = view == View::Mineral   ? host_.mineralResultExists()
                        : view == View::Fundort ? state_.localityResult.has_value()
                                                : state_.specimenResult.has_value();
    if (!exists) return;
  }
  flag = wantResult;
  if (view == View::Mineral) {
    showMineralList();
    return;
  }
  const std::int32_t selection = view == View::Fundort ? host_.currentRecord() : 0;
  recreateRecordList(view, selection);
  refreshToolbar(flag);
}

void ViewController::detailedList() {
  // In the glossary view the description window is where the entries are
  // read; it stays open there.
  if (host_.descriptionOpen() && state_.view != View::Glossar) host_.closeDescription();
  host_.focusList();
}

void ViewController::openSideWindows() {
  bool created = false;
  if (!host_.descriptionOpen()) {
    host_.createDescription();
    created = true;
  }
  if (state_.view == View::Mineral && !host_.drawingOpen()) {
    host_.createDrawing();
    created = true;
  }
  if (created) {
    host_.linkDescriptionToList();
    host_.setDescriptionTitle(titleFor(state_.view));
    host_.placeList();
  }
  host_.focusList();
  refreshToolbar();
}

void ViewController::refreshToolbar(bool r) {
  if (!host_.toolbarExists()) return;
  for (int id : {1320, 1323, 1322, 1321, 1333}) host_.setToolbarButton(id, kButtonUp);
  // The enabling copies are built here only when missing; menu preparation rebuilds them.
  if (!state_.enablingLocalities) state_.enablingLocalities = host_.allLocalities();
  if (!haveLocalities()) host_.setToolbarButton(1322, kButtonDisabled);
  if (!state_.enablingSpecimens) state_.enablingSpecimens = host_.allSpecimens();
  if (!haveSpecimens()) host_.setToolbarButton(1321, kButtonDisabled);
  host_.setToolbarButton(1332, kButtonUp);

  bool resultExists = false;
  switch (state_.view) {
    case View::Mineral:
      host_.setToolbarButton(1320, kButtonPressed);
      resultExists = host_.mineralResultExists();
      break;
    case View::Stufen:
      if (!haveSpecimens()) host_.setToolbarButton(1333, kButtonDisabled);
      host_.setToolbarButton(1321, kButtonPressed);
      resultExists = state_.specimenResult.has_value();
      break;
    case View::Fundort:
      if (!haveLocalities()) host_.setToolbarButton(1333, kButtonDisabled);
      host_.setToolbarButton(1322, kButtonPressed);
      resultExists = state_.localityResult.has_value();
      break;
    case View::Glossar:
      host_.setToolbarButton(1333, kButtonDisabled);
      host_.setToolbarButton(1323, kButtonPressed);
      host_.setToolbarButton(1331, kButtonPressed);
      host_.setToolbarButton(1330, kButtonDisabled);
      host_.setToolbarButton(1332, kButtonDisabled);
      break;
  }
  if (!r) {
    host_.setToolbarButton(1325, kButtonPressed);
    host_.setToolbarButton(1324, resultExists ? kButtonUp : kButtonDisabled);
  } else {
    host_.setToolbarButton(1325, kButtonUp);
    host_.setToolbarButton(1324, kButtonPressed);
  }
  if (state_.view != View::Glossar) {
    const bool open = host_.descriptionOpen();
    host_.setToolbarButton(1331, open ? kButtonPressed : kButtonUp);
    host_.setToolbarButton(1330, open ? kButtonUp : kButtonPressed);
  }
}

std::string withExchangeExtension(std::string path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (path.find('.', nameStart) == std::string::npos) path += ".ktl";
  return path;
}

}  // namespace kalvor::views
