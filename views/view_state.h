// The view state machine of the main window: which kind of record the list
// window shows, whether it shows all records or the last search result, and
// the toolbar states that follow from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "collection/record_set.h"
#include "resources/resource_ids.h"
#include "string_ids.h"
#include "views/ports.h"

namespace kalvor::views {

// The views; the values are their menu command ids.
enum class View : int {
  Mineral = CMD_VIEW_MINERAL,
  Stufen = CMD_VIEW_SPECIMENS,
  Fundort = CMD_VIEW_LOCALITIES,
  Glossar = CMD_VIEW_GLOSSARY
};

// Which kind of entry the description window renders; at most one.
enum class DescriptionKind { None, Mineral, Glossary, Locality, Specimen };

// Toolbar button states.
inline constexpr int kButtonUp = 4;
inline constexpr int kButtonPressed = 7;
inline constexpr int kButtonDisabled = 16;

// String ids of the description window's titles.
inline constexpr int kTitleMineral = strings::kStrMineralDescription;
inline constexpr int kTitleGlossary = strings::kStrGlossaryEntry;
inline constexpr int kTitleLocality = strings::kStrLocalityDescription;
inline constexpr int kTitleSpecimen = strings::kStrSpecimenDescription;

// The shell's view state; only ViewController and the command handlers change it.
struct ViewState {
  View view = View::Mineral;
  // One result flag per view (true = the view lists its search result).
  std::array<bool, 4> resultFlags{};
  // Mineral last shown by the side windows; -1 makes them rebuild.
  std::int32_t rememberedMineral = -1;
  DescriptionKind descriptionKind = DescriptionKind::None;
  // True while an exchange list is open ("Tauschmenu" installed).
  bool exchangeOpen = false;
  // Mirrors [Status] "Index-Defekt": read before the window exists, then the
  // collection's own flag as the host reports it after each entry dialog.
  bool indexDamaged = false;
  // Copies of the sets of all records for menu and toolbar enabling and printing.
  std::optional<RecordSet> enablingLocalities;
  std::optional<RecordSet> enablingSpecimens;
  // Copies of the sets of all records behind the Fundort and Stufen lists.
  RecordSet listLocalities;
  RecordSet listSpecimens;
  // The results of "Fundortsuche" and "Sammlungsauswertung"; absent = no search yet.
  std::optional<RecordSet> localityResult;
  std::optional<RecordSet> specimenResult;
  // The own collection's Fundort and Stufen results with their flags, put
  // aside while an exchange list is open: their record numbers mean other
  // records there. Absent outside the exchange-assistant mode.
  struct CollectionResults {
    std::optional<RecordSet> localities;
    std::optional<RecordSet> specimens;
    bool localityFlag = false;
    bool specimenFlag = false;
  };
  std::optional<CollectionResults> ownResults;

  // The result flag of a view.
  bool& resultFlag(View v) { return resultFlags[index(v)]; }
  bool resultFlag(View v) const { return resultFlags[index(v)]; }

 private:
  static std::size_t index(View v);
};

// The view switches and the toolbar refresh, acting through a ViewHost.
class ViewController {
 public:
  // Works on `state` through the ports of `host`; all must outlive the controller.
  ViewController(ViewState& state, const ViewHost& host) : state_(state), host_(host) {}

  // The state and the host, for the command handlers.
  ViewState& state() { return state_; }
  ViewHost& host() { return host_; }

  // "Ansicht: Mineral": beeps when already there.
  void switchToMineral();
  // "Ansicht: Stufen" / "Fundort": beeps when already there; does nothing without records.
  void switchToRecords(View view);
  // "Ansicht: Glossar": opens the description window if needed; beeps when already there.
  void switchToGlossary();
  // Recreates the mineral list over all minerals or the result, keeping the current mineral.
  void showMineralList();
  // "Alle Einträge" (wantResult false) / "Suchergebnis" (true) in the current view.
  void showEntries(bool wantResult);
  // "Ausführliche Liste": closes the description window (not in Glossar).
  void detailedList();
  // "Beschreibungsfenster": opens the side windows the view has.
  void openSideWindows();
  // Sets every toolbar button from the view, the result flag r and the record counts.
  void refreshToolbar(bool r);
  // Refreshes the toolbar with the current view's result flag.
  void refreshToolbar() { refreshToolbar(state_.resultFlag(state_.view)); }

  // Recreates the Fundort or Stufen list (selection given) over the view's
  // result when its flag is set, else over a freshly built set of all records.
  void recreateRecordList(View view, std::int32_t selection);
  // Rebuilds the enabling copies of the sets of all records.
  void rebuildEnablingSets();
  // True iff there are localities / specimens by the enabling copies.
  bool haveLocalities() const;
  bool haveSpecimens() const;

 private:
  ViewState& state_;
  ViewHost host_;
};

// Appends ".ktl" when the file-name part of `path` (after the last "\" or "/") has no ".".
std::string withExchangeExtension(std::string path);

}  // namespace kalvor::views
