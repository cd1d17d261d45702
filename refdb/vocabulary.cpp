#include "refdb/vocabulary.h"

#include "refdb/strings.h"

namespace kalvor {

const VocabularyWord kCrystalSystemWords[8] = {
    {0, 10066},  // kubisch
    {1, 10067},  // tetragonal
    {2, 10068},  // rhombisch
    {3, 10069},  // monoklin
    {4, 10070},  // triklin
    {5, 10071},  // hexagonal
    {6, 10072},  // trigonal
    {7, 10073},  // amorph
};

const VocabularyWord kCleavageWords[5] = {
    {0, 10015},  // keine
    {1, 10016},  // unvollkommen
    {2, 10019},  // gut
    {3, 10021},  // vollkommen
    {4, 10023},  // sehr vollkommen
};

const VocabularyWord kFractureWords[12] = {
    {0, 10025},   // eben
    {1, 10024},   // uneben
    {2, 10026},   // muschlig
    {3, 10030},   // hakig
    {4, 10032},   // spröde
    {5, 10033},   // splittrig
    {6, 10034},   // mild
    {7, 10036},   // fasrig
    {8, 10037},   // blättrig
    {11, 10038},  // körnig
    {10, 10031},  // erdig
    {9, 10028},   // verformbar
};

const VocabularyWord kLustreWords[12] = {
    {0, 10040},   // perl
    {1, 10041},   // seiden
    {2, 10042},   // glas
    {3, 10044},   // fett
    {4, 10045},   // harz
    {5, 10046},   // diamant
    {11, 10039},  // halbmetall
    {6, 10047},   // metall
    {7, 10048},   // wachs
    {8, 10049},   // matt
    {9, 10050},   // samt
    {10, 10043},  // opal
};

namespace {

bool hasBit(unsigned value, unsigned bit) { return ((value >> bit) & 1u) != 0; }

std::string word(const VocabularyWord& w) { return loadResourceString(w.stringId - kStringIdBase); }

// Drops the ", " behind the last word of a list; an empty list stays empty.
void dropFinalSeparator(std::string& text) {
  if (text.size() >= 2) text.resize(text.size() - 2);
}

std::string wordList(std::span<const VocabularyWord> words, unsigned value) {
  std::string text;
  for (const auto& w : words)
    if (hasBit(value, w.bit)) text += word(w) + ", ";
  dropFinalSeparator(text);
  return text;
}

}  // namespace

std::string formatCrystalSystems(std::uint16_t value) {
  std::string text;
  for (unsigned k = 0; k < 7; ++k)
    if (hasBit(value, k)) text += word(kCrystalSystemWords[k]) + ", ";
  for (unsigned k = 0; k < 7; ++k)
    if (hasBit(value, kPseudoSystemFirstBit + k)) text += "ps." + word(kCrystalSystemWords[k]) + ", ";
  if (value & kCrystalSystemAmorphous) text += word(kCrystalSystemWords[7]) + ", ";
  dropFinalSeparator(text);
  if (value & kCrystalSystemDoubtful) text += " (?)";
  return text;
}

std::string formatCleavage(std::uint8_t value) {
  // A very perfect cleavage is stored with "vollkommen" as well, so that a
  // search for perfect cleavage finds it; the reader sees only the finer word.
  constexpr unsigned kPerfectBit = 3, kVeryPerfectBit = 4;
  if (hasBit(value, kVeryPerfectBit)) value &= static_cast<std::uint8_t>(~(1u << kPerfectBit));
  std::string text;
  for (const auto& w : kCleavageWords)
    if (hasBit(value, w.bit)) appendResourceString(text, w.stringId - kStringIdBase, 0);
  return text;
}

std::string formatFracture(std::uint16_t value) { return wordList(kFractureWords, value); }

std::string formatLustre(std::uint16_t value) { return wordList(kLustreWords, value); }

std::string formatColourList(std::span<const std::int16_t> codes, std::size_t maxCount,
                             const ColourNameLookup& colourNameOf) {
  std::string text;
  const std::size_t n = codes.size() < maxCount ? codes.size() : maxCount;
  for (std::size_t i = 0; i < n && codes[i] != 0; ++i) {
    if (i > 0) text += ", ";
    const auto row = static_cast<std::uint16_t>(static_cast<std::uint16_t>(codes[i]) & 0x0FFF);
    if (row != 0 && colourNameOf) text += colourNameOf(row);
    // Earlier names have lost their hyphen parts already, so this keeps the
    // new name up to its first hyphen ("grauschwarz-metallisch" -> "grauschwarz").
    if (const auto hyphen = text.find('-'); hyphen != std::string::npos) text.resize(hyphen);
  }
  return text;
}

}  // namespace kalvor
