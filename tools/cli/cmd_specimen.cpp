// "kalvor-cli stufe": specimens of the collection — new, list, show, change,
// delete — through the same collect-and-save flow as the entry form.
#include <cstdio>
#include <string>

#include "collection/locality.h"
#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "pages/collection_description.h"
#include "tools/cli/description_page.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

void printUsageSpecimen() {
  printLine(
      "Aufruf: kalvor-cli stufe neu --minerale \"Name, Name\" [--begleitminerale \"Name, Name\"]\n"
      "                         [--fundort N] [--index TEXT] [--standort TEXT] [--groesse TEXT]\n"
      "                         [--anzahl N] [--datum TEXT] [--wert ZAHL] [--kaufpreis ZAHL]\n"
      "                         [--art sammlung|tausch] [--erwerb gekauft|gefunden|getauscht]\n"
      "                         [--beschreibung TEXT]\n"
      "        kalvor-cli stufe liste\n"
      "        kalvor-cli stufe zeige N\n"
      "        kalvor-cli stufe aendere N [Optionen wie bei neu]\n"
      "        kalvor-cli stufe loesche N");
}

// Takes the options into the form fields; prints the error and returns false
// for a value the form could not have.
bool takeFields(Arguments& args, Collection& c, SpecimenFormFields& f) {
  // Texts that the record cannot store are refused here, with the field named.
  const bool textsOk = takeTextField(args, "--minerale", "Minerale", f.mainMinerals) &&
                       takeTextField(args, "--begleitminerale", "Begleitminerale", f.accompanyingMinerals) &&
                       takeTextField(args, "--index", "Index", f.index) &&
                       takeTextField(args, "--standort", "Standort", f.storagePlace) &&
                       takeTextField(args, "--groesse",
                                     "Stufengr\xF6\xDF"
                                     "e",
                                     f.size) &&
                       takeTextField(args, "--anzahl", "Anzahl", f.count) &&
                       takeTextField(args, "--datum", "Fund-/Kaufdatum", f.date) &&
                       takeTextField(args, "--wert", "Wert", f.value) &&
                       takeTextField(args, "--kaufpreis", "Kaufpreis", f.purchasePrice) &&
                       takeTextField(args, "--beschreibung", "Beschreibung", f.description);
  if (!textsOk) return false;
  if (auto v = args.takeOption("--art")) {
    if (*v == "sammlung") {
      f.collectionPiece = true;
    } else if (*v == "tausch") {
      f.collectionPiece = false;
    } else {
      printError("--art ist sammlung oder tausch.");
      return false;
    }
  }
  if (auto v = args.takeOption("--erwerb")) {
    if (*v == "gekauft") {
      f.acquisition = Acquisition::kBought;
    } else if (*v == "gefunden") {
      f.acquisition = Acquisition::kFound;
    } else if (*v == "getauscht") {
      f.acquisition = Acquisition::kSwapped;
    } else {
      printError("--erwerb ist gekauft, gefunden oder getauscht.");
      return false;
    }
  }
  if (auto v = args.takeOption("--fundort")) {
    if (*v == "0") {
      f.localityItem = 0;
    } else {
      const std::optional<std::uint32_t> n = parseRecordNumber(v, "des Fundorts");
      if (!n) return false;
      const std::optional<Locality> loc = readLocality(c, *n, true);
      if (!loc || loc->deleted()) {
        printError("Den Fundort " + std::to_string(*n) + " gibt es nicht.");
        return false;
      }
      f.localityItem = static_cast<std::uint16_t>(*n + 1);
    }
  }
  return true;
}

std::string localityText(Collection& c, const Specimen& s) {
  if (s.localityValue > 1) {
    if (const std::optional<Locality> loc = readLocality(c, s.localityNumber(), true))
      return localityLine(*loc);
  }
  return collectionMessageText(CollectionMessage::kUnknownLocality);
}

