#include "determination/choice_words.h"

#include <span>

#include "determination/colours.h"
#include "determination/determination_search.h"

namespace kalvor {
namespace {

struct Synonym {
  std::string_view word;  // Windows-1252
  int index;              // 1-based list entry
};

// Beside the list entries themselves. The descriptions print "muschlig",
// "fasrig", "perl" and "sehr vollkommen"; the rest are the words of the
// textbooks (Glasglanz, orthorhombisch, regulär, ausgezeichnet ...).
constexpr Synonym kCrystalSystemSynonyms[] = {
    {"nichtkristallin", 1}, {"triklinisch", 2},  {"monoklinisch", 3}, {"orthorhombisch", 4},
    {"rhomboedrisch", 6},   {"regul\xE4r", 8},  {"isometrisch", 8},
};

constexpr Synonym kCleavageSynonyms[] = {
    {"fehlt", 1},          {"ohne", 1},           {"nicht vorhanden", 1}, {"keine spaltbarkeit", 1},
    {"undeutlich", 2},     {"schlecht", 2},       {"sehr schlecht", 2},   {"gering", 2},
    {"unvollst\xE4ndig", 2}, {"mangelhaft", 2},   {"deutlich", 3},        {"mittel", 3},
    {"mittelm\xE4\xDFig", 3}, {"ziemlich gut", 3}, {"sehr gut", 4},       {"vollst\xE4ndig", 4},
    {"perfekt", 4},        {"ausgezeichnet", 4},  {"sehr vollkommen", 4}, {"h\xF6" "chst vollkommen", 4},
    {"vorz\xFCglich", 4},
};

constexpr Synonym kFractureSynonyms[] = {
    {"glatt", 1},          {"unregelm\xE4\xDFig", 2}, {"rau", 2},          {"rauh", 2},
    {"muschlig", 3},       {"muschelartig", 3},   {"kleinmuschelig", 3}, {"kleinmuschlig", 3},
    {"flachmuschelig", 3}, {"flachmuschlig", 3},  {"hakenf\xF6rmig", 4}, {"hackig", 4},
    {"spr\xF6" "d", 5},    {"br\xFC" "chig", 5},  {"splitterig", 6},   {"schneidbar", 7},
    {"sektil", 7},         {"fasrig", 8},         {"faserartig", 8},   {"blaettrig", 9},
    {"bl\xE4ttchenartig", 9}, {"schuppig", 9},    {"biegsam", 10},     {"dehnbar", 10},
    {"h\xE4mmerbar", 10},  {"plastisch", 10},     {"duktil", 10},      {"schmiedbar", 10},
    {"erdartig", 11},      {"zerreiblich", 11},   {"k\xF6rnelig", 12},
};

constexpr Synonym kLustreSynonyms[] = {
    {"perl", 1},           {"perlmutter", 1},     {"perlmutterartig", 1}, {"perlmuttartig", 1},
    {"seidig", 2},         {"seidenartig", 2},    {"glasig", 3},       {"glasartig", 3},
    {"fettig", 4},         {"fettartig", 4},      {"\xF6lig", 4},      {"harzig", 5},
    {"harzartig", 5},      {"pechartig", 5},      {"pech", 5},         {"diamantartig", 6},
    {"adamantin", 6},      {"metallisch", 7},     {"metallartig", 12}, {"halbmetallisch", 12},
    {"submetallisch", 12}, {"wachsartig", 8},     {"wachsig", 8},      {"stumpf", 9},
    {"glanzlos", 9},       {"erdig", 9},          {"samtig", 10},      {"samtartig", 10},
    {"opalisierend", 11},  {"opalartig", 11},
};

struct ListWords {
  std::span<const std::string_view> entries;
  std::span<const Synonym> synonyms;
};

ListWords wordsOf(ChoiceList list) {
  switch (list) {
    case ChoiceList::CrystalSystem:
      return {kCrystalSystemChoiceNames, kCrystalSystemSynonyms};
    case ChoiceList::Cleavage:
      return {kCleavageChoiceNames, kCleavageSynonyms};
    case ChoiceList::Fracture:
      return {kFractureChoiceNames, kFractureSynonyms};
    case ChoiceList::Lustre:
      break;
  }
  return {kLustreChoiceNames, kLustreSynonyms};
}

// "Glasglanz", "Metallglanz": the lustre words with "glanz" behind them.
std::string withoutGlanz(const std::string& folded) {
  constexpr std::string_view suffix = "glanz";
  if (folded.size() > suffix.size() &&
      folded.compare(folded.size() - suffix.size(), suffix.size(), suffix) == 0) {
    return folded.substr(0, folded.size() - suffix.size());
  }
  return folded;
}

}  // namespace

std::string foldChoiceWord(std::string_view text) {
  std::string out;
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == ' ' || c == '-' || c == '.' || c == '_') continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<unsigned char>(c + 32);
    switch (c) {
      case 0xE4: out += "ae"; break;
      case 0xF6: out += "oe"; break;
      case 0xFC: out += "ue"; break;
      case 0xDF: out += "ss"; break;
      default: out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

// "ps.kubisch", "pseudokubisch": the descriptions' pseudo-systems are
// searched as the system itself (there is no separate search for them).
static std::string withoutPseudo(const std::string& folded) {
  for (std::string_view prefix : {std::string_view("pseudo"), std::string_view("ps")}) {
    if (folded.size() > prefix.size() && folded.compare(0, prefix.size(), prefix) == 0) {
      return folded.substr(prefix.size());
    }
  }
  return folded;
}

int choiceIndexOfWord(ChoiceList list, std::string_view word) {
  const ListWords words = wordsOf(list);
  std::string folded = foldChoiceWord(word);
  if (folded.empty()) return 0;
  if (list == ChoiceList::CrystalSystem) {
    const std::string system = withoutPseudo(folded);
    if (system != folded) {
      const int index = choiceIndexOfWord(list, system);
      return index == 1 ? 0 : index;  // nothing is pseudo-amorphous
    }
  }
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < words.entries.size(); ++i) {
      if (foldChoiceWord(words.entries[i]) == folded) return static_cast<int>(i + 1);
    }
    for (const Synonym& s : words.synonyms) {
      if (foldChoiceWord(s.word) == folded) return s.index;
    }
    if (list != ChoiceList::Lustre) break;
    const std::string stripped = withoutGlanz(folded);
    if (stripped == folded || stripped.empty()) break;
    folded = stripped;
  }
  return 0;
}

int colourChoiceOfWord(const ColourTable& colours, std::string_view word) {
  const std::string folded = foldChoiceWord(word);
  if (folded.empty()) return 0;
  const std::vector<std::string>& choices = colours.colourChoices();
  for (std::size_t k = 0; k < choices.size(); ++k) {
    if (foldChoiceWord(choices[k]) == folded) return static_cast<int>(k + 1);
  }
  const auto rows = colourTableRows();
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (foldChoiceWord(rows[row].name) == folded) {
      return colours.colourGroupOf(static_cast<std::uint16_t>(row + 1));
    }
  }
  return 0;
}

std::vector<std::string> choiceWordsOf(ChoiceList list, int index) {
  const ListWords words = wordsOf(list);
  std::vector<std::string> out;
  if (index < 1 || index > static_cast<int>(words.entries.size())) return out;
  out.emplace_back(words.entries[static_cast<std::size_t>(index - 1)]);
  for (const Synonym& s : words.synonyms) {
    if (s.index == index && foldChoiceWord(s.word) != foldChoiceWord(out.front())) {
      out.emplace_back(s.word);
    }
  }
  return out;
}

}  // namespace kalvor
