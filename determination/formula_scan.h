// Scanning mineral formulas for the elements and structural groups they
// contain, and the element expressions ("U+Pb", "Zn,Cu", "!Pb") that the
// determination searches with.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "determination/index_slot_source.h"

namespace kalvor {

// Table indexes found by a scan, in the order the scan produced them.
using IndexList = std::vector<int>;

// First slot of the "formula contains" slots; elementTokenSlot counts from here.
inline constexpr int kElementSlotBase = 655;

// Element indexes present in the formula, in table order; 105 (rare earths)
// follows the first rare-earth element found. Sub- and superscripts are ignored.
IndexList elementsInFormula(std::string_view formula);

// Every index 0 - 105, ascending, that is neither present nor an unseen element.
IndexList elementsNotInFormula(std::string_view formula);
// The same, from the list elementsInFormula returned for the formula.
IndexList elementsNotIn(const IndexList& present);

// Group indexes present, in table order, then those found through
// parenthesised alternatives: Ca(P,As)O_4 holds PO4 and AsO4.
IndexList groupsInFormula(std::string_view formula);

// The group indexes 0 - 13, ascending, that groupsInFormula does not return.
IndexList groupsNotInFormula(std::string_view formula);
// The same, from the list groupsInFormula returned for the formula.
IndexList groupsNotIn(const IndexList& present);

// Removes superscripts whole and keeps the content of subscripts:
// "SO_4^{2-}" becomes "SO4". A "^{" without "}" cuts the text there.
std::string stripFormulaMarkup(std::string_view text);

// The check of an element expression.
struct ElementCheck {
  // 0 when valid; p > 0 when position p - 1 holds a character that belongs to
  // no name; -p when position p - 1 starts an element no mineral contains.
  int result = 0;
  // The part of the text to select for the user when invalid: [begin, end).
  std::size_t selectionBegin = 0;
  std::size_t selectionEnd = 0;
};

// Checks an element expression; blanks, ",", "+" and "!" pass as separators.
ElementCheck validateElementExpression(std::string_view text);

// The minerals matching an element expression: terms joined by "+" must all
// hold, tokens joined by "," any one. Blanks around a token are ignored.
// Absent when nothing matches (or a term names nothing known).
OptionalNumberList searchElementExpression(std::string_view text,
                                                   const IndexSlotSource& index);

// Slot offset from 655 of one token ("Pb" -> 67, "!Pb" -> 173, "SO4" -> 221,
// "ree"/"SE" -> 105, "!SE" -> 211), or -1 for no known name.
int elementTokenSlot(std::string_view token);

}  // namespace kalvor
