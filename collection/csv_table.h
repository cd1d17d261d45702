// Semicolon-separated tables as German spreadsheets read and write them:
// ";" between fields, CRLF between rows, a field quoted with '"' (quotes
// doubled inside) when it holds ";", '"', CR or LF. Text is Windows-1252
// here; the byte-order mark and UTF-8 belong to the caller.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

struct CsvRow {
  std::size_t line = 0;  // the line the row starts on, from 1
  std::vector<std::string> fields;
};

// A row that cannot be read in, with the reason (German, Windows-1252).
struct CsvRowError {
  std::size_t line = 0;
  std::string reason;
};

// "a, b" -> the names, blanks around them dropped.
std::vector<std::string> splitNameList(const std::string& text);

// One row with its CRLF.
std::string csvRow(const std::vector<std::string>& fields);

// Splits a table into rows (CRLF or LF ends a row outside quotes; an empty
// last line is no row). Nothing, with `errorLine` set, when a quoted field
// does not end or a quote stands inside an unquoted field.
std::optional<std::vector<CsvRow>> parseCsv(std::string_view text, std::size_t& errorLine);

}  // namespace kalvor
