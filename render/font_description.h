// A font as "kalvor.ini" keeps it for a label format (the stored fields of a
// LOGFONT) and its text form "%s,%d,%d,%d,%d,%d,%d,%d": face, height,
// escapement, weight / 100, italic, underline, strike-out, pitch and family.
// The options logic in views/ has the same form for the dialog; this is the
// one the layouts below views/ use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/page_canvas.h"

namespace kalvor {

struct FontDescription {
  std::string face;  // at most kMaxFontFaceLength characters, Windows-1252
  int height = 0;
  int escapement = 0;
  int weight = 400;  // 0-1000
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t pitchAndFamily = 0;
  bool operator==(const FontDescription&) const = default;
};

// A LOGFONT face name holds 31 characters and the terminating zero.
inline constexpr std::size_t kMaxFontFaceLength = 31;

// The text form of `font`.
std::string fontDescriptionToText(const FontDescription& font);

// Parses the text form: the face up to the first "," (cut to 31 characters),
// then up to seven numbers read in order until one is missing or malformed;
// fields not read keep their defaults. Weight 0 (or below) becomes 400,
// others are multiplied by 100 (at most 1000); a pitch and family outside
// 0-254 is ignored. Nothing when the face name is empty.
std::optional<FontDescription> textToFontDescription(std::string_view text);

// A device font request of em height `height` with the look of `font`
// (face, weight, italic, underline, strike-out, pitch and family).
FontRequest fontRequestOf(const FontDescription& font, int height);

}  // namespace kalvor
