#include "labels/label_format_form.h"

#include <charconv>
#include <cstdio>

namespace kalvor {
namespace {

constexpr unsigned kNoNameText = 111;  // 10111 "Bitte geben Sie einen Namen für das neue Etikettenformat an."
constexpr unsigned kNoNameCaption = 112;  // 10112 "Unzureichende Angaben"

std::string lengthText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

bool isZero(std::string_view text) { return parseLabelLength(text) < 0.005; }

int sizeAt(const std::optional<int>& index, int fallback) {
  if (!index || *index < 0 || *index >= static_cast<int>(kLabelFontSizes.size())) return fallback;
  return kLabelFontSizes[static_cast<std::size_t>(*index)];
}

}  // namespace

int labelFontSizeIndex(int size) {
  for (std::size_t i = 0; i < kLabelFontSizes.size(); ++i)
    if (kLabelFontSizes[i] >= size) return static_cast<int>(i);
  return 0;
}

LabelFormatFields newLabelFormatFields() {
  LabelFormatFields f;
  f.frameWidth = "0.08";
  f.frameDistance = "0.15";
  f.fontSizeIndex = labelFontSizeIndex(10);
  f.indexSizeIndex = labelFontSizeIndex(7);
  return f;
}

LabelFormatFields labelFormatFields(const LabelFormat& format) {
  LabelFormatFields f;
  f.name = format.name;
  f.width = lengthText(format.width);
  f.height = lengthText(format.height);
  f.fontSizeIndex = labelFontSizeIndex(format.fontSize);
  f.indexSizeIndex = labelFontSizeIndex(format.indexFontSize);
  f.frame = format.frameDistance != 0 || format.frameWidth != 0;
  f.standing = format.bothHalves();
  f.formula = format.formula();
  f.qrCode = format.qrCode();
  f.frameWidth = lengthText(format.frameWidth);
  f.frameDistance = lengthText(format.frameDistance);
  f.standHeight = lengthText(format.standHeight);
  f.font = format.font;
  return f;
}

void setLabelFrame(LabelFormatFields& fields, bool on) {
  fields.frame = on;
  if (!on) return;
  if (isZero(fields.frameWidth)) fields.frameWidth = "0.08";
  if (isZero(fields.frameDistance)) fields.frameDistance = "0.15";
}

double parseLabelLength(std::string_view text) {
  std::string s(text);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(s.begin());
  for (char& c : s)
    if (c == ',') c = '.';
  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  (void)end;
  return ec == std::errc() ? value : 0;
}

LabelFormat readLabelFormatFields(const LabelFormatFields& fields) {
  LabelFormat f;
  f.name = fields.name.substr(0, kMaxLabelFormatName);
  f.width = parseLabelLength(fields.width);
  f.height = parseLabelLength(fields.height);
  f.fontSize = sizeAt(fields.fontSizeIndex, 10);
  f.indexFontSize = sizeAt(fields.indexSizeIndex, 7);
  f.flags = static_cast<std::uint8_t>((fields.formula ? kLabelFormula : 0) |
                                      (fields.standing ? kLabelBothHalves : 0) |
                                      (fields.qrCode ? kLabelQrCode : 0));
  f.standHeight = fields.standing ? f.height : parseLabelLength(fields.standHeight);
  if (fields.frame) {
    f.frameDistance = parseLabelLength(fields.frameDistance);
    f.frameWidth = parseLabelLength(fields.frameWidth);
  }
  f.font = fields.font;
  return f;
}

LabelFormatFormCheck checkLabelFormatFields(const LabelFormatFields& fields, const PageGeometry& page) {
  LabelFormatFormCheck check;
  const LabelFormat format = readLabelFormatFields(fields);
  if (format.name.empty()) {
    check.stringId = kNoNameText;
    check.captionId = kNoNameCaption;
    return check;
  }
  check.problem = checkLabelFormat(toPrintingForm(format), page);
  check.ok = check.problem == LabelFormatProblem::kNone;
  return check;
}

}  // namespace kalvor
