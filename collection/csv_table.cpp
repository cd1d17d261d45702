#include "collection/csv_table.h"

namespace kalvor {

std::vector<std::string> splitNameList(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    const std::size_t a = piece.find_first_not_of(' ');
    const std::size_t b = piece.find_last_not_of(' ');
    if (a != std::string::npos) pieces.push_back(piece.substr(a, b - a + 1));
    start = end + 1;
  }
  return pieces;
}

std::string csvRow(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ';';
    const std::string& f = fields[i];
    if (f.find_first_of(";\"\r\n") == std::string::npos) {
      out += f;
      continue;
    }
    out += '"';
    for (char c : f) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out + "\r\n";
}

std::optional<std::vector<CsvRow>> parseCsv(std::string_view text, std::size_t& errorLine) {
  std::vector<CsvRow> rows;
  std::size_t line = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    CsvRow row;
    row.line = line;
    std::string field;
    bool rowDone = false;
    while (!rowDone) {
      if (i < text.size() && text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= text.size()) {
            errorLine = row.line;
            return std::nullopt;
          }
          const char c = text[i++];
          if (c == '"') {
            if (i < text.size() && text[i] == '"') {
              field += '"';
              ++i;
              continue;
            }
            break;
          }
          if (c == '\n') ++line;
          field += c;
        }
        if (i < text.size() && text[i] != ';' && text[i] != '\r' && text[i] != '\n') {
          errorLine = line;
          return std::nullopt;
        }
      } else {
        while (i < text.size() && text[i] != ';' && text[i] != '\r' && text[i] != '\n') {
          if (text[i] == '"') {
            errorLine = line;
            return std::nullopt;
          }
          field += text[i++];
        }
      }
      row.fields.push_back(std::move(field));
      field.clear();
      if (i < text.size() && text[i] == ';') {
        ++i;
        continue;
      }
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') ++i;
      ++line;
      rowDone = true;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace kalvor
