// The dialog "Mineralbestimmung" (template SUCHEN) without its window: what
// its controls show at the opening and after "Neue Suche", and what "Suchen"
// makes of them — the result list, or the message with the control to select
// and the text range to mark. The dialog only moves texts, checks and
// selections between its controls and these structs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/form_fields.h"
#include "collection/locality.h"
#include "determination/determination_search.h"

namespace kalvor {

// Control ids of the dialog.
namespace determination_controls {
inline constexpr int kSearch = 1;
inline constexpr int kCancel = 2;
inline constexpr int kExact = 1100;
inline constexpr int kApproximate = 1101;
inline constexpr int kRough = 1102;
inline constexpr int kColour = 1105;
inline constexpr int kHardness = 1106;
inline constexpr int kFracture = 1107;
inline constexpr int kCrystalSystem = 1108;
inline constexpr int kCleavage = 1109;
inline constexpr int kStreak = 1110;
inline constexpr int kDensity = 1111;
inline constexpr int kElements = 1112;
inline constexpr int kLustre = 1115;
inline constexpr int kSystematics = 1118;
inline constexpr int kLocality = 1119;
inline constexpr int kImaRecognised = 1132;
inline constexpr int kNotImaRecognised = 1133;
inline constexpr int kDiscredited = 1134;
inline constexpr int kNewSearch = 1138;
// Shown disabled and never read.
inline constexpr int kRadioactive = 1104;
inline constexpr int kUvShortWave = 1113;
inline constexpr int kUvLongWave = 1114;
}  // namespace determination_controls

// What the controls of the dialog hold (texts in Windows-1252).
struct DeterminationControls {
  bool exact = true;             // 1100 "Exakt"
  bool approximate = false;      // 1101 "Annähernd"
  bool rough = false;            // 1102 "Grob"
  int streak = 0;                // 1110: selected index, 0 = "unbekannt"
  int colour = 0;                // 1105
  int crystalSystem = 0;         // 1108
  int lustre = 0;                // 1115
  int cleavage = 0;              // 1109
  int fracture = 0;              // 1107
  std::string hardness;          // 1106 "Härte"
  std::string density;           // 1111 "Dichte"
  std::string elements;          // 1112 "Strukturelemente"
  std::string systematics;       // 1118 "Systematik"
  bool imaRecognised = true;     // 1132
  bool notImaRecognised = true;  // 1133
  bool discredited = false;      // 1134
  // 1119 "Fundstelle": the selected item's value, the locality number
  // (0 = "unbekannt"). The list is rebuilt in sort order at every opening,
  // so the number, not the position, names the locality.
  std::uint32_t locality = 0;

  bool operator==(const DeterminationControls&) const = default;
};

// The controls at the opening: the saved criteria of the last search.
DeterminationControls determinationControlsOf(const DeterminationCriteria& saved);

// The controls after "Neue Suche" (the saved criteria change only at the next search).
DeterminationControls newDeterminationSearch();

// The index of the "Fundstelle" entry whose item value is `number`; 0
// ("unbekannt") when the locality is no longer in the list.
std::size_t localityItemIndex(const std::vector<LocalityChoice>& items, std::uint32_t number);

// True iff the text is a hardness or a hardness range the search can read
// ("7", "4-6", "5,5", "2½"; blanks ignored); empty counts as readable.
bool isReadableHardnessText(std::string_view text);
// True iff the text is a density or a density range ("2.65", "3-6,5").
bool isReadableDensityText(std::string_view text);

// What "Suchen" answers: the minerals found, or why the dialog stays open.
struct DeterminationFormOutcome {
  SearchResultList results;
  std::optional<FormFailure> failure;
  bool succeeded() const { return !failure; }
};

// "Suchen": refuses an unreadable hardness or density (the field selected
// whole, the saved criteria untouched), then runs the determination; its
// failures come back with their control: the element expression's offending
// part marked in 1112, "nothing found" without a control. Caption 10009
// "Suche fehlgeschlagen", 10052 "Eingabefehler" for the number fields.
DeterminationFormOutcome searchDeterminationForm(const DeterminationControls& controls,
                                                 DeterminationCriteria& saved,
                                                 const DeterminationSources& sources);

}  // namespace kalvor
