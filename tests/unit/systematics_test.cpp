#include <gtest/gtest.h>

#include <string>

#include "base/bytes.h"
#include "refdb/systematics.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

StrunzNumber sn(int c, char letter, int number, int rangeEnd = 0) {
  StrunzNumber n;
  n.classNumber = static_cast<std::uint8_t>(c);
  n.letter = static_cast<std::uint8_t>(letter);
  n.number = static_cast<std::uint8_t>(number);
  n.rangeEnd = static_cast<std::int16_t>(rangeEnd);
  return n;
}

TEST(Systematics, FormatsBothNumbers) {
  EXPECT_EQ(formatStrunzNumber(sn(9, 'A', 2, 60)), "IX/A.2-60");
  EXPECT_EQ(formatStrunzNumber(sn(8, 'J', 0)), "VIII/J.");
  EXPECT_EQ(formatStrunzNumber(sn(2, 0, 0)), "II/");
  EXPECT_EQ(formatStrunzNumber(sn(2, 0, 5, 7)), "II/");  // letter 0 ends it
  EXPECT_EQ(formatStrunzNumber(sn(4, 'A', 3)), "IV/A.3");
  EXPECT_EQ(formatStrunzNumber(sn(7, 'C', 0, 12)), "VII/C.");  // number 0 ends it
  EXPECT_EQ(formatStrunzNumber(sn(0, 'A', 1)), "");
  EXPECT_EQ(formatStrunzNumber(sn(10, 'A', 1)), "");

  EXPECT_EQ(formatHeyNumber({8, 3, 5}), "8.3.5");
  EXPECT_EQ(formatHeyNumber({8, 3, 0}), "8.3");
  EXPECT_EQ(formatHeyNumber({0, 3, 5}), "");
  EXPECT_EQ(formatHeyNumber({31, 0, 12}), "31.0.12");
}

TEST(Systematics, ParsesTypedLapisTexts) {
  EXPECT_EQ(parseStrunzNumber("IX/A.2-60"), sn(9, 'A', 2, 60));
  EXPECT_EQ(parseStrunzNumber("ix/a.2-60"), sn(9, 'A', 2, 60));
  EXPECT_EQ(parseStrunzNumber("X/A"), StrunzNumber{});
  EXPECT_EQ(parseStrunzNumber("VIII/J"), sn(8, 'J', 0));
  EXPECT_EQ(parseStrunzNumber("II"), sn(2, 0, 0));
  EXPECT_EQ(parseStrunzNumber("I/B.12"), sn(1, 'B', 12));
  EXPECT_EQ(parseStrunzNumber("III/C"), sn(3, 'C', 0));
  EXPECT_EQ(parseStrunzNumber("VII/x.5"), sn(7, 'X', 5));
  EXPECT_EQ(parseStrunzNumber("IV/A.3"), sn(4, 'A', 3));
  EXPECT_EQ(parseStrunzNumber("V"), sn(5, 0, 0));
  EXPECT_EQ(parseStrunzNumber("VIIII/A"), StrunzNumber{});
  EXPECT_EQ(parseStrunzNumber(""), StrunzNumber{});
  // A range without a number: the text is cut at the "-" first.
  EXPECT_EQ(parseStrunzNumber("IX/A-5"), sn(9, 'A', 0, 5));
  // Only A-Z name a subclass.
  EXPECT_EQ(parseStrunzNumber("IX/.2"), sn(9, 0, 0));
  EXPECT_EQ(parseStrunzNumber("IX/7.2"), sn(9, 0, 2));
  // The number keeps its low byte; the range end its low 16 bits.
  EXPECT_EQ(parseStrunzNumber("IX/A.300").number, 300 % 256);
  EXPECT_EQ(parseStrunzNumber("IX/A.2-70000").rangeEnd, static_cast<std::int16_t>(70000 & 0xFFFF));
  for (const char* text : {"IX/A.2-60", "VIII/J.", "II/", "IV/A.3", "I/Z.255-1000"})
    EXPECT_EQ(formatStrunzNumber(parseStrunzNumber(text)), text);
}

