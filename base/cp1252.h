// Conversion between the Windows-1252 text of Kalvor's files and the UTF-8
// of the command line, the data sources and the tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvor {

// Returns the UTF-8 form of a Windows-1252 text. The five undefined bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
std::string cp1252ToUtf8(std::string_view cp1252);

// Returns the Windows-1252 form of a UTF-8 text, or nothing when the text is
// not valid UTF-8 or holds a character that Windows-1252 cannot represent.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// Like utf8ToCp1252, but replaces what cannot be represented by '?'.
std::string utf8ToCp1252Lossy(std::string_view utf8);

}  // namespace kalvor
