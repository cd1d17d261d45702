#include "collection/csv_file.h"

#include <algorithm>

#include "base/cp1252.h"
#include "collection/locality_csv.h"
#include "collection/pieces_csv.h"

namespace kalvor {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The file as Windows-1252, line by line, so that a line Kalvor cannot store
// is reported with its number and its other faults still show (read with '?').
std::string readUtf8Table(std::string_view text, std::vector<CsvRowError>& errors) {
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::string out;
  std::size_t line = 1, start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view part = text.substr(start, end - start);
    if (const auto converted = utf8ToCp1252(part)) {
      out += *converted;
    } else {
      out += utf8ToCp1252Lossy(part);
      errors.push_back({line,
                        "Zeichen, die Kalvor nicht speichern kann (kein g\xFCltiges UTF-8 oder au\xDF"
                        "erhalb von Windows-1252)"});
    }
    start = end;
    ++line;
  }
  return out;
}

// Line breaks as Kalvor stores them, CR LF, also inside a quoted field: a
// spreadsheet that saved the table again may have turned them into LF alone.
std::string crlfLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string exportCsvFile(Collection& collection, CsvTable table) {
  const std::string text =
      table == CsvTable::kLocalities ? exportLocalitiesCsv(collection) : exportSpecimensCsv(collection);
  return std::string(kBom) + cp1252ToUtf8(text);
}

CsvFileImport importCsvFile(Collection& collection, const MineralNameList& names, CsvTable table,
                            std::string_view bytes) {
  CsvFileImport result;
  const std::string text = crlfLineEnds(readUtf8Table(bytes, result.errors));
  LocalityCsvImport localities;
  SpecimenCsvImport specimens;
  if (table == CsvTable::kLocalities)
    localities = readLocalitiesCsv(text, names);
  else
    specimens = readSpecimensCsv(text, collection);
  const std::vector<CsvRowError>& rowErrors =
      table == CsvTable::kLocalities ? localities.errors : specimens.errors;
  result.errors.insert(result.errors.end(), rowErrors.begin(), rowErrors.end());
  std::stable_sort(result.errors.begin(), result.errors.end(),
                   [](const CsvRowError& a, const CsvRowError& b) { return a.line < b.line; });
  if (!result.errors.empty()) return result;
  if (table == CsvTable::kLocalities) {
    result.saveFailed = !saveImportedLocalities(collection, localities.localities);
    result.imported = result.saveFailed ? 0 : localities.localities.size();
  } else {
    result.saveFailed = !saveImportedSpecimens(collection, specimens.specimens);
    result.imported = result.saveFailed ? 0 : specimens.specimens.size();
  }
  return result;
}

std::string csvCommandTitle(CsvTable table, bool import) {
  return std::string(import ? "CSV-Import " : "CSV-Export ") +
         (table == CsvTable::kLocalities ? "Fundorte" : "Stufen");
}

std::string csvImportDoneText(CsvTable table, std::size_t count) {
  return std::to_string(count) +
         (table == CsvTable::kLocalities ? " Fundorte eingelesen." : " Stufen eingelesen.");
}

std::string csvImportRefusal(const std::vector<CsvRowError>& errors, std::size_t maxRows) {
  std::string text = "Nichts wurde eingelesen. Fehlerhafte Zeilen:";
  const std::size_t shown = std::min(errors.size(), maxRows);
  for (std::size_t i = 0; i < shown; ++i)
    text += "\nZeile " + std::to_string(errors[i].line) + ": " + errors[i].reason;
  if (shown < errors.size())
    text += "\n... und " + std::to_string(errors.size() - shown) + " weitere fehlerhafte Zeilen.";
  return text;
}

}  // namespace kalvor
