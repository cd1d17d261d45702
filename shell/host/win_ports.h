// The ports of the view logic over kalvor.exe's windows and data, one small
// class each. Windows that do not exist yet (description and drawing window)
// report themselves closed and ignore requests; the toolbar states are kept
// until the toolbar window shows them. Made afresh for each command: they
// hold references into the AppContext only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "shell/app_context.h"
#include "shell/host/available.h"
#include "views/menu_rules.h"
#include "views/ports.h"

namespace kalvor::shell {

class WinListPort final : public views::ListPort {
 public:
  explicit WinListPort(AppContext& app) : app_(app) {}
  bool listExists() const override { return window() != nullptr; }
  void createMineralList(const views::MineralListRequest& request) override;
  void createRangeList(const views::RangeListRequest& request) override;
  void setListRedraw(bool on) override;
  void focusList() override;
  void placeList() override;
  std::int32_t currentMineral() const override;
  std::int32_t currentRecord() const override;
  // The generation of the font table: a recreated font may get the old handle back.
  std::uintptr_t mainFontToken() const override { return app_.display.fonts.generation(); }
  void applyListFont() override;

 private:
  HWND window() const;
  // Links a new list window to the description window and gives it the focus.
  void finish(HWND list);

  AppContext& app_;
};

// The description window and the drawing window.
class WinSideWindows final : public views::SideWindowPort {
 public:
  explicit WinSideWindows(AppContext& app) : app_(app) {}
  bool descriptionOpen() const override { return app_.windows.description != nullptr; }
  bool drawingOpen() const override { return app_.windows.drawing != nullptr; }
  void createDescription() override;
  void closeDescription() override;
  void createDrawing() override;
  void destroyDrawing() override;
  void setDescriptionTitle(int stringId) override;
  void invalidateDescription() override;
  void repaintDescription() override;
  void rebuildDescription() override;
  void linkDescriptionToList() override;

 private:
  AppContext& app_;
};

class WinFrame final : public views::FramePort {
 public:
  explicit WinFrame(MainWindows& windows) : windows_(windows) {}
  bool toolbarExists() const override { return !windows_.toolbarDestroyed; }
  void setToolbarButton(int id, int state) override {
    windows_.toolbarStates[id] = state;
    if (windows_.toolbar)
      SendMessageA(windows_.toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELONG(state, 0));
  }
  void destroyToolbar() override;
  void graySearchItems() override;
  void installExchangeMenu() override;
  void restoreMainMenu() override;
  void closeMainWindow() override { SendMessageA(windows_.main, WM_CLOSE, 0, 0); }
  void beep() override { MessageBeep(0); }

 private:
  MainWindows& windows_;
};

class WinData final : public views::DataPort {
 public:
  explicit WinData(AppContext& app) : app_(app) {}
  bool indexDamaged() const override;
  std::int32_t localityCount() const override;
  std::int32_t specimenCount() const override;
  std::int32_t glossaryCount() const override;
  RecordSet allLocalities() override;
  RecordSet allSpecimens() override;
  bool mineralResultExists() const override { return !app_.search.minerals.empty(); }
  void openGlossary() override;
  void closeGlossary() override { app_.data.glossary.reset(); }
  bool deleteSpecimen(std::int32_t record) override;
  void resortSpecimens() override;
  bool repairCollection() override;

 private:
  // The collection, or null before the data start-up.
  Collection* collection() const;
  // The set of all records of an index field (all localities, all specimens).
  RecordSet allRecords(std::uint16_t field);

  AppContext& app_;
};

class WinExchange final : public views::ExchangePort {
 public:
  explicit WinExchange(AppContext& app) : app_(app) {}
  std::optional<std::string> chooseExchangeFile(bool forSaving) override;
  bool openExchangeList(const std::string& path) override;
  void closeExchangeList() override;
  void exportExchangeList(const std::string& path) override;

 private:
  AppContext& app_;
};

// The dialogs that exist: the three searches, "Namensuche", "InfoDialog",
// "OptionsDialog". The others report themselves missing (has() false); the command layer grays
// their commands, and their calls end as cancelled should one arrive.
class WinDialogs final : public views::DialogPort {
 public:
  explicit WinDialogs(AppContext& app) : app_(app) {}
  bool has(views::DialogKind dialog) const override { return available(dialog); }
  bool runMineralSearch() override;
  views::RecordSearchOutcome runLocalitySearch() override;
  views::RecordSearchOutcome runSpecimenSearch() override;
  bool runNewLocality() override;
  bool runChangeLocality(std::int32_t record) override;
  bool runDeleteLocality(std::int32_t record) override;
  bool runNewSpecimen() override;
  bool runChangeSpecimen(std::int32_t record) override;
  std::optional<std::int32_t> runNameSearch() override;
  void runDirectLabels() override;
  void runInfo() override;
  bool runOptions() override;
  void runCsvExport(CsvTable table) override;
  bool runCsvImport(CsvTable table) override;
  bool runBackups() override;
  bool askYesNo(int textId, int captionId) override;

 private:
  AppContext& app_;
};

// The printed reports and the labels for specimens on the default printer.
class WinPrinting final : public views::PrintPort {
 public:
  explicit WinPrinting(AppContext& app) : app_(app) {}
  bool has(views::PrintJob job) const override { return available(job); }
  void printMineralProfile(std::int32_t mineralNumber) override;
  void printLocality(std::int32_t record) override;
  void printSpecimenList(const std::optional<RecordSet>& records) override;
  void printSpecimenLabels(const std::optional<RecordSet>& records, std::int32_t selected) override;

 private:
  AppContext& app_;
};

// All ports over one AppContext, for one command or menu preparation.
class WinHost {
 public:
  explicit WinHost(AppContext& app)
      : list_(app), sideWindows_(app), frame_(app.windows), data_(app), exchange_(app), dialogs_(app), printing_(app) {}
  views::ViewHost ports() { return {list_, sideWindows_, frame_, data_, exchange_, dialogs_, printing_}; }

 private:
  WinListPort list_;
  WinSideWindows sideWindows_;
  WinFrame frame_;
  WinData data_;
  WinExchange exchange_;
  WinDialogs dialogs_;
  WinPrinting printing_;
};

// Enables and checks items of one popup menu (or of the whole bar) by command id.
class WinMenuEditor final : public views::MenuEditor {
 public:
  explicit WinMenuEditor(HMENU menu) : menu_(menu) {}
  void enableItem(int id, bool enabled) override {
    EnableMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
  void checkItem(int id, bool checked) override {
    CheckMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }

 private:
  HMENU menu_;
};

}  // namespace kalvor::shell
