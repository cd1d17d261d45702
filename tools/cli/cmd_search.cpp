// "kalvor-cli suche": the locality search ("Fundortsuche") and the collection
// evaluation ("Sammlungsauswertung") over the collection in the data folder,
// with the dialogs' fields as options; the records found are printed in
// their sort order.
#include <memory>
#include <optional>
#include <string>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "determination/reference_sources.h"
#include "search/collection_search.h"
#include "tools/cli/open_collection.h"
#include "tools/cli/piece_search_options.h"

namespace kalvor::cli {
namespace {

void printUsageSearch() {
  printLine(
      "Aufruf: kalvor-cli suche fundort [--minerale \"Name, Name\"] [--strukturelemente AUSDRUCK]\n"
      "                         [--systematik TEXT] [--region TEXT] [--land TEXT] [--ort TEXT]\n"
      "        kalvor-cli suche stufe [--minerale \"Name, Name\"] [--strukturelemente AUSDRUCK]\n"
      "                         [--systematik TEXT] [--fundort N] [--standort TEXT] [--index TEXT]\n"
      "                         [--datum TEXT] [--art sammlung|tausch|beide]\n"
      "                         [--erwerb gekauft,gefunden,getauscht]\n"
      "Strukturelemente und Systematik brauchen die Mineraldatenbank (kalvor.mi, kalvor.db).");
}

}  // namespace

int showSearchMessage(const CollectionSearchOutcome& out, const std::string& expression) {
  printError(out.captionText() + ": " + out.messageText());
  if (out.selectionEnd > out.selectionBegin && out.selectionEnd <= expression.size()) {
    printError("Markiert: \"" +
               expression.substr(out.selectionBegin, out.selectionEnd - out.selectionBegin) +
               "\"");
  }
  return 1;
}

namespace {

int searchLocalityCommand(Arguments& args, OpenCollection& session,
                          const MineralCriteriaSources& sources) {
  LocalitySearchInput in;
  in.minerals = args.takeOption("--minerale").value_or("");
  in.elementExpression = args.takeOption("--strukturelemente").value_or("");
  in.systematics = args.takeOption("--systematik").value_or("");
  in.nearestPlace = args.takeOption("--ort").value_or("");
  in.region = args.takeOption("--region");
  in.country = args.takeOption("--land");
  if (rejectRest(args)) return 2;
  // A text longer than the records' field could never match.
  if (auto f = checkFieldText(field_controls::kSearchNearestPlace, in.nearestPlace)) return failWith(*f);
  Collection& c = session.collection();
  const CollectionSearchOutcome out = searchLocalities(c, in, sources);
  if (!out.succeeded()) return showSearchMessage(out, in.elementExpression);
  for (std::uint32_t n : membersInOrder(out.records, c.localityOrder())) {
    const std::optional<Locality> loc = readLocality(c, n, true);
    if (loc) printLine(std::to_string(n) + ": " + localityLine(*loc));
  }
  return 0;
}

// Reads "--erwerb gekauft,gefunden" into the three boxes; false for an unknown word.
bool takeAcquisitions(Arguments& args, SpecimenSearchInput& in) {
  const std::optional<std::string> v = args.takeOption("--erwerb");
  if (!v) return true;
  in.bought = in.found = in.swapped = false;
  std::size_t from = 0;
  while (from <= v->size()) {
    std::size_t to = v->find(',', from);
    if (to == std::string::npos) to = v->size();
    const std::string word = v->substr(from, to - from);
    if (word == "gekauft") {
      in.bought = true;
    } else if (word == "gefunden") {
      in.found = true;
    } else if (word == "getauscht") {
      in.swapped = true;
    } else if (!word.empty()) {
      printError("--erwerb ist eine Liste aus gekauft, gefunden und getauscht.");
      return false;
    }
    from = to + 1;
  }
  return true;
}

}  // namespace

bool takeSpecimenSearchOptions(Arguments& args, SpecimenSearchInput& in) {
  in.minerals = args.takeOption("--minerale").value_or("");
  in.elementExpression = args.takeOption("--strukturelemente").value_or("");
  in.systematics = args.takeOption("--systematik").value_or("");
  in.storagePlace = args.takeOption("--standort").value_or("");
  in.index = args.takeOption("--index").value_or("");
  in.date = args.takeOption("--datum").value_or("");
  if (const std::optional<std::string> v = args.takeOption("--fundort")) {
    if (*v != "0") {
      const std::optional<std::uint32_t> n = parseRecordNumber(v, "des Fundorts");
      if (!n) return false;
      in.locality = *n;
    }
  }
  if (const std::optional<std::string> v = args.takeOption("--art")) {
    if (*v == "sammlung") {
      in.exchangePieces = false;
    } else if (*v == "tausch") {
      in.collectionPieces = false;
    } else if (*v != "beide") {
      printError("--art ist sammlung, tausch oder beide.");
      return false;
    }
  }
  return takeAcquisitions(args, in);
}

namespace {

int searchSpecimenCommand(Arguments& args, OpenCollection& session,
                          const MineralCriteriaSources& sources) {
  SpecimenSearchInput in;
  if (!takeSpecimenSearchOptions(args, in)) return 2;
  if (rejectRest(args)) return 2;
  if (auto f = checkFieldText(field_controls::kSearchStoragePlace, in.storagePlace)) return failWith(*f);
  if (auto f = checkFieldText(field_controls::kSearchIndex, in.index)) return failWith(*f);
  Collection& c = session.collection();
  const CollectionSearchOutcome out = searchSpecimens(c, in, sources);
  if (!out.succeeded()) return showSearchMessage(out, in.elementExpression);
  for (std::uint32_t n : membersInOrder(out.records, c.specimenOrder())) {
    const std::optional<Specimen> s = readSpecimen(c, n);
    if (!s) continue;
    std::string where = collectionMessageText(CollectionMessage::kUnknownLocality);
    if (s->localityNumber() != 0) {
      if (const std::optional<Locality> loc = readLocality(c, s->localityNumber(), true))
        where = localityLine(*loc);
    }
    printLine(std::to_string(n) + ": " + s->index + " | " +
              specimenMineralNames(session.names(), *s, true, ", ") + " | " + where);
  }
  return 0;
}

}  // namespace

int runSearch(Arguments& args) {
  const std::optional<std::string> what = args.takeWord();
  if (!what || args.takeFlag("--hilfe")) {
    printUsageSearch();
    return what ? 0 : 2;
  }
  if (*what != "fundort" && *what != "stufe") {
    printError("Unbekannte Suche \"" + *what + "\": fundort oder stufe.");
    printUsageSearch();
    return 2;
  }
  std::unique_ptr<OpenCollection> session = OpenCollection::open(args.dataDir(), Collection::Access::kRead);
  if (!session) return 1;
  // The mineral criteria read the search index and the Lapis numbers.
  ReferenceData& ref = session->reference();
  const ReferenceMineralFacts facts(ref.database(), ref.names());
  MineralCriteriaSources sources;
  sources.index = &ref.searchIndex();
  sources.minerals = &facts;
  return *what == "fundort" ? searchLocalityCommand(args, *session, sources)
                            : searchSpecimenCommand(args, *session, sources);
}

}  // namespace kalvor::cli
