// Label formats: the ten built-in ones and the user's, kept in "kalvor.ini"
// section "Etikettenformate" as "Format%d" = "%d:%s %5.2lf,%5.2lf,%5.2lf,
// %5.2lf,%5.2lf,%d,%d,%d," (name length, name, width, height, stand height,
// frame distance, frame width, font size, index font size, flags) and
// "Font%d" = the font's text form. Lengths have two units: centimetres and
// positive point sizes in the settings form, inches and negated sizes in the
// printing form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"
#include "render/font_description.h"

namespace kalvor {

inline constexpr double kInchesPerCentimetre = 0.39370078740157477;
inline constexpr int kBuiltInLabelFormatCount = 10;
// A format name holds at most this many characters (a 40-character field
// with its terminator).
inline constexpr std::size_t kMaxLabelFormatName = 39;

// Bits of LabelFormat::flags.
inline constexpr std::uint8_t kLabelBothHalves = 0x01;  // standing card printed on both halves ("Aufsteller")
inline constexpr std::uint8_t kLabelFormula = 0x02;     // print the chemical formula ("Formel")
// Print a QR code with the specimen's index and minerals. Older entries
// never set it, so they read unchanged.
inline constexpr std::uint8_t kLabelQrCode = 0x04;

struct LabelFormat {
  double width = 0;          // "Breite"
  double height = 0;         // "Höhe": the printed face
  double standHeight = 0;    // "Standflächenhöhe": 0 flat, = height when both halves carry the text
  double frameDistance = 0;  // "Rahmenabstand", 0 = no frame
  double frameWidth = 0;     // "Rahmenbreite", 0 = no frame
  int fontSize = 0;          // "Schriftgröße"
  int indexFontSize = 0;     // "Indexschriftgröße"
  std::string name;          // at most kMaxLabelFormatName characters, Windows-1252
  std::optional<FontDescription> font;  // none: "Times New Roman"
  std::uint8_t flags = 0;

  bool bothHalves() const { return (flags & kLabelBothHalves) != 0; }
  bool formula() const { return (flags & kLabelFormula) != 0; }
  bool qrCode() const { return (flags & kLabelQrCode) != 0; }
  bool operator==(const LabelFormat&) const = default;
};

// The built-in formats in printing form, index 0 to 9.
const std::array<LabelFormat, kBuiltInLabelFormatCount>& builtInLabelFormats();

// The printing form of a format in settings form: lengths × 0.39370078740157477,
// sizes negated.
LabelFormat toPrintingForm(const LabelFormat& settingsForm);

// The "Format%d" value of a format in settings form.
std::string labelFormatEntry(const LabelFormat& settingsForm);

// Parses a "Format%d" value into the settings form (font not set). The name
// length is clamped to the characters that are there and the name to 39;
// a length of 0 or below gives an empty name and all values 0. Nothing
// when the value does not start with a length and ':'.
std::optional<LabelFormat> parseLabelFormatEntry(std::string_view value);

// Reads "Format1", "Format2", … until the first key that is missing or
// empty, with "Font%d" of the same number; in printing form when `convert`.
std::vector<LabelFormat> loadLabelFormats(const Settings& settings, bool convert);

// Writes "Format<number>" and, when the format has a font, "Font<number>".
// False when the file could not be written.
bool saveLabelFormat(Settings& settings, const LabelFormat& settingsForm, int number);

// The format with index `index` of the list the direct dialog shows: 0-9
// built-in, 10 and above the user formats (printing form); nothing beyond.
std::optional<LabelFormat> labelFormatAt(const std::vector<LabelFormat>& userFormats, int index);

}  // namespace kalvor
