#include "render/font_description.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace kalvor {
namespace {

// Reads "%d" at pos (leading blanks, optional sign); nothing when no digits
// follow or the number does not fit an int.
std::optional<int> readNumber(std::string_view text, std::size_t& pos) {
  std::size_t i = pos;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    ++i;
  }
  if (i == digitsStart) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
  pos = i;
  return static_cast<int>(value);
}

}  // namespace

std::string fontDescriptionToText(const FontDescription& font) {
  std::string text(font.face.substr(0, kMaxFontFaceLength));
  for (int value : {font.height, font.escapement, font.weight / 100, int{font.italic}, int{font.underline},
                    int{font.strikeOut}, int{font.pitchAndFamily}}) {
    text += ',';
    text += std::to_string(value);
  }
  return text;
}

std::optional<FontDescription> textToFontDescription(std::string_view text) {
  const std::size_t comma = text.find(',');
  FontDescription font;
  font.face = std::string(text.substr(0, std::min(comma, text.size())).substr(0, kMaxFontFaceLength));
  if (font.face.empty()) return std::nullopt;
  int values[7] = {0, 0, 0, 0, 0, 0, 0};
  int read = 0;
  if (comma != std::string_view::npos) {
    std::size_t pos = comma + 1;
    for (; read < 7; ++read) {
      if (read > 0) {
        if (pos >= text.size() || text[pos] != ',') break;
        ++pos;
      }
      const std::optional<int> value = readNumber(text, pos);
      if (!value) break;
      values[read] = *value;
    }
  }
  if (read > 0) font.height = values[0];
  if (read > 1) font.escapement = values[1];
  const int weight = read > 2 ? values[2] : 0;
  font.weight = weight <= 0
                    ? 400
                    : static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(weight) * 100, 1000));
  if (read > 3) font.italic = values[3] != 0;
  if (read > 4) font.underline = values[4] != 0;
  if (read > 5) font.strikeOut = values[5] != 0;
  if (read > 6 && values[6] >= 0 && values[6] < 255)
    font.pitchAndFamily = static_cast<std::uint8_t>(values[6]);
  return font;
}

FontRequest fontRequestOf(const FontDescription& font, int height) {
  FontRequest r;
  r.face = font.face;
  r.height = height;
  r.weight = font.weight;
  r.italic = font.italic;
  r.underline = font.underline;
  r.strikeOut = font.strikeOut;
  r.pitchAndFamily = font.pitchAndFamily;
  return r;
}

}  // namespace kalvor
