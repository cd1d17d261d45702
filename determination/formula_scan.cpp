#include "determination/formula_scan.h"

#include <array>

#include "determination/elements.h"

namespace kalvor {

namespace {

// Candidates built from parenthesised alternatives are matched over this many
// characters; a longer alternative is cut to it.
constexpr std::size_t kCandidateLength = 10;

// Overwrites every occurrence of `name` with blanks; true when there was one.
bool blankOut(std::string& text, std::string_view name) {
  bool found = false;
  for (std::size_t pos = text.find(name); pos != std::string::npos;
       pos = text.find(name, pos + name.size())) {
    text.replace(pos, name.size(), name.size(), ' ');
    found = true;
  }
  return found;
}

// Blanks every "_" and "^" with its argument: the next character, or a braced
// group. A "{" without its "}" is taken as an empty argument, so the rest of the
// formula is still scanned.
std::string blankMarkupArguments(std::string_view formula) {
  std::string s(formula);
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '_' && s[i] != '^') {
      ++i;
      continue;
    }
    s[i++] = ' ';
    if (i >= s.size()) break;
    if (s[i] == '{') {
      const std::size_t close = s.find('}', i);
      const std::size_t end = close == std::string::npos ? i + 1 : close + 1;
      for (; i < end; ++i) s[i] = ' ';
    } else {
      s[i++] = ' ';
    }
  }
  return s;
}

