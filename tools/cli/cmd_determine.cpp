// "kalvor-cli bestimme": the determination of an unknown mineral from the
// observed properties, run on the reference files of the data folder exactly
// as the dialog "Mineralbestimmung" runs it; "kalvor-cli farben" lists the
// colour choices.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "collection/locality.h"
#include "base/cp1252.h"
#include "determination/choice_words.h"
#include "determination/colours.h"
#include "determination/determination_search.h"
#include "determination/reference_sources.h"
#include "refdb/strings.h"
#include "tools/cli/cli.h"
#include "tools/cli/open_data_folder.h"

namespace kalvor::cli {
namespace {

// The minerals the collector recorded for a locality, for the "Fundstelle" criterion.
class CollectionLocalityMinerals : public LocalityMinerals {
 public:
  explicit CollectionLocalityMinerals(Collection& collection) : collection_(collection) {}
  std::optional<std::vector<std::uint16_t>> mineralsOfLocality(std::uint16_t number) const override {
    const auto locality = readLocality(collection_, number);
    if (!locality) return std::nullopt;
    return locality->minerals;
  }

 private:
  Collection& collection_;
};

const char* const kDetermineHelp =
    "Aufruf: kalvor-cli [--daten ORDNER] bestimme [OPTIONEN]\n"
    "\n"
    "Sucht die Minerale, auf die alle angegebenen Eigenschaften zutreffen, und gibt\n"
    "ihre Namen in der Reihenfolge der Mineralliste aus, danach ihre Anzahl.\n"
    "Nicht angegebene Eigenschaften schränken die Suche nicht ein.\n"
    "\n"
    "  --strichfarbe FARBE       Strichfarbe: Name oder Nummer (siehe \"kalvor-cli farben\")\n"
    "  --farbe FARBE             Farbe: Name oder Nummer (siehe \"kalvor-cli farben\")\n"
    "  --haerte TEXT             H\xC3\xA4rte oder H\xC3\xA4rtebereich, z.B. 7, 4-6, 5,5\n"
    "  --dichte TEXT             Dichte oder Dichtebereich, z.B. 2.65, 3-6.5, 2,65\n"
    "  --kristallsystem WORT     amorph, triklin, monoklin, rhombisch, tetragonal,\n"
    "                            trigonal, hexagonal, kubisch\n"
    "  --spaltbarkeit WORT       keine, unvollkommen, gut, vollkommen\n"
    "  --bruch WORT              eben, uneben, muschelig, hakig, spr\xC3\xB6" "de, splittrig, mild,\n"
    "                            faserig, bl\xC3\xA4ttrig, verformbar, erdig, k\xC3\xB6rnig\n"
    "  --glanz WORT              perlmutt, seiden, glas, fett, harz, diamant, metall,\n"
    "                            wachs, matt, samt, opal, halbmetall\n"
    "                            Gro\xC3\x9F- und Kleinschreibung ist gleich; die W\xC3\xB6rter der\n"
    "                            Beschreibungen (muschlig, perl, sehr vollkommen) und\n"
    "                            gebr\xC3\xA4uchliche andere (orthorhombisch, metallisch,\n"
    "                            Glasglanz, deutlich, ausgezeichnet) gelten auch.\n"
  "  --strukturelemente TEXT   Elemente und Gruppen: U+Pb (Uran und Blei),\n"
    "                            Zn,Cu (Zink oder Kupfer), !Pb (kein Blei), SO4, ree\n"
    "  --systematik TEXT         Systematik nach Lapis, z.B. II, VIII/J, IX/A.2-60\n"
    "  --ima-anerkannt ja|nein        IMA-anerkannte Minerale (Vorgabe: ja)\n"
    "  --nicht-ima-anerkannt ja|nein  nicht IMA-anerkannte Minerale (Vorgabe: ja)\n"
    "  --diskreditiert ja|nein        diskreditierte Minerale (Vorgabe: nein)\n"
    "  --fundstelle N            nur Minerale der Fundstelle N der Sammlung\n"
    "  --genauigkeit exakt|annaehernd|grob\n"
    "                            Suchgenauigkeit (Vorgabe: exakt). \"annaehernd\" fasst\n"
    "                            Farbe und Strichfarbe lockerer und l\xC3\xA4sst bei H\xC3\xA4rte\n"
    "                            und Dichte \xC2\xB1\xC2\xBD Mohs und \xC2\xB1" "0,1 g/cm\xC2\xB3 zu, \"grob\"\n"
    "                            \xC2\xB1" "1 Mohs und \xC2\xB1" "0,25 g/cm\xC2\xB3 und nimmt zudem\n"
    "                            Minerale mit fehlenden Angaben hinzu.\n"
    "\n"
    "Fehlen \"kalvor.fl\" oder \"kalvor.si\" im Datenordner oder passen sie nicht\n"
    "zur Mineraldatei, werden sie neu erstellt.\n";

const char* const kColoursHelp =
    "Aufruf: kalvor-cli [--daten ORDNER] farben\n"
    "\n"
    "Listet die Farbauswahl der Mineralbestimmung mit ihren Nummern auf. Die Namen\n"
    "und Nummern gelten für --farbe und --strichfarbe von \"kalvor-cli bestimme\".\n";

// Prints a Windows-1252 message about a wrong option.
void usageError(const std::string& text) { printError(text); }

// Index (1-based) of the typed word in a choice list; 0 when not given,
// nothing when the list has no such word.
std::optional<int> choiceIndex(Arguments& args, std::string_view option, ChoiceList list) {
  const std::optional<std::string> word = args.takeOption(option);
  if (!word) return 0;
  if (const int index = choiceIndexOfWord(list, *word)) return index;
  usageError("Unbekannter Wert \"" + *word + "\" f\xFC" "r " + std::string(option) +
             ". \"kalvor-cli bestimme --hilfe\" zeigt die Werte.");
  return std::nullopt;
}

// A hardness or density as the fields take it: a number with a decimal point
// or comma (hardness also "½"), or two of them joined by "-"; blanks ignored.
bool isReadableNumberText(const std::string& text, bool hardness) {
  std::string s;
  for (char c : text) {
    if (c != ' ') s.push_back(c);
  }
  auto number = [&](std::string_view part) {
    std::size_t pos = 0;
    while (pos < part.size() && part[pos] >= '0' && part[pos] <= '9') ++pos;
    if (pos == 0) return false;
    if (pos == part.size()) return true;
    if (hardness && static_cast<unsigned char>(part[pos]) == 0xBD) return pos + 1 == part.size();
    if (part[pos] != '.' && part[pos] != ',') return false;
    ++pos;
    while (pos < part.size() && part[pos] >= '0' && part[pos] <= '9') ++pos;
    return pos == part.size();
  };
  const std::size_t dash = s.find('-');
  if (dash == std::string::npos) return number(s);
  return number(std::string_view(s).substr(0, dash)) && number(std::string_view(s).substr(dash + 1));
}

// The text of --haerte or --dichte; empty when not given, nothing when unreadable.
std::optional<std::string> numberOption(Arguments& args, std::string_view option, bool hardness) {
  const std::optional<std::string> text = args.takeOption(option);
  if (!text) return std::string();
  if (isReadableNumberText(*text, hardness)) return *text;
  usageError(std::string(hardness ? "Die H\xE4rte" : "Die Dichte") + " \"" + *text +
             "\" ist keine Zahl und kein Bereich (z.B. " + (hardness ? "7, 4-6, 5,5" : "2,65, 3-6,5") +
             ").");
  return std::nullopt;
}

// A colour choice by its name or number; 0 when not given, nothing when unknown.
std::optional<int> colourIndex(Arguments& args, std::string_view option,
                               const ColourTable& colours) {
  const std::optional<std::string> word = args.takeOption(option);
  if (!word) return 0;
  const std::vector<std::string>& choices = colours.colourChoices();
  if (const int choice = colourChoiceOfWord(colours, *word)) return choice;
  char* end = nullptr;
  const long number = std::strtol(word->c_str(), &end, 10);
  if (!word->empty() && *end == '\0' && number >= 1 &&
      number <= static_cast<long>(choices.size())) {
    return static_cast<int>(number);
  }
  usageError("Unbekannte Farbe \"" + *word + "\" f\xFC" "r " + std::string(option) +
             ". \"kalvor-cli farben\" zeigt die Farbauswahl.");
  return std::nullopt;
}

// "ja" or "nein"; the default when not given, nothing when neither.
std::optional<bool> yesNo(Arguments& args, std::string_view option, bool byDefault) {
  const std::optional<std::string> word = args.takeOption(option);
  if (!word) return byDefault;
  if (*word == "ja") return true;
  if (*word == "nein") return false;
  usageError("F\xFC" "r " + std::string(option) + " ist \"ja\" oder \"nein\" anzugeben.");
  return std::nullopt;
}

bool noLeftovers(const Arguments& args) {
  if (args.rest().empty()) return true;
  // The words are still UTF-8 as typed; the message is made in Windows-1252.
  usageError("Unbekannte Angabe \"" + utf8ToCp1252Lossy(args.rest().front()) +
             "\". \"kalvor-cli bestimme --hilfe\" zeigt alle Optionen.");
  return false;
}

}  // namespace

int runDetermine(Arguments& args) {
  if (args.takeFlag("--hilfe")) {
    std::fputs(kDetermineHelp, stdout);
    return 0;
  }
  const std::unique_ptr<OpenDataFolder> session = OpenDataFolder::open(args.dataDir());
  if (!session) return 1;
  ReferenceData& ref = session->data();
  DeterminationInput in;
  const std::optional<std::string> precision = args.takeOption("--genauigkeit");
  if (precision) {
    const std::string folded = foldChoiceWord(*precision);
    in.exactChecked = folded == "exakt";
    in.approximateChecked = folded == "annaehernd";
    if (!in.exactChecked && !in.approximateChecked && folded != "grob") {
      usageError("F\xFC" "r --genauigkeit ist \"exakt\", \"annaehernd\" oder \"grob\" anzugeben.");
      return 2;
    }
  }
  const auto streak = colourIndex(args, "--strichfarbe", ref.colours());
  const auto colour = colourIndex(args, "--farbe", ref.colours());
  const auto system = choiceIndex(args, "--kristallsystem", ChoiceList::CrystalSystem);
  const auto cleavage = choiceIndex(args, "--spaltbarkeit", ChoiceList::Cleavage);
  const auto fracture = choiceIndex(args, "--bruch", ChoiceList::Fracture);
  const auto lustre = choiceIndex(args, "--glanz", ChoiceList::Lustre);
  const auto ima = yesNo(args, "--ima-anerkannt", true);
  const auto notIma = yesNo(args, "--nicht-ima-anerkannt", true);
  const auto discredited = yesNo(args, "--diskreditiert", false);
  if (!streak || !colour || !system || !cleavage || !fracture || !lustre || !ima || !notIma ||
      !discredited) {
    return 2;
  }
  in.streak = *streak;
  in.colour = *colour;
  in.crystalSystem = *system;
  in.cleavage = *cleavage;
  in.fracture = *fracture;
  in.lustre = *lustre;
  in.imaRecognised = *ima;
  in.notImaRecognised = *notIma;
  in.discredited = *discredited;
  const auto hardness = numberOption(args, "--haerte", true);
  const auto density = numberOption(args, "--dichte", false);
  if (!hardness || !density) return 2;
  in.hardness = *hardness;
  in.density = *density;
  in.elementExpression = args.takeOption("--strukturelemente").value_or("");
  in.systematics = args.takeOption("--systematik").value_or("");
  if (const auto locality = args.takeOption("--fundstelle")) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(locality->c_str(), &end, 10);
    if (locality->empty() || *end != '\0' || n == 0 || n > 0xFFFF ||
        !readLocality(ref.collection(), static_cast<std::uint32_t>(n), true)) {
      usageError("Eine Fundstelle Nummer \"" + *locality + "\" gibt es in der Sammlung nicht.");
      return 2;
    }
    // The dialog's list starts with "unbekannt"; any later item restricts the search.
    in.localityIndex = 1;
    in.localityNumber = static_cast<std::uint16_t>(n);
  }
  if (!noLeftovers(args)) return 2;

