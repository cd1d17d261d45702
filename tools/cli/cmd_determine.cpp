// "kalvor-cli bestimme": the determination of an unknown mineral from the
// observed properties, run on the reference files of the data folder exactly
// as the dialog "Mineralbestimmung" runs it; "kalvor-cli farben" lists the
// colour choices.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "collection/locality.h"
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
    "  --haerte TEXT             Härte oder Härtebereich, z.B. 7, 4-6, 5,5\n"
    "  --dichte TEXT             Dichte oder Dichtebereich, z.B. 2.65, 3-6.5, 2,65\n"
    "  --kristallsystem WORT     amorph, triklin, monoklin, rhombisch, tetragonal,\n"
    "                            trigonal, hexagonal, kubisch\n"
    "  --spaltbarkeit WORT       keine, unvollkommen, gut, vollkommen\n"
    "  --bruch WORT              eben, uneben, muschelig, hakig, spröde, splittrig, mild,\n"
    "                            faserig, blättrig, verformbar, erdig, körnig\n"
    "  --glanz WORT              perlmutt, seiden, glas, fett, harz, diamant, metall,\n"
    "                            wachs, matt, samt, opal, halbmetall\n"
    "  --strukturelemente TEXT   Elemente und Gruppen: U+Pb (Uran und Blei),\n"
    "                            Zn,Cu (Zink oder Kupfer), !Pb (kein Blei), SO4, ree\n"
    "  --systematik TEXT         Systematik nach Lapis, z.B. II, VIII/J, IX/A.2-60\n"
    "  --ima-anerkannt ja|nein        IMA-anerkannte Minerale (Vorgabe: ja)\n"
    "  --nicht-ima-anerkannt ja|nein  nicht IMA-anerkannte Minerale (Vorgabe: ja)\n"
    "  --diskreditiert ja|nein        diskreditierte Minerale (Vorgabe: nein)\n"
    "  --fundstelle N            nur Minerale der Fundstelle N der Sammlung\n"
    "  --genauigkeit exakt|annaehernd|grob\n"
    "                            Suchgenauigkeit (Vorgabe: exakt). \"annaehernd\" fasst\n"
    "                            Farbe und Strichfarbe lockerer, \"grob\" nimmt zudem\n"
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

// Index (1-based) of `word` in a choice list; 0 when not given, nothing when unknown.
template <std::size_t N>
std::optional<int> choiceIndex(Arguments& args, std::string_view option,
                               const std::array<std::string_view, N>& names) {
  const std::optional<std::string> word = args.takeOption(option);
  if (!word) return 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == *word) return static_cast<int>(i + 1);
  }
  usageError("Unbekannter Wert \"" + *word + "\" f\xFC" "r " + std::string(option) + ".");
  return std::nullopt;
}

// A colour choice by its name or number; 0 when not given, nothing when unknown.
std::optional<int> colourIndex(Arguments& args, std::string_view option,
                               const ColourTable& colours) {
  const std::optional<std::string> word = args.takeOption(option);
  if (!word) return 0;
  const std::vector<std::string>& choices = colours.colourChoices();
  for (std::size_t k = 0; k < choices.size(); ++k) {
    if (choices[k] == *word) return static_cast<int>(k + 1);
  }
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
  usageError("Unbekannte Angabe \"" + args.rest().front() + "\". \"kalvor-cli bestimme --hilfe\" zeigt alle Optionen.");
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
    in.exactChecked = *precision == "exakt";
    in.approximateChecked = *precision == "annaehernd" || *precision == "ann\xE4hernd";
    if (!in.exactChecked && !in.approximateChecked && *precision != "grob") {
      usageError("F\xFC" "r --genauigkeit ist \"exakt\", \"annaehernd\" oder \"grob\" anzugeben.");
      return 2;
    }
  }
  const auto streak = colourIndex(args, "--strichfarbe", ref.colours());
  const auto colour = colourIndex(args, "--farbe", ref.colours());
  const auto system = choiceIndex(args, "--kristallsystem", kCrystalSystemChoiceNames);
  const auto cleavage = choiceIndex(args, "--spaltbarkeit", kCleavageChoiceNames);
  const auto fracture = choiceIndex(args, "--bruch", kFractureChoiceNames);
  const auto lustre = choiceIndex(args, "--glanz", kLustreChoiceNames);
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
  in.hardness = args.takeOption("--haerte").value_or("");
  in.density = args.takeOption("--dichte").value_or("");
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
    usageError("Unbekannte Angabe \"" + args.rest().front() + "\".");
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