bool isSeparator(char c) { return c == ',' || c == ' ' || c == '+' || c == '!'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

IndexList elementsInFormula(std::string_view formula) {
  std::string copy = blankMarkupArguments(formula);
  IndexList found;
  bool rareEarthAdded = false;
  for (std::size_t i = 0; i < ElementTable::kCount; ++i) {
    const int index = static_cast<int>(i);
    if (!blankOut(copy, ElementTable::kSymbols[i])) continue;
    found.push_back(index);
    if (!rareEarthAdded && RareEarthElements::contains(index)) {
      found.push_back(ElementTable::kRareEarths);
      rareEarthAdded = true;
    }
  }
  return found;
}

IndexList elementsNotInFormula(std::string_view formula) {
  return elementsNotIn(elementsInFormula(formula));
}

IndexList elementsNotIn(const IndexList& found) {
  std::array<bool, ElementTable::kCount + 1> present{};
  for (int i : found) present[static_cast<std::size_t>(i)] = true;
  IndexList absent;
  for (int i = 0; i <= ElementTable::kRareEarths; ++i) {
    if (!present[static_cast<std::size_t>(i)] && !UnseenElements::contains(i)) absent.push_back(i);
  }
  return absent;
}

std::string stripFormulaMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '^') {
      if (i + 1 < text.size() && text[i + 1] == '{') {
        const std::size_t close = text.find('}', i + 2);
        if (close == std::string_view::npos) break;  // an unclosed charge ends the formula
        i = close + 1;
      } else {
        i += 2;
      }
    } else if (c == '_') {
      if (i + 1 < text.size() && text[i + 1] == '{') {
        const std::size_t close = text.find('}', i + 2);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        out.append(text.substr(i + 2, end - (i + 2)));
        i = close == std::string_view::npos ? text.size() : close + 1;
      } else {
        ++i;
      }
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

IndexList groupsInFormula(std::string_view formula) {
  std::string copy = stripFormulaMarkup(formula);
  std::array<bool, GroupTable::kCount> marked{};
  IndexList found;
  for (std::size_t j = 0; j < GroupTable::kCount; ++j) {
    if (blankOut(copy, GroupTable::kNames[j])) {
      found.push_back(static_cast<int>(j));
      marked[j] = true;
    }
  }
  // Alternatives such as (P,As) share the rest of the group written after the
  // bracket: each alternative is joined with what follows ")".
  for (std::size_t open = copy.find('('); open != std::string::npos;
       open = copy.find('(', open + 1)) {
    const std::size_t close = copy.find(')', open + 1);
    if (close == std::string::npos) break;
    const std::string_view inner = std::string_view(copy).substr(open + 1, close - open - 1);
    const std::string_view after = std::string_view(copy).substr(close + 1);
    std::size_t start = 0;
    while (start <= inner.size()) {
      std::size_t comma = inner.find(',', start);
      if (comma == std::string_view::npos) comma = inner.size();
      std::string candidate(inner.substr(start, comma - start));
      if (candidate.size() > kCandidateLength) candidate.resize(kCandidateLength);
      candidate.append(after.substr(0, kCandidateLength - candidate.size()));
      for (std::size_t j = 0; j < GroupTable::kCount; ++j) {
        if (!marked[j] && candidate.find(GroupTable::kNames[j]) != std::string::npos) {
          found.push_back(static_cast<int>(j));
          marked[j] = true;
        }
      }
      start = comma + 1;
    }
  }
  return found;
}

IndexList groupsNotInFormula(std::string_view formula) {
  return groupsNotIn(groupsInFormula(formula));
}

IndexList groupsNotIn(const IndexList& found) {
  std::array<bool, GroupTable::kCount> present{};
  for (int j : found) present[static_cast<std::size_t>(j)] = true;
  IndexList absent;
  for (std::size_t j = 0; j < GroupTable::kCount; ++j) {
    if (!present[j]) absent.push_back(static_cast<int>(j));
  }
  return absent;
}

ElementCheck validateElementExpression(std::string_view text) {
  std::string copy(text);
  ElementCheck check;
  auto select = [&](std::size_t from) {
    check.selectionBegin = from;
    std::size_t end = from;
    while (end < copy.size() && copy[end] != '\0' && !isSeparator(copy[end])) ++end;
    check.selectionEnd = end;
  };
  blankOut(copy, "SE");
  for (std::string_view group : GroupTable::kNames) blankOut(copy, group);
  for (std::size_t i = 0; i < ElementTable::kCount; ++i) {
    const std::string_view symbol = ElementTable::kSymbols[i];
    const std::size_t first = copy.find(symbol);
    if (first == std::string::npos) continue;
    if (UnseenElements::contains(static_cast<int>(i))) {
      check.result = -static_cast<int>(first + 1);
      select(first);
      return check;
    }
    blankOut(copy, symbol);
  }
  blankOut(copy, "ree");
  for (std::size_t pos = 0; pos < copy.size(); ++pos) {
    if (copy[pos] == '\0') break;  // a NUL ends the text as the edit field does
    if (isSeparator(copy[pos])) continue;
    check.result = static_cast<int>(pos + 1);
    select(pos);
    return check;
  }
  return check;
}

int elementTokenSlot(std::string_view token) {
  const bool negated = !token.empty() && token.front() == '!';
  if (negated) token.remove_prefix(1);
  for (std::size_t j = 0; j < GroupTable::kCount; ++j) {
    if (GroupTable::kNames[j] == token) return static_cast<int>((negated ? 228 : 212) + j);
  }
  const int element = ElementTable::indexOf(token);
  if (element >= 0) return (negated ? 106 : 0) + element;
  if (token == "ree" || token == "SE") return negated ? 211 : 105;
  return -1;
}

OptionalNumberList searchElementExpression(std::string_view text,
                                                   const IndexSlotSource& index) {
  OptionalNumberList running;
  std::size_t termStart = 0;
  while (termStart <= text.size()) {
    std::size_t plus = text.find('+', termStart);
    if (plus == std::string_view::npos) plus = text.size();
    const std::string_view term = text.substr(termStart, plus - termStart);
    OptionalNumberList termList;
    std::size_t tokenStart = 0;
    while (tokenStart <= term.size()) {
      std::size_t comma = term.find(',', tokenStart);
      if (comma == std::string_view::npos) comma = term.size();
      // Blanks pass the check as separators, so "Cu, Zn" means Cu or Zn and
      // "! Pb" means no lead.
      std::string_view raw = trimBlanks(term.substr(tokenStart, comma - tokenStart));
      std::string token;
      if (!raw.empty() && raw.front() == '!') {
        token.push_back('!');
        raw = trimBlanks(raw.substr(1));
      }
      token.append(raw);
      const int offset = elementTokenSlot(token);
      if (offset >= 0) {
        termList = uniteNumberLists(std::move(termList),
                                     index.readIndexSlot(kElementSlotBase + offset));
      }
      tokenStart = comma + 1;
    }
    if (!termList) return std::nullopt;
    running = restrictNumberList(std::move(running), std::move(termList));
    if (!running) return std::nullopt;
    termStart = plus + 1;
  }
  return running;
}

}  // namespace kalvor
