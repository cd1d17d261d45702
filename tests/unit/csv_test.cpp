// Spreadsheet tables: the quoting of the semicolon table, the locality export,
// and an import that checks every row and writes nothing when one is bad.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "collection/csv_table.h"
#include "collection/locality_csv.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using kalvor::testing::CollectionFixture;
using kalvor::testing::cp;

TEST(CsvTable, QuotesWhatNeedsItAndReadsItBack) {
  const std::vector<std::string> fields = {"plain", "a;b", "say \"hi\"", "two\r\nlines", "", " blank "};
  const std::string row = csvRow(fields);
  EXPECT_EQ(row, "plain;\"a;b\";\"say \"\"hi\"\"\";\"two\r\nlines\";; blank \r\n");
  std::size_t errorLine = 0;
  const auto rows = parseCsv(row + "x;y\n", errorLine);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[0].fields, fields);
  EXPECT_EQ((*rows)[0].line, 1u);
  EXPECT_EQ((*rows)[1].line, 3u);  // the row with the line break took two lines
  EXPECT_EQ((*rows)[1].fields, (std::vector<std::string>{"x", "y"}));

  EXPECT_FALSE(parseCsv("a;b\r\nc;\"open\r\nd\r\n", errorLine));
  EXPECT_EQ(errorLine, 2u);
  EXPECT_FALSE(parseCsv("a;b\r\nc;x\"y\r\n", errorLine));
  EXPECT_EQ(errorLine, 2u);
}

std::string header() {
  std::string h = csvRow(localityCsvColumns());
  return h;
}

TEST(LocalityCsv, RoundTripOfAHundredLocalitiesIsByteIdentical) {
  CollectionFixture source;
  for (int i = 1; i <= 100; ++i) {
    Locality loc;
    loc.name = cp("Grube „Glück“ ") + std::to_string(i);
    loc.nearestPlace = i % 3 ? cp("Oberwolfach; Süd") : "";
    loc.region = "Schwarzwald";
    loc.country = cp("Österreich");
    loc.mapReference = "\"TK 7615\"";
    loc.description = i % 2 ? "Alter Stollen\r\nzweite Zeile; \"Halde\"" : "";
    loc.minerals = {kalvor::testing::kFluorit, kalvor::testing::kAeschynit};
    ASSERT_TRUE(saveLocalityFromForm(source.c(), loc));
  }
  const std::string exported = exportLocalitiesCsv(source.c());
  EXPECT_EQ(exported.rfind(header(), 0), 0u);
  EXPECT_NE(exported.find(cp("\r\n2;Grube „Glück“ 2;\"Oberwolfach; Süd\";Schwarzwald;Österreich;\"\"\"TK 7615\"\"\";;")),
            std::string::npos);

  CollectionFixture target;
  const LocalityCsvImport imported = readLocalitiesCsv(exported, target.c().names());
  ASSERT_TRUE(imported.errors.empty()) << imported.errors.front().line << ": " << imported.errors.front().reason;
  ASSERT_EQ(imported.localities.size(), 100u);
  ASSERT_TRUE(saveImportedLocalities(target.c(), imported.localities));
  EXPECT_EQ(exportLocalitiesCsv(target.c()), exported);
  const auto loc = readLocality(target.c(), 7);
  ASSERT_TRUE(loc);
  EXPECT_EQ(loc->description, "Alter Stollen\r\nzweite Zeile; \"Halde\"");
  EXPECT_EQ(loc->minerals, (std::vector<std::uint16_t>{kalvor::testing::kFluorit, kalvor::testing::kAeschynit}));
}

TEST(LocalityCsv, EveryBadRowIsReportedAndNothingIsKept) {
  CollectionFixture f;
  const std::string text = header() +
                           "1;Grube Clara;;;;;;Fluorit\r\n"
                           "2;;Ort;;;;;\r\n"
                           "3;Erzberg;;;;;;Fluorit, Unobtainium, Quar\r\n"
                           "4;zu kurz\r\n" +
                           "5;" + std::string(40, 'x') + ";;;;;;\r\n";
  const LocalityCsvImport imported = readLocalitiesCsv(text, f.c().names());
  EXPECT_TRUE(imported.localities.empty());
  ASSERT_EQ(imported.errors.size(), 5u);
  EXPECT_EQ(imported.errors[0].line, 3u);
  EXPECT_EQ(imported.errors[0].reason, "kein Fundortname");
  EXPECT_EQ(imported.errors[1].line, 4u);
  EXPECT_EQ(imported.errors[1].reason, "unbekanntes Mineral \"Unobtainium\"");
  EXPECT_EQ(imported.errors[2].line, 4u);  // a prefix is not a name
  EXPECT_EQ(imported.errors[2].reason, "unbekanntes Mineral \"Quar\"");
  EXPECT_EQ(imported.errors[3].line, 5u);
  EXPECT_EQ(imported.errors[4].line, 6u);
  EXPECT_EQ(imported.errors[4].reason, "Fundort l\xE4nger als 39 Zeichen");

  const LocalityCsvImport noHeader = readLocalitiesCsv("1;Grube Clara;;;;;;\r\n", f.c().names());
  ASSERT_EQ(noHeader.errors.size(), 1u);
  EXPECT_EQ(noHeader.errors[0].line, 1u);
  // An alias of the name list is a name too.
  const LocalityCsvImport alias = readLocalitiesCsv(header() + "1;Clara;;;;;;Bergkristall\r\n", f.c().names());
  EXPECT_TRUE(alias.errors.empty());
}

}  // namespace
}  // namespace kalvor
