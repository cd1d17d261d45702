#include "labels/label_geometry.h"

#include <charconv>

namespace kalvor {

LabelFormatProblem checkLabelFormat(const LabelFormat& f, const PageGeometry& page) {
  // Written so that a NaN fails every test.
  if (page.dpiX <= 0 || !(f.width >= kMinLabelSide) || !(f.width * page.dpiX <= page.width))
    return LabelFormatProblem::kWidth;
  if (!(f.standHeight >= 0)) return LabelFormatProblem::kStandHeight;
  if (page.dpiY <= 0 || !(f.height >= kMinLabelSide) ||
      !((f.height + f.standHeight) * page.dpiY <= page.height))
    return LabelFormatProblem::kHeight;
  const double inset = f.frameDistance + f.frameWidth;
  if (!(f.frameDistance >= 0) || !(f.frameWidth >= 0) || !(2 * inset < f.width) || !(2 * inset < f.height))
    return LabelFormatProblem::kFrame;
  if (f.fontSize > -1 || f.fontSize < -kMaxLabelFontSize) return LabelFormatProblem::kFontSize;
  if (f.indexFontSize > -1 || f.indexFontSize < -kMaxLabelFontSize) return LabelFormatProblem::kIndexFontSize;
  return LabelFormatProblem::kNone;
}

std::string labelFormatProblemText(LabelFormatProblem problem) {
  switch (problem) {
    case LabelFormatProblem::kNone:
      return {};
    case LabelFormatProblem::kWidth:
      return "Die Breite des Etiketts muss mindestens 0,1 Zoll (0,254 cm) betragen und darf "
             "nicht gr\xF6\xDF"
             "er als die Seite sein.";
    case LabelFormatProblem::kHeight:
      return "Die H\xF6he des Etiketts muss mindestens 0,1 Zoll (0,254 cm) betragen und darf "
             "mit der Standfl\xE4"
             "che nicht gr\xF6\xDF"
             "er als die Seite sein.";
    case LabelFormatProblem::kStandHeight:
      return "Die Standfl\xE4"
             "chenh\xF6he darf nicht negativ sein.";
    case LabelFormatProblem::kFrame:
      return "Rahmenbreite und Rahmenabstand d\xFC"
             "rfen nicht negativ sein und m\xFCssen "
             "im Etikett Platz lassen.";
    case LabelFormatProblem::kFontSize:
      return "Die Schriftgr\xF6\xDF"
             "e muss zwischen 1 und 200 Punkt liegen.";
    case LabelFormatProblem::kIndexFontSize:
      return "Die Indexschriftgr\xF6\xDF"
             "e muss zwischen 1 und 200 Punkt liegen.";
  }
  return {};
}

std::optional<LabelGeometry> labelGeometry(const LabelFormat& f, const PageGeometry& page) {
  if (checkLabelFormat(f, page) != LabelFormatProblem::kNone) return std::nullopt;
  LabelGeometry g;
  g.w = static_cast<int>(page.dpiX * f.width);
  g.h = static_cast<int>(page.dpiY * f.height);
  g.H = static_cast<int>(page.dpiY * (f.height + f.standHeight));
  g.perRow = static_cast<int>(page.width / (f.width * page.dpiX));
  g.rows = static_cast<int>(page.height / ((f.height + f.standHeight) * page.dpiY));
  g.perPage = g.perRow * g.rows;
  return g;
}

std::optional<int> parseLabelCopies(std::string_view text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (n < kMinLabelCopies || n > kMaxLabelCopies) return std::nullopt;
  return n;
}

}  // namespace kalvor
