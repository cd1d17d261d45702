#include "refdb/collation.h"

#include <array>
#include <cstddef>

namespace kalvor {
namespace {

// A character's folded form: one or two letters.
struct Fold {
  char first;
  char second;
  int count;
};

// Windows-1252 codes of the characters with a fold of their own.
constexpr unsigned char kAUmlaut = 0xC4, kOUmlaut = 0xD6, kUUmlaut = 0xDC;
constexpr unsigned char kaUmlaut = 0xE4, koUmlaut = 0xF6, kuUmlaut = 0xFC, kSharpS = 0xDF;

// Every other Windows-1252 letter with a diacritic, folded to its base
// letter, so that Šreinit sorts among the S and Ýit among the Y, as German
// readers expect:
//   Ë ë È è É é Ê ê   À Á à á Å å Â â Ã ã   Ø ø Ò Ó ò ó Ô ô Õ õ   Ï ï Ì Í Î ì í î
//   Š š Ž ž Ç ç Ñ ñ Ð ð   Ù Ú Û ù ú û   Ý ý Ÿ ÿ
constexpr unsigned char kOneLetterFrom[] = {
    0xCB, 0xEB, 0xC8, 0xE8, 0xC9, 0xE9, 0xCA, 0xEA,              // e
    0xC0, 0xC1, 0xE0, 0xE1, 0xC5, 0xE5, 0xC2, 0xE2, 0xC3, 0xE3,  // a
    0xD8, 0xF8, 0xD2, 0xD3, 0xF2, 0xF3, 0xD4, 0xF4, 0xD5, 0xF5,  // o
    0xCF, 0xEF, 0xCC, 0xCD, 0xCE, 0xEC, 0xED, 0xEE,              // i
    0x8A, 0x9A, 0x8E, 0x9E, 0xC7, 0xE7, 0xD1, 0xF1, 0xD0, 0xF0,  // s z c n d
    0xD9, 0xDA, 0xDB, 0xF9, 0xFA, 0xFB,                          // u
    0xDD, 0xFD, 0x9F, 0xFF};                                     // y
constexpr char kOneLetterTo[] =
    "eeeeeeee"
    "aaaaaaaaaa"
    "oooooooooo"
    "iiiiiiii"
    "sszzccnndd"
    "uuuuuu"
    "yyyy";
static_assert(sizeof kOneLetterFrom + 1 == sizeof kOneLetterTo);

// Windows-1252 codes of the ligatures that fold to two letters.
constexpr unsigned char kAE = 0xC6, kae = 0xE6, kOE = 0x8C, koe = 0x9C, kThorn = 0xDE, kthorn = 0xFE;

// The two-letter table: blank, the umlauts, ß, the ligatures and the capitals A to Z.
constexpr bool foldTwoLetter(unsigned char c, Fold& out) {
  switch (c) {
    case ' ': out = {' ', 0, 1}; return true;
    case kAUmlaut: case kaUmlaut: out = {'a', 'e', 2}; return true;
    case kOUmlaut: case koUmlaut: out = {'o', 'e', 2}; return true;
    case kUUmlaut: case kuUmlaut: out = {'u', 'e', 2}; return true;
    case kSharpS: out = {'s', 's', 2}; return true;
    case kAE:
    case kae:
      out = {'a', 'e', 2};
      return true;
    case kOE:
    case koe:
      out = {'o', 'e', 2};
      return true;
    case kThorn:
    case kthorn:
      out = {'t', 'h', 2};
      return true;
    default: break;
  }
  if (c >= 'A' && c <= 'Z') {
    out = {static_cast<char>(c - 'A' + 'a'), 0, 1};
    return true;
  }
  return false;
}

// The one-letter table alone; other characters stay as they are.
constexpr char foldOneLetter(unsigned char c) {
  for (std::size_t i = 0; i < sizeof kOneLetterFrom; ++i) {
    if (kOneLetterFrom[i] == c) return kOneLetterTo[i];
  }
  return static_cast<char>(c);
}

struct FoldTables {
  std::array<Fold, 256> fold{};
};

// The fold of every byte, computed once by the compiler: sorting the
// whole name list folds a few million characters.
constexpr FoldTables makeFoldTables() {
  FoldTables t;
  for (int c = 0; c < 256; ++c) {
    const auto uc = static_cast<unsigned char>(c);
    Fold f{0, 0, 1};
    if (!foldTwoLetter(uc, f)) f = {foldOneLetter(uc), 0, 1};
    t.fold[static_cast<std::size_t>(c)] = f;
  }
  return t;
}

constexpr FoldTables kFoldTables = makeFoldTables();

Fold fold(unsigned char c) { return kFoldTables.fold[c]; }

// The character at i, or 0 past the end (the end of a text compares as 0).
unsigned char at(std::string_view s, std::size_t i) {
  return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

unsigned char lowerAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Letters are compared as unsigned bytes: the characters above 127 that
// have no fold (signs such as · or ×) sort after the letters, not before "A".
int letterDifference(char a, char b) {
  return static_cast<int>(static_cast<unsigned char>(a)) - static_cast<int>(static_cast<unsigned char>(b));
}

// The folded form of a text, produced one letter at a time; 0 once the
// text has ended. An expanding character's second letter is held back for
// the next call.
class FoldedLetters {
 public:
  explicit FoldedLetters(std::string_view text) : text_(text) {}
  char next() {
    if (pending_ != 0) {
      const char letter = pending_;
      pending_ = 0;
      return letter;
    }
    const unsigned char c = at(text_, pos_);
    if (c == 0) return 0;
    ++pos_;
    const Fold f = fold(c);
    if (f.count == 2) pending_ = f.second;
    return f.first;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  char pending_ = 0;
};

}  // namespace

char foldInitial(char c) { return fold(static_cast<unsigned char>(c)).first; }

bool isExpandingCharacter(char c) { return fold(static_cast<unsigned char>(c)).count == 2; }

int collateCompare(std::string_view a, std::string_view b, int quickLength, int foldedLength) {
  // Most pairs that are equal at all are equal up to case: settle those cheaply.
  bool sameIgnoringCase = true;
  for (int k = 0; k < quickLength; ++k) {
    const unsigned char ca = at(a, static_cast<std::size_t>(k));
    const unsigned char cb = at(b, static_cast<std::size_t>(k));
    if (lowerAscii(ca) != lowerAscii(cb)) {
      sameIgnoringCase = false;
      break;
    }
    if (ca == 0) break;
  }
  if (sameIgnoringCase) return 0;

  // Walk both folded forms letter by letter. "Ä" against "A" compares
  // "a", "e" with "a" and the first letter of whatever follows the "A", so
  // Äschynit meets Aeschynit letter for letter.
  FoldedLetters x(a), y(b);
  for (int used = 0; used < foldedLength; ++used) {
    const char la = x.next();
    const char lb = y.next();
    if (la != lb) return letterDifference(la, lb);
    if (la == 0) return 0;  // both ended
  }
  return 0;
}

int foldedPrefixLength(std::string_view text, int n) {
  int expanding = 0;
  for (int k = 0; k < n && static_cast<std::size_t>(k) < text.size(); ++k) {
    if (isExpandingCharacter(text[static_cast<std::size_t>(k)])) ++expanding;
  }
  return n + expanding;
}

}  // namespace kalvor
