#include <algorithm>
#include <utility>
#include <vector>

#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "shell/host/win_ports.h"
#include "shell/row_renderers_win.h"
#include "shell/window_layout.h"
#include "views/list_model.h"

namespace kalvor::shell {
namespace {

// A left double click in the mineral list opens the side windows ("Beschreibungsfenster").
void activateList(HWND list, std::int32_t) {
  SendMessageA(GetParent(list), WM_COMMAND, CMD_VIEW_DESCRIPTION, 0);
}

}  // namespace

HWND WinListPort::window() const { return GetDlgItem(app_.windows.main, ID_LIST_WINDOW); }

void WinListPort::setListRedraw(bool on) {
  if (const HWND list = window()) SendMessageA(list, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

void WinListPort::finish(HWND list) {
  WinSideWindows sideWindows(app_);
  if (sideWindows.descriptionOpen()) {
    sideWindows.linkDescriptionToList();
    sideWindows.repaintDescription();
  } else if (app_.windows.drawing) {
    // Alone, the drawing window follows the list's selection itself.
    SendMessageA(list, controls::kListSetLetterTarget, 0, reinterpret_cast<LPARAM>(app_.windows.drawing));
    InvalidateRect(app_.windows.drawing, nullptr, TRUE);
  }
  SetFocus(list);
}

void WinListPort::createMineralList(const views::MineralListRequest& request) {
  if (const HWND old = window()) DestroyWindow(old);
  if (!app_.data.reference) return;
  controls::ListCreateParams params;
  params.environment = &app_.display.lists;
  params.font = app_.display.fonts.font(FontSlot::kText);
  const MineralNameList& names = app_.data.reference->names();
  if (request.selection > 0) {
    const auto ordinal = names.ordinalOfNumber(static_cast<MineralNumber>(request.selection - 1));
    params.selectOrdinal = static_cast<std::uint32_t>(ordinal.value_or(0));
  }
  // The result list shows the minerals of the last determination, in name-list order.
  if (request.searchResult && !app_.search.minerals.empty()) {
    std::vector<std::uint32_t> ordinals;
    ordinals.reserve(app_.search.minerals.size());
    for (const SearchResultEntry& entry : app_.search.minerals) ordinals.push_back(entry.ordinal);
    std::sort(ordinals.begin(), ordinals.end());
    params.ordinals = std::move(ordinals);
  }
  const HWND list = controls::createListWindow(app_.windows.main, ID_LIST_WINDOW, listRectangle(app_), 0,
                                               std::move(params));
  if (!list) return;
  SendMessageA(list, controls::kListSetLeftDouble, 0, reinterpret_cast<LPARAM>(&activateList));
  finish(list);
}

void WinListPort::createRangeList(const views::RangeListRequest& request) {
  if (const HWND old = window()) {
    SendMessageA(old, WM_SETREDRAW, FALSE, 0);
    DestroyWindow(old);
  }
  controls::ListCreateParams params;
  params.environment = &app_.display.lists;
  params.font = app_.display.fonts.font(FontSlot::kText);
  params.first = request.first;
  params.last = request.last;
  params.selection = request.selection;
  params.records = request.records;
  if (app_.data.reference && request.records) {
    Collection& collection = app_.data.reference->collection();
    if (request.kind == views::ListKind::Locality) params.displayOrder = views::displayOrderOf(collection.localityOrder());
    if (request.kind == views::ListKind::Specimen) params.displayOrder = views::displayOrderOf(collection.specimenOrder());
  }
  params.renderer = makeRowRenderer(app_, request.kind);
  const HWND list = controls::createListWindow(app_.windows.main, ID_LIST_WINDOW, listRectangle(app_),
                                               controls::kListStyleRange, std::move(params));
  if (list) finish(list);
}

std::int32_t WinListPort::currentMineral() const {
  return static_cast<std::int32_t>(controls::listSelectedMineral(window()));
}

std::int32_t WinListPort::currentRecord() const { return controls::listSelectedRecord(window()); }

void WinListPort::applyListFont() {
  const HWND list = window();
  if (!list) return;
  SendMessageA(list, controls::kListSetFont, reinterpret_cast<WPARAM>(app_.display.fonts.font(FontSlot::kText)), 0);
  UpdateWindow(list);
}

void WinListPort::focusList() {
  if (const HWND list = window()) SetFocus(list);
}

void WinListPort::placeList() { placeListWindow(app_); }

}  // namespace kalvor::shell