// The specimen page of the description window, as text.
int show(OpenCollection& session, std::uint32_t n) {
  Collection& c = session.collection();
  const std::optional<Specimen> s = readSpecimen(c, n);
  if (!s || s->deleted()) {
    printError("Die Stufe " + std::to_string(n) + " gibt es nicht.");
    return 1;
  }
  std::optional<Locality> locality;
  if (s->localityNumber() != 0) {
    locality = readLocality(c, s->localityNumber(), false);
    if (locality && locality->deleted()) locality.reset();
  }
  printDescriptionPage(session.reference(), session.dataDir(), session.settings(),
                       [&](DescriptionLayout& layout, const LayoutArea& area) {
                         describeSpecimen(layout, area, *s, session.names(), locality);
                       });
  return 0;
}

int list(OpenCollection& session) {
  Collection& c = session.collection();
  switchOrderForm(c.specimenOrder(), kOrderList);
  for (std::uint32_t n : c.specimenOrder().entries) {
    const std::optional<Specimen> s = readSpecimen(c, n);
    if (!s || s->deleted()) continue;
    printLine(std::to_string(n) + ": " + s->index + " | " +
              specimenMineralNames(session.names(), *s, true, ", ") + " | " + localityText(c, *s));
  }
  return 0;
}

int save(Collection& c, const SpecimenFormFields& fields, std::uint32_t existing) {
  const FormResult r = collectAndSaveSpecimen(c, fields, existing);
  if (r.status == FormStatus::kNeedsNewLocality) return failWith(CollectionMessage::kNoNewLocality);
  if (r.status != FormStatus::kSaved && r.failure != formFailure(CollectionMessage::kSaveFailed))
    return failWith(r.failure);
  if (r.status == FormStatus::kSaved && existing == 0) printLine(std::to_string(r.specimen.number));
  return reportSave(c, r.status == FormStatus::kSaved);
}

}  // namespace

int runSpecimen(Arguments& args) {
  const std::optional<std::string> verb = args.takeWord();
  if (!verb || args.takeFlag("--hilfe")) {
    printUsageSpecimen();
    return verb ? 0 : 2;
  }
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir());
  if (!s) return 1;
  Collection& c = s->collection();
  if (*verb == "neu") {
    SpecimenFormFields fields;
    fields.localityItem = 0;  // "unbekannt" unless --fundort says otherwise
    if (!takeFields(args, c, fields)) return 2;
    if (rejectRest(args)) return 2;
    return save(c, fields, 0);
  }
  if (*verb == "liste") {
    if (rejectRest(args)) return 2;
    return list(*s);
  }
  const std::optional<std::uint32_t> n = parseRecordNumber(args.takeWord(), "der Stufe");
  if (!n) return 2;
  if (*verb == "zeige") {
    if (rejectRest(args)) return 2;
    return show(*s, *n);
  }
  const std::optional<Specimen> existing = readSpecimen(c, *n);
  if (!existing || existing->deleted()) {
    printError("Die Stufe " + std::to_string(*n) + " gibt es nicht.");
    return 1;
  }
  if (*verb == "aendere") {
    SpecimenFormFields fields = fieldsOfSpecimen(c, *existing);
    // A specimen saved without a new locality keeps that state.
    fields.newLocalityDeclined = existing->localityValue == 1;
    if (!takeFields(args, c, fields)) return 2;
    if (rejectRest(args)) return 2;
    return save(c, fields, *n);
  }
  if (*verb == "loesche") {
    if (rejectRest(args)) return 2;
    const CollectionMessage m = deleteSpecimenFromList(c, *n);
    if (m != CollectionMessage::kNone && m != CollectionMessage::kSaveFailed) return failWith(m);
    return reportSave(c, m == CollectionMessage::kNone);
  }
  printError("Unbekannte Aktion \"" + *verb + "\" f\xFCr stufe.");
  printUsageSpecimen();
  return 2;
}

}  // namespace kalvor::cli
