// Feeds arbitrary text to the label-font parser: it must refuse or parse,
// never read out of bounds or overflow; whatever it accepts must have a face
// a LOGFONT can hold and must survive writing and reading back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "render/font_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto font = kalvor::textToFontDescription(text);
  if (!font) return 0;
  if (font->face.empty() || font->face.size() > kalvor::kMaxFontFaceLength) std::abort();
  if (font->weight < 100 || font->weight > 1000) std::abort();
  const auto again = kalvor::textToFontDescription(kalvor::fontDescriptionToText(*font));
  if (!again || !(*again == *font)) std::abort();
  return 0;
}
