// The fixed German vocabularies of the physical properties of a mineral and
// the texts made from their stored bit sets. Words are string-table texts;
// every formatter returns Windows-1252 text and an all-zero value gives "".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace kalvor {

// One word of a vocabulary: the bit of the stored value and the string-table
// id of its word.
struct VocabularyWord {
  std::uint8_t bit;
  std::uint16_t stringId;
};

// Crystal systems (u16): bits 0-7 are the systems below in bit order, bit 8
// marks a doubtful assignment, bit 9 + k is the pseudo form of system k.
inline constexpr std::uint16_t kCrystalSystemCubic = 0x0001;
inline constexpr std::uint16_t kCrystalSystemAmorphous = 0x0080;
inline constexpr std::uint16_t kCrystalSystemDoubtful = 0x0100;
inline constexpr int kPseudoSystemFirstBit = 9;
// The words of bits 0-7: kubisch ... amorph.
extern const VocabularyWord kCrystalSystemWords[8];

// Cleavage (u8), bits 0-4 in bit order: keine ... sehr vollkommen.
extern const VocabularyWord kCleavageWords[5];

// Fracture and tenacity (u16), in output order (bits 11, 10, 9 come last in
// that order).
extern const VocabularyWord kFractureWords[12];

// Lustre (u16), in output order ("halbmetall", bit 11, stands before "metall").
extern const VocabularyWord kLustreWords[12];

// Transparency (u16, 5 bits). It feeds only the search index; no text is
// made of it. Bits 3 and 4 both mean "undurchsichtig".
inline constexpr std::uint16_t kTransparencyClear = 0x0001;        // durchsichtig
inline constexpr std::uint16_t kTransparencySemiClear = 0x0002;    // halbdurchsichtig
inline constexpr std::uint16_t kTransparencyTranslucent = 0x0004;  // durchscheinend
inline constexpr std::uint16_t kTransparencyOpaque = 0x0018;       // undurchsichtig (either bit)

// Returns the crystal systems: the systems of bits 0-6, then the pseudo-systems
// as "ps." + word, then "amorph", joined by ", "; then " (?)" for bit 8.
std::string formatCrystalSystems(std::uint16_t value);

// Returns every cleavage word followed by one blank (the text keeps its
// trailing blank).
std::string formatCleavage(std::uint8_t value);

// Returns the fracture and tenacity words in output order, joined by ", ".
std::string formatFracture(std::uint16_t value);

// Returns the lustre words in output order, joined by ", ".
std::string formatLustre(std::uint16_t value);

// Looks up the name of a colour by its 1-based colour-table row (never 0);
// returns "" for a row beyond the table.
using ColourNameLookup = std::function<std::string(std::uint16_t colourNumber)>;

// Returns the colour names of `codes` joined by ", ", each cut at its first
// hyphen; stops at the first code 0 or after `maxCount` codes. Only the low
// 12 bits of a code name the colour.
std::string formatColourList(std::span<const std::int16_t> codes, std::size_t maxCount,
                             const ColourNameLookup& colourNameOf);

}  // namespace kalvor
