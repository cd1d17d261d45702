// The program's one German collation of mineral names: umlauts and ß are
// compared as their two-letter spellings, accented vowels as their base
// letter, and the case of A to Z is ignored. Texts are Windows-1252.
#pragma once

#include <string_view>

namespace kalvor {

// Quick and folded length with which every alphabetical mineral list compares names.
inline constexpr int kNameCompareLength = 40;

// Returns the first letter of the character's fold ('Ä' and 'A' give 'a',
// 'É' gives 'e'); characters without a fold are returned unchanged.
char foldInitial(char c);

// Returns true iff `c` folds to two letters (Ä Ö Ü ä ö ü ß).
bool isExpandingCharacter(char c);

// Compares two names as if both were folded first: negative when `a` sorts
// before `b`, 0 when equal, positive after. Names whose first `quickLength`
// characters match ignoring case are equal; otherwise at most `foldedLength`
// folded letters are compared.
int collateCompare(std::string_view a, std::string_view b, int quickLength, int foldedLength);

// Returns n plus the number of expanding characters among the first n
// characters of `text` (fewer when the text is shorter): the folded length
// to pass to collateCompare when comparing only as far as a typed prefix.
int foldedPrefixLength(std::string_view text, int n);

}  // namespace kalvor
