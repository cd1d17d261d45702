// "kalvor-cli tausch": exchange lists — write the user's exchange pieces to a
// *.ktl file, or show another collector's list through the exchange-assistant
// mode, exactly as the program opens it.
#include <cstdio>
#include <string>

#include "collection/exchange_list.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "refdb/strings.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

void printUsageExchange() {
  printLine(
      "Aufruf: kalvor-cli tausch export DATEI[.ktl]\n"
      "        kalvor-cli tausch zeige DATEI[.ktl]");
}

int exportList(Collection& c, const std::string& path) {
  const ExchangeExportResult r = exportExchangeList(c, path, nullptr);
  switch (r.status) {
    case ExchangeExportStatus::kWritten:
      printLine("Tauschliste " + path + " geschrieben: " + std::to_string(r.specimens) +
                (r.specimens == 1 ? " Stufe, " : " Stufen, ") + std::to_string(r.localities) +
                (r.localities == 1 ? " Fundstelle." : " Fundstellen."));
      return 0;
    case ExchangeExportStatus::kNoExchangePieces:
      // "Es befinden sich keine Tauschstufen in der Datenbank."
      printError(loadResourceString(strings::kStrNoExchangePieces - kStringIdBase));
      return 1;
    case ExchangeExportStatus::kFailed:
      break;
  }
  printError("Die Tauschliste " + path + " kann nicht geschrieben werden.");
  return 1;
}

int showList(OpenCollection& session, const std::string& path) {
  Collection& c = session.collection();
  const ExchangeOpenStatus opened = openExchangeList(c, path, nullptr);
  if (opened != ExchangeOpenStatus::kOpened) {
    printError(exchangeOpenMessage(opened));
    return 1;
  }
  switchOrderForm(c.specimenOrder(), kOrderList);
  for (std::uint32_t n : c.specimenOrder().entries) {
    const std::optional<Specimen> s = readSpecimen(c, n);
    if (!s || s->deleted()) continue;
    std::string locality = loadResourceString(strings::kStrUnknown - kStringIdBase);
    if (s->localityValue > 1) {
      if (const std::optional<Locality> loc = readLocality(c, s->localityNumber(), true))
        locality = localityLine(*loc);
    }
    printLine(std::to_string(n) + ": " + s->index + " | " +
              specimenMineralNames(session.names(), *s, true, ", ") + " | " + locality);
  }
  leaveExchangeList(c);
  return 0;
}

}  // namespace

int runExchange(Arguments& args) {
  const std::optional<std::string> verb = args.takeWord();
  if (!verb || args.takeFlag("--hilfe")) {
    printUsageExchange();
    return verb ? 0 : 2;
  }
  const std::optional<std::string> file = args.takeWord();
  if ((*verb != "export" && *verb != "zeige") || !file) {
    printUsageExchange();
    return 2;
  }
  if (rejectRest(args)) return 2;
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir(), Collection::Access::kRead);
  if (!s) return 1;
  const std::string path = withExchangeExtension(*file);
  if (*verb == "export") return exportList(s->collection(), path);
  return showList(*s, path);
}

}  // namespace kalvor::cli
