// Spreadsheet tables: the quoting of the semicolon table, the locality export,
// and an import that checks every row and writes nothing when one is bad.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "collection/csv_table.h"
#include "collection/locality_csv.h"
#include "collection/mineral_specimen_form.h"
#include "collection/pieces_csv.h"
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
  EXPECT_NE(exported.find(cp(
                "\r\n2;Grube „Glück“ 2;\"Oberwolfach; Süd\";Schwarzwald;Österreich;\"\"\"TK 7615\"\"\";;")),
            std::string::npos);

  CollectionFixture target;
  const LocalityCsvImport imported = readLocalitiesCsv(exported, target.c().names());
  ASSERT_TRUE(imported.errors.empty())
      << imported.errors.front().line << ": " << imported.errors.front().reason;
  ASSERT_EQ(imported.localities.size(), 100u);
  ASSERT_TRUE(saveImportedLocalities(target.c(), imported.localities));
  EXPECT_EQ(exportLocalitiesCsv(target.c()), exported);
  const auto loc = readLocality(target.c(), 7);
  ASSERT_TRUE(loc);
  EXPECT_EQ(loc->description, "Alter Stollen\r\nzweite Zeile; \"Halde\"");
  EXPECT_EQ(loc->minerals,
            (std::vector<std::uint16_t>{kalvor::testing::kFluorit, kalvor::testing::kAeschynit}));
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
  const LocalityCsvImport alias =
      readLocalitiesCsv(header() + "1;Clara;;;;;;Bergkristall\r\n", f.c().names());
  EXPECT_TRUE(alias.errors.empty());
}

}  // namespace
}  // namespace kalvor

namespace kalvor {
namespace {

using kalvor::testing::CollectionFixture;
using kalvor::testing::cp;

void fillLocalities(CollectionFixture& f, int count) {
  for (int i = 1; i <= count; ++i) {
    Locality loc;
    loc.name = cp("Grube „Glück“; Nr. ") + std::to_string(i);
    loc.country = cp("Österreich");
    loc.minerals = {kalvor::testing::kQuarz};
    ASSERT_TRUE(saveLocalityFromForm(f.c(), loc));
  }
}

TEST(SpecimenCsv, RoundTripOfAThousandSpecimensOverAHundredLocalities) {
  CollectionFixture source;
  fillLocalities(source, 100);
  for (int i = 1; i <= 1000; ++i) {
    Specimen s;
    s.number = 0;
    s.flags = (i % 2 ? specimen_format::kFlagCollection : specimen_format::kFlagExchange) |
              (i % 3 == 0   ? specimen_format::kFlagBought
               : i % 3 == 1 ? specimen_format::kFlagFound
                            : specimen_format::kFlagSwapped);
    s.index = "A;" + std::to_string(i);
    s.minerals = {static_cast<std::uint16_t>(kalvor::testing::kFluorit + 1),
                  static_cast<std::uint16_t>(kalvor::testing::kAeschynit + 1),
                  static_cast<std::uint16_t>(kalvor::testing::kQuarz + 1)};
    s.mainCount = 2;
    s.count = static_cast<std::uint16_t>(1 + i % 20);
    s.localityValue = static_cast<std::uint16_t>(i % 7 == 0 ? 0 : 1 + (1 + i % 100));
    s.date = i % 5 == 0 ? 0 : (1980u + i % 40) * 65536 + (1 + i % 12) * 256 + (i % 4 == 0 ? 0 : 1 + i % 28);
    s.value = static_cast<float>(i) * 0.25f;
    s.purchasePrice = i % 3 == 0 ? 12.5f : 0;
    s.storagePlace = cp("Schrank „Süd“");
    s.size = "4 x 3 cm";
    s.description = i % 2 ? "Zwei Zeilen\r\nmit \"Zitat\"; Semikolon" : "";
    ASSERT_EQ(saveSpecimen(source.c(), s).status, FormStatus::kSaved) << i;
  }
  const std::string localities = exportLocalitiesCsv(source.c());
  const std::string specimens = exportSpecimensCsv(source.c());
  EXPECT_NE(
      specimens.find("\r\n3;\"A;3\";Fluorit, \xC4schynit;Quarz;4;Sammlung;gekauft;4;04.04.1983;0,75;12,50;"),
      std::string::npos);

  CollectionFixture target;
  const LocalityCsvImport l = readLocalitiesCsv(localities, target.c().names());
  ASSERT_TRUE(l.errors.empty());
  ASSERT_TRUE(saveImportedLocalities(target.c(), l.localities));
  const SpecimenCsvImport s = readSpecimensCsv(specimens, target.c());
  ASSERT_TRUE(s.errors.empty()) << s.errors.front().line << ": " << s.errors.front().reason;
  ASSERT_EQ(s.specimens.size(), 1000u);
  ASSERT_TRUE(saveImportedSpecimens(target.c(), s.specimens));
  EXPECT_EQ(exportSpecimensCsv(target.c()), specimens);
  EXPECT_EQ(exportLocalitiesCsv(target.c()), localities);
  // The records themselves, not only their table.
  for (std::uint32_t n : {1u, 3u, 500u, 1000u}) {
    auto a = readSpecimen(source.c(), n);
    auto b = readSpecimen(target.c(), n);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b) << n;
  }
}

TEST(SpecimenCsv, BadRowsAreAllReportedAndNothingIsKept) {
  CollectionFixture f;
  fillLocalities(f, 2);
  std::string header = csvRow(specimenCsvColumns());
  const std::string text = header +
                           "1;;Unobtainium;;1;Sammlung;gefunden;;;;;;;\r\n"
                           "2;;Quarz;;1;Sammlung;gefunden;;31.02.1999;;;;;\r\n"
                           "3;;Quarz;;1;Sammlung;gekauft;;;;abc;;;\r\n"
                           "4;;Quarz;;1;Sammlung;gefunden;9;;;;;;\r\n"
                           "5;;Quarz;;0;Kiste;geerbt;;;1.5;;;;\r\n"
                           "6;;Quarz;;1;Sammlung;gefunden;" +
                           cp("\"Grube „Glück“; Nr. 2, Österreich\"") + ";;;;;;\r\n";
  const SpecimenCsvImport imported = readSpecimensCsv(text, f.c());
  EXPECT_TRUE(imported.specimens.empty());
  std::vector<std::size_t> lines;
  for (const CsvRowError& e : imported.errors) lines.push_back(e.line);
  EXPECT_EQ(lines, (std::vector<std::size_t>{2, 3, 4, 5, 6, 6, 6, 6}));
  EXPECT_EQ(imported.errors[1].reason, "Datum \"31.02.1999\" gibt es nicht");
  EXPECT_EQ(imported.errors[2].reason, "Kaufpreis \"abc\" ist kein Betrag");
  EXPECT_EQ(imported.errors[3].reason, "Fundort \"9\" gibt es nicht");

  // The locality by its display line.
  const SpecimenCsvImport byLine = readSpecimensCsv(
      header + "1;;Quarz;;1;Sammlung;gefunden;" + cp("\"Grube „Glück“; Nr. 2, Österreich\"") + ";;;;;;\r\n",
      f.c());
  ASSERT_TRUE(byLine.errors.empty()) << byLine.errors.front().reason;
  EXPECT_EQ(byLine.specimens.at(0).localityNumber(), 2u);
}

}  // namespace
}  // namespace kalvor
