// Laid-out text: the glossary entries as the description window shows them.
// A small markup ("#cross reference#", "@emphasis@", "$formula$", "~" for a
// forced break) is broken into lines for a width; the line table (length and
// height of every line) is what the window scrolls by, and drawing from a
// first line yields the link areas of the cross references and emphases.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas.h"

namespace kalvor {

// One line of laid-out text: where it starts in the text, how many
// characters it has (the separators after it excluded) and how tall it is.
struct TextLine {
  std::uint32_t start = 0;
  std::uint16_t length = 0;
  std::uint16_t height = 0;
};

// The line table of a text laid out for one width.
struct TextLayout {
  std::vector<TextLine> lines;
  // False when the fit check stopped because the lines ran past the height.
  bool fits = true;
  // Sum of the line heights.
  int height() const;
};

// A clickable run of drawn text ("#" or "@"): its rectangle (for "#" the
// left edge includes the arrow), the first four bytes of its text and its
// marker character.
struct TextLinkArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::array<char, 4> key{};
  std::uint8_t level = 0;
};

// The arrow drawn before a cross reference: 0xAE of the Symbol font.
inline constexpr char kCrossReferenceArrow = '\xAE';

// Breaks `text` into lines no wider than `width` on `canvas` (main font
// kText, cross references kSecondary after the arrow in kGreek, emphasis
// kItalic, formulas with drawFormula). With `fitHeight` > 0 the layout stops
// as soon as the lines are taller than it and reports that it does not fit.
TextLayout layOutText(Canvas& canvas, std::string_view text, int width, int fitHeight = 0);

// Draws the lines of `layout` from `firstLine` on into the rectangle: the
// first baseline `firstBaseline` below its top, each next one lower by the
// line's height; stops before a line that would start below `bottom`.
// Returns the link areas of the drawn runs.
std::vector<TextLinkArea> drawLaidOutText(Canvas& canvas, std::string_view text, const TextLayout& layout,
                                          int firstLine, int left, int top, int bottom, int firstBaseline);

// The last first line that scrolling may reach: the first line from which
// the rest of the text fills no more than `height` (a full last page).
int lastScrollLine(const TextLayout& layout, int height);

// A first visible line moved by `delta` and kept inside 0 ... lastLine.
int clampScrollLine(int line, int lastLine);

// A glossary entry split for showing: the term of a "#term#" heading (with a
// "," right after the closing "#" kept at its end) and where the text below
// it starts. Without a heading, `heading` is empty and the text starts at 0.
struct GlossaryPage {
  std::optional<std::string> heading;
  std::size_t textStart = 0;
};
GlossaryPage splitGlossaryEntry(std::string_view entry);

}  // namespace kalvor
