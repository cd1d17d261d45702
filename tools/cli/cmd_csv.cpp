// "kalvor-cli export|import fundorte|stufen DATEI.csv": localities and
// specimens to and from a spreadsheet table (UTF-8 with byte-order mark, ";"
// between fields).
#include <string>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "collection/csv_file.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

int usage(bool isExport) {
  printLine(isExport ? "Aufruf: kalvor-cli export fundorte|stufen DATEI.csv"
                     : "Aufruf: kalvor-cli import fundorte|stufen DATEI.csv");
  return 2;
}

}  // namespace

int runCsv(Arguments& args, bool isExport) {
  const std::optional<std::string> what = args.takeWord();
  const std::optional<std::string> file = args.takeWord();
  if (!what || (*what != "fundorte" && *what != "stufen") || !file || args.takeFlag("--hilfe"))
    return usage(isExport);
  const bool localities = *what == "fundorte";
  if (rejectRest(args)) return 2;
  if (!isExport) {
    // Checked before the collection is opened: a bad file changes nothing.
    const std::optional<Bytes> bytes = readWholeFile(*file);
    if (!bytes) {
      printError("Die Datei " + utf8ToCp1252Lossy(*file) + " kann nicht gelesen werden.");
      return 1;
    }
    std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir());
    if (!s) return 1;
    const CsvTable table = localities ? CsvTable::kLocalities : CsvTable::kSpecimens;
    const CsvFileImport imported =
        importCsvFile(s->collection(), s->names(), table,
                      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (!imported.errors.empty()) {
      printError("Nichts wurde eingelesen. Fehlerhafte Zeilen:");
      for (const CsvRowError& e : imported.errors)
        printError("Zeile " + std::to_string(e.line) + ": " + e.reason);
      return 1;
    }
    if (imported.saveFailed) return failWith(CollectionMessage::kSaveFailed);
    printLine(std::to_string(imported.imported) +
              (localities ? " Fundorte eingelesen." : " Stufen eingelesen."));
    return 0;
  }
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir(), Collection::Access::kRead);
  if (!s) return 1;
  const std::string text =
      exportCsvFile(s->collection(), localities ? CsvTable::kLocalities : CsvTable::kSpecimens);
  if (!writeWholeFile(*file, Bytes(text.begin(), text.end()))) {
    printError("Die Datei " + utf8ToCp1252Lossy(*file) + " kann nicht geschrieben werden.");
    return 1;
  }
  return 0;
}

int runExport(Arguments& args) { return runCsv(args, true); }
int runImport(Arguments& args) { return runCsv(args, false); }

}  // namespace kalvor::cli
