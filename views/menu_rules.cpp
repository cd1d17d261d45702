#include "views/menu_rules.h"

#include "views/command_table.h"

namespace kalvor::views {
namespace {

void prepareSearch(ViewController& views, MenuEditor& menu) {
  views.rebuildEnablingSets();
  menu.enableItem(CMD_SEARCH_LOCALITY, views.haveLocalities());
  menu.enableItem(CMD_SEARCH_SPECIMEN, views.haveSpecimens());
}

void prepareChange(const ViewState& state, MenuEditor& menu) {
  const bool records = state.view == View::Fundort || state.view == View::Stufen;
  menu.enableItem(CMD_CHANGE, records);
  menu.enableItem(CMD_DELETE, records);
}

void preparePrint(const ViewState& state, MenuEditor& menu) {
  for (int id : {CMD_PRINT_PROFILE, CMD_PRINT_LOCALITY, CMD_PRINT_SPECIMEN_LIST, CMD_PRINT_SPECIMEN_LABELS})
    menu.enableItem(id, false);
  switch (state.view) {
    case View::Mineral: menu.enableItem(CMD_PRINT_PROFILE, true); break;
    case View::Fundort: menu.enableItem(CMD_PRINT_LOCALITY, true); break;
    case View::Stufen:
      menu.enableItem(CMD_PRINT_SPECIMEN_LIST, true);
      menu.enableItem(CMD_PRINT_SPECIMEN_LABELS, true);
      break;
    case View::Glossar: break;
  }
}

void prepareView(ViewController& views, MenuEditor& menu) {
  views.rebuildEnablingSets();
  menu.enableItem(CMD_VIEW_LOCALITIES, views.haveLocalities());
  menu.enableItem(CMD_VIEW_SPECIMENS, views.haveSpecimens());
  const ViewState& state = views.state();
  ViewHost& host = views.host();
  for (int id : {CMD_VIEW_MINERAL, CMD_VIEW_LOCALITIES, CMD_VIEW_SPECIMENS, CMD_VIEW_GLOSSARY}) menu.checkItem(id, false);
  menu.checkItem(static_cast<int>(state.view), true);
  menu.checkItem(CMD_VIEW_DETAILED_LIST, false);
  menu.checkItem(CMD_VIEW_DESCRIPTION, false);
  const bool glossary = state.view == View::Glossar;
  menu.enableItem(CMD_VIEW_DETAILED_LIST, !glossary);
  menu.checkItem(host.sideWindows.descriptionOpen() ? CMD_VIEW_DESCRIPTION : CMD_VIEW_DETAILED_LIST, true);
  menu.checkItem(CMD_VIEW_ALL, false);
  menu.checkItem(CMD_VIEW_RESULT, false);
  menu.enableItem(CMD_VIEW_RESULT, false);
  bool resultExists = false;
  switch (state.view) {
    case View::Mineral: resultExists = host.data.mineralResultExists(); break;
    case View::Stufen: resultExists = state.specimenResult.has_value(); break;
    case View::Fundort: resultExists = state.localityResult.has_value(); break;
    case View::Glossar: break;
  }
  if (resultExists) menu.enableItem(CMD_VIEW_RESULT, true);
  menu.checkItem(!glossary && state.resultFlag(state.view) ? CMD_VIEW_RESULT : CMD_VIEW_ALL, true);
}

}  // namespace

void prepareMenuPopup(int position, ViewController& views, MenuEditor& menu) {
  // "Tauschmenu" has no "&Ändern": the popups after "&Suchen" sit one place further left.
  const int x = views.state().exchangeOpen ? 1 : 0;
  if (position == 1) prepareSearch(views, menu);
  if (position == 2 && x == 0) prepareChange(views.state(), menu);
  if (position == 4 - x) preparePrint(views.state(), menu);
  if (position == 3 - x) prepareView(views, menu);
  // Last, so no rule above enables a command whose dialog or print job is missing.
  grayUnavailableCommands(views, menu);
}

}  // namespace kalvor::views
