// Turns the rows of the mineral source tables into the entries of
// "kalvor.db": full minerals from minerals.tsv (with the reviewed German
// names and the curated values laid over), aliases from aliases.tsv.
#pragma once

#include <string>
#include <vector>

#include "refdb/mineral_record.h"
#include "tools/mkdb/mappings.h"
#include "tools/mkdb/report.h"
#include "tools/mkdb/tsv_table.h"

namespace kalvor::mkdb {

// How far the density from formula, Z and cell may lie from the measured one.
inline constexpr double kDensityTolerance = 0.10;

struct BuiltEntry {
  MineralRecord record;
  std::string name;         // German name, Windows-1252 (the sort key)
  std::string englishName;  // UTF-8, for messages and English aliases
  std::string source;       // "file:line" of the row it came from
};

class MineralBuilder {
 public:
  MineralBuilder(const Mappings& mappings, Report& report) : mappings_(mappings), report_(report) {}

  // Builds the full minerals of minerals.tsv, with german_names.tsv and
  // curated.tsv laid over it (both optional). Bad rows are errors in the report.
  std::vector<BuiltEntry> buildFullMinerals(const std::string& dataDir);

  // Builds the aliases of aliases.tsv against the full minerals; every target
  // must be one of them. Adds an English alias for every mineral whose English
  // name differs from the German one by more than the final "e".
  std::vector<BuiltEntry> buildAliases(const std::string& dataDir, const std::vector<BuiltEntry>& minerals);

 private:
  std::uint16_t mapProperty(const std::string& sourceField, const std::string& cell,
                            const char* vocabularyField);
  std::vector<std::uint16_t> mapColours(const std::string& field, const std::string& cell,
                                        std::size_t max, const std::string& where);
  // Warns when formula, Z and cell give a density more than kDensityTolerance
  // away from the measured one, or when the cell lacks a constant its system needs.
  void checkCellDensity(const std::string& english, const std::string& pointGroup,
                        std::string formula, const CrystalDataEntry& cd, const MineralRecord& r);
  std::optional<std::string> toRecordText(const std::string& utf8, std::size_t maxBytes,
                                          const char* what, const std::string& where);

  const Mappings& mappings_;
  Report& report_;
  VocabularyIndex vocabulary_;
};

// Parses a Mohs hardness ("5.5", "5,5", "5½") into half steps; nothing when it
// is not a number from 1 to 10.
std::optional<std::uint8_t> parseHardnessHalfSteps(const std::string& text);

// Parses a density in g/cm³ into whole units and hundredths; nothing when it
// is not a number from 0.01 to 255.99.
std::optional<DensityValue> parseDensityValue(const std::string& text);

}  // namespace kalvor::mkdb
