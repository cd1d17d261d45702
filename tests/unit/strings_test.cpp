#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "base/cp1252.h"
#include "refdb/string_table.h"
#include "refdb/strings.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

std::string text(unsigned id) { return loadResourceString(id - kStringIdBase); }

TEST(StringTable, QuotedTextsAreExact) {
  // Checked word by word against the quoted message texts, blanks included.
  EXPECT_EQ(text(10090), cp(" ist ein anderer Name für:"));
  EXPECT_EQ(text(10089), " von ");
  EXPECT_EQ(text(10009), "Suche fehlgeschlagen");
  EXPECT_EQ(text(10012), "unbekannt");
  EXPECT_EQ(text(10032), "spr\xF6" "de");  // ö is one Windows-1252 byte
  EXPECT_EQ(text(10037), cp("blättrig"));
  EXPECT_EQ(text(10038), cp("körnig"));
  EXPECT_EQ(text(10014), "fehlt");
  EXPECT_EQ(text(10040), "perl");
  EXPECT_EQ(text(10073), "amorph");
  EXPECT_EQ(text(10078), cp("Die Suche hat keine %s mit zutreffenden Eigenschaften finden können!"));
  EXPECT_EQ(text(10080), "Bearbeite Stufe %ld/%ld");
  EXPECT_EQ(text(10095), "- Sammlungsliste Seite %d -");
  EXPECT_EQ(text(10103), "Kalvor Tauschliste (*.ktl)|*.ktl|");
  EXPECT_EQ(text(10117), "in Eingabereihenfolge");
  EXPECT_EQ(text(10006),
            cp("Auf Ihrer Festplatte befindet sich nicht genügend freier Speicher, um den Suchindex "
               "zu erstellen. Bitte starten Sie das Programm neu, wenn Sie mindestens 800k "
               "unbelegten Plattenplatz haben."));
  EXPECT_EQ(text(10084), cp("Es gibt in der angewählten Kombination der Erwerb-Arten 'gekauft', "
                            "'gefunden' oder 'getauscht' keine Datenbank-Einträge."));
  EXPECT_EQ(text(10055), "Das im Datum angegebene Jahr ist kein Schaltjahr. Daher gibt es in "
                         "diesem Jahr keinen 29. Februar.");
  EXPECT_EQ(text(10094), cp("Stufe löschen"));
  // Two ids may share a text.
  EXPECT_EQ(text(10097), text(10106));
}

TEST(StringTable, NamedIdsReachTheirTexts) {
  // The generated names sit on the rows they were given in strings.tsv.
  EXPECT_EQ(text(strings::kStrCrystalDrawing), "Kristallzeichnung");
  EXPECT_EQ(text(strings::kStrWordOf), " von ");
  EXPECT_EQ(text(strings::kStrFractureBrittle), cp("spröde"));
  EXPECT_EQ(text(strings::kStrSystemAmorphous), "amorph");
  EXPECT_EQ(text(strings::kStrSortEntryOrder), "in Eingabereihenfolge");
  EXPECT_EQ(text(strings::kStrLocalityDescription), text(strings::kStrPrintLocalityDescription));
}

TEST(StringTable, ExactlyTheKnownIdsHaveTexts) {
  // The ids the program uses; the others of 10000-10119 are unassigned.
  const std::set<unsigned> unassigned = {10004, 10005, 10051, 10053, 10057, 10058, 10059, 10060,
                                         10061, 10062, 10063, 10064, 10065, 10079, 10091, 10092,
                                         10096, 10099, 10102, 10109, 10110, 10118, 10119};
  for (unsigned id = 10000; id < 10120; ++id) {
    if (unassigned.count(id))
      EXPECT_EQ(text(id), "") << id;
    else
      EXPECT_NE(text(id), "") << id;
  }
  EXPECT_EQ(kStringTableCount, 120u - unassigned.size());
  // Ids beyond the table never alias a text, also not through 16-bit wrap.
  EXPECT_EQ(loadResourceString(120), "");
  EXPECT_EQ(loadResourceString(0xFFFF), "");
  EXPECT_EQ(loadResourceString(0x10000 + 9), "");
}

TEST(StringTable, TextsFitThePlatformBuffers) {
  // LoadStringA fills a 512-byte buffer and the help text goes to 1024 bytes;
  // a longer text would be cut in kalvor.exe but not in the core.
  for (std::size_t i = 0; i < kStringTableCount; ++i)
    EXPECT_LT(std::string(kStringTableEntries[i].text).size(), 512u) << kStringTableEntries[i].id;
  for (std::size_t i = 0; i < kHelpTextCount; ++i)
    EXPECT_LT(std::string(kHelpTextEntries[i].text).size(), 1024u) << kHelpTextEntries[i].id;
}

