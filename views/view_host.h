// What the view logic needs from the program around it: the windows of the
// main window, the collection's counts and sets, the dialogs and the print
// jobs. kalvor.exe implements it over Win32; the tests over a recording fake.
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

// The modal dialogs that commands run.
enum class Dialog {
  MineralSearch,    // "Suchen"
  LocalitySearch,   // "Fundortsuche"
  SpecimenSearch,   // "Sammlungsauswertung"
  NewLocality,      // "FundortErfassung" for a new locality
  ChangeLocality,   // loads the record, then "FundortErfassung" in change mode; 0 when loading fails
  DeleteLocality,   // "FundstelleLoeschen"
  NewSpecimen,      // "StufenErfassung" for a new specimen
  ChangeSpecimen,   // loads the record, "StufenErfassung", releases the record
  NameSearch,       // "Namensuche"
  DirectLabels,     // "DirektMMErfassung"
  Info,             // "InfoDialog"
  Options,          // "OptionsDialog"
};

// What a dialog ended with.
struct DialogOutcome {
  // The dialog's end code; 0 = cancelled or failed.
  int code = 0;
  // A search dialog's new record result, when it stored one.
  std::optional<RecordSet> records;
  // "Namensuche": the chosen name-list id, 0 = none.
  std::int32_t mineral = 0;
};

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // --- Side windows -------------------------------------------------------
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
  // Makes the description window rebuild its contents (its command 1300).
  virtual void rebuildDescription() = 0;
  // Makes the description window the list window's letter target.
  virtual void linkDescriptionToList() = 0;

  // --- List window --------------------------------------------------------
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

  // --- Toolbar and menus --------------------------------------------------
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

  // --- Data ---------------------------------------------------------------
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
  // Opens / closes / writes an exchange list. openExchangeList returns true on success.
  virtual bool openExchangeList(const std::string& path) = 0;
  virtual void closeExchangeList() = 0;
  virtual void exportExchangeList(const std::string& path) = 0;

  // --- Dialogs and print jobs ---------------------------------------------
  // Runs a modal dialog; `record` is the record it works on, where it needs one.
  virtual DialogOutcome runDialog(Dialog dialog, std::int32_t record) = 0;
  // The open or save dialog for exchange lists; the chosen path, or nothing.
  virtual std::optional<std::string> chooseExchangeFile(bool forSaving) = 0;
  // A yes/no message box (default button "Nein"); true iff the user chose "Ja".
  virtual bool askYesNo(int textId, int captionId) = 0;
  virtual void printMineralProfile(std::int32_t mineralNumber) = 0;
  virtual void printLocality(std::int32_t record) = 0;
  virtual void printSpecimenList(const std::optional<RecordSet>& records) = 0;
};

}  // namespace kalvor::views
