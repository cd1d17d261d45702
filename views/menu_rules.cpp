#include "views/menu_rules.h"

namespace kalvor::views {
namespace {

void prepareSearch(ViewController& views, MenuEditor& menu) {
  views.rebuildEnablingSets();
  menu.enableItem(1006, views.haveLocalities());
  menu.enableItem(1007, views.haveSpecimens());
}

void prepareChange(const ViewState& state, MenuEditor& menu) {
  const bool records = state.view == View::Fundort || state.view == View::Stufen;
  menu.enableItem(1003, records);
  menu.enableItem(1004, records);
}

void preparePrint(const ViewState& state, MenuEditor& menu) {
  for (int id : {1030, 1031, 1033}) menu.enableItem(id, false);
  switch (state.view) {
    case View::Mineral: menu.enableItem(1030, true); break;
    case View::Fundort: menu.enableItem(1031, true); break;
    case View::Stufen: menu.enableItem(1033, true); break;
    case View::Glossar: break;
  }
}

void prepareView(ViewController& views, MenuEditor& menu) {
  views.rebuildEnablingSets();
  menu.enableItem(1022, views.haveLocalities());
  menu.enableItem(1021, views.haveSpecimens());
  const ViewState& state = views.state();
  ViewHost& host = views.host();
  for (int id : {1020, 1022, 1021, 1027}) menu.checkItem(id, false);
  menu.checkItem(static_cast<int>(state.view), true);
  menu.checkItem(1025, false);
  menu.checkItem(1026, false);
  const bool glossary = state.view == View::Glossar;
  menu.enableItem(1025, !glossary);
  menu.checkItem(host.descriptionOpen() ? 1026 : 1025, true);
  menu.checkItem(1023, false);
  menu.checkItem(1024, false);
  menu.enableItem(1024, false);
  bool resultExists = false;
  switch (state.view) {
    case View::Mineral: resultExists = host.mineralResultExists(); break;
    case View::Stufen: resultExists = state.specimenResult.has_value(); break;
    case View::Fundort: resultExists = state.localityResult.has_value(); break;
    case View::Glossar: break;
  }
  if (resultExists) menu.enableItem(1024, true);
  menu.checkItem(!glossary && state.resultFlag(state.view) ? 1024 : 1023, true);
}

}  // namespace

void prepareMenuPopup(int position, ViewController& views, MenuEditor& menu) {
  // "Tauschmenu" has no "&Ändern": the popups after "&Suchen" sit one place further left.
  const int x = views.state().exchangeOpen ? 1 : 0;
  if (position == 1) prepareSearch(views, menu);
  if (position == 2 && x == 0) prepareChange(views.state(), menu);
  if (position == 4 - x) preparePrint(views.state(), menu);
  if (position == 3 - x) prepareView(views, menu);
}

}  // namespace kalvor::views
