// Drawing and measuring of a chemical formula with its markup: "_" lowers
// the next character or braced group, "^" raises it, a "_" or "^" right
// behind the argument of the other is stacked above or below it, and the
// names "alpha" ... "epsilon" are drawn as Greek letters.
#pragma once

#include <string_view>

#include "render/canvas.h"

namespace kalvor {

// What drawFormula reports about a formula.
struct FormulaExtent {
  int lineHeight = 0;  // height of "Ag" in the normal font, plus the room below
                       // for subscripts when the formula has any "_"
  int endX = 0;        // x position after the formula
  int extraAbove = 0;  // room a superscript needs above the line; 0 without one
};

// Fonts used by drawFormula.
struct FormulaFonts {
  FontSlot normal = FontSlot::kText;
  FontSlot small = FontSlot::kSmall;
  FontSlot greek = FontSlot::kGreek;
};

// Draws `text` with its baseline at y from x (nothing is drawn when
// `measureOnly`), and returns its extent. The canvas's font is the same
// afterwards. A "{" without "}" gives an empty argument and the text after
// it is drawn as plain text.
FormulaExtent drawFormula(Canvas& canvas, int x, int y, std::string_view text,
                          const FormulaFonts& fonts, bool measureOnly);

// The letter that stands for a Greek name in the Greek font, when `text`
// starts with one of "alpha", "beta", "gamma", "delta", "epsilon"; `length`
// receives the name's length. 0 when it does not.
char greekLetterAt(std::string_view text, std::size_t& length);

}  // namespace kalvor
