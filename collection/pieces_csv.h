// Specimens as a semicolon-separated table for spreadsheets: dates as
// "TT.MM.JJJJ" ("MM.JJJJ", "JJJJ" for partial ones), prices with a decimal
// comma, minerals by name, the locality by its number. The import checks
// every row before it writes any.
#pragma once

#include <string>
#include <vector>

#include "collection/csv_table.h"
#include "collection/mineral_specimen.h"

namespace kalvor {

class Collection;

// The header row's column names, in order.
const std::vector<std::string>& specimenCsvColumns();

// The table (Windows-1252, CRLF rows, header first), specimens that are not
// deleted in number order.
std::string exportSpecimensCsv(Collection& collection);

struct SpecimenCsvImport {
  std::vector<Specimen> specimens;  // one per data row, number 0
  std::vector<CsvRowError> errors;  // every bad row; nothing is written when any
};

// Reads and checks every row against the collection: minerals by their names
// in the name list, the locality by number or by its display line, a valid
// date, count, prices and texts that fit their fields.
SpecimenCsvImport readSpecimensCsv(const std::string& text, Collection& collection);

// Saves the checked specimens as new ones, as the entry form saves them.
bool saveImportedSpecimens(Collection& collection, const std::vector<Specimen>& specimens);

// A price with a decimal comma and two places ("12,50"); empty for 0.
std::string csvPrice(float value);
// The date as "TT.MM.JJJJ", "MM.JJJJ" or "JJJJ"; empty for none.
std::string csvDate(std::uint32_t date);

}  // namespace kalvor
