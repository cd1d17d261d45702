// The mapping tables of data/: how the words and symbols of the sources
// become the colour numbers, vocabulary bits, crystal classes and status
// flags of the mineral records.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkdb/report.h"

namespace kalvor::mkdb {

// Source word (lower case, UTF-8) -> target words (UTF-8). An empty target
// list means the word is known and deliberately maps to nothing.
using WordMap = std::map<std::string, std::vector<std::string>>;

struct Mappings {
  WordMap colourWords;                       // colour_words.tsv: phrase -> colour-table row names
  std::map<std::string, WordMap> properties; // property_words.tsv: field -> word -> vocabulary words
  std::map<std::string, unsigned> pointGroups;  // property_words.tsv, field point_group -> class bit
  // property_words.tsv, field ima_status: status text (or its beginning) -> flag byte
  std::vector<std::pair<std::string, std::uint8_t>> statusFlags;
  std::map<std::string, std::string> formulaCharacters;  // formula_characters.tsv

  // The flag byte of an IMA status text: an exact entry, else the longest entry it begins with.
  std::optional<std::uint8_t> statusFlag(const std::string& status) const;

  // Loads every table from `dataDir`; malformed rows are errors in `report`.
  static Mappings load(const std::string& dataDir, Report& report);
};

// Bits and numbers the targets stand for, resolved against the program's own
// vocabularies (string table) and colour table.
class VocabularyIndex {
 public:
  VocabularyIndex();
  // ColourNumber of a colour-table row name (UTF-8), or nothing.
  std::optional<std::uint16_t> colourNumber(const std::string& name) const;
  // The bit mask of a vocabulary word (UTF-8) in a field ("kristallsystem",
  // "spaltbarkeit", "bruch", "glanz", "transparenz"), or nothing.
  std::optional<std::uint16_t> propertyBits(const std::string& field, const std::string& word) const;

 private:
  std::map<std::string, std::uint16_t> colours_;
  std::map<std::string, std::map<std::string, std::uint16_t>> words_;
};

}  // namespace kalvor::mkdb
