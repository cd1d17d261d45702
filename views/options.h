// The display options of "kalvor.ini" as typed values, the logic of the
// options dialog "OptionsDialog", the text form of a label font and the
// loop that matches a font's size to a measured capital height. Portable:
// the Win32 dialog and font table only carry these decisions out.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings.h"
#include "platform/settings_keys.h"
#include "resources/options_dialog_ids.h"
#include "string_ids.h"

namespace kalvor::views {

// Screens at most this many pixels wide default to small fonts.
inline constexpr int kSmallScreenWidth = 800;

// True iff a screen `screenWidth` pixels wide defaults to small fonts.
inline bool isSmallScreen(int screenWidth) { return screenWidth <= kSmallScreenWidth; }

// [Optionen] "Kleine Zeichensätze", absent: on for a small screen.
bool smallFontsOption(const Settings& settings, bool smallScreen);

// [Optionen] "Blasenhilfe" as the program starts with it (absent: on).
bool bubbleHelpAtStart(const Settings& settings);

// [Edit] "Letztes Etikettenformat": the label format used last (absent: 0).
int lastLabelFormat(const Settings& settings);

// The description options ("Systematik als Text", "Winkel mit Minuten",
// "Farbschaltung", "RefFarbe", the locality lists) are read as one value by
// readDescriptionOptions (determination/description.h), the specimen sort
// mode by specimenSortMode (collection/sort_order.h).

// The string-table ids of the sort modes in the combo box, items 0 to 4.
inline constexpr std::array<unsigned, 5> kSpecimenSortItemIds = {
    strings::kStrSortEntryOrder, strings::kStrSortNumericIndex, strings::kStrSortStringIndex, strings::kStrSortFirstMineral, strings::kStrSortCombinedIndex};

// The options dialog's controls: check boxes 1280-1285 and the combo box 1286.
inline constexpr int kIdMineralLocalityList = IDC_OPT_MINERAL_LOCALITIES;
inline constexpr int kIdAliasLocalityList = IDC_OPT_ALIAS_LOCALITIES;
inline constexpr int kIdAnglesWithMinutes = IDC_OPT_ANGLES_WITH_MINUTES;
inline constexpr int kIdSystematicsAsText = IDC_OPT_SYSTEMATICS_AS_TEXT;
inline constexpr int kIdBubbleHelp = IDC_OPT_BUBBLE_HELP;
inline constexpr int kIdSmallFonts = IDC_OPT_SMALL_FONTS;
inline constexpr int kIdSpecimenSort = IDC_OPT_SPECIMEN_SORT;

// What the options dialog shows; the dialog's controls mirror it one to one.
struct OptionsDialogState {
  bool mineralLocalityList = true;  // 1280
  bool aliasLocalityList = true;    // 1281 (shown unchecked while disabled)
  bool aliasLocalityListEnabled = true;
  bool anglesWithMinutes = false;   // 1282
  bool systematicsAsText = false;   // 1283
  bool bubbleHelp = true;           // 1284
  bool smallFonts = false;          // 1285
  int specimenSort = 0;             // 1286: selected item 0-4
  bool operator==(const OptionsDialogState&) const = default;
};

// The dialog's state at WM_INITDIALOG: the values in effect, absent keys as
// the program reads them ("Blasenhilfe" on, "Stufensortierung" entry order);
// a stored sort mode outside 0-4 shows item 0, the order the sort really uses.
OptionsDialogState fromSettings(const Settings& settings, bool smallScreen);

// A click on 1280 with its new check state: 1281 is enabled or disabled with
// it and keeps its check mark.
void setMineralLocalityList(OptionsDialogState& state, bool on);

// What "&OK" does beside writing keys, in the order the keys are written.
struct OptionsSideEffects {
  std::function<void(bool on)> switchBubbleHelp;          // after "Blasenhilfe"
  std::function<void(bool small)> recreateFonts;          // after "Kleine Zeichensätze"
};

// Writes the options in the order of "&OK": "Mineral Fundortliste", "Mineral
// AF-Liste" ("0" whenever 1280 is off), "Winkel mit Minuten", "Blasenhilfe",
// "Kleine Zeichensätze", "Systematik als Text", "Stufensortierung" ("%d").
// Returns false when a key could not be written (the others are still tried).
bool writeOptions(const OptionsDialogState& state, Settings& settings,
                  const OptionsSideEffects& effects = {});

// The most fonts tried when matching a capital height.
inline constexpr int kMaxMatchRounds = 100;

// Outcome of matching a font size to a capital height.
struct FontMatch {
  int height = 0;       // the height field of the last font tried
  int rounds = 0;       // fonts tried (1 to kMaxMatchRounds)
  bool matched = false; // its capital height equals the target
};

// Matches the (negative) height field of a font so that `measure(height)`,
// the capital height of "A" in that font, equals `target`: one step of 1
// towards the target per round (+1 shrinks, -1 grows), at most
// kMaxMatchRounds fonts, never past -1. Returns the last height tried.
FontMatch matchCapitalHeight(int height, int target, const std::function<int(int height)>& measure);

}  // namespace kalvor::views
