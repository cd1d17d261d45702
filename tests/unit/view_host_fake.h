// A recording host (every port of views/ports.h in one object) and
// MenuEditor for the view and command tests: every effect is written to a log
// as a short line, toolbar states and menu item states are kept as well. The
// host can lack dialogs and print jobs; calling one it lacks is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "views/menu_rules.h"
#include "views/ports.h"

namespace kalvor::views::testing {

inline RecordSet setOf(std::initializer_list<std::uint32_t> members) {
  RecordSet s;
  for (auto m : members) s.add(m);
  return s;
}

inline std::string describe(const std::optional<RecordSet>& set) {
  if (!set) return "none";
  std::string out = "{";
  for (auto m : set->members()) out += (out.size() > 1 ? "," : "") + std::to_string(m);
  return out + "}";
}

inline const char* dialogName(DialogKind d) {
  switch (d) {
    case DialogKind::MineralSearch:
      return "Suchen";
    case DialogKind::LocalitySearch:
      return "Fundortsuche";
    case DialogKind::SpecimenSearch:
      return "Sammlungsauswertung";
    case DialogKind::NewLocality:
      return "FundortErfassung-neu";
    case DialogKind::ChangeLocality:
      return "FundortErfassung-aendern";
    case DialogKind::DeleteLocality:
      return "FundstelleLoeschen";
    case DialogKind::NewSpecimen:
      return "StufenErfassung-neu";
    case DialogKind::ChangeSpecimen:
      return "StufenErfassung-aendern";
    case DialogKind::NameSearch:
      return "Namensuche";
    case DialogKind::DirectLabels:
      return "DirektMMErfassung";
    case DialogKind::Info:
      return "InfoDialog";
    case DialogKind::Options:
      return "OptionsDialog";
  }
  return "?";
}

// What a dialog of the fake ends with.
struct DialogOutcome {
  // 0 = cancelled, 1 = "OK".
  int code = 0;
  std::optional<RecordSet> records;
  // "Namensuche": the chosen name-list id, 0 = none.
  std::int32_t mineral = 0;
};

class FakeHost : public ListPort,
                 public SideWindowPort,
                 public FramePort,
                 public DataPort,
                 public ExchangePort,
                 public DialogPort,
                 public PrintPort {
 public:
  std::vector<std::string> log;
  std::vector<std::pair<int, int>> toolbarCalls;
  std::map<int, int> buttons;

  bool description = true;
  bool drawing = true;
  bool list = true;
  bool toolbar = true;
  std::int32_t mineral = 0;
  std::int32_t record = 0;
  std::uintptr_t font = 1;
  std::int32_t localities = 0;
  std::int32_t specimens = 0;
  std::int32_t glossary = 120;
  RecordSet localitySet;
  RecordSet specimenSet;
  bool mineralResult = false;
  bool exchangeOpens = true;
  // The collection's "Index-Defekt" flag.
  bool damaged = false;
  bool answerYes = false;
  bool deleteSucceeds = true;
  bool repairSucceeds = true;
  std::optional<std::string> chosenFile;
  std::map<DialogKind, DialogOutcome> outcomes;
  // Runs inside each dialog, for dialogs that change the collection.
  std::function<void(DialogKind)> duringDialog;
  // What this host lacks, and the calls that reached a missing dialog or print job.
  std::set<DialogKind> missingDialogs;
  std::set<PrintJob> missingJobs;
  std::vector<std::string> callsToMissing;

  // The ports for a ViewController.
  ViewHost ports() { return ViewHost{*this, *this, *this, *this, *this, *this, *this}; }

  // The log since the last call, and a fresh log.
  std::vector<std::string> take() { return std::exchange(log, {}); }

  bool descriptionOpen() const override { return description; }
  bool drawingOpen() const override { return drawing; }
  void createDescription() override {
    description = true;
    log.push_back("createDescription");
  }
  void closeDescription() override {
    // The description window takes the drawing window with it.
    description = false;
    drawing = false;
    log.push_back("closeDescription");
  }
  void createDrawing() override {
    drawing = true;
    log.push_back("createDrawing");
  }
  void destroyDrawing() override {
    drawing = false;
    log.push_back("destroyDrawing");
  }
  void setDescriptionTitle(int id) override { log.push_back("title " + std::to_string(id)); }
  void invalidateDescription() override { log.push_back("invalidateDescription"); }
  void repaintDescription() override { log.push_back("repaintDescription"); }
  void rebuildDescription() override { log.push_back("rebuildDescription"); }
  void linkDescriptionToList() override { log.push_back("linkDescription"); }

  bool listExists() const override { return list; }
  void createMineralList(const MineralListRequest& r) override {
    list = true;
    log.push_back(std::string("mineralList ") + (r.searchResult ? "result" : "all") +
                  " sel=" + std::to_string(r.selection));
  }
  void createRangeList(const RangeListRequest& r) override {
    list = true;
    log.push_back("rangeList kind=" + std::to_string(static_cast<int>(r.kind)) +
                  " first=" + std::to_string(r.first) + " last=" + std::to_string(r.last) +
                  " sel=" + std::to_string(r.selection) + " set=" + describe(r.records));
  }
  void setListRedraw(bool on) override { log.push_back(on ? "redraw on" : "redraw off"); }
  void focusList() override { log.push_back("focusList"); }
  void placeList() override { log.push_back("placeList"); }
  std::int32_t currentMineral() const override { return mineral; }
  std::int32_t currentRecord() const override { return record; }
  std::uintptr_t mainFontToken() const override { return font; }
  void applyListFont() override { log.push_back("applyListFont"); }

  bool toolbarExists() const override { return toolbar; }
  void setToolbarButton(int id, int state) override {
    toolbarCalls.emplace_back(id, state);
    buttons[id] = state;
  }
  void destroyToolbar() override {
    toolbar = false;
    log.push_back("destroyToolbar");
  }
  void graySearchItems() override { log.push_back("graySearchItems"); }
  bool indexDamaged() const override { return damaged; }
  void installExchangeMenu() override { log.push_back("installExchangeMenu"); }
  void restoreMainMenu() override { log.push_back("restoreMainMenu"); }
  void closeMainWindow() override { log.push_back("closeMainWindow"); }
  void beep() override { log.push_back("beep"); }

  std::int32_t localityCount() const override { return localities; }
  std::int32_t specimenCount() const override { return specimens; }
  std::int32_t glossaryCount() const override { return glossary; }
  RecordSet allLocalities() override {
    log.push_back("allLocalities");
    return localitySet;
  }
  RecordSet allSpecimens() override {
    log.push_back("allSpecimens");
    return specimenSet;
  }
  bool mineralResultExists() const override { return mineralResult; }
  void openGlossary() override { log.push_back("openGlossary"); }
  void closeGlossary() override { log.push_back("closeGlossary"); }
  bool deleteSpecimen(std::int32_t r) override {
    log.push_back("deleteSpecimen " + std::to_string(r));
    return deleteSucceeds;
  }
  void resortSpecimens() override { log.push_back("resortSpecimens"); }
  bool repairCollection() override {
    log.push_back("repairCollection");
    return repairSucceeds;
  }
  bool openExchangeList(const std::string& path) override {
    log.push_back("openExchange " + path);
    return exchangeOpens;
  }
  void closeExchangeList() override { log.push_back("closeExchange"); }
  void exportExchangeList(const std::string& path) override { log.push_back("exportExchange " + path); }

  bool has(DialogKind d) const override { return !missingDialogs.contains(d); }
  bool runMineralSearch() override { return run(DialogKind::MineralSearch, 0).code != 0; }
  RecordSearchOutcome runLocalitySearch() override { return searchOutcome(DialogKind::LocalitySearch); }
  RecordSearchOutcome runSpecimenSearch() override { return searchOutcome(DialogKind::SpecimenSearch); }
  bool runNewLocality() override { return run(DialogKind::NewLocality, 0).code == 1; }
  bool runChangeLocality(std::int32_t r) override { return run(DialogKind::ChangeLocality, r).code != 0; }
  bool runDeleteLocality(std::int32_t r) override { return run(DialogKind::DeleteLocality, r).code == 1; }
  bool runNewSpecimen() override { return run(DialogKind::NewSpecimen, 0).code == 1; }
  bool runChangeSpecimen(std::int32_t r) override { return run(DialogKind::ChangeSpecimen, r).code != 0; }
  std::optional<std::int32_t> runNameSearch() override {
    const std::int32_t mineral = run(DialogKind::NameSearch, 0).mineral;
    return mineral != 0 ? std::optional(mineral) : std::nullopt;
  }
  void runDirectLabels() override { run(DialogKind::DirectLabels, 0); }
  void runInfo() override { run(DialogKind::Info, 0); }
  bool runOptions() override { return run(DialogKind::Options, 0).code != 0; }
  std::optional<std::string> chooseExchangeFile(bool forSaving) override {
    log.push_back(forSaving ? "chooseFile save" : "chooseFile open");
    return chosenFile;
  }
  bool askYesNo(int text, int caption) override {
    log.push_back("ask " + std::to_string(text) + "/" + std::to_string(caption));
    return answerYes;
  }
  bool has(PrintJob job) const override { return !missingJobs.contains(job); }
  void printMineralProfile(std::int32_t m) override {
    printed(PrintJob::MineralProfile, "printProfile " + std::to_string(m));
  }
  void printLocality(std::int32_t r) override {
    printed(PrintJob::Locality, "printLocality " + std::to_string(r));
  }
  void printSpecimenList(const std::optional<RecordSet>& s) override {
    printed(PrintJob::SpecimenList, "printSpecimenList " + describe(s));
  }
  void printSpecimenLabels(const std::optional<RecordSet>& s, std::int32_t selected) override {
    printed(PrintJob::SpecimenLabels,
            "printSpecimenLabels " + describe(s) + " sel=" + std::to_string(selected));
  }

 private:
  DialogOutcome run(DialogKind d, std::int32_t r) {
    const std::string line = std::string("dialog ") + dialogName(d) + " rec=" + std::to_string(r);
    log.push_back(line);
    if (!has(d)) callsToMissing.push_back(line);
    if (duringDialog) duringDialog(d);
    const auto it = outcomes.find(d);
    return it == outcomes.end() ? DialogOutcome{} : it->second;
  }
  RecordSearchOutcome searchOutcome(DialogKind d) {
    DialogOutcome outcome = run(d, 0);
    return {outcome.code == 1, std::move(outcome.records)};
  }
  void printed(PrintJob job, const std::string& line) {
    log.push_back(line);
    if (!has(job)) callsToMissing.push_back(line);
  }
};

class FakeMenu : public MenuEditor {
 public:
  std::vector<std::string> log;
  std::map<int, bool> enabled;
  std::map<int, bool> checked;

  void enableItem(int id, bool on) override {
    log.push_back((on ? "enable " : "gray ") + std::to_string(id));
    enabled[id] = on;
  }
  void checkItem(int id, bool on) override {
    log.push_back((on ? "check " : "uncheck ") + std::to_string(id));
    checked[id] = on;
  }
};

}  // namespace kalvor::views::testing
