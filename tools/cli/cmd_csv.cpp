// "kalvor-cli export|import fundorte|stufen DATEI.csv": localities and
// specimens to and from a spreadsheet table (UTF-8 with byte-order mark, ";"
// between fields).
#include <algorithm>
#include <string>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "collection/locality_csv.h"
#include "collection/pieces_csv.h"
#include "tools/cli/open_collection.h"

namespace kalvor::cli {
namespace {

constexpr const char kBom[] = "\xEF\xBB\xBF";

int usage(bool isExport) {
  printLine(isExport ? "Aufruf: kalvor-cli export fundorte|stufen DATEI.csv"
                     : "Aufruf: kalvor-cli import fundorte|stufen DATEI.csv");
  return 2;
}

// The file as Windows-1252; a line with characters Kalvor cannot store is an
// error of its own (and is read with '?' for them, so its other faults show too).
std::string readUtf8Table(const Bytes& bytes, std::vector<CsvRowError>& errors) {
  std::string text(bytes.begin(), bytes.end());
  if (text.rfind(kBom, 0) == 0) text.erase(0, 3);
  std::string out;
  std::size_t line = 1, start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const auto converted = utf8ToCp1252(std::string_view(text).substr(start, end - start));
    if (!converted) {
      out += utf8ToCp1252Lossy(std::string_view(text).substr(start, end - start));
      errors.push_back({line,
                        "Zeichen, die Kalvor nicht speichern kann (kein g\xFCltiges UTF-8 oder au\xDF"
                        "erhalb "
                        "von Windows-1252)"});
    } else {
      out += *converted;
    }
    start = end;
    ++line;
  }
  return out;
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
    std::vector<CsvRowError> errors;
    const std::string table = readUtf8Table(*bytes, errors);
    std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir());
    if (!s) return 1;
    LocalityCsvImport importedLocalities;
    SpecimenCsvImport importedSpecimens;
    if (localities)
      importedLocalities = readLocalitiesCsv(table, s->names());
    else
      importedSpecimens = readSpecimensCsv(table, s->collection());
    const std::vector<CsvRowError>& rowErrors =
        localities ? importedLocalities.errors : importedSpecimens.errors;
    errors.insert(errors.end(), rowErrors.begin(), rowErrors.end());
    std::stable_sort(errors.begin(), errors.end(),
                     [](const CsvRowError& a, const CsvRowError& b) { return a.line < b.line; });
    if (!errors.empty()) {
      printError("Nichts wurde eingelesen. Fehlerhafte Zeilen:");
      for (const CsvRowError& e : errors) printError("Zeile " + std::to_string(e.line) + ": " + e.reason);
      return 1;
    }
    if (localities) {
      if (!saveImportedLocalities(s->collection(), importedLocalities.localities))
        return failWith(CollectionMessage::kSaveFailed);
      printLine(std::to_string(importedLocalities.localities.size()) + " Fundorte eingelesen.");
    } else {
      if (!saveImportedSpecimens(s->collection(), importedSpecimens.specimens))
        return failWith(CollectionMessage::kSaveFailed);
      printLine(std::to_string(importedSpecimens.specimens.size()) + " Stufen eingelesen.");
    }
    return 0;
  }
  std::unique_ptr<OpenCollection> s = OpenCollection::open(args.dataDir());
  if (!s) return 1;
  const std::string table =
      localities ? exportLocalitiesCsv(s->collection()) : exportSpecimensCsv(s->collection());
  const std::string text = kBom + cp1252ToUtf8(table);
  if (!writeWholeFile(*file, Bytes(text.begin(), text.end()))) {
    printError("Die Datei " + utf8ToCp1252Lossy(*file) + " kann nicht geschrieben werden.");
    return 1;
  }
  return 0;
}

int runExport(Arguments& args) { return runCsv(args, true); }
int runImport(Arguments& args) { return runCsv(args, false); }

}  // namespace kalvor::cli
