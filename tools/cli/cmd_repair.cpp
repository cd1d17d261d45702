// kalvor-cli reparatur: repairs a damaged collection and reports what was
// salvaged and where the damaged files are kept.
#include <cstdio>
#include <ctime>

#include "base/cp1252.h"
#include "collection/collection_repair.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

std::string today() {
  const std::time_t now = std::time(nullptr);
  char text[16] = "";
  if (const std::tm* day = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d", day);
  return text;
}

}  // namespace

int runRepair(Arguments& args) {
  if (rejectRest(args)) return 2;
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir(), true);
  if (!s) return 1;
  Collection& c = s->collection();
  if (!c.openProblem().empty()) printError(c.openProblem());
  if (c.damaged()) printError(c.damageReport());
  printError("Die Sammlung wird repariert; der Suchindex wird neu aufgebaut.");
  const RepairResult result = repairCollection(c, c.folder(), today(), nullptr);
  std::printf("%s\n", cp1252ToUtf8(repairReport(result)).c_str());
  return result.ok ? 0 : 1;
}

}  // namespace kalvor::cli
