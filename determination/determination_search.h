// The determination search ("Mineralbestimmung"): what the user observed on
// an unknown specimen, turned into slots of the search index and combined
// into the list of minerals that fit. The dialog only reads its controls into
// a DeterminationInput, calls runDetermination and shows the outcome.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "determination/index_slot_source.h"
#include "refdb/systematics.h"
#include "string_ids.h"

namespace kalvor {

// String-table ids the search answers with.
inline constexpr int kMsgInvalidElementCharacters = strings::kStrInvalidElementCharacters;
inline constexpr int kMsgSearchFailedCaption = strings::kStrSearchFailedCaption;
inline constexpr int kMsgUnseenElement = strings::kStrUnseenElement;
inline constexpr int kMsgNothingFound = strings::kStrNoMineralFound;

// Search precision ("Suchgenauigkeit").
inline constexpr std::uint8_t kPrecisionRough = 0;        // "Grob"
inline constexpr std::uint8_t kPrecisionApproximate = 1;  // "Annähernd"
inline constexpr std::uint8_t kPrecisionExact = 2;        // "Exakt"

// How far "Annähernd" and "Grob" widen a typed density (hundredths of g/cm³)
// and hardness (half Mohs steps) on either side; "Exakt" takes them as typed.
inline constexpr int kApproximateDensityTolerance = 10;
inline constexpr int kRoughDensityTolerance = 25;
inline constexpr int kApproximateHardnessTolerance = 1;
inline constexpr int kRoughHardnessTolerance = 2;

// The fixed choice lists of the dialog after "unbekannt" (Windows-1252);
// entry k - 1 is list index k.
inline constexpr std::array<std::string_view, 8> kCrystalSystemChoiceNames = {
    "amorph", "triklin", "monoklin", "rhombisch", "tetragonal", "trigonal", "hexagonal", "kubisch"};
inline constexpr std::array<std::string_view, 4> kCleavageChoiceNames = {
    "keine", "unvollkommen", "gut", "vollkommen"};
inline constexpr std::array<std::string_view, 12> kFractureChoiceNames = {
    "eben", "uneben", "muschelig", "hakig", "spr\xF6" "de", "splittrig", "mild", "faserig",
    "bl\xE4" "ttrig", "verformbar", "erdig", "k\xF6rnig"};
inline constexpr std::array<std::string_view, 12> kLustreChoiceNames = {
    "perlmutt", "seiden", "glas", "fett", "harz", "diamant", "metall", "wachs", "matt", "samt",
    "opal", "halbmetall"};

// Number of entries after "unbekannt" in the fixed choice lists.
inline constexpr int kCrystalSystemChoices = static_cast<int>(kCrystalSystemChoiceNames.size());
inline constexpr int kCleavageChoices = static_cast<int>(kCleavageChoiceNames.size());
inline constexpr int kFractureChoices = static_cast<int>(kFractureChoiceNames.size());
inline constexpr int kLustreChoices = static_cast<int>(kLustreChoiceNames.size());

// The dialog's saved state; created with these start values when the program
// starts, updated by every search and shown again at the next opening.
struct DeterminationCriteria {
  std::uint8_t precision = kPrecisionExact;
  std::uint8_t imaRecognised = 1;
  std::uint8_t notImaRecognised = 1;
  std::uint8_t discredited = 0;
  std::int32_t streak = 0;  // list index, 0 = "unbekannt"; index g is colour group g
  std::int32_t colour = 0;
  std::uint8_t crystalSystem = 0;
  std::uint8_t cleavage = 0;
  std::uint8_t lustre = 0;
  std::uint8_t fracture = 0;
  std::uint16_t hardness = 0;  // minimum half steps in the high byte, maximum in the low
  std::uint32_t density = 0;   // minimum density word in the high 16 bits, maximum low
  std::int32_t locality = 0;   // locality number of "Fundstelle", 0 = "unbekannt"
  std::optional<std::string> elementExpression;
  std::optional<std::string> systematics;
};

// What the dialog reads from its controls when "Suchen" is pressed.
struct DeterminationInput {
  bool exactChecked = true;        // 1100 "Exakt"
  bool approximateChecked = false; // 1101 "Annähernd"
  bool imaRecognised = true;       // 1132
  bool notImaRecognised = true;    // 1133
  bool discredited = false;        // 1134
  int streak = 0;                  // list indexes, 0 = "unbekannt"
  int colour = 0;
  int crystalSystem = 0;
  int fracture = 0;
  int cleavage = 0;
  int lustre = 0;
  std::string elementExpression;   // field texts, Windows-1252
  std::string density;
  std::string hardness;
  std::string systematics;
  int localityIndex = 0;           // selected index of "Fundstelle"
  std::uint16_t localityNumber = 0;  // the selected item's locality number
};

// One mineral of a search result: a copy of its name-list node.
struct SearchResultEntry {
  std::string name;           // Windows-1252
  std::uint16_t id = 0;       // MineralNumber + 1
  std::uint32_t ordinal = 0;  // position in the name list
};

// The result of a successful search, in name-list order.
using SearchResultList = std::vector<SearchResultEntry>;

// Widens a colour choice to the slots of every matching colour group.
class ColourSlotSource {
 public:
  virtual ~ColourSlotSource() = default;
  // The slots base + group of every colour group matching choice g (base 405
  // colour, 155 streak); empty when no colour carries group g.
  virtual std::vector<int> matchingColourSlots(int g, int base, bool exact) const = 0;
};

// The mineral data the search needs beside the index.
class MineralFacts {
 public:
  virtual ~MineralFacts() = default;
  // The Lapis/Strunz number recorded for mineral n.
  virtual StrunzNumber lapisNumberOf(MineralNumber n) const = 0;
  // The name-list node of mineral n; nothing when it has none.
  virtual std::optional<SearchResultEntry> nameListEntryOf(MineralNumber n) const = 0;
};

// The minerals the user recorded for a locality of his collection.
class LocalityMinerals {
 public:
  virtual ~LocalityMinerals() = default;
  // The mineral entries of locality `number` as stored (flags above the low
  // 13 bits); nothing when the locality cannot be read.
  virtual std::optional<std::vector<std::uint16_t>> mineralsOfLocality(
      std::uint16_t number) const = 0;
};

// Everything a determination reads.
struct DeterminationSources {
  const IndexSlotSource& index;
  const ColourSlotSource& colours;
  const MineralFacts& minerals;
  const LocalityMinerals* localities = nullptr;  // none: no collection open
};

// What the dialog shows after "Suchen".
struct DeterminationOutcome {
  SearchResultList results;  // not empty on success
  int messageId = 0;         // 0 on success, else the string id of the message
  // For an invalid element expression: the part of the field to select.
  std::size_t selectionBegin = 0;
  std::size_t selectionEnd = 0;

