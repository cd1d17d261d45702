#include "labels/label_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/settings_keys.h"

namespace kalvor {
namespace {

struct BuiltIn {
  const char* name;
  double width, height, standHeight, frameDistance, frameWidth;
  int size, indexSize;
  std::uint8_t flags;
};

// Centimetres and point sizes; converted to the printing form once.
constexpr BuiltIn kBuiltIns[kBuiltInLabelFormatCount] = {
    {"Micromount-D\xF6schen, 24x24 mm", 2.40, 2.40, 0, 0, 0, 6, 5, 2},
    {"Jousi-K\xE4stchen, 40x35 mm", 3.60, 3.10, 0, 0, 0, 7, 6, 2},
    {"Jousi-K\xE4stchen, 59x40 mm", 5.00, 3.50, 0, 0, 0, 9, 7, 2},
    {"Handstufe, 50x50 mm", 5.00, 5.00, 0, 0, 0, 10, 7, 2},
    {"Aufsteller, 50x70 mm", 5.00, 5.00, 2.00, 0, 0, 10, 7, 2},
    {"system-bloc S204, 25x40 mm", 4.00, 2.50, 0, 0.15, 0.08, 7, 6, 2},
    {"system-bloc S203, 40x55 mm", 5.50, 4.00, 0, 0.15, 0.08, 9, 7, 2},
    {"system-bloc S202, 55x55 mm", 5.50, 5.50, 0, 0.15, 0.08, 10, 8, 2},
    {"system-bloc S201, 55x85 mm", 8.50, 5.50, 0, 0.15, 0.08, 10, 8, 2},
    {"Aufsteller, 50x80 mm", 5.00, 4.00, 4.00, 0, 0, 10, 7, 3},
};

// A reader over a value in the manner of sscanf: blanks before a number are skipped.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  std::optional<double> number() {
    skipBlanks();
    double v = 0;
    const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), v);
    if (ec != std::errc()) return std::nullopt;
    pos_ = static_cast<std::size_t>(end - text_.data());
    return v;
  }
  std::optional<int> integer() {
    skipBlanks();
    std::size_t start = pos_;
    if (start < text_.size() && text_[start] == '+') ++start;
    int v = 0;
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + text_.size(), v);
    if (ec != std::errc()) return std::nullopt;
    pos_ = static_cast<std::size_t>(end - text_.data());
    return v;
  }
  bool literal(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  std::size_t pos() const { return pos_; }
  void skipTo(std::size_t pos) { pos_ = std::min(pos, text_.size()); }
  std::size_t left() const { return text_.size() - pos_; }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::string keyOf(std::string_view pattern, int number) {
  // Both patterns end in "%d".
  return std::string(pattern.substr(0, pattern.size() - 2)) + std::to_string(number);
}

}  // namespace

LabelFormat toPrintingForm(const LabelFormat& f) {
  LabelFormat p = f;
  p.width = f.width * kInchesPerCentimetre;
  p.height = f.height * kInchesPerCentimetre;
  p.standHeight = f.standHeight * kInchesPerCentimetre;
  p.frameDistance = f.frameDistance * kInchesPerCentimetre;
  p.frameWidth = f.frameWidth * kInchesPerCentimetre;
  p.fontSize = -f.fontSize;
  p.indexFontSize = -f.indexFontSize;
  return p;
}

const std::array<LabelFormat, kBuiltInLabelFormatCount>& builtInLabelFormats() {
  static const std::array<LabelFormat, kBuiltInLabelFormatCount> formats = [] {
    std::array<LabelFormat, kBuiltInLabelFormatCount> out;
    for (int i = 0; i < kBuiltInLabelFormatCount; ++i) {
      const BuiltIn& b = kBuiltIns[i];
      LabelFormat f;
      f.name = b.name;
      f.width = b.width;
      f.height = b.height;
      f.standHeight = b.standHeight;
      f.frameDistance = b.frameDistance;
      f.frameWidth = b.frameWidth;
      f.fontSize = b.size;
      f.indexFontSize = b.indexSize;
      f.flags = b.flags;
      out[i] = toPrintingForm(f);
    }
    return out;
  }();
  return formats;
}

