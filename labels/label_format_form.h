// The logic of the label definition dialog "Etikettenformat Definition":
// its fields as texts and choices, the size lists, what ticking "Rahmen"
// proposes, reading the fields into a format and the checks at "&OK". The
// Win32 dialog only moves these values in and out of its controls.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "labels/label_format.h"
#include "labels/label_geometry.h"

namespace kalvor {

// The sixteen sizes both size lists offer, in points.
inline constexpr std::array<int, 16> kLabelFontSizes = {5,  6,  7,  8,  9,  10, 11, 12,
                                                        14, 16, 18, 20, 22, 24, 26, 28};
// The list entry preselected for a stored size: the first size not below it,
// or the first entry (5) when the stored size exceeds 28.
int labelFontSizeIndex(int size);

// The dialog's fields (lengths as typed, in centimetres).
struct LabelFormatFields {
  std::string name;                     // 1180 "Format Name:"
  std::string width;                    // 1181 "Breite (cm):"
  std::string height;                   // 1182 "Höhe (cm):"
  std::optional<int> fontSizeIndex;     // 1185 "Schriftgröße:", nothing when no entry is selected
  std::optional<int> indexSizeIndex;    // 1186 "Indexschriftgröße:"
  bool frame = false;                   // 1183 "Rahmen"
  bool standing = false;                // 1190 "Aufsteller"
  bool formula = false;                 // 1197 "Formel"
  bool qrCode = false;                  // the QR code choice
  std::string frameWidth;               // 1191 "Rahmenbreite (cm):"
  std::string frameDistance;            // 1193 "Rahmenabstand (cm):"
  std::string standHeight;              // 1195 "Standflächenhöhe (cm):"
  std::optional<FontDescription> font;  // "Andere &Schriftart"; none: "Times New Roman"
};

// The fields of a new format when there is no user format yet.
LabelFormatFields newLabelFormatFields();
// The fields showing a format in settings form.
LabelFormatFields labelFormatFields(const LabelFormat& settingsForm);

// "Rahmen" ticked or unticked: ticking fills an empty or zero frame width
// with "0.08" and frame distance with "0.15" (below 0.005 counts as zero).
void setLabelFrame(LabelFormatFields& fields, bool on);

// A length as typed: a decimal number with "." or "," as the decimal sign
// (German users type "0,15"); what follows the number is ignored, and a
// text without a number is 0.
double parseLabelLength(std::string_view text);

// The format (settings form) the fields describe: the name cut to 39
// characters, sizes 10 and 7 when nothing is selected, the stand height
// equal to the height for a standing card, frame lengths 0 without "Rahmen".
LabelFormat readLabelFormatFields(const LabelFormatFields& fields);

// What "&OK" finds.
struct LabelFormatFormCheck {
  bool ok = false;
  // The string-table text (10000 + n) and caption to show when not ok and
  // the name is missing: 10111 with caption 10112.
  std::optional<unsigned> stringId;
  std::optional<unsigned> captionId;
  // The problem with the sizes on `page` when not ok otherwise.
  LabelFormatProblem problem = LabelFormatProblem::kNone;
};

// The checks at "&OK": a name must be given; the format must fit `page`
// (width and height at least 0.1 inch and on the page, frames and sizes
// sensible, see checkLabelFormat).
LabelFormatFormCheck checkLabelFormatFields(const LabelFormatFields& fields, const PageGeometry& page);

// The number under which the dialog saves: the selected format's list
// position + 1, or count + 1 for a new name.
inline int labelFormatNumber(std::optional<int> selectedPosition, int count) {
  return selectedPosition ? *selectedPosition + 1 : count + 1;
}

}  // namespace kalvor
