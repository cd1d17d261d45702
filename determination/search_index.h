// The search index "kalvor.si": for each of 945 slots (a hardness step, a
// density class, a colour group, an element in the formula ...) the sorted
// numbers of the full minerals with that property. Derived from the mineral
// records at start-up and read-only afterwards.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "determination/index_slot_source.h"
#include "refdb/mineral_record.h"

namespace kalvor {

inline constexpr int kIndexSlotCount = 945;
// The lists follow the stamp, the 945 offsets and two unused bytes.
inline constexpr std::size_t kIndexListsOffset = 3784;

// First slots of the slot families.
inline constexpr int kDensitySlots = 0;           // 0 - 84, 0 also "unknown"
inline constexpr int kHardnessSlots = 85;         // 85 + half steps, 85 "unknown"
inline constexpr int kCleavageSlots = 106;        // 106 no data, 107 + bit
inline constexpr int kFractureSlots = 112;        // 112 no data, 113 + bit
inline constexpr int kTransparencySlots = 125;    // 125 no data, 126 + bit
inline constexpr int kCrystalSystemSlots = 131;   // 131 no data/doubtful, 132 + mask
inline constexpr int kLustreSlots = 142;          // 142 no data, 143 + bit
inline constexpr int kStreakSlots = 155;          // 155 + colour group
inline constexpr int kColourSlots = 405;          // 405 + colour group
inline constexpr int kElementPresentSlots = 655;  // 655 + element, 760 rare earths
inline constexpr int kElementAbsentSlots = 761;   // 761 + element, 866 no rare earths
inline constexpr int kGroupPresentSlots = 867;    // 867 + group
inline constexpr int kGroupAbsentSlots = 883;     // 883 + group
inline constexpr int kImaRecognisedSlot = 900;
inline constexpr int kNotImaRecognisedSlot = 901;
inline constexpr int kDiscreditedSlot = 902;
inline constexpr int kStrunzClassSlots = 909;     // 909 + class 1 - 9
inline constexpr int kStrunzLetterSlots = 854;    // 854 + 'A' .. 'Z'

// The crystal-system masks, each a system bit with its pseudo-system bit;
// slot 132 + i belongs to mask i (amorphous ... cubic).
inline constexpr std::array<std::uint16_t, 8> kCrystalSystemMasks = {
    0x0080, 0x2010, 0x1008, 0x0804, 0x0402, 0x8040, 0x4020, 0x0201};

// The fields of a mineral entry that the index files it under.
struct IndexedMineral {
  std::uint8_t flags = 0;            // 0x80: no such entry (end of the database)
  std::string formula;               // with formula markup, Windows-1252
  std::uint16_t hardness = 0;        // minimum in the high byte, maximum in the low byte
  std::uint16_t densityMin = 0;      // whole g/cm3 in the high byte, hundredths in the low
  std::uint16_t densityMax = 0;
  std::array<std::int16_t, 20> colours{};  // colour numbers, end at the first 0
  std::array<std::int16_t, 4> streaks{};
  std::uint16_t crystalSystems = 0;
  std::uint16_t fracture = 0;
  std::uint16_t transparency = 0;
  std::uint16_t lustre = 0;
  std::uint8_t cleavage = 0;
  std::uint8_t strunzClass = 0;
  std::uint8_t strunzLetter = 0;
};

// Reads mineral entry n; flags 0x80 for a number past the last entry.
using MineralEntryReader = std::function<IndexedMineral(MineralNumber)>;
// The colour group of a colour number (0 for a number beyond the colour table).
using ColourGroupOf = std::function<int(int colourNumber)>;

// The indexed fields of a record read from "kalvor.db".
IndexedMineral indexedMineralOf(const MineralRecord& record);

// Builds "kalvor.si" over every entry of the database.
Bytes buildSearchIndex(const MineralDatabase& database, const ColourGroupOf& colourGroupOf);

// Density class of a density word: 0 for 0, else 4 x whole + hundredths / 25, at most 84.
int densityClassOf(std::uint16_t density);

// Builds the bytes of "kalvor.si" from the entries 0, 1, ... up to the first
// one with flag 0x80; aliases are left out. The stamp is (entries + 945) mod 65536.
Bytes buildSearchIndex(const MineralEntryReader& readEntry, const ColourGroupOf& colourGroupOf);

// The stamp an index built for a database of `entryCount` entries carries.
std::uint16_t searchIndexStamp(std::size_t entryCount);

// A loaded "kalvor.si". Damaged files are tolerated: a slot whose offset or
// count points past the end of the data has no list.
class SearchIndex : public IndexSlotSource {
 public:
  explicit SearchIndex(Bytes data);

  // Loads the file; nothing when it cannot be read.
  static std::optional<SearchIndex> open(const std::string& path);

  // The stamp at offset 0 (0 when the file is shorter than that).
  std::uint16_t stamp() const;
  // True iff the stamp matches a database of `entryCount` entries and every
  // slot's list lies inside the file (otherwise the index is to be rebuilt).
  bool fits(std::size_t entryCount) const;

  OptionalNumberList readIndexSlot(int slot) const override;
  // Looks n up in the slot's stored list without reading the list out.
  bool slotHolds(int slot, MineralNumber n) const override;
  std::size_t slotCount(int slot) const override;
  void markSlot(int slot, std::vector<std::uint64_t>& bits) const override;

 private:
  // Where a slot's numbers lie in data_; count 0 for an empty or damaged slot.
  struct SlotSpan {
    std::uint32_t offset = 0;
    std::uint16_t count = 0;
  };
  Bytes data_;
  std::vector<SlotSpan> spans_;
};

}  // namespace kalvor
