// Localities as a semicolon-separated table for spreadsheets: export of every
// locality that is not deleted, in number order, and an import that checks
// every row before it writes any.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "collection/csv_table.h"
#include "collection/locality.h"

namespace kalvor {

class Collection;
class MineralNameList;

// The header row's column names, in order.
const std::vector<std::string>& localityCsvColumns();

// The table (Windows-1252, CRLF rows, header first). Minerals entered for the
// locality are named through the name list, joined by ", "; those that come
// from its specimens follow the specimens and are not exported.
std::string exportLocalitiesCsv(Collection& collection);

struct LocalityCsvImport {
  std::vector<Locality> localities;  // one per data row, number 0
  std::vector<CsvRowError> errors;   // every bad row; nothing is written when any
};

// Reads and checks every row: the header as exported, eight fields, a name,
// texts that fit their fields, every mineral a name of the name list.
LocalityCsvImport readLocalitiesCsv(const std::string& text, const MineralNameList& names);

// Saves the checked localities as new ones, as the entry form saves them.
// False when a write failed.
bool saveImportedLocalities(Collection& collection, const std::vector<Locality>& localities);

}  // namespace kalvor