// Reads a generator source (UTF-8, escapes \n \t \\; the text is the last
// column) the way the program's build should have turned it into Windows-1252.
std::map<unsigned, std::string> readTsv(const std::string& path) {
  std::map<unsigned, std::string> rows;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    const auto lastTab = line.rfind('\t');
    if (line.empty() || tab == std::string::npos) continue;
    std::string value;
    for (std::size_t i = lastTab + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        const char c = line[++i];
        value += c == 'n' ? '\n' : c == 't' ? '\t' : c;
      } else {
        value += line[i];
      }
    }
    rows[static_cast<unsigned>(std::stoul(line.substr(0, tab)))] = *utf8ToCp1252(value);
  }
  return rows;
}

TEST(StringTable, CoreTablesMatchTheirSources) {
  const char* src = std::getenv("KALVOR_SOURCE_DIR");
  if (src == nullptr) GTEST_SKIP() << "KALVOR_SOURCE_DIR not set";
  const auto strings = readTsv(std::string(src) + "/resources/strings.tsv");
  ASSERT_EQ(strings.size(), kStringTableCount);
  for (const auto& [id, value] : strings) EXPECT_EQ(text(id), value) << id;
  const auto helps = readTsv(std::string(src) + "/resources/help_texts.tsv");
  ASSERT_EQ(helps.size(), kHelpTextCount);
  for (const auto& [id, value] : helps) EXPECT_EQ(controlHelpText(static_cast<int>(id)), value) << id;
}

TEST(StringTable, AppendAddsSeparator) {
  std::string buffer;
  EXPECT_EQ(appendResourceString(buffer, 19, 0), "gut ");
  EXPECT_EQ(appendResourceString(buffer, 21, 1), "gut vollkommen, ");
  EXPECT_EQ(appendResourceString(buffer, 32, 7), cp("gut vollkommen, spröde, "));
  EXPECT_EQ(buffer, cp("gut vollkommen, spröde, "));
}

TEST(StringTable, PrefixTestIsCaseSensitiveOverTheTableText) {
  EXPECT_TRUE(beginsWithResourceString("Suche fehlgeschlagen", 9));
  EXPECT_TRUE(beginsWithResourceString("Suche fehlgeschlagen!!", 9));
  EXPECT_FALSE(beginsWithResourceString("suche fehlgeschlagen", 9));
  EXPECT_FALSE(beginsWithResourceString("Suche", 9));  // shorter than the table text
  EXPECT_TRUE(beginsWithResourceString(cp("körnig, erdig"), 38));
  EXPECT_FALSE(beginsWithResourceString("koernig", 38));
  // An unassigned id is the empty text, which every text begins with.
  EXPECT_TRUE(beginsWithResourceString("irgendwas", 4));
}

TEST(ControlHelp, TextsInAndOutOfRange) {
  EXPECT_EQ(controlHelpText(1106), cp("Geben Sie eine Härte (z.B. 7) oder einen Härtebereich (z.B. 4-6) ein."));
  EXPECT_EQ(controlHelpText(1111),
            "Geben Sie eine Dichte (z.B. 5.5) oder einen Dichtebereich (z.B. 3-6.5) ein.");
  EXPECT_EQ(controlHelpText(1154), cp("Dieser Schalter öffnet ein Feld, in dem Sie eine Quellenangabe "
                                      "zu jeder einzelnen Kristallzeichnung ablesen können."));
  // The three unsupported criteria share one text.
  const auto unsupported = cp("Diese Sucheigenschaft für Mineralien wird leider noch nicht unterstützt.");
  EXPECT_EQ(controlHelpText(1104), unsupported);
  EXPECT_EQ(controlHelpText(1113), unsupported);
  EXPECT_EQ(controlHelpText(1114), unsupported);
  // Every control a user works with in the three search dialogs has a text.
  for (int id : {1100, 1101, 1102, 1105, 1106, 1107, 1108, 1109, 1110, 1111, 1112, 1115, 1118, 1119, 1132,
                 1133, 1134, 1138})
    EXPECT_TRUE(controlHelpText(id).has_value()) << id;
  for (int id = 1170; id <= 1177; ++id) EXPECT_TRUE(controlHelpText(id).has_value()) << id;
  for (int id = 1200; id <= 1213; ++id) EXPECT_TRUE(controlHelpText(id).has_value()) << id;
  // Ids without a control to explain (frames, unused ids), and ids outside the range.
  for (int id : {1000, 1103, 1116, 1117, 1131, 1135, 1137, 999, 2001, 10009, -1, 0})
    EXPECT_FALSE(controlHelpText(id).has_value()) << id;
}

}  // namespace
}  // namespace kalvor