TEST(Systematics, ParsesHeyKeys) {
  EXPECT_EQ(parseHeyNumber("8.3.5"), (HeyNumber{8, 3, 5}));
  EXPECT_EQ(parseHeyNumber("8.3"), (HeyNumber{8, 3, 0}));
  EXPECT_EQ(parseHeyNumber("8"), (HeyNumber{8, 0, 0}));
  EXPECT_EQ(parseHeyNumber("8.x"), (HeyNumber{8, 0, 0}));
  EXPECT_EQ(parseHeyNumber("12.10.1 "), (HeyNumber{12, 10, 1}));
  EXPECT_FALSE(parseHeyNumber("x").has_value());
  EXPECT_FALSE(parseHeyNumber("0.1").has_value());
  EXPECT_FALSE(parseHeyNumber("256.1").has_value());
  EXPECT_FALSE(parseHeyNumber("8.-1").has_value());
  EXPECT_FALSE(parseHeyNumber("").has_value());
}

TEST(Systematics, StoredFormsAreExact) {
  std::uint8_t b[kStrunzNumberSize];
  StrunzNumber n = sn(9, 'A', 2, 60);
  n.spare = 0x77;
  storeStrunzNumber(b, n);
  EXPECT_EQ(Bytes(b, b + 6), (Bytes{9, 'A', 2, 0x77, 60, 0}));
  EXPECT_EQ(loadStrunzNumber(b), n);
  storeStrunzNumber(b, sn(1, 'B', 3, -2));
  EXPECT_EQ(Bytes(b, b + 6), (Bytes{1, 'B', 3, 0, 0xFE, 0xFF}));
  EXPECT_EQ(loadStrunzNumber(b).rangeEnd, -2);
  std::uint8_t h[kHeyNumberSize];
  storeHeyNumber(h, {8, 3, 5});
  EXPECT_EQ(Bytes(h, h + 3), (Bytes{8, 3, 5}));
  EXPECT_EQ(loadHeyNumber(h), (HeyNumber{8, 3, 5}));
}

// A small systematics file: Lapis/Strunz section, the short line, Hey section,
// another short line and lines that belong to neither.
const std::string kFile =
    "I/\tElemente\n"
    "I/A\t\tMetalle\n"
    "I/A.1\tKupfergruppe\n"
    "IX/\tSilikate\n"
    "IX/A\tInselsilikate\n"
    "IX/A.1-5\tGranat-Obergruppe\n"
    "IX/A.2\tGranatgruppe\n"
    "IX/A.3\tmit Zusatzanionen\n"
    "IX/B\tgruppensilikate\n"
    "IX/B.1\tEpidotgruppe\n"
    "IX/B.2-4\tZoisit-Bereich\n"
    "IX/B.3\tZoisitreihe\n"
    "IX/C.1\t(ohne Titel)\n"
    "\n"
    "1\tElemente\n"
    "8\tSilikate\n"
    "8.3\tmit Inselstruktur\n"
    "8.3.5\tGranatgruppe\n"
    "8.4\tRingsilikate\n"
    "\n"
    "9\tnicht mehr im Abschnitt\n";

TEST(Systematics, LoadsBothSectionsWithOffsetsAndClassIndex) {
  const StrunzTable strunz = loadStrunzTable(kFile);
  ASSERT_EQ(strunz.entries.size(), 13u);
  EXPECT_EQ(strunz.entries[1].number, sn(1, 'A', 0));
  EXPECT_EQ(strunz.entries[1].text, "Metalle");
  EXPECT_EQ(strunz.entries[5].number, sn(9, 'A', 1, 5));
  // Offsets point at the first character after the TAB run.
  EXPECT_EQ(strunz.entries[0].textOffset, 3u);
  EXPECT_EQ(strunz.entries[1].textOffset, 12u + 5u);  // behind "I/\tElemente\n" and "I/A\t\t"
  for (const auto& e : strunz.entries) EXPECT_EQ(kFile.substr(e.textOffset, e.text.size()), e.text);
  ASSERT_EQ(strunz.classIndex.size(), 9u);
  EXPECT_EQ(strunz.classIndex[0], 0u);
  EXPECT_EQ(strunz.classIndex[8], 3u);
  for (int c = 2; c <= 8; ++c) EXPECT_EQ(strunz.classIndex[c - 1], StrunzTable::kNoEntry) << c;

  const auto hey = loadHeyTable(kFile);
  ASSERT_EQ(hey.size(), 5u);
  EXPECT_EQ(hey[0].number, (HeyNumber{1, 0, 0}));
  EXPECT_EQ(hey[3].number, (HeyNumber{8, 3, 5}));
  EXPECT_EQ(hey[4].text, "Ringsilikate");
  for (const auto& e : hey) EXPECT_EQ(kFile.substr(e.textOffset, e.text.size()), e.text);
}

