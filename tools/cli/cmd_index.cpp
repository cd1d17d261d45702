// "kalvor-cli index": checks the value index against the records, or rebuilds it.
#include <cstdio>
#include <string>

#include "collection/index_check.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

std::string numbers(const std::vector<std::uint32_t>& list) {
  std::string out;
  for (std::uint32_t n : list) out += (out.empty() ? "" : ", ") + std::to_string(n);
  return out;
}

class QuietProgress : public ProgressSink {
 public:
  void progress(const std::string&) override {}
};

}  // namespace

int runIndex(Arguments& args) {
  const std::optional<std::string> verb = args.takeWord();
  if (!verb || args.takeFlag("--hilfe") || (*verb != "pruefe" && *verb != "neu")) {
    printLine("Aufruf: kalvor-cli index pruefe\n        kalvor-cli index neu");
    return verb && *verb != "pruefe" && *verb != "neu" ? 2 : (verb ? 0 : 2);
  }
  if (rejectRest(args)) return 2;
  // The check only reads: it reports a damaged index instead of healing it first.
  std::unique_ptr<OpenCollection> s = OpenCollection::open(
      args.dataDir(), *verb == "pruefe" ? Collection::Access::kRead : Collection::Access::kWrite);
  if (!s) return 1;
  Collection& c = s->collection();
  if (*verb == "neu") {
    QuietProgress quiet;
    if (!c.rebuildIndex(&quiet)) return failWith(CollectionMessage::kSaveFailed);
    printLine("Der Index wurde neu aufgebaut.");
    return 0;
  }
  if (c.indexMarkedDamaged() || c.indexFileStale()) {
    printLine(c.indexMarkedDamaged()
                  ? "Der Index ist als defekt markiert (\"Index-Defekt\" in kalvor.ini)."
                  : "Der Index (kalvor.vi) wurde nicht fertig aktualisiert oder ist leer.");
    printLine(
        "Er wird beim n\xE4"
        "chsten \xC4ndern der Sammlung neu aufgebaut; \"kalvor-cli index neu\" baut ihn gleich neu auf.");
    return 1;
  }
  const std::vector<IndexDifference> differences = checkValueIndex(c);
  for (const IndexDifference& d : differences) {
    std::string line = "Feld " + std::to_string(d.field) + ", Wert ";
    line += d.isText ? "\"" + d.text + "\"" : std::to_string(d.number);
    if (!d.missing.empty()) line += ": fehlt " + numbers(d.missing);
    if (!d.extra.empty()) line += std::string(d.missing.empty() ? ":" : ";") + " zu viel " + numbers(d.extra);
    if (d.extraCount != 0) line += ": leerer Wert mit " + std::to_string(d.extraCount) + " Eintr\xE4gen";
    printLine(line);
  }
  if (differences.empty()) {
    printLine("Der Index stimmt mit den Fundorten und Stufen \xFC" "berein.");
    return 0;
  }
  printLine(std::to_string(differences.size()) +
            " Abweichungen. \"kalvor-cli index neu\" baut den Index neu auf.");
  return 1;
}

}  // namespace kalvor::cli
