// The Win32 side of the view logic: window, menu and toolbar operations on
// the main window's children. Windows that do not exist yet (list, description,
// drawing window) report themselves closed and ignore requests; the toolbar
// states are kept in the context until the toolbar window shows them.
#pragma once

#include <windows.h>

#include "shell/app_context.h"
#include "views/menu_rules.h"
#include "views/view_host.h"

namespace kalvor::shell {

// The view host of kalvor.exe over the main window of `app`.
class WinViewHost final : public views::ViewHost {
 public:
  explicit WinViewHost(AppContext& app) : app_(app) {}

  bool descriptionOpen() const override { return app_.descriptionWindow != nullptr; }
  bool drawingOpen() const override { return app_.drawingWindow != nullptr; }
  void createDescription() override {}
  void closeDescription() override {}
  void createDrawing() override {}
  void destroyDrawing() override {}
  void setDescriptionTitle(int) override {}
  void invalidateDescription() override {}
  void repaintDescription() override {}
  void rebuildDescription() override {}
  void linkDescriptionToList() override {}

  bool listExists() const override;
  void createMineralList(const views::MineralListRequest& request) override;
  void createRangeList(const views::RangeListRequest& request) override;
  void setListRedraw(bool on) override;
  void focusList() override;
  void placeList() override;
  std::int32_t currentMineral() const override;
  std::int32_t currentRecord() const override;
  // The generation of the font table: a recreated font may get the old handle back.
  std::uintptr_t mainFontToken() const override { return app_.fonts.generation(); }
  void applyListFont() override;

  bool toolbarExists() const override { return !app_.toolbarDestroyed; }
  void setToolbarButton(int id, int state) override { app_.toolbarStates[id] = state; }
  void destroyToolbar() override;
  void graySearchItems() override;
  void installExchangeMenu() override;
  void restoreMainMenu() override;
  void closeMainWindow() override;
  void beep() override { MessageBeep(0); }

  bool indexDamaged() const override;
  std::int32_t localityCount() const override;
  std::int32_t specimenCount() const override;
  std::int32_t glossaryCount() const override;
  RecordSet allLocalities() override;
  RecordSet allSpecimens() override;
  bool mineralResultExists() const override { return false; }
  void openGlossary() override;
  void closeGlossary() override;
  bool deleteSpecimen(std::int32_t record) override;
  void resortSpecimens() override;
  bool openExchangeList(const std::string& path) override;
  void closeExchangeList() override;
  void exportExchangeList(const std::string& path) override;

  // Runs the Info dialog; the dialogs of the searches, entry forms, labels and
  // options answer 0 until they exist.
  views::DialogOutcome runDialog(views::Dialog dialog, std::int32_t record) override;
  std::optional<std::string> chooseExchangeFile(bool forSaving) override;
  bool askYesNo(int textId, int captionId) override;
  void printMineralProfile(std::int32_t) override {}
  void printLocality(std::int32_t) override {}
  void printSpecimenList(const std::optional<RecordSet>&) override {}

 private:
  HWND listWindow() const;
  // The collection, or null before the data start-up.
  Collection* collection() const;
  // The set of all records of `field` (1062 localities, 1091 specimens).
  RecordSet allRecords(std::uint16_t field);
  // Links a new list window to the description window and gives it the focus.
  void finishList(HWND list);

  AppContext& app_;
};

// Enables and checks items of one popup menu by command id.
class WinMenuEditor final : public views::MenuEditor {
 public:
  // Edits `popup`, the menu that WM_INITMENUPOPUP announced.
  explicit WinMenuEditor(HMENU popup) : popup_(popup) {}
  void enableItem(int id, bool enabled) override {
    EnableMenuItem(popup_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
  void checkItem(int id, bool checked) override {
    CheckMenuItem(popup_, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }

 private:
  HMENU popup_;
};

}  // namespace kalvor::shell