TEST(Systematics, StrunzTextAssemblesClassSubclassAndGroup) {
  const Systematics sy = Systematics::fromContent(kFile);
  // The exact group line replaces the range line, which replaced the
  // capital subclass title; the "; " before them stays.
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 2)), "Lapis/Strunz-IX/A.2: Silikate; Granatgruppe");
  // Only the range line fits: it replaces the capital subclass title.
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 4)), "Lapis/Strunz-IX/A.4: Silikate; Granat-Obergruppe");
  // A lower-case group title is added to the marked one and drops the mark.
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 3)),
            "Lapis/Strunz-IX/A.3: Silikate; Granat-Obergruppe mit Zusatzanionen");
  // No group: class and subclass.
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 7)), "Lapis/Strunz-IX/A.7: Silikate; Inselsilikate");
  EXPECT_EQ(sy.strunzText(sn(1, 'A', 1)), "Lapis/Strunz-I/A.1: Elemente; Kupfergruppe");
  // Lower-case subclass: not replaceable; the group is added after it.
  EXPECT_EQ(sy.strunzText(sn(9, 'B', 1)), "Lapis/Strunz-IX/B.1: Silikate gruppensilikate Epidotgruppe");
  // A capital range title is replaced by the exact line further on.
  EXPECT_EQ(sy.strunzText(sn(9, 'B', 3)), "Lapis/Strunz-IX/B.3: Silikate gruppensilikate Zoisitreihe");
  EXPECT_EQ(sy.strunzText(sn(9, 'B', 4)), "Lapis/Strunz-IX/B.4: Silikate gruppensilikate Zoisit-Bereich");
  // A letter without title line: the group search starts at its first line;
  // a title that does not begin with a letter gets no blank.
  EXPECT_EQ(sy.strunzText(sn(9, 'C', 1)), "Lapis/Strunz-IX/C.1: Silikate(ohne Titel)");
  // Parts the file does not have are left out.
  EXPECT_EQ(sy.strunzText(sn(9, 'D', 1)), "Lapis/Strunz-IX/D.1: Silikate");
  EXPECT_EQ(sy.strunzText(sn(5, 'A', 1)), "Lapis/Strunz-V/A.1: ");
  EXPECT_EQ(sy.strunzText(sn(9, 0, 0)), "Lapis/Strunz-IX/: Silikate");
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 2, 60)), "Lapis/Strunz-IX/A.2-60: Silikate; Granatgruppe");
  EXPECT_FALSE(sy.strunzText(sn(0, 'A', 2)).has_value());
  EXPECT_FALSE(sy.strunzText(sn(12, 'A', 2)).has_value());
}

TEST(Systematics, HeyTextUsesTheFirstTwoParts) {
  const Systematics sy = Systematics::fromContent(kFile);
  EXPECT_EQ(sy.heyText({8, 3, 5}), "Heys-8.3.5: Silikate mit Inselstruktur");
  EXPECT_EQ(sy.heyText({8, 3, 0}), "Heys-8.3: Silikate mit Inselstruktur");
  EXPECT_EQ(sy.heyText({8, 4, 1}), "Heys-8.4.1: Ringsilikate");
  EXPECT_EQ(sy.heyText({8, 9, 1}), "Heys-8.9.1: Silikate");
  EXPECT_EQ(sy.heyText({8, 0, 0}), "Heys-8.0: Silikate");
  EXPECT_EQ(sy.heyText({1, 2, 3}), "Heys-1.2.3: Elemente");
  EXPECT_EQ(sy.heyText({3, 1, 1}), "Heys-3.1.1: ");
  EXPECT_EQ(sy.heyText({9, 1, 0}), "Heys-9.1: ");  // behind the section's end
  EXPECT_FALSE(sy.heyText({0, 3, 5}).has_value());
}

