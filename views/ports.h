// What the view logic needs from the program around it, as a few small
// ports: the list window, the side windows, the frame (toolbar, menu bar,
// main window), the collection's data, exchange lists, dialogs and print
// jobs. kalvor.exe implements them over Win32 (shell/host/), the tests over
// a recording fake. Each dialog is one typed call; a host says which dialogs
// and print jobs it has, and the command layer grays what it lacks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "collection/record_set.h"

namespace kalvor::views {

// What a range list shows; also picks the row renderer (glossary, locality, specimen row).
enum class ListKind : std::int32_t { Glossary = 0, Locality = 1, Specimen = 2 };

// A list window over numbered records.
struct RangeListRequest {
  std::int32_t first = 1;
  // The record count of the view.
  std::int32_t last = 0;
  // Record number to select at creation, 0 = none.
  std::int32_t selection = 0;
  // When present and not empty, only its members are listed.
  std::optional<RecordSet> records;
  ListKind kind = ListKind::Glossary;

  friend bool operator==(const RangeListRequest&, const RangeListRequest&) = default;
};

// A list window in mineral mode.
struct MineralListRequest {
  // true: the mineral search result (no letter buckets); false: the full name list.
  bool searchResult = false;
  // Name-list id (mineral number + 1) to select, 0 = none.
  std::int32_t selection = 0;

  friend bool operator==(const MineralListRequest&, const MineralListRequest&) = default;
};

// The list window of the main window.
class ListPort {
 public:
  virtual ~ListPort() = default;
  // True iff a list window exists.
  virtual bool listExists() const = 0;
  // Replaces the list window by one in mineral mode (links, activation callback, focus).
  virtual void createMineralList(const MineralListRequest& request) = 0;
  // Replaces the list window by one in range mode (links, focus).
  virtual void createRangeList(const RangeListRequest& request) = 0;
  // Switches the list window's redrawing on or off (no-op without a list window).
  virtual void setListRedraw(bool on) = 0;
  virtual void focusList() = 0;
  // Moves the list window to the list rectangle of the current layout.
  virtual void placeList() = 0;
  // The list window's current mineral as name-list id, 0 = none.
  virtual std::int32_t currentMineral() const = 0;
  // The list window's current record number, 0 = none.
  virtual std::int32_t currentRecord() const = 0;
  // An opaque token of the main font; it changes when the fonts are recreated.
  virtual std::uintptr_t mainFontToken() const = 0;
  // Hands the list window the new main font and repaints it at once.
  virtual void applyListFont() = 0;
};

// The description window and the drawing window beside the main window.
class SideWindowPort {
 public:
  virtual ~SideWindowPort() = default;
  // True iff the description window / drawing window is open.
  virtual bool descriptionOpen() const = 0;
  virtual bool drawingOpen() const = 0;
  // Creates the description window with its painting suppressed until it stands.
  virtual void createDescription() = 0;
  // Asks the description window to close (it closes the drawing window with it).
  virtual void closeDescription() = 0;
  virtual void createDrawing() = 0;
  virtual void destroyDrawing() = 0;
  // Sets the description window's title to a string-table text.
  virtual void setDescriptionTitle(int stringId) = 0;
  // Marks the description window for repainting (no immediate paint).
  virtual void invalidateDescription() = 0;
  // Repaints the description window at once.
  virtual void repaintDescription() = 0;
  // Makes the description window rebuild its contents.
  virtual void rebuildDescription() = 0;
  // Makes the description window the list window's letter target.
  virtual void linkDescriptionToList() = 0;
};

// The main window's frame: toolbar, menu bar, closing, the beep.
class FramePort {
 public:
  virtual ~FramePort() = default;
  // True iff the toolbar window exists.
  virtual bool toolbarExists() const = 0;
  // Sets a toolbar button to 4 (up), 7 (pressed) or 16 (disabled).
  virtual void setToolbarButton(int id, int state) = 0;
  // Destroys the toolbar and forgets its handle.
  virtual void destroyToolbar() = 0;
  // Grays "&Fundort" and "&Stufe" under "&Suchen".
  virtual void graySearchItems() = 0;
  // Installs the bar "Tauschmenu", remembering the current bar.
  virtual void installExchangeMenu() = 0;
  // Puts the remembered bar "Hauptmenu" back.
  virtual void restoreMainMenu() = 0;
  // Sends WM_CLOSE to the main window.
  virtual void closeMainWindow() = 0;
  virtual void beep() = 0;
};

// The loaded data the views read and the few changes commands make directly.
class DataPort {
 public:
  virtual ~DataPort() = default;
  // True while the collection's value index is known to be damaged ([Status]
  // "Index-Defekt"); the entry dialogs can set it while they run.
  virtual bool indexDamaged() const = 0;
  virtual std::int32_t localityCount() const = 0;
  virtual std::int32_t specimenCount() const = 0;
  virtual std::int32_t glossaryCount() const = 0;
  // Freshly built sets of all localities / all specimens from the value index.
  virtual RecordSet allLocalities() = 0;
  virtual RecordSet allSpecimens() = 0;
  // True iff a mineral search result exists.
  virtual bool mineralResultExists() const = 0;
  // Opens the glossary (reads entry 1); closing releases its file and buffers.
  virtual void openGlossary() = 0;
  virtual void closeGlossary() = 0;
  // Deletes a specimen from the collection; false when that failed (the host
  // has then shown "Speicherungsproblem").
  virtual bool deleteSpecimen(std::int32_t record) = 0;
  // Sorts the specimens anew by the current option and saves the order.
  virtual void resortSpecimens() = 0;
  // Asks whether to repair the collection and, when the user agrees, repairs
  // it (with the progress shown) and tells the user the outcome. True when
  // the collection was repaired and its lists must be built anew.
  virtual bool repairCollection() = 0;
};

// Exchange lists: choosing the file, opening, closing, writing.
class ExchangePort {
 public:
  virtual ~ExchangePort() = default;
  // The open or save dialog for exchange lists; the chosen path, or nothing.
  virtual std::optional<std::string> chooseExchangeFile(bool forSaving) = 0;
  // Opens an exchange list; false (the user told why) when it cannot be opened.
  virtual bool openExchangeList(const std::string& path) = 0;
  virtual void closeExchangeList() = 0;
  virtual void exportExchangeList(const std::string& path) = 0;
};

// The modal dialogs that commands run.
enum class DialogKind {
  MineralSearch,   // "Suchen"
  LocalitySearch,  // "Fundortsuche"
  SpecimenSearch,  // "Sammlungsauswertung"
  NewLocality,     // "FundortErfassung" for a new locality
  ChangeLocality,  // "FundortErfassung" in change mode
  DeleteLocality,  // "FundstelleLoeschen"
  NewSpecimen,     // "StufenErfassung" for a new specimen
  ChangeSpecimen,  // "StufenErfassung" in change mode
  NameSearch,      // "Namensuche"
  DirectLabels,    // "DirektMMErfassung"
  Info,            // "InfoDialog"
  Options,         // "OptionsDialog"
};

// What "Fundortsuche" and "Sammlungsauswertung" ended with.
struct RecordSearchOutcome {
  // True after "OK" (a search was run).
  bool accepted = false;
  // The new result, when the dialog stored one (also after a cancelled repeat).
  std::optional<RecordSet> records;
};

class DialogPort {
 public:
  virtual ~DialogPort() = default;
  // True iff this host has the dialog; the commands that need a dialog it
  // lacks are grayed and refused.
  virtual bool has(DialogKind dialog) const = 0;

