// The data compiler's source tables: UTF-8 TSV files with one header line,
// TAB-separated, no quoting. Lines starting with '#' are comments.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::mkdb {

class TsvTable {
 public:
  struct Row {
    std::size_t line = 0;  // 1-based line number in the file
    std::vector<std::string> cells;
  };

  // Reads a table. Returns nothing and sets `error` (German) when the file is
  // missing or a row has more cells than the header; short rows are padded.
  static std::optional<TsvTable> load(const std::string& path, std::string& error);

  const std::string& path() const { return path_; }
  const std::vector<Row>& rows() const { return rows_; }
  // The index of a column, or nothing when the header lacks it.
  std::optional<std::size_t> column(std::string_view name) const;
  // The cell of a row in the named column, "" when the column is missing.
  const std::string& cell(const Row& row, std::string_view column) const;
  // "file:line" for messages about a row.
  std::string where(const Row& row) const;

 private:
  std::string path_;
  std::vector<std::string> header_;
  std::vector<Row> rows_;
};

// Splits a cell at ';' into trimmed, non-empty parts.
std::vector<std::string> splitList(std::string_view cell, char separator = ';');

// The text with leading and trailing blanks removed.
std::string trim(std::string_view text);

// ASCII lower case (UTF-8 bytes above 0x7F are kept).
std::string lowerAscii(std::string_view text);

}  // namespace kalvor::mkdb
