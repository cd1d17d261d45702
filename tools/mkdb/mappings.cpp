#include "tools/mkdb/mappings.h"

#include <algorithm>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "determination/colours.h"
#include "refdb/crystal_classes.h"
#include "refdb/strings.h"
#include "refdb/vocabulary.h"
#include "tools/mkdb/tsv_table.h"

namespace kalvor::mkdb {
namespace {

std::optional<TsvTable> loadTable(const std::string& dataDir, const char* name, Report& report) {
  std::string error;
  auto table = TsvTable::load(joinPath(dataDir, name), error);
  if (!table) report.error(error);
  return table;
}

bool requireColumns(const TsvTable& t, std::initializer_list<const char*> names, Report& report) {
  bool ok = true;
  for (const char* n : names) {
    if (!t.column(n)) {
      report.error(t.path() + ": Spalte \"" + n + "\" fehlt");
      ok = false;
    }
  }
  return ok;
}

// Target words are separated by ";" or ",".
std::vector<std::string> targetsOf(std::string cell) {
  if (trim(cell) == "-") return {};
  std::replace(cell.begin(), cell.end(), ',', ';');
  return splitList(cell);
}

}  // namespace

Mappings Mappings::load(const std::string& dataDir, Report& report) {
  Mappings m;
  if (auto t = loadTable(dataDir, "colour_words.tsv", report);
      t && requireColumns(*t, {"source_phrase", "colour_table_names"}, report)) {
    for (const auto& row : t->rows())
      m.colourWords[lowerAscii(trim(t->cell(row, "source_phrase")))] =
          targetsOf(t->cell(row, "colour_table_names"));
  }
  if (auto t = loadTable(dataDir, "property_words.tsv", report);
      t && requireColumns(*t, {"field", "source_word", "german", "bit"}, report)) {
    for (const auto& row : t->rows()) {
      const std::string field = trim(t->cell(row, "field"));
      const std::string word = trim(t->cell(row, "source_word"));
      const std::string bit = trim(t->cell(row, "bit"));
      if (field == "point_group") {
        const int value = bit.empty() ? -1 : std::atoi(bit.c_str());
        if (value < 0 || value > 31) {
          report.error(t->where(row) + ": Klassenbit \"" + bit + "\" liegt nicht in 0 bis 31");
          continue;
        }
        m.pointGroups[word] = static_cast<unsigned>(value);
      } else if (field == "ima_status") {
        const unsigned long v = std::strtoul(bit.c_str(), nullptr, 0);
        if (v != 0x01 && v != 0x02 && v != 0x08 && v != 0x10) {
          report.error(t->where(row) + ": Statusflag \"" + bit + "\" ist nicht 0x01, 0x02, 0x08 oder 0x10");
          continue;
        }
        m.statusFlags.emplace_back(word, static_cast<std::uint8_t>(v));
      } else {
        m.properties[field][lowerAscii(word)] = targetsOf(t->cell(row, "german"));
      }
    }
  }
  if (auto t = loadTable(dataDir, "formula_characters.tsv", report);
      t && requireColumns(*t, {"character", "replacement"}, report)) {
    for (const auto& row : t->rows())
      m.formulaCharacters[t->cell(row, "character")] = t->cell(row, "replacement");
  }
  return m;
}

std::optional<std::uint8_t> Mappings::statusFlag(const std::string& status) const {
  std::optional<std::uint8_t> best;
  std::size_t bestLength = 0;
  for (const auto& [text, flag] : statusFlags) {
    if (text == status) return flag;
    if (!text.empty() && status.rfind(text, 0) == 0 && text.size() > bestLength) {
      best = flag;
      bestLength = text.size();
    }
  }
  return best;
}

VocabularyIndex::VocabularyIndex() {
  const auto rows = colourTableRows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    colours_.emplace(cp1252ToUtf8(rows[i].name), static_cast<std::uint16_t>(i + 1));

  auto addWords = [this](const char* field, const VocabularyWord* words, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      words_[field][cp1252ToUtf8(loadResourceString(words[i].stringId - kStringIdBase))] =
          static_cast<std::uint16_t>(1u << words[i].bit);
  };
  addWords("kristallsystem", kCrystalSystemWords, std::size(kCrystalSystemWords));
  addWords("spaltbarkeit", kCleavageWords, std::size(kCleavageWords));
  addWords("bruch", kFractureWords, std::size(kFractureWords));
  addWords("glanz", kLustreWords, std::size(kLustreWords));
  // Pseudo-systems and the doubtful mark have no word of their own.
  for (const auto& [word, bit] : std::map<std::string, std::uint16_t>(words_["kristallsystem"]))
    if (bit < 0x80) words_["kristallsystem"]["ps. " + word] = static_cast<std::uint16_t>(bit << 9);
  words_["kristallsystem"]["?"] = kCrystalSystemDoubtful;
  auto& t = words_["transparenz"];
  t["durchsichtig"] = kTransparencyClear;
  t["halbdurchsichtig"] = kTransparencySemiClear;
  t["durchscheinend"] = kTransparencyTranslucent;
  t["undurchsichtig"] = 0x0008;
}

std::optional<std::uint16_t> VocabularyIndex::colourNumber(const std::string& name) const {
  const auto it = colours_.find(name);
  if (it == colours_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::uint16_t> VocabularyIndex::propertyBits(const std::string& field,
                                                           const std::string& word) const {
  const auto f = words_.find(field);
  if (f == words_.end()) return std::nullopt;
  const auto w = f->second.find(word);
  if (w == f->second.end()) return std::nullopt;
  return w->second;
}

}  // namespace kalvor::mkdb
