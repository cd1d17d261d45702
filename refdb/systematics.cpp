#include "refdb/systematics.h"

#include <array>

#include "base/bytes.h"
#include "base/file_io.h"

namespace kalvor {
namespace {

constexpr std::array<std::string_view, 9> kRomanClasses = {"I",  "II",  "III",  "IV", "V",
                                                           "VI", "VII", "VIII", "IX"};
constexpr std::size_t kMaxTitleLength = 255;
// A line this short (with its line end) separates the two sections.
constexpr std::size_t kSeparatorLineLength = 3;

bool isUpperLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F ||
         (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}
bool isLowerLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || c == 0x9A || c == 0x9C || c == 0x9E ||
         (c >= 0xDF && c != 0xF7);
}
bool beginsUpper(std::string_view s) { return !s.empty() && isUpperLetter(s[0]); }
bool beginsLower(std::string_view s) { return !s.empty() && isLowerLetter(s[0]); }
bool beginsLetter(std::string_view s) { return beginsUpper(s) || beginsLower(s); }

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A decimal number read the way the C library's atoi and "%d" read it
// (leading blanks, a sign, digits; anything else ends it). The value wraps
// instead of overflowing, which keeps its low bits exact.
struct Decimal {
  std::int32_t value = 0;
  std::size_t consumed = 0;  // characters up to the last digit
  bool hasDigits = false;
};

Decimal leadingDecimal(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::uint32_t v = 0;
  const std::size_t firstDigit = i;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10u + static_cast<unsigned>(s[i] - '0');
  Decimal d;
  d.hasDigits = i > firstDigit;
  d.consumed = d.hasDigits ? i : 0;
  d.value = static_cast<std::int32_t>(negative ? 0u - v : v);
  return d;
}

// One line of the file as a C program reading it in text mode sees it.
struct Line {
  std::size_t offset = 0;  // of its first character in the file
  std::string_view text;   // without line end
  std::size_t length = 0;  // with its line end, as the short-line test counts
};

// Splits the file into lines. A CR before the LF is dropped as text mode
// would; a NUL ends the line's text (the rest up to the LF is ignored).
class LineReader {
 public:
  explicit LineReader(std::string_view content) : content_(content) {}
  bool next(Line& line) {
    if (pos_ >= content_.size()) return false;
    const std::size_t lf = content_.find('\n', pos_);
    const std::size_t end = lf == std::string_view::npos ? content_.size() : lf;
    std::string_view text = content_.substr(pos_, end - pos_);
    bool ended = lf != std::string_view::npos;
    if (ended && !text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
      text = text.substr(0, nul);
      ended = false;
    }
    line.offset = pos_;
    line.text = text;
    line.length = text.size() + (ended ? 1 : 0);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view content_;
  std::size_t pos_ = 0;
};

bool isSeparatorLine(const Line& line) { return line.length < kSeparatorLineLength; }

// Splits a line into its key (before the first TAB) and its text (after the
// TAB run, cut to the title length). Returns false for a line without TAB.
bool splitLine(const Line& line, std::string_view& key, std::uint32_t& textOffset, std::string& text) {
  const std::size_t tab = line.text.find('\t');
  if (tab == std::string_view::npos) return false;
  key = line.text.substr(0, tab);
  std::size_t start = tab;
  while (start < line.text.size() && line.text[start] == '\t') ++start;
  textOffset = static_cast<std::uint32_t>(line.offset + start);
  text = std::string(line.text.substr(start, kMaxTitleLength));
  return true;
}

}  // namespace

StrunzNumber loadStrunzNumber(const std::uint8_t* p) {
  StrunzNumber n;
  n.classNumber = p[0];
  n.letter = p[1];
  n.number = p[2];
  n.spare = p[3];
  n.rangeEnd = loadI16(p + 4);
  return n;
}

void storeStrunzNumber(std::uint8_t* p, const StrunzNumber& n) {
  p[0] = n.classNumber;
  p[1] = n.letter;
  p[2] = n.number;
  p[3] = n.spare;
  storeU16(p + 4, static_cast<std::uint16_t>(n.rangeEnd));
}

HeyNumber loadHeyNumber(const std::uint8_t* p) { return HeyNumber{p[0], p[1], p[2]}; }

void storeHeyNumber(std::uint8_t* p, const HeyNumber& n) {
  p[0] = n.a;
  p[1] = n.b;
  p[2] = n.c;
}

std::string formatStrunzNumber(const StrunzNumber& n) {
  if (n.classNumber < 1 || n.classNumber > 9) return {};
  std::string text(kRomanClasses[n.classNumber - 1]);
  text += '/';
  if (n.letter == 0) return text;
  text += static_cast<char>(n.letter);
  text += '.';
  if (n.number == 0) return text;
  text += std::to_string(n.number);
  if (n.rangeEnd == 0) return text;
  return text + "-" + std::to_string(n.rangeEnd);
}

std::string formatHeyNumber(const HeyNumber& n) {
  if (n.a == 0) return {};
  std::string text = std::to_string(n.a) + "." + std::to_string(n.b);
  if (n.c != 0) text += "." + std::to_string(n.c);
  return text;
}

StrunzNumber parseStrunzNumber(std::string_view input) {
  std::string t(input.substr(0, input.find('\0')));
  if (t.find('/') == std::string::npos) t += '/';
  StrunzNumber n;
  for (std::size_t c = 0; c < kRomanClasses.size(); ++c) {
    const std::string_view roman = kRomanClasses[c];
    if (t.size() <= roman.size() || t[roman.size()] != '/') continue;
    bool same = true;
    for (std::size_t i = 0; i < roman.size() && same; ++i) same = asciiUpper(t[i]) == roman[i];
    if (same) {
      n.classNumber = static_cast<std::uint8_t>(c + 1);
      break;
    }
  }
  if (n.classNumber == 0) return {};
  const std::size_t slash = t.find('/');
  if (const auto dash = t.find('-', slash + 1); dash != std::string::npos) {
    n.rangeEnd = static_cast<std::int16_t>(leadingDecimal(std::string_view(t).substr(dash + 1)).value);
    t.resize(dash);
  }
  if (slash + 1 < t.size()) {
    // Only A-Z name a subclass; anything else would index the wrong search slot.
    const char letter = asciiUpper(t[slash + 1]);
    if (letter >= 'A' && letter <= 'Z') n.letter = static_cast<std::uint8_t>(letter);
  }
  if (slash + 3 < t.size())
    n.number = static_cast<std::uint8_t>(leadingDecimal(std::string_view(t).substr(slash + 3)).value);
  return n;
}

std::optional<HeyNumber> parseHeyNumber(std::string_view text) {
  HeyNumber n;
  std::uint8_t* parts[3] = {&n.a, &n.b, &n.c};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (text.empty() || text[0] != '.') break;
      text.remove_prefix(1);
    }
    const Decimal d = leadingDecimal(text);
    if (!d.hasDigits) {
      if (i == 0) return std::nullopt;
      break;  // a missing part is 0
    }
    if (d.value < 0 || d.value > 255) return std::nullopt;
    *parts[i] = static_cast<std::uint8_t>(d.value);
    text.remove_prefix(d.consumed);
  }
  if (n.a == 0) return std::nullopt;
  return n;
}

