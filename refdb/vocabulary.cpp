#include "refdb/vocabulary.h"

#include "refdb/strings.h"

namespace kalvor {

const VocabularyWord kCrystalSystemWords[8] = {
    {0, strings::kStrSystemCubic},         // kubisch
    {1, strings::kStrSystemTetragonal},    // tetragonal
    {2, strings::kStrSystemOrthorhombic},  // rhombisch
    {3, strings::kStrSystemMonoclinic},    // monoklin
    {4, strings::kStrSystemTriclinic},     // triklin
    {5, strings::kStrSystemHexagonal},     // hexagonal
    {6, strings::kStrSystemTrigonal},      // trigonal
    {7, strings::kStrSystemAmorphous},     // amorph
};

const VocabularyWord kCleavageWords[5] = {
    {0, strings::kStrCleavageNone},         // keine
    {1, strings::kStrCleavageImperfect},    // unvollkommen
    {2, strings::kStrCleavageGood},         // gut
    {3, strings::kStrCleavagePerfect},      // vollkommen
    {4, strings::kStrCleavageVeryPerfect},  // sehr vollkommen
};

const VocabularyWord kFractureWords[12] = {
    {0, strings::kStrFractureEven},        // eben
    {1, strings::kStrFractureUneven},      // uneben
    {2, strings::kStrFractureConchoidal},  // muschlig
    {3, strings::kStrFractureHackly},      // hakig
    {4, strings::kStrFractureBrittle},     // spröde
    {5, strings::kStrFractureSplintery},   // splittrig
    {6, strings::kStrFractureMild},        // mild
    {7, strings::kStrFractureFibrous},     // fasrig
    {8, strings::kStrFractureFoliated},    // blättrig
    {11, strings::kStrFractureGranular},   // körnig
    {10, strings::kStrFractureEarthy},     // erdig
    {9, strings::kStrFractureMalleable},   // verformbar
};

const VocabularyWord kLustreWords[12] = {
    {0, strings::kStrLustrePearly},        // perl
    {1, strings::kStrLustreSilky},         // seiden
    {2, strings::kStrLustreVitreous},      // glas
    {3, strings::kStrLustreGreasy},        // fett
    {4, strings::kStrLustreResinous},      // harz
    {5, strings::kStrLustreAdamantine},    // diamant
    {11, strings::kStrLustreSubmetallic},  // halbmetall
    {6, strings::kStrLustreMetallic},      // metall
    {7, strings::kStrLustreWaxy},          // wachs
    {8, strings::kStrLustreDull},          // matt
    {9, strings::kStrLustreVelvety},       // samt
    {10, strings::kStrLustreOpalescent},   // opal
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
