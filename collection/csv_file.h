// CSV files as spreadsheets exchange them: UTF-8 with a byte-order mark (read
// with or without one), the localities or specimen table inside. The one place
// that turns a file's bytes into checked records and back, for kalvor.exe's
// menu and kalvor-cli alike.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "collection/csv_table.h"

namespace kalvor {

class Collection;
class MineralNameList;

enum class CsvTable { kLocalities, kSpecimens };

// The file's bytes: byte-order mark, then the table in UTF-8.
std::string exportCsvFile(Collection& collection, CsvTable table);

struct CsvFileImport {
  // Every bad row, in line order; nothing was written when there is any.
  std::vector<CsvRowError> errors;
  std::size_t imported = 0;  // records saved
  bool saveFailed = false;   // the rows were good but a write failed
};

// Checks every row of the file and, only when all are good, saves them as new
// records. A line that is not UTF-8 or holds characters outside Windows-1252
// is a bad row of its own.
CsvFileImport importCsvFile(Collection& collection, const MineralNameList& names, CsvTable table,
                            std::string_view bytes);

// The title of the file dialog and of the messages of a CSV command:
// "CSV-Export Stufen", "CSV-Import Fundorte" ...
std::string csvCommandTitle(CsvTable table, bool import);
// "12 Stufen eingelesen." (Windows-1252).
std::string csvImportDoneText(CsvTable table, std::size_t count);

// The German report of a refused import (Windows-1252): a first line, then one
// line "Zeile N: reason" per bad row, at most `maxRows` of them and a closing
// line that counts the rest.
std::string csvImportRefusal(const std::vector<CsvRowError>& errors, std::size_t maxRows = 1000000);

}  // namespace kalvor
