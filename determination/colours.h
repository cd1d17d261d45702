// The fixed vocabulary of 427 mineral colour names, each placed in a coarse
// colour space by three bit masks (hue, intensity, shade); the colour groups
// offered as choices in the determination, and matching of neighbouring colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "determination/number_list.h"

namespace kalvor {

// 1-based row of the colour table in the low 12 bits of a stored colour; 0 = none.
using ColourNumber = std::uint16_t;
// 1 = "farblos", 2.. = the choices in name order; 0 = none.
using ColourGroup = std::int16_t;

inline constexpr std::size_t kColourCount = 427;
// Room of the colour choice list (groups are at most this many).
inline constexpr std::size_t kMaxColourGroups = 392;
// Index slots of colour groups: base + group.
inline constexpr int kColourSlotBase = 405;
inline constexpr int kStreakSlotBase = 155;

// Hue bits (bit 0 blue ... bit 9 brown); intensity bit 0 weakest ... bit 8
// strongest; shade bit 0 lightest ... bit 8 darkest.
enum ColourHue : std::uint16_t {
  kHueBlue = 0x001, kHueBlueGreen = 0x002, kHueGreen = 0x004, kHueYellow = 0x008,
  kHueOrange = 0x010, kHueRed = 0x020, kHuePink = 0x040, kHueViolet = 0x080,
  kHueGrey = 0x100, kHueBrown = 0x200,
};

// One constant row of the colour table.
struct ColourEntry {
  const char* name;  // Windows-1252
  std::uint16_t hue;
  std::uint16_t intensity;
  std::uint16_t shade;
  bool inList;  // offered as a colour choice
};

// The 427 rows in ColourNumber order (row 1 at index 0).
std::span<const ColourEntry> colourTableRows();

// Name of ColourNumber (v AND 0xFFF); empty when that is 0 or past the table.
// Needs no grouping: usable directly as the name source of colour lists.
std::string_view colourNameOf(std::uint16_t v);

// The same as a text of its own: the name source that colour lists are formatted with.
std::string colourNameText(std::uint16_t v);

// Reads an index slot (a NumberList of the search index); absent when empty.
using IndexSlotReader = std::function<OptionalNumberList(int slot)>;

// The colour table with its groups and the choice list of the determination.
class ColourTable {
 public:
  // Groups preset: "farblos" 1, every other row 0. Call buildColourGroups before use.
  ColourTable();

  // Sorts the names, forms the groups and the choice list; returns the number
  // of choice items including the leading "unbekannt" (213 with this table).
  int buildColourGroups();

  // ColourGroup of ColourNumber n (n from 1); 0 when n is 0 or past the table
  // (callers holding a stored colour value mask it with 0xFFF first).
  ColourGroup colourGroupOf(std::uint16_t n) const;
  // Name of ColourNumber (v AND 0xFFF); empty when 0 or past the table.
  std::string_view colourNameOf(std::uint16_t v) const { return kalvor::colourNameOf(v); }
  // Choice list: entry k is the name of ColourGroup k + 1 (Windows-1252).
  const std::vector<std::string>& colourChoices() const { return choices_; }

  // Groups that match choice g, in table order of their first matching row,
  // each once; empty when no row carries group g.
  std::vector<ColourGroup> matchingColourGroups(ColourGroup g, bool exact) const;
  // Union of the index slots base + group over the groups matching choice g;
  // absent when no row carries group g or nothing is filed there.
  OptionalNumberList colourSlots(ColourGroup g, int base, bool exact,
                                 const IndexSlotReader& readSlot) const;

 private:
  std::vector<ColourGroup> groups_;  // per row, index = ColourNumber - 1
  std::vector<std::string> choices_;
};

}  // namespace kalvor