  // "Suchen": true when the user ran a search (a mineral result may exist now).
  virtual bool runMineralSearch() = 0;
  virtual RecordSearchOutcome runLocalitySearch() = 0;
  virtual RecordSearchOutcome runSpecimenSearch() = 0;
  // The entry dialogs: true when a record was stored (changed, deleted).
  virtual bool runNewLocality() = 0;
  // Loads the record first; false also when that fails.
  virtual bool runChangeLocality(std::int32_t record) = 0;
  virtual bool runDeleteLocality(std::int32_t record) = 0;
  virtual bool runNewSpecimen() = 0;
  // Loads the record, runs the dialog, releases the record.
  virtual bool runChangeSpecimen(std::int32_t record) = 0;
  // "Namensuche": the chosen name-list id (mineral number + 1), nothing after "Abbrechen".
  virtual std::optional<std::int32_t> runNameSearch() = 0;
  virtual void runDirectLabels() = 0;
  virtual void runInfo() = 0;
  // "OptionsDialog": true when the options were written.
  virtual bool runOptions() = 0;
  // A yes/no message box (default button "Nein"); true iff the user chose "Ja".
  virtual bool askYesNo(int textId, int captionId) = 0;
};

// The print jobs of the "&Drucken" menu.
enum class PrintJob { MineralProfile, Locality, SpecimenList, SpecimenLabels };

class PrintPort {
 public:
  virtual ~PrintPort() = default;
  // True iff this host can print the job.
  virtual bool has(PrintJob job) const = 0;
  virtual void printMineralProfile(std::int32_t mineralNumber) = 0;
  virtual void printLocality(std::int32_t record) = 0;
  virtual void printSpecimenList(const std::optional<RecordSet>& records) = 0;
  // "Stufenetiketten": labels for the specimens of `records` (in the list's
  // order) or for `selected` alone (0: none selected), in a format the user chooses.
  virtual void printSpecimenLabels(const std::optional<RecordSet>& records, std::int32_t selected) = 0;
};

// The ports one command works through; the objects behind them outlive it.
struct ViewHost {
  ListPort& list;
  SideWindowPort& sideWindows;
  FramePort& frame;
  DataPort& data;
  ExchangePort& exchange;
  DialogPort& dialogs;
  PrintPort& printing;
};

}  // namespace kalvor::views