  // True iff the search found minerals (the results are then not empty).
  bool succeeded() const { return messageId == 0; }
};

// Runs the search over the input, updating `saved` as each criterion is read.
DeterminationOutcome runDetermination(const DeterminationInput& input,
                                      DeterminationCriteria& saved,
                                      const DeterminationSources& sources);

// What the systematics criterion did to a running mineral list.
struct SystematicsStep {
  std::string text;          // the field as searched ("/" added); empty: no criterion given
  bool restricted = false;   // the class, letter or number narrowed the list
  bool nothingFits = false;  // no mineral is left: the search ends with "nothing found"
};

// Narrows `running` by a systematics field ("4", "4/D", "4/D.12-5"): first to
// the minerals filed under the Strunz class (and letter) in the index, then to
// those whose Lapis number matches. The determination and the collection
// searches share it. Without an index the class and letter restrict nothing;
// without mineral facts no mineral keeps a number.
SystematicsStep applySystematicsCriterion(std::string_view field, const IndexSlotSource* index,
                                          const MineralFacts* minerals,
                                          OptionalNumberList& running);

// Union of slots s1 and s2 (-1 = none); absent when both are -1 or empty.
OptionalNumberList slotUnion(const IndexSlotSource& index, int s1, int s2);

// The status slots the three boxes ask for (IMA-recognised, not recognised,
// discredited); empty when all three are ticked (no status criterion).
std::vector<int> statusSlots(bool imaRecognised, bool notImaRecognised, bool discredited);

// Minimum and maximum density word of a text such as "2.65", "3-6.5" or "2,65".
std::pair<std::uint16_t, std::uint16_t> parseDensityText(std::string_view text);

// Hardness range in half steps (minimum high byte, maximum low) of "7", "4-6", "5,5".
std::uint16_t parseHardnessText(std::string_view text);

// Density slot of a density word: 0 for 0, else quarter steps, at most 84.
int densitySlotOf(std::uint16_t density);

// Hardness slot offset of a half-step value: the value itself, at most 20.
int hardnessSlotOf(std::uint8_t halfSteps);

// "2.65" or "3.00-6.50"; "nicht bestimmt" for 0 when `notDetermined` is set.
std::string formatDensity(std::uint16_t minimum, std::uint16_t maximum, bool notDetermined);

// "4.5" or "4.0-6.0"; "nicht bestimmt" for 0 when `notDetermined` is set.
std::string formatHardness(std::uint16_t range, bool notDetermined);

}  // namespace kalvor
