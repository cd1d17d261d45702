// "kalvor-cli glossar [BEGRIFF]": the terms of the glossary, or one entry
// laid out as text. References to other entries ("@Spaltbarkeit@") are shown
// as the plain word and listed below the text.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "determination/choice_words.h"
#include "refdb/glossary.h"
#include "tools/cli/cli.h"

namespace kalvor::cli {
namespace {

constexpr std::size_t kLineWidth = 76;

struct GlossaryEntry {
  std::string term;  // Windows-1252
  std::string text;  // with the "@" marks of the references
};

// An entry is stored as "#term#~text".
std::optional<GlossaryEntry> splitEntry(const std::string& stored) {
  if (stored.size() < 2 || stored[0] != '#') return std::nullopt;
  const std::size_t end = stored.find('#', 1);
  if (end == std::string::npos) return std::nullopt;
  GlossaryEntry e;
  e.term = stored.substr(1, end - 1);
  std::size_t textStart = end + 1;
  if (textStart < stored.size() && stored[textStart] == '~') ++textStart;
  e.text = stored.substr(textStart);
  return e;
}

// The text without "@" marks, wrapped at word boundaries; the referenced words in order.
std::vector<std::string> layOut(const std::string& text, std::vector<std::string>& references) {
  std::string plain;
  bool inReference = false;
  std::string reference;
  for (char c : text) {
    if (c == '@') {
      if (inReference && !reference.empty()) references.push_back(reference);
      reference.clear();
      inReference = !inReference;
      continue;
    }
    if (inReference) reference.push_back(c);
    plain.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  while (pos < plain.size()) {
    while (pos < plain.size() && plain[pos] == ' ') ++pos;
    std::size_t end = plain.find(' ', pos);
    if (end == std::string::npos) end = plain.size();
    const std::string word = plain.substr(pos, end - pos);
    pos = end;
    if (word.empty()) continue;
    if (!line.empty() && line.size() + 1 + word.size() > kLineWidth) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

int runGlossary(Arguments& args) {
  if (args.takeFlag("--hilfe")) {
    std::puts("Aufruf: kalvor-cli [--daten ORDNER] glossar [BEGRIFF]\n"
              "Ohne Begriff: listet alle Begriffe des Glossars auf. Mit Begriff: zeigt seinen\n"
              "Eintrag. Groß- und Kleinschreibung ist gleich; ein eindeutiger Anfang genügt.");
    return 0;
  }
  const std::optional<std::string> wanted = args.takeWord();
  if (!args.rest().empty()) {
    printError("Aufruf: kalvor-cli glossar [BEGRIFF]");
    return 2;
  }
  const std::optional<Glossary> glossary = Glossary::open(args.dataDir());
  if (!glossary) {
    printError("Das Glossar (kalvor.gl) fehlt im Datenordner oder ist besch\xE4" "digt.");
    return 1;
  }
  std::vector<GlossaryEntry> entries;
  for (std::uint16_t i = 0; i < glossary->entryCount(); ++i) {
    const auto stored = glossary->entry(i);
    if (!stored) continue;
    if (auto e = splitEntry(*stored)) entries.push_back(std::move(*e));
  }
  if (!wanted) {
    for (const GlossaryEntry& e : entries) printLine(e.term);
    printLine("Begriffe: " + std::to_string(entries.size()));
    return 0;
  }
  // The term itself, else the only term beginning with the typed text.
  const std::string folded = foldChoiceWord(*wanted);
  const GlossaryEntry* found = nullptr;
  std::vector<const GlossaryEntry*> starting;
  for (const GlossaryEntry& e : entries) {
    const std::string term = foldChoiceWord(e.term);
    if (term == folded) {
      found = &e;
      break;
    }
    if (!folded.empty() && term.compare(0, folded.size(), folded) == 0) starting.push_back(&e);
  }
  if (!found && starting.size() == 1) found = starting.front();
  if (!found) {
    if (starting.size() > 1) {
      std::string names;
      for (const GlossaryEntry* e : starting) names += (names.empty() ? "" : ", ") + e->term;
      printError("\"" + *wanted + "\" ist nicht eindeutig: " + names);
    } else {
      printError("Den Begriff \"" + *wanted + "\" gibt es im Glossar nicht.");
    }
    return 1;
  }
  printLine(found->term);
  printLine(std::string(found->term.size(), '='));
  std::vector<std::string> references;
  for (const std::string& line : layOut(found->text, references)) printLine(line);
  if (!references.empty()) {
    std::vector<std::string> named;
    std::string seeAlso;
    for (const std::string& r : references) {
      bool already = false;
      for (const std::string& n : named) already = already || n == r;
      if (already) continue;
      named.push_back(r);
      seeAlso += (seeAlso.empty() ? "" : ", ") + r;
    }
    printLine("");
    printLine("Siehe auch: " + seeAlso);
  }
  return 0;
}

}  // namespace kalvor::cli
