#include "tools/mkdb/tsv_table.h"

#include <fstream>

namespace kalvor::mkdb {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return cells;
}

}  // namespace

std::optional<TsvTable> TsvTable::load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": Datei fehlt oder ist nicht lesbar";
    return std::nullopt;
  }
  TsvTable t;
  t.path_ = path;
  std::string line;
  std::size_t lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (t.header_.empty()) {
      t.header_ = splitTabs(line);
      continue;
    }
    Row row{lineNo, splitTabs(line)};
    if (row.cells.size() > t.header_.size()) {
      error = path + ":" + std::to_string(lineNo) + ": " + std::to_string(row.cells.size()) +
              " Spalten, die Kopfzeile hat " + std::to_string(t.header_.size());
      return std::nullopt;
    }
    row.cells.resize(t.header_.size());
    t.rows_.push_back(std::move(row));
  }
  if (t.header_.empty()) {
    error = path + ": keine Kopfzeile";
    return std::nullopt;
  }
  return t;
}

std::optional<std::size_t> TsvTable::column(std::string_view name) const {
  for (std::size_t i = 0; i < header_.size(); ++i)
    if (header_[i] == name) return i;
  return std::nullopt;
}

const std::string& TsvTable::cell(const Row& row, std::string_view name) const {
  static const std::string kEmpty;
  const auto c = column(name);
  return c ? row.cells[*c] : kEmpty;
}

std::string TsvTable::where(const Row& row) const { return path_ + ":" + std::to_string(row.line); }

std::string trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> splitList(std::string_view cell, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= cell.size()) {
    const std::size_t sep = cell.find(separator, start);
    const std::string part = trim(cell.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
    if (!part.empty()) parts.push_back(part);
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  return parts;
}

std::string lowerAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace kalvor::mkdb