TEST(Systematics, MissingFileGivesNothing) {
  testing::ScratchDir dir;
  const Systematics sy = Systematics::load(dir.file("kalvor.sy"));
  EXPECT_FALSE(sy.loaded());
  EXPECT_FALSE(sy.strunzText(sn(9, 'A', 2)).has_value());
  EXPECT_FALSE(sy.heyText({8, 3, 5}).has_value());

  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.sy"), Bytes(kFile.begin(), kFile.end())));
  const Systematics loaded = Systematics::load(dir.file("kalvor.sy"));
  EXPECT_TRUE(loaded.loaded());
  EXPECT_EQ(loaded.strunzTable().entries.size(), 13u);
  EXPECT_EQ(loaded.heyText({8, 4, 0}), "Heys-8.4: Ringsilikate");
}

TEST(Systematics, BadLinesAreSkippedAndTheRestIsLoaded) {
  const std::string longText(3000, 'x');
  const std::string file =
      "I/\tElemente\r\n"                 // CR LF line ends, as written on Windows
      "eine Zeile ohne Tabulator\r\n"
      "XX/A\tkein Schluessel\r\n"
      "IX/\tSilikate\r\n"
      "IX/A.4\tL" + longText + "\r\n"   // longer than any line buffer
      "IX/A.5\tnach der langen Zeile\r\n"
      "I/B\tspaeter Klassenanfang\r\n"  // class I comes back: its title stays
      "\r\n"
      "ohne Tabulator\r\n"
      "x.1\tkein Schluessel\r\n"
      "8\tSilikate\r\n";
  const Systematics sy = Systematics::fromContent(file);
  const auto& entries = sy.strunzTable().entries;
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].text, "Elemente");  // no CR left in the text
  EXPECT_EQ(entries[2].text.size(), 255u);
  EXPECT_EQ(entries[2].text, "L" + longText.substr(0, 254));
  EXPECT_EQ(entries[3].number, sn(9, 'A', 5));
  EXPECT_EQ(sy.strunzTable().classIndex[0], 0u);
  EXPECT_EQ(sy.strunzText(sn(9, 'A', 5)), "Lapis/Strunz-IX/A.5: Silikate nach der langen Zeile");
  EXPECT_EQ(sy.strunzText(sn(1, 'B', 0)), "Lapis/Strunz-I/B.: Elemente spaeter Klassenanfang");
  ASSERT_EQ(sy.heyTable().size(), 1u);
  EXPECT_EQ(sy.heyText({8, 1, 0}), "Heys-8.1: Silikate");

  // Without the short line everything is Lapis/Strunz and there is no Hey table.
  const Systematics noHey = Systematics::fromContent("I/\tElemente\n8\tSilikate\nII/\tSulfide");
  EXPECT_EQ(noHey.strunzTable().entries.size(), 2u);
  EXPECT_TRUE(noHey.heyTable().empty());
  EXPECT_EQ(noHey.heyText({8, 1, 0}), "Heys-8.1: ");
  EXPECT_EQ(noHey.strunzText(sn(2, 'A', 1)), "Lapis/Strunz-II/A.1: Sulfide");

  // A last line of two characters without line end is the short line.
  EXPECT_EQ(loadHeyTable("I/\tElemente\nab").size(), 0u);
  EXPECT_EQ(loadStrunzTable("I/\tElemente\nab").entries.size(), 1u);
  // An empty or binary file gives empty tables.
  EXPECT_TRUE(loadStrunzTable("").entries.empty());
  EXPECT_TRUE(loadStrunzTable(std::string("\0\0\0\t\n", 5)).entries.empty());
  // Texts keep their Windows-1252 bytes.
  const Systematics umlaut = Systematics::fromContent(cp("VI/\tBorate\nVI/A\tÄltere Borate\n"));
  EXPECT_EQ(umlaut.strunzText(sn(6, 'A', 1)), cp("Lapis/Strunz-VI/A.1: Borate; Ältere Borate"));
}

}  // namespace
}  // namespace kalvor
