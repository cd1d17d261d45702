// "kalvor-cli fundort": localities of the collection — new, list, show,
// change, delete — with the rules of the locality entry and delete forms.
#include <algorithm>
#include <cstdio>
#include <string>

#include "collection/locality.h"
#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
#include "pages/collection_description.h"
#include "refdb/names.h"
#include "tools/cli/description_page.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

void printUsageLocality() {
  printLine(
      "Aufruf: kalvor-cli fundort neu --name TEXT [--ort TEXT] [--region TEXT] [--land TEXT]\n"
      "                           [--karte TEXT] [--beschreibung TEXT] [--minerale \"Name, Name\"]\n"
      "        kalvor-cli fundort liste\n"
      "        kalvor-cli fundort zeige N\n"
      "        kalvor-cli fundort aendere N [Optionen wie bei neu]\n"
      "        kalvor-cli fundort loesche N [--mit-stufen | --ersatz M]");
}

// Takes the options of the form into the record; prints the error and
// returns false for a text that cannot be stored or a name that is no mineral.
bool takeFields(Arguments& args, const MineralNameList& names, Locality& loc) {
  std::string minerals;
  bool mineralsGiven = false;
  const bool textsOk = takeTextField(args, "--name", "Fundort", loc.name) &&
                       takeTextField(args, "--ort",
                                     "N\xE4"
                                     "chster Ort",
                                     loc.nearestPlace) &&
                       takeTextField(args, "--region", "Region", loc.region) &&
                       takeTextField(args, "--land", "Land", loc.country) &&
                       takeTextField(args, "--karte", "Kartenreferenz", loc.mapReference) &&
                       takeTextField(args, "--beschreibung", "Beschreibung", loc.description);
  if (!textsOk) return false;
  if (!takeTextField(args, "--minerale", "Minerale", minerals, &mineralsGiven)) return false;
  if (mineralsGiven) {
    const MineralListParse parse = parseMineralListChecked(names, minerals);
    if (parse.firstUnknown) {
      const auto [b, e] = *parse.firstUnknown;
      failWith(formFailure(CollectionMessage::kUnknownMineral, field_controls::kLocalityMinerals,
                           {"Minerale", minerals.substr(b, e - b)}));
      return false;
    }
    // The given minerals replace those entered by hand; minerals of the
    // locality's specimens stay, as the form cannot delete them.
    std::vector<std::uint16_t> list;
    for (std::uint16_t e : loc.minerals)
      if (e & locality_format::kFromSpecimen) list.push_back(e);
    for (std::uint16_t id : parse.ids) addMineralToList(list, static_cast<std::uint16_t>(id - 1), false);
    loc.minerals = std::move(list);
  }
  return true;
}

// The OK of the locality form: the field checks, then the save.
int saveForm(Collection& c, const Locality& loc, bool printNumber) {
  const LocalityFormOutcome out = saveLocalityForm(c, loc);
  // A form error saves nothing and needs no report of the files.
  if (!out.saved() && out.failure != formFailure(CollectionMessage::kSaveFailed))
    return failWith(out.failure);
  if (out.saved() && printNumber) printLine(std::to_string(*out.number));
  return reportSave(c, out.saved());
}

// The locality page of the description window, as text.
int show(OpenCollection& s, std::uint32_t n) {
  const std::optional<Locality> loc = readLocality(s.collection(), n, false);
  if (!loc || loc->deleted()) {
    printError("Den Fundort " + std::to_string(n) + " gibt es nicht.");
    return 1;
  }
  printDescriptionPage(s.reference(), s.dataDir(), s.settings(),
                       [&](DescriptionLayout& layout, const LayoutArea& area) {
                         describeLocality(layout, area, *loc, s.names());
                       });
  return 0;
}

int list(OpenCollection& s) {
  Collection& c = s.collection();
  switchOrderForm(c.localityOrder(), kOrderList);
  for (std::uint32_t n : c.localityOrder().entries) {
    const std::optional<Locality> loc = readLocality(c, n, true);
    if (!loc || loc->deleted()) continue;
    printLine(std::to_string(n) + ": " + localityLine(*loc));
  }
  return 0;
}

}  // namespace

int runLocality(Arguments& args) {
  const std::optional<std::string> verb = args.takeWord();
  if (!verb || args.takeFlag("--hilfe")) {
    printUsageLocality();
    return verb ? 0 : 2;
  }
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir());
  if (!s) return 1;
  Collection& c = s->collection();
  if (*verb == "neu") {
    Locality loc;
    if (!takeFields(args, s->names(), loc)) return 1;
    if (rejectRest(args)) return 2;
    if (loc.name.empty()) {
      printError("Bitte geben Sie den Namen des Fundorts an (--name).");
      return 2;
    }
    return saveForm(c, loc, true);
  }
  if (*verb == "liste") {
    if (rejectRest(args)) return 2;
    return list(*s);
  }
  const std::optional<std::uint32_t> n = parseRecordNumber(args.takeWord(), "des Fundorts");
  if (!n) return 2;
  if (*verb == "zeige") {
    if (rejectRest(args)) return 2;
    return show(*s, *n);
  }
  std::optional<Locality> loc = readLocality(c, *n, false);
  if (!loc || loc->deleted()) {
    printError("Den Fundort " + std::to_string(*n) + " gibt es nicht.");
    return 1;
  }
  if (*verb == "aendere") {
    if (!takeFields(args, s->names(), *loc)) return 1;
    if (rejectRest(args)) return 2;
    return saveForm(c, *loc, false);
  }
  if (*verb == "loesche") {
    const bool withSpecimens = args.takeFlag("--mit-stufen");
    const std::optional<std::string> replacementWord = args.takeOption("--ersatz");
    if (rejectRest(args)) return 2;
    std::uint32_t replacement = 0;
    if (replacementWord) {
      if (withSpecimens) {
        printError("--mit-stufen und --ersatz schlie\xDF" "en einander aus.");
        return 2;
      }
      if (*replacementWord != "0") {
        const std::optional<std::uint32_t> r = parseRecordNumber(replacementWord, "des Ersatzfundorts");
        if (!r) return 2;
        const std::optional<Locality> target = readLocality(c, *r, true);
        if (!target || target->deleted() || *r == *n) {
          printError("Den Ersatzfundort " + std::to_string(*r) + " gibt es nicht.");
          return 1;
        }
        replacement = *r;
      }
    }
    const CollectionMessage m = deleteLocalityFromForm(c, *n, withSpecimens, replacement);
    if (m != CollectionMessage::kNone && m != CollectionMessage::kSaveFailed) return failWith(m);
    return reportSave(c, m == CollectionMessage::kNone);
  }
  printError("Unbekannte Aktion \"" + *verb + "\" f\xFCr fundort.");
  printUsageLocality();
  return 2;
}

}  // namespace kalvor::cli
