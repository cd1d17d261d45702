#include "render/formula_drawing.h"

#include <algorithm>
#include <cstddef>

namespace kalvor {
namespace {

struct GreekName {
  std::string_view name;
  char letter;
};

constexpr GreekName kGreekLetterTable[] = {
    {"alpha", 'a'}, {"beta", 'b'}, {"gamma", 'g'}, {"delta", 'd'}, {"epsilon", 'e'},
};

// Earliest position at or after `from` where a Greek name starts; npos without one.
std::size_t findGreekName(std::string_view text, std::size_t from) {
  std::size_t best = std::string_view::npos;
  for (const GreekName& g : kGreekLetterTable) {
    const std::size_t p = text.find(g.name, from);
    if (p < best) best = p;
  }
  return best;
}

// The argument of a "^" or "_" at `markup`: the next character, or the text
// inside the braces. `next` receives the position after the argument.
std::string_view scriptArgument(std::string_view text, std::size_t markup, std::size_t& next) {
  const std::size_t start = markup + 1;
  if (start >= text.size()) {
    next = text.size();
    return {};
  }
  if (text[start] != '{') {
    next = start + 1;
    return text.substr(start, 1);
  }
  const std::size_t close = text.find('}', start + 1);
  if (close == std::string_view::npos) {
    // An unclosed brace: nothing is raised or lowered, and what follows is
    // shown as ordinary text rather than lost.
    next = start + 1;
    return {};
  }
  next = close + 1;
  return text.substr(start + 1, close - start - 1);
}

class FormulaPainter {
 public:
  FormulaPainter(Canvas& canvas, const FormulaFonts& fonts, bool measureOnly)
      : canvas_(canvas), fonts_(fonts), measureOnly_(measureOnly),
        offsets_(canvas.scriptOffsets()) {}

  // Draws plain text in the current font at (x, y); returns its width.
  int plain(int x, int y, std::string_view text) {
    if (text.empty()) return 0;
    if (!measureOnly_) canvas_.drawText(x, y, text);
    return canvas_.measureText(text).width;
  }

  // Draws the text between two markup characters, with its Greek names.
  int plainWithGreek(int x, int y, std::string_view text) {
    int width = 0;
    std::size_t pos = 0;
    for (std::size_t g = findGreekName(text, 0); g != std::string_view::npos;
         g = findGreekName(text, pos)) {
      width += plain(x + width, y, text.substr(pos, g - pos));
      std::size_t length = 0;
      const char letter = greekLetterAt(text.substr(g), length);
      {
        ScopedFont greek(canvas_, fonts_.greek);
        width += plain(x + width, y, std::string_view(&letter, 1));
      }
      pos = g + length;
    }
    return width + plain(x + width, y, text.substr(pos));
  }

  // Draws one script argument in the small font at the given shift.
  int script(int x, int baseline, std::string_view argument) {
    ScopedFont small(canvas_, fonts_.small);
    return plain(x, baseline, argument);
  }

  const ScriptOffsets& offsets() const { return offsets_; }

 private:
  Canvas& canvas_;
  const FormulaFonts& fonts_;
  bool measureOnly_;
  ScriptOffsets offsets_;
};

}  // namespace

char greekLetterAt(std::string_view text, std::size_t& length) {
  for (const GreekName& g : kGreekLetterTable) {
    if (text.substr(0, g.name.size()) == g.name) {
      length = g.name.size();
      return g.letter;
    }
  }
  length = 0;
  return 0;
}

FormulaExtent drawFormula(Canvas& canvas, int x, int y, std::string_view text,
                          const FormulaFonts& fonts, bool measureOnly) {
  ScopedFont normal(canvas, fonts.normal);
  FormulaPainter painter(canvas, fonts, measureOnly);
  FormulaExtent extent;
  extent.lineHeight = canvas.measureText("Ag").height;
  if (text.find('_') != std::string_view::npos) extent.lineHeight += painter.offsets().extraBelow;

  const int superBaseline = y - painter.offsets().superscriptRise;
  const int subBaseline = y + painter.offsets().subscriptDrop;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t markup = std::min(text.find('^', pos), text.find('_', pos));
    const std::size_t plainEnd = markup == std::string_view::npos ? text.size() : markup;
    x += painter.plainWithGreek(x, y, text.substr(pos, plainEnd - pos));
    if (markup == std::string_view::npos) break;

    std::size_t next = 0;
    const bool raised = text[markup] == '^';
    const std::string_view first = scriptArgument(text, markup, next);
    std::string_view second;
    // The other kind of script right behind the argument stands over or under it.
    const char other = raised ? '_' : '^';
    const bool stacked = next < text.size() && text[next] == other;
    if (stacked) second = scriptArgument(text, next, next);

    // The wider of the two arguments decides where the formula goes on.
    const int firstWidth = painter.script(x, raised ? superBaseline : subBaseline, first);
    const int secondWidth = painter.script(x, raised ? subBaseline : superBaseline, second);
    const int width = std::max(firstWidth, secondWidth);
    if (raised || stacked) extent.extraAbove = painter.offsets().extraAbove;
    x += width;
    pos = next;
  }
  extent.endX = x;
  return extent;
}

}  // namespace kalvor
