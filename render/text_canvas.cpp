#include "render/text_canvas.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "base/cp1252.h"

namespace kalvor {
namespace {

constexpr int kRowHeight = 4;  // ascent 3 + descent 1 of every normal font

std::string utf8Of(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::optional<char32_t> superscriptOf(char c) {
  switch (c) {
    case '1': return U'\u00B9';
    case '2': return U'\u00B2';
    case '3': return U'\u00B3';
    case '+': return U'\u207A';
    case '-': return U'\u207B';
    case '=': return U'\u207C';
    case '(': return U'\u207D';
    case ')': return U'\u207E';
    case 'n': return U'\u207F';
    case 'i': return U'\u2071';
    default: break;
  }
  if (c == '0' || (c >= '4' && c <= '9')) return static_cast<char32_t>(0x2070 + (c - '0'));
  return std::nullopt;
}

std::optional<char32_t> subscriptOf(char c) {
  if (c >= '0' && c <= '9') return static_cast<char32_t>(0x2080 + (c - '0'));
  switch (c) {
    case '+': return U'\u208A';
    case '-': return U'\u208B';
    case '=': return U'\u208C';
    case '(': return U'\u208D';
    case ')': return U'\u208E';
    case 'a': return U'\u2090';
    case 'e': return U'\u2091';
    case 'o': return U'\u2092';
    case 'x': return U'\u2093';
    case 'h': return U'\u2095';
    case 'k': return U'\u2096';
    case 'l': return U'\u2097';
    case 'm': return U'\u2098';
    case 'n': return U'\u2099';
    case 'p': return U'\u209A';
    case 's': return U'\u209B';
    case 't': return U'\u209C';
    default: return std::nullopt;
  }
}

// A run of scripts: Unicode forms when every character has one, else markup.
std::string scriptRun(const std::string& run, bool raised) {
  std::string out;
  for (char c : run) {
    const std::optional<char32_t> u = raised ? superscriptOf(c) : subscriptOf(c);
    if (!u) return std::string(raised ? "^{" : "_{") + cp1252ToUtf8(run) + "}";
    out += utf8Of(*u);
  }
  return out;
}

bool isScriptFont(FontSlot f) { return f == FontSlot::kSmall || f == FontSlot::kLowered; }

struct Cell {
  std::string normal;  // UTF-8, empty when nothing at the baseline
  bool overline = false;
  char sub = 0;
  char sup = 0;
};

// The cells of a row from column min(0, leftmost drawn) on, without gaps:
// a row is rendered column by column anyway, and an empty cell is a blank.
class Row {
 public:
  bool rule = false;

  Cell& at(int column) {
    if (cells_.empty()) origin_ = std::min(0, column);
    if (column < origin_) {
      cells_.insert(cells_.begin(), static_cast<std::size_t>(origin_ - column), Cell{});
      origin_ = column;
    }
    const auto i = static_cast<std::size_t>(column - origin_);
    if (i >= cells_.size()) cells_.resize(i + 1);
    return cells_[i];
  }
  const Cell* find(int column) const {
    if (column < origin_ || column - origin_ >= static_cast<int>(cells_.size())) return nullptr;
    return &cells_[static_cast<std::size_t>(column - origin_)];
  }
  const std::vector<Cell>& cells() const { return cells_; }

 private:
  int origin_ = 0;
  std::vector<Cell> cells_;
};

std::string renderRow(const Row& row) {
  std::string out;
  std::string subRun, supRun;
  auto flush = [&] {
    if (!subRun.empty()) out += scriptRun(subRun, false);
    if (!supRun.empty()) out += scriptRun(supRun, true);
    subRun.clear();
    supRun.clear();
  };
  for (const Cell& cell : row.cells()) {
    if (!cell.normal.empty()) {
      flush();
      out += cell.normal;
      if (cell.overline) out += utf8Of(U'\u0305');
    }
    if (cell.sub) subRun += cell.sub;
    if (cell.sup) supRun += cell.sup;
    if (cell.normal.empty() && !cell.sub && !cell.sup) {
      flush();
      out += ' ';
    }
  }
  flush();
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

std::string greekFontCharToUtf8(char c) {
  // The Latin letters of the Symbol font stand for these Greek letters.
  static constexpr char32_t kLower[26] = {
      U'\u03B1', U'\u03B2', U'\u03C7', U'\u03B4', U'\u03B5', U'\u03C6', U'\u03B3',
      U'\u03B7', U'\u03B9', U'\u03D5', U'\u03BA', U'\u03BB', U'\u03BC', U'\u03BD',
      U'\u03BF', U'\u03C0', U'\u03B8', U'\u03C1', U'\u03C3', U'\u03C4', U'\u03C5',
      U'\u03D6', U'\u03C9', U'\u03BE', U'\u03C8', U'\u03B6'};
  if (c >= 'a' && c <= 'z') return utf8Of(kLower[c - 'a']);
  if (c >= 'A' && c <= 'Z') {
    const char32_t lower = kLower[c - 'A'];
    // The capital Greek letters lie 0x20 below the small ones.
    if (lower >= U'\u03B1' && lower <= U'\u03C9') return utf8Of(lower - 0x20);
    return utf8Of(lower);
  }
  return cp1252ToUtf8(std::string_view(&c, 1));
}

FixedCanvasMetrics textCellMetrics() {
  FixedCanvasMetrics m;
  for (FixedFontMetrics& f : m.fonts) f = FixedFontMetrics{1, 3, 1, 3};
  m.fonts[static_cast<int>(FontSlot::kSmall)] = FixedFontMetrics{1, 2, 0, 2};
  m.offsets = ScriptOffsets{1, 1, 0, 0};
  m.averageCharWidth = 1;
  m.checkMarkWidth = 2;
  return m;
}

TextCanvas::TextCanvas() : MeasuringCanvas(textCellMetrics()) {}

std::vector<std::string> TextCanvas::renderLines() const {
  // Baselines of ordinary text are the rows; a script joins the row within
  // one unit of it, or makes a row of its own when there is none.
  // A clipped text whose baseline lies outside its clip's rows shows nothing.
  auto clippedAway = [](const DrawnText& t) {
    return t.clip && (t.baseline < t.clip->top || t.baseline >= t.clip->bottom);
  };
  std::set<int> baselines;
  for (const DrawnText& t : texts())
    if (!isScriptFont(t.font) && !clippedAway(t)) baselines.insert(t.baseline);
  for (const DrawnCheckMark& c : checkMarks()) baselines.insert(c.baseline);
  auto rowOf = [&](int baseline) {
    for (int d : {0, -1, 1})
      if (baselines.count(baseline + d)) return baseline + d;
    return baseline;
  };
  for (const DrawnText& t : texts())
    if (isScriptFont(t.font) && !clippedAway(t) && rowOf(t.baseline) == t.baseline)
      baselines.insert(t.baseline);

  // Rows keyed by y; a rule row gets y * 2 + 1 so that it sorts between text rows.
  std::map<long, Row> rows;
  auto textRow = [&](int baseline) -> Row& { return rows[static_cast<long>(baseline) * 2]; };
  for (const DrawnText& t : texts()) {
    // A clipped text keeps only the columns inside its clip.
    if (clippedAway(t)) continue;
    const int row = rowOf(t.baseline);
    Row& r = textRow(row);
    for (std::size_t i = 0; i < t.text.size(); ++i) {
      const int column = t.x + static_cast<int>(i);
      if (t.clip && (column < t.clip->left || column >= t.clip->right)) continue;
      Cell& cell = r.at(column);
      const char c = t.text[i];
      if (t.baseline > row) {
        cell.sub = c;
      } else if (t.baseline < row) {
        cell.sup = c;
      } else {
        cell.normal = t.font == FontSlot::kGreek ? greekFontCharToUtf8(c)
                                                 : cp1252ToUtf8(std::string_view(&c, 1));
      }
    }
  }
  for (const DrawnCheckMark& c : checkMarks()) textRow(c.baseline).at(c.x).normal = "\u2713";

  for (const DrawnLine& l : lines()) {
    if (l.y1 != l.y2) continue;
    const int left = std::min(l.x1, l.x2), right = std::max(l.x1, l.x2);
    // A bar lies within a text line's ascent and covers drawn characters
    // only; anything else is a rule of its own.
    bool over = false;
    for (int b : baselines) {
      if (l.y1 <= b - kRowHeight || l.y1 >= b) continue;
      Row& r = textRow(b);
      const int end = std::max(right, left + 1);
      bool covered = true;
      for (int col = left; col < end && covered; ++col) {
        const Cell* cell = r.find(col);
        covered = cell != nullptr && !cell->normal.empty();
      }
      if (!covered) continue;
      for (int col = left; col < end; ++col) r.at(col).overline = true;
      over = true;
      break;
    }
    if (over) continue;
    Row& rule = rows[static_cast<long>(l.y1) * 2 + 1];
    rule.rule = true;
    for (int col = left; col < right; ++col) rule.at(col).normal = "-";
  }

  std::vector<std::string> out;
  for (const auto& [key, row] : rows) out.push_back(renderRow(row));
  return out;
}

std::string TextCanvas::renderText() const {
  std::string s;
  for (const std::string& line : renderLines()) {
    s += line;
    s += '\n';
  }
  return s;
}

}  // namespace kalvor
