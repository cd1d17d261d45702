// The text-based reference files: the systematics "kalvor.sy" and the glossary "kalvor.gl".
#pragma once

#include <optional>
#include <string>

#include "base/bytes.h"
#include "tools/mkdb/report.h"

namespace kalvor::mkdb {

// Builds "kalvor.sy" (Windows-1252, CRLF) from systematics.tsv (columns
// section = strunz|hey, key, title): the Lapis/Strunz lines ordered by class,
// letter and number, an empty separator line, then the Hey lines in order.
std::optional<Bytes> buildSystematicsFile(const std::string& dataDir, Report& report);

// Builds "kalvor.gl" from glossary.tsv (columns term, text): entries sorted in
// the program's German collation, each stored as "#term#~text". Every "@term@"
// reference must name an entry.
std::optional<Bytes> buildGlossary(const std::string& dataDir, Report& report);

// The name of the licence and attribution text that travels with the reference files.
inline constexpr const char* kLicenceTextName = "kalvor-daten-lizenz.txt";

// Builds that text from data/kalvor-daten-lizenz.txt (UTF-8, LF) as Notepad of
// every Windows version shows it: UTF-8 with a byte-order mark and CRLF lines.
std::optional<Bytes> buildLicenceText(const std::string& dataDir, Report& report);

}  // namespace kalvor::mkdb