  const ReferenceMineralFacts facts(ref.database(), ref.names());
  const ColourTableSlots colourSlots(ref.colours());
  const CollectionLocalityMinerals localities(ref.collection());
  DeterminationCriteria saved;
  const DeterminationOutcome out =
      runDetermination(in, saved, {ref.searchIndex(), colourSlots, facts, &localities});
  if (!out.succeeded()) {
    printError(loadResourceString(static_cast<unsigned>(out.messageId) - kStringIdBase));
    if (out.selectionEnd > out.selectionBegin) {
      const std::string expression = in.elementExpression;
      printError("Markiert: \"" +
                 expression.substr(out.selectionBegin, out.selectionEnd - out.selectionBegin) +
                 "\"");
    }
    return 1;
  }
  for (const SearchResultEntry& e : out.results) printLine(e.name);
  printLine("Gefunden: " + std::to_string(out.results.size()));
  return 0;
}

int runColours(Arguments& args) {
  if (args.takeFlag("--hilfe")) {
    std::fputs(kColoursHelp, stdout);
    return 0;
  }
  if (!args.rest().empty()) {
    usageError("Unbekannte Angabe \"" + utf8ToCp1252Lossy(args.rest().front()) + "\".");
    return 2;
  }
  ColourTable colours;
  colours.buildColourGroups();
  const std::vector<std::string>& choices = colours.colourChoices();
  for (std::size_t k = 0; k < choices.size(); ++k) {
    std::string number = std::to_string(k + 1);
    number.insert(0, number.size() < 3 ? 3 - number.size() : 0, ' ');
    printLine(number + "  " + choices[k]);
  }
  return 0;
}

}  // namespace kalvor::cli