StrunzTable loadStrunzTable(std::string_view content) {
  StrunzTable table;
  LineReader reader(content);
  Line line;
  std::uint8_t previousClass = 0;
  while (reader.next(line) && !isSeparatorLine(line)) {
    std::string_view key;
    StrunzEntry entry;
    if (!splitLine(line, key, entry.textOffset, entry.text)) continue;
    entry.number = parseStrunzNumber(key);
    const std::uint8_t c = entry.number.classNumber;
    if (c == 0) continue;
    const auto index = static_cast<std::uint32_t>(table.entries.size());
    if (c != previousClass) {
      // A class's title is its first line; a class that comes back later in
      // an unordered file keeps that first line.
      if (table.classIndex.size() < c) table.classIndex.resize(c, StrunzTable::kNoEntry);
      if (table.classIndex[c - 1] == StrunzTable::kNoEntry) table.classIndex[c - 1] = index;
      previousClass = c;
    }
    table.entries.push_back(std::move(entry));
  }
  return table;
}

std::vector<HeyEntry> loadHeyTable(std::string_view content) {
  std::vector<HeyEntry> table;
  LineReader reader(content);
  Line line;
  bool inSection = false;
  while (reader.next(line)) {
    if (isSeparatorLine(line)) {
      if (inSection) break;
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    std::string_view key;
    HeyEntry entry;
    if (!splitLine(line, key, entry.textOffset, entry.text)) continue;
    const auto number = parseHeyNumber(key);
    if (!number) continue;
    entry.number = *number;
    table.push_back(std::move(entry));
  }
  return table;
}

Systematics Systematics::fromContent(std::string_view content) {
  Systematics s;
  s.loaded_ = true;
  s.strunz_ = loadStrunzTable(content);
  s.hey_ = loadHeyTable(content);
  return s;
}

Systematics Systematics::load(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) return Systematics();
  return fromContent(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::optional<std::string> Systematics::strunzText(const StrunzNumber& n) const {
  if (!loaded_ || n.classNumber < 1 || n.classNumber > 9) return std::nullopt;
  std::string text = "Lapis/Strunz-" + formatStrunzNumber(n) + ": ";
  const auto& entries = strunz_.entries;
  const auto& classIndex = strunz_.classIndex;
  if (classIndex.size() < n.classNumber || classIndex[n.classNumber - 1] == StrunzTable::kNoEntry)
    return text;
  const std::size_t classEntry = classIndex[n.classNumber - 1];
  text += entries[classEntry].text;
  // A number without letter names the class alone; the class line itself
  // would otherwise be taken for its subclass.
  if (n.letter == 0) return text;

  auto sameSubclass = [&](const StrunzEntry& e) {
    return e.number.classNumber == n.classNumber && e.number.letter == n.letter;
  };
  std::size_t groupStart = classEntry;
  while (groupStart < entries.size() && !sameSubclass(entries[groupStart])) ++groupStart;
  if (groupStart == entries.size()) return text;

  // Where the replaceable title starts: a more precise title found later
  // takes its place, behind the same separator.
  std::optional<std::size_t> replaceable;
  if (entries[groupStart].number.number == 0) {
    const std::string& s = entries[groupStart].text;
    if (beginsUpper(s)) {
      text += "; ";
      replaceable = text.size();
      text += s;
    } else if (!s.empty()) {
      text += " " + s;
    }
    ++groupStart;
  }

  for (std::size_t i = groupStart; i < entries.size(); ++i) {
    const StrunzEntry& e = entries[i];
    if (!sameSubclass(e)) continue;
    const int from = e.number.number;
    const int to = e.number.rangeEnd;
    const bool match = to == 0 ? from == n.number : (from <= n.number && n.number <= to);
    if (!match || e.text.empty()) continue;
    const std::string& g = e.text;
    if (replaceable && beginsUpper(g)) {
      text.resize(*replaceable);
      if (text.empty() || text.back() != ' ') text += ' ';
      text += g;
    } else if (replaceable) {
      text += " " + g;
      replaceable.reset();
    } else {
      if (beginsLetter(g)) text += ' ';
      if (to != 0 && beginsUpper(g)) replaceable = text.size();
      text += g;
    }
  }
  return text;
}

std::optional<std::string> Systematics::heyText(const HeyNumber& n) const {
  if (!loaded_ || n.a == 0) return std::nullopt;
  std::string prefix = "Heys-" + formatHeyNumber(n) + ": ";
  std::size_t first = 0;
  while (first < hey_.size() && hey_[first].number.a != n.a) ++first;
  if (first == hey_.size()) return prefix;
  std::string title = hey_[first].text;
  for (std::size_t i = first; i < hey_.size(); ++i) {
    const HeyEntry& e = hey_[i];
    if (e.number.a != n.a || e.number.b != n.b) continue;
    // The first line itself may be the a.b line; it never adds to itself.
    if (i == first) break;
    if (beginsLower(e.text))
      title += " " + e.text;
    else
      title = e.text;
    break;
  }
  return prefix + title;
}

}  // namespace kalvor
