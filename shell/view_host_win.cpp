#include "shell/view_host_win.h"

#include <commdlg.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "collection/exchange_list.h"
#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
#include "collection/sort_order.h"
#include "controls/list_control.h"
#include "resources/resource_ids.h"
#include "shell/font_table.h"
#include "shell/info_dialog.h"
#include "shell/name_search_dialog.h"
#include "shell/options_dialog.h"
#include "shell/progress_dialog.h"
#include "shell/row_renderers_win.h"
#include "shell/startup_win.h"
#include "shell/window_layout.h"
#include "views/list_model.h"

namespace kalvor::shell {
namespace {

// "Kalvor Tauschliste (*.ktl)|*.ktl|": the filter of the exchange-list file dialogs.
constexpr int kExchangeFilterString = 10103;

// A left double click in the mineral list opens the side windows ("Beschreibungsfenster").
void activateList(HWND list, std::int32_t) {
  SendMessageA(GetParent(list), WM_COMMAND, CMD_VIEW_DESCRIPTION, 0);
}

}  // namespace

HWND WinViewHost::listWindow() const { return GetDlgItem(app_.mainWindow, ID_LIST_WINDOW); }

bool WinViewHost::listExists() const { return listWindow() != nullptr; }

void WinViewHost::setListRedraw(bool on) {
  if (const HWND list = listWindow()) SendMessageA(list, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

void WinViewHost::finishList(HWND list) {
  if (descriptionOpen()) {
    linkDescriptionToList();
    repaintDescription();
  }
  SetFocus(list);
}

void WinViewHost::createMineralList(const views::MineralListRequest& request) {
  if (const HWND old = listWindow()) DestroyWindow(old);
  if (!app_.data) return;
  controls::ListCreateParams params;
  const MineralNameList& names = app_.data->names();
  if (request.selection > 0) {
    const auto ordinal = names.ordinalOfNumber(static_cast<MineralNumber>(request.selection - 1));
    params.selectOrdinal = static_cast<std::uint32_t>(ordinal.value_or(0));
  }
  // The mineral search result is not kept by the program yet: its list shows every name.
  const HWND list = controls::createListWindow(app_.mainWindow, ID_LIST_WINDOW, listRectangle(app_), 0,
                                               std::move(params));
  if (!list) return;
  SendMessageA(list, controls::kListSetLeftDouble, 0, reinterpret_cast<LPARAM>(&activateList));
  finishList(list);
}

void WinViewHost::createRangeList(const views::RangeListRequest& request) {
  if (const HWND old = listWindow()) {
    SendMessageA(old, WM_SETREDRAW, FALSE, 0);
    DestroyWindow(old);
  }
  controls::ListCreateParams params;
  params.first = request.first;
  params.last = request.last;
  params.selection = request.selection;
  params.records = request.records;
  if (app_.data && request.records) {
    Collection& collection = app_.data->collection();
    if (request.kind == views::ListKind::Locality) params.displayOrder = views::displayOrderOf(collection.localityOrder());
    if (request.kind == views::ListKind::Specimen) params.displayOrder = views::displayOrderOf(collection.specimenOrder());
  }
  params.renderer = makeRowRenderer(app_, request.kind);
  const HWND list = controls::createListWindow(app_.mainWindow, ID_LIST_WINDOW, listRectangle(app_),
                                               controls::kListStyleRange, std::move(params));
  if (list) finishList(list);
}

std::int32_t WinViewHost::currentMineral() const {
  return static_cast<std::int32_t>(controls::listSelectedMineral(listWindow()));
}

std::int32_t WinViewHost::currentRecord() const { return controls::listSelectedRecord(listWindow()); }

void WinViewHost::applyListFont() {
  const HWND list = listWindow();
  if (!list) return;
  SendMessageA(list, controls::kListSetFont, reinterpret_cast<WPARAM>(app_.fonts.font(FontSlot::kText)), 0);
  UpdateWindow(list);
}

views::DialogOutcome WinViewHost::runDialog(views::Dialog dialog, std::int32_t) {
  switch (dialog) {
    case views::Dialog::NameSearch:
      return runNameSearchDialog(app_);
    case views::Dialog::Info:
      return {runInfoDialog(app_), std::nullopt, 0};
    case views::Dialog::Options: {
      OptionsDialogHooks hooks;
      hooks.recreateFonts = [this](bool) { recreateFontTable(app_.fonts, *app_.settings); };
      return {runOptionsDialog(app_.mainWindow, app_.instance, *app_.settings, screenWidth(), hooks),
              std::nullopt, 0};
    }
    default:
      return {};
  }
}

void WinViewHost::focusList() {
  if (const HWND list = listWindow()) SetFocus(list);
}

void WinViewHost::placeList() { placeListWindow(app_); }

void WinViewHost::destroyToolbar() {
  if (app_.toolbar) DestroyWindow(app_.toolbar);
  app_.toolbar = nullptr;
  app_.toolbarDestroyed = true;
}

void WinViewHost::graySearchItems() {
  // "&Suchen" is the second popup of either bar.
  const HMENU search = GetSubMenu(GetMenu(app_.mainWindow), 1);
  if (!search) return;
  EnableMenuItem(search, CMD_SEARCH_LOCALITY, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(search, CMD_SEARCH_SPECIMEN, MF_BYCOMMAND | MF_GRAYED);
}

void WinViewHost::installExchangeMenu() {
  const HMENU exchange = LoadMenuA(app_.instance, "Tauschmenu");
  if (!exchange) return;
  app_.savedMenuBar = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, exchange);
}

void WinViewHost::restoreMainMenu() {
  if (!app_.savedMenuBar) return;
  const HMENU exchange = GetMenu(app_.mainWindow);
  SetMenu(app_.mainWindow, app_.savedMenuBar);
  app_.savedMenuBar = nullptr;
  if (exchange) DestroyMenu(exchange);
}

void WinViewHost::closeMainWindow() { SendMessageA(app_.mainWindow, WM_CLOSE, 0, 0); }

bool WinViewHost::askYesNo(int textId, int captionId) {
  char text[512] = {};
  char caption[256] = {};
  LoadStringA(app_.instance, static_cast<UINT>(textId), text, sizeof text);
  LoadStringA(app_.instance, static_cast<UINT>(captionId), caption, sizeof caption);
  return MessageBoxA(app_.mainWindow, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

Collection* WinViewHost::collection() const { return app_.data ? &app_.data->collection() : nullptr; }

bool WinViewHost::indexDamaged() const {
  Collection* c = collection();
  return c ? c->unavailable() : app_.views.indexDamaged;
}

std::int32_t WinViewHost::localityCount() const {
  const Collection* c = collection();
  return c ? static_cast<std::int32_t>(c->localityCount()) : 0;
}

std::int32_t WinViewHost::specimenCount() const {
  const Collection* c = collection();
  return c ? static_cast<std::int32_t>(c->specimenCount()) : 0;
}

std::int32_t WinViewHost::glossaryCount() const {
  return app_.glossary ? static_cast<std::int32_t>(app_.glossary->entryCount()) : 0;
}

RecordSet WinViewHost::allRecords(std::uint16_t field) {
  Collection* c = collection();
  if (!c) return {};
  return c->valueIndex().getRecordSet(IndexValue::ofNumber(0), field).value_or(RecordSet());
}

RecordSet WinViewHost::allLocalities() { return allRecords(index_field::kLocalityAll); }
RecordSet WinViewHost::allSpecimens() { return allRecords(index_field::kSpecimenAll); }

void WinViewHost::openGlossary() {
  if (!app_.glossary) app_.glossary = Glossary::open(app_.data ? app_.data->folder() : std::string());
}

void WinViewHost::closeGlossary() { app_.glossary.reset(); }

bool WinViewHost::deleteSpecimen(std::int32_t record) {
  Collection* c = collection();
  if (!c || record <= 0) return false;
  const CollectionMessage m = deleteSpecimenFromList(*c, static_cast<std::uint32_t>(record));
  if (m == CollectionMessage::kNone) return true;
  MessageBoxA(app_.mainWindow, collectionMessageText(m).c_str(),
              collectionMessageText(collectionMessageCaption(m)).c_str(), MB_ICONEXCLAMATION);
  return false;
}

void WinViewHost::resortSpecimens() {
  Collection* c = collection();
  if (!c) return;
  c->resortSpecimens();
  c->saveSpecimenOrder();
}

bool WinViewHost::openExchangeList(const std::string& path) {
  Collection* c = collection();
  if (!c) return false;
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  ExchangeOpenStatus status;
  {
    ProgressDialog progress(app_.instance, app_.mainWindow, "IndexAufbau1", ID_PROGRESS_LINE);
    status = kalvor::openExchangeList(*c, path, &progress);
  }
  SetCursor(previous);
  if (status == ExchangeOpenStatus::kOpened) return true;
  // The user learns why nothing happened rather than facing a silent menu.
  MessageBoxA(app_.mainWindow, exchangeOpenMessage(status).c_str(), "Tauschliste importieren", MB_ICONEXCLAMATION);
  return false;
}

void WinViewHost::closeExchangeList() {
  if (Collection* c = collection(); c && c->inExchangeMode()) leaveExchangeList(*c);
}

void WinViewHost::exportExchangeList(const std::string& path) {
  Collection* c = collection();
  if (!c) return;
  ExchangeExportResult result;
  {
    ProgressDialog progress(app_.instance, app_.mainWindow, "TAUSCHLISTEN_AUFBAU", ID_EXPORT_PROGRESS_LINE);
    result = kalvor::exportExchangeList(*c, path, &progress);
  }
  if (result.status == ExchangeExportStatus::kNoExchangePieces) {
    MessageBeep(0);
  } else if (result.status == ExchangeExportStatus::kFailed) {
    MessageBoxA(app_.mainWindow, "Die Tauschliste konnte nicht geschrieben werden.", "Tauschliste exportieren",
                MB_ICONEXCLAMATION);
  }
}

std::optional<std::string> WinViewHost::chooseExchangeFile(bool forSaving) {
  // The filter text separates its parts with "|"; the dialogs want NULs.
  std::string filter = loadString(app_, kExchangeFilterString);
  for (char& ch : filter) {
    if (ch == '|') ch = '\0';
  }
  filter.push_back('\0');
  char file[145] = "*.ktl";
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::current_path(ec);
  std::string initialFolder = folder.string();
  if (!ec && std::filesystem::is_directory(folder / "tausch", ec)) initialFolder = (folder / "tausch").string();
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = app_.mainWindow;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = initialFolder.c_str();
  if (forSaving) {
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
  } else {
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  }
  return std::string(file);
}

}  // namespace kalvor::shell
