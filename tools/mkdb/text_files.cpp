#include "tools/mkdb/text_files.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "refdb/collation.h"
#include "refdb/glossary.h"
#include "refdb/systematics.h"
#include "tools/mkdb/tsv_table.h"

namespace kalvor::mkdb {
namespace {

// Loads a table and checks its columns; nothing (with errors reported) otherwise.
std::optional<TsvTable> loadWithColumns(const std::string& path, std::initializer_list<const char*> cols,
                                        Report& report) {
  std::string error;
  auto t = TsvTable::load(path, error);
  if (!t) {
    report.error(error);
    return std::nullopt;
  }
  for (const char* c : cols) {
    if (!t->column(c)) {
      report.error(path + ": Spalte \"" + c + "\" fehlt");
      return std::nullopt;
    }
  }
  return t;
}

// The "@term@" references of a text (Windows-1252).
std::vector<std::string> referencesIn(const std::string& text) {
  std::vector<std::string> refs;
  std::size_t pos = 0;
  for (;;) {
    const auto open = text.find('@', pos);
    if (open == std::string::npos) break;
    const auto close = text.find('@', open + 1);
    if (close == std::string::npos) break;
    refs.push_back(text.substr(open + 1, close - open - 1));
    pos = close + 1;
  }
  return refs;
}

}  // namespace

std::optional<Bytes> buildSystematicsFile(const std::string& dataDir, Report& report) {
  auto t = loadWithColumns(joinPath(dataDir, "systematics.tsv"), {"section", "key", "title"}, report);
  if (!t) return std::nullopt;
  using StrunzKey = std::tuple<int, int, int, int>;
  std::vector<std::pair<StrunzKey, std::string>> strunz;
  std::vector<std::pair<std::tuple<int, int, int>, std::string>> hey;
  bool ok = true;
  for (const auto& row : t->rows()) {
    const std::string section = trim(t->cell(row, "section"));
    const std::string key = trim(t->cell(row, "key"));
    const auto title = utf8ToCp1252(trim(t->cell(row, "title")));
    if (!title || title->empty() || title->size() > 255) {
      report.error(t->where(row) + ": Titel fehlt, ist länger als 255 Bytes oder nicht in Windows-1252");
      ok = false;
      continue;
    }
    if (section == "strunz") {
      const StrunzNumber n = parseStrunzNumber(key);
      if (n.classNumber == 0) {
        report.error(t->where(row) + ": \"" + key + "\" ist keine Lapis/Strunz-Nummer");
        ok = false;
        continue;
      }
      strunz.push_back({{n.classNumber, n.letter, n.number, n.rangeEnd}, key + "\t" + *title});
    } else if (section == "hey") {
      const auto h = parseHeyNumber(key);
      if (!h) {
        report.error(t->where(row) + ": \"" + key + "\" ist keine Hey-Nummer");
        ok = false;
        continue;
      }
      hey.push_back({{h->a, h->b, h->c}, key + "\t" + *title});
    } else {
      report.error(t->where(row) + ": Abschnitt \"" + section + "\" ist weder strunz noch hey");
      ok = false;
    }
  }
  if (!ok) return std::nullopt;
  std::stable_sort(strunz.begin(), strunz.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::stable_sort(hey.begin(), hey.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string text;
  for (const auto& [k, line] : strunz) text += line + "\r\n";
  text += "\r\n";  // the short line that ends the Lapis/Strunz section
  for (const auto& [k, line] : hey) text += line + "\r\n";
  report.count("Systematik: Lapis/Strunz-Zeilen", strunz.size());
  report.count("Systematik: Hey-Zeilen", hey.size());
  return Bytes(text.begin(), text.end());
}

std::optional<Bytes> buildGlossary(const std::string& dataDir, Report& report) {
  auto t = loadWithColumns(joinPath(dataDir, "glossary.tsv"), {"term", "text"}, report);
  if (!t) return std::nullopt;
  struct Entry {
    std::string term, text, where;
  };
  std::vector<Entry> entries;
  std::set<std::string> terms;
  bool ok = true;
  for (const auto& row : t->rows()) {
    const auto term = utf8ToCp1252(trim(t->cell(row, "term")));
    const auto text = utf8ToCp1252(trim(t->cell(row, "text")));
    if (!term || !text || term->empty() || text->empty() || term->find('#') != std::string::npos) {
      report.error(t->where(row) + ": Begriff oder Text fehlt, enthält \"#\" oder ist nicht in Windows-1252");
      ok = false;
      continue;
    }
    if (!terms.insert(*term).second) {
      report.error(t->where(row) + ": Begriff \"" + t->cell(row, "term") + "\" steht zweimal im Glossar");
      ok = false;
      continue;
    }
    entries.push_back({*term, *text, t->where(row)});
  }
  for (const auto& e : entries) {
    for (const auto& ref : referencesIn(e.text)) {
      if (!terms.count(ref)) {
        report.error(e.where + ": Verweis @" + cp1252ToUtf8(ref) + "@ hat keinen Glossareintrag");
        ok = false;
      }
    }
  }
  if (!ok) return std::nullopt;
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return collateCompare(a.term, b.term, kNameCompareLength, kNameCompareLength) < 0;
  });
  std::vector<std::string> texts;
  for (const auto& e : entries) texts.push_back("#" + e.term + "#~" + e.text);
  report.count("Glossareinträge", texts.size());
  return buildGlossaryFile(texts);
}

std::optional<Bytes> buildLicenceText(const std::string& dataDir, Report& report) {
  const std::string path = joinPath(dataDir, kLicenceTextName);
  const auto source = readWholeFile(path);
  if (!source || source->empty()) {
    report.error(path + ": fehlt oder ist leer");
    return std::nullopt;
  }
  Bytes out = {0xEF, 0xBB, 0xBF};
  std::size_t start = 0;
  if (source->size() >= 3 && (*source)[0] == 0xEF && (*source)[1] == 0xBB && (*source)[2] == 0xBF) start = 3;
  for (std::size_t i = start; i < source->size(); ++i) {
    const std::uint8_t c = (*source)[i];
    if (c == '\r') continue;  // a checkout with CRLF gives the same file
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace kalvor::mkdb