std::string labelFormatEntry(const LabelFormat& f) {
  const std::string name = f.name.substr(0, kMaxLabelFormatName);
  // A length read from a damaged file may need hundreds of digits: size the text first.
  const char* pattern = " %5.2f,%5.2f,%5.2f,%5.2f,%5.2f,%d,%d,%d,";
  const int length = std::snprintf(nullptr, 0, pattern, f.width, f.height, f.standHeight, f.frameDistance,
                                   f.frameWidth, f.fontSize, f.indexFontSize, int{f.flags});
  std::string numbers(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  std::snprintf(numbers.data(), numbers.size(), pattern, f.width, f.height, f.standHeight, f.frameDistance,
                f.frameWidth, f.fontSize, f.indexFontSize, int{f.flags});
  numbers.pop_back();
  return std::to_string(name.size()) + ":" + name + numbers;
}

std::optional<LabelFormat> parseLabelFormatEntry(std::string_view value) {
  Cursor c(value);
  const std::optional<int> length = c.integer();
  if (!length || !c.literal(':')) return std::nullopt;
  LabelFormat f;
  // A stored length is only trusted as far as the value reaches; a name
  // keeps at most 39 characters so that it always fits its field.
  if (*length <= 0) return f;
  const std::size_t taken = std::min<std::size_t>(static_cast<std::size_t>(*length), c.left());
  f.name = std::string(value.substr(c.pos(), std::min(taken, kMaxLabelFormatName)));
  c.skipTo(c.pos() + taken);
  double* lengths[] = {&f.width, &f.height, &f.standHeight, &f.frameDistance, &f.frameWidth};
  for (int i = 0; i < 5; ++i) {
    if (i > 0 && !c.literal(',')) return f;
    const std::optional<double> v = c.number();
    if (!v) return f;
    *lengths[i] = *v;
  }
  int* sizes[] = {&f.fontSize, &f.indexFontSize};
  for (int* s : sizes) {
    if (!c.literal(',')) return f;
    const std::optional<int> v = c.integer();
    if (!v) return f;
    *s = *v;
  }
  if (!c.literal(',')) return f;
  if (const std::optional<int> flags = c.integer()) f.flags = static_cast<std::uint8_t>(*flags);
  return f;
}

std::vector<LabelFormat> loadLabelFormats(const Settings& settings, bool convert) {
  std::vector<LabelFormat> formats;
  for (int number = 1;; ++number) {
    const std::string value =
        settings.getString(ini::kLabelFormats, keyOf(ini::kLabelFormatKeyFormat, number), "");
    if (value.empty()) break;
    LabelFormat f = parseLabelFormatEntry(value).value_or(LabelFormat{});
    if (!f.name.empty()) {
      const std::string font =
          settings.getString(ini::kLabelFormats, keyOf(ini::kLabelFontKeyFormat, number), "");
      if (!font.empty()) f.font = textToFontDescription(font);
    }
    formats.push_back(convert ? toPrintingForm(f) : f);
  }
  return formats;
}

bool saveLabelFormat(Settings& settings, const LabelFormat& f, int number) {
  bool ok = settings.writeString(ini::kLabelFormats, keyOf(ini::kLabelFormatKeyFormat, number),
                                 labelFormatEntry(f));
  const std::string fontKey = keyOf(ini::kLabelFontKeyFormat, number);
  // A format overwritten without a font of its own must not inherit the old one's.
  if (f.font)
    ok = settings.writeString(ini::kLabelFormats, fontKey, fontDescriptionToText(*f.font)) && ok;
  else
    ok = settings.deleteKey(ini::kLabelFormats, fontKey) && ok;
  return ok;
}

std::optional<LabelFormat> labelFormatAt(const std::vector<LabelFormat>& userFormats, int index) {
  if (index < 0) return std::nullopt;
  if (index < kBuiltInLabelFormatCount) return builtInLabelFormats()[static_cast<std::size_t>(index)];
  const std::size_t user = static_cast<std::size_t>(index - kBuiltInLabelFormatCount);
  if (user < userFormats.size()) return userFormats[user];
  return std::nullopt;
}

}  // namespace kalvor
