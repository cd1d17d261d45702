// The data compiler: source rows become exactly the record bytes the program reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "determination/colours.h"
#include "refdb/glossary.h"
#include "refdb/lzw.h"
#include "refdb/mineral_record.h"
#include "refdb/picture_file.h"
#include "tests/unit/test_files.h"
#include "tools/mkdb/artwork.h"
#include "tools/mkdb/compile.h"
#include "tools/mkdb/gif_export.h"
#include "tools/mkdb/mineral_builder.h"
#include "tools/mkdb/text_files.h"

namespace kalvor::mkdb {
namespace {

using kalvor::testing::ScratchDir;

void put(const ScratchDir& dir, const char* name, const std::string& utf8) {
  ASSERT_TRUE(writeWholeFile(dir.file(name), Bytes(utf8.begin(), utf8.end())));
}

// A small but complete set of source tables.
void writeSources(const ScratchDir& dir) {
  put(dir, "minerals.tsv",
      "english_name\tgerman_name\tformula\thardness_min\thardness_max\tdensity_min\tdensity_max\tcolours\t"
      "streak\tlustre\tcleavage_terms\tfracture_terms\ttenacity_terms\ttransparency_terms\tcrystal_systems\t"
      "point_group\ta\tb\tc\talpha\tbeta\tgamma\tz\tima_status\tstrunz8\n"
      "Quartz\tQuarz\tSiO_2\t7\t7\t2.65\t2.65\tcolorless; purple\twhite\tvitreous\tnone\tconchoidal\tbrittle\t"
      "transparent\ttrigonal\t32\t4.91\t\t5.41\t\t\t\t3\tapproved\tIV/D.01\n"
      "Galena\tGalenit\tPbS\t2.5\t\t7.58\t\tlead gray\tlead gray\tmetallic\tperfect\t\t\topaque\tcubic\tm-3m\t"
      "5.94\t\t\t\t\t\t4\tnot in 2021/2022 IMA lists (approved in 2016)\tII/C.15\n"
      "Wonderite\tWonderit\t□Ca_2\t\t\t\t\tsparkly\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tquestionable\t\n");
  put(dir, "german_names.tsv",
      "english_name\tgerman_name\tenglish_flag\tenglish_name_cp1252\n"
      "Quartz\tQuarz\tyes\tQuartz\n");
  put(dir, "curated.tsv",
      "english_name\tfield\tvalue\treason\n"
      "Galena\thardness\t2.5-2.75\tsource missing maximum\n"
      "Quartz\tcell\ta=4.913; c=5.405\tsource rounded\n");
  put(dir, "colour_words.tsv",
      "source_phrase\tcount\tused_in\tcolour_table_names\tmethod\tnote\n"
      "colorless\t1\tcolour\tfarblos\trule\t\n"
      "purple\t1\tcolour\tviolett\trule\t\n"
      "white\t1\tstreak\twei\xC3\x9F\trule\t\n"
      "lead gray\t2\tcolour,streak\tbleigrau, grau\trule\t\n");
  put(dir, "property_words.tsv",
      "field\tsource_word\tgerman\tbit\tnote\n"
      "lustre\tvitreous\tglas\t2\t\n"
      "lustre\tmetallic\tmetall\t6\t\n"
      "cleavage\tnone\tkeine\t0\t\n"
      "cleavage\tperfect\tvollkommen\t3\t\n"
      "fracture\tconchoidal\tmuschlig\t2\t\n"
      "tenacity\tbrittle\tspr\xC3\xB6" "de\t4\t\n"
      "transparency\ttransparent\tdurchsichtig\t0\t\n"
      "transparency\topaque\tundurchsichtig\t3\t\n"
      "crystal_system\ttrigonal\ttrigonal\t6\t\n"
      "crystal_system\tcubic\tkubisch\t0\t\n"
      "point_group\t32\t32\t19\t\n"
      "point_group\tm-3m\tm3m\t31\t\n"
      "ima_status\tapproved\tIMA-Anerkannt\t0x01\t\n"
      "ima_status\tquestionable\tnicht IMA-Anerk.\t0x02\t\n"
      "ima_status\tnot in 2021/2022 IMA lists\tnicht IMA-Anerk.\t0x02\t\n");
  put(dir, "formula_characters.tsv", "character\treplacement\n\xE2\x96\xA1\t[]\n");
  put(dir, "crystal_forms.tsv",
      "english_name\tforms\tturn\tsource\n"
      "Quartz\t{10-10}:1 {10-11}:2.4 {01-11}:2.6\t\ttypical habit: prism with both rhombohedra\n");
  put(dir, "crystal_default_forms.tsv",
      "class\tforms\treason\n"
      "m-3m\t{100}:1 {111}:0.9\tcube and octahedron\n"
      "32\t{10-10}:1 {10-11}:0.85 {01-11}:0.9\tprism and rhombohedra\n");
  put(dir, "aliases.tsv",
      "alias\ttarget\tkind\ttext\n"
      "Bleiglanz\tGalenit\tname\t\n"
      "Amethyst\tQuarz\tsentence\tDie violette Variet\xC3\xA4t von @Quarz@.\n");
  put(dir, "systematics.tsv",
      "section\tkey\ttitle\n"
      "strunz\tIV/D.01\tQuarzgruppe\n"
      "hey\t8\tSilikate\n"
      "strunz\tIV/\tOxide und Hydroxide\n"
      "strunz\tII/\tSulfide\n"
      "strunz\tIV/D\tmit SiO2\n");
  put(dir, "kalvor-daten-lizenz.txt", "Quellen\r\nWikidata – CC0 1.0\n");
  put(dir, "glossary.tsv",
      "term\ttext\n"
      "Strich\tDie Farbe des Pulvers, siehe @Mohsh\xC3\xA4rte@.\n"
      "Mohsh\xC3\xA4rte\tRitzh\xC3\xA4rte nach Mohs.\n"
      "\xC3\x84tzfigur\tVertiefung auf einer Kristallfl\xC3\xA4" "che.\n");
}

const BuiltEntry* findEntry(const std::vector<BuiltEntry>& entries, const std::string& utf8Name) {
  for (const auto& e : entries)
    if (e.name == utf8ToCp1252Lossy(utf8Name)) return &e;
  return nullptr;
}

TEST(MkdbValues, HardnessAndDensityTexts) {
  EXPECT_EQ(parseHardnessHalfSteps("5.5"), 11);
  EXPECT_EQ(parseHardnessHalfSteps("5,5"), 11);
  EXPECT_EQ(parseHardnessHalfSteps("5\xC2\xBD"), 11);
  EXPECT_EQ(parseHardnessHalfSteps("10"), 20);
  EXPECT_FALSE(parseHardnessHalfSteps("0.5"));
  EXPECT_FALSE(parseHardnessHalfSteps("11"));
  EXPECT_FALSE(parseHardnessHalfSteps("hart"));
  const auto d = parseDensityValue("2.65");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->whole, 2);
  EXPECT_EQ(d->hundredths, 65);
  const auto g = parseDensityValue("19,3");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->whole, 19);
  EXPECT_EQ(g->hundredths, 30);
  EXPECT_FALSE(parseDensityValue("-1"));
}

TEST(MkdbMinerals, SourceRowsBecomeTheDocumentedFields) {
  ScratchDir dir;
  writeSources(dir);
  Report report;
  const Mappings mappings = Mappings::load(dir.path(), report);
  MineralBuilder builder(mappings, report);
  const auto minerals = builder.buildFullMinerals(dir.path());
  ASSERT_FALSE(report.hasErrors()) << report.errorText();
  ASSERT_EQ(minerals.size(), 3u);

  const BuiltEntry* quartz = findEntry(minerals, "Quarz");
  ASSERT_NE(quartz, nullptr);
  const MineralRecord& q = quartz->record;
  EXPECT_EQ(q.flags(), kMineralImaRecognised | kMineralEnglishNames);  // "Quarze" would be wrong
  EXPECT_EQ(q.englishName(), "Quartz");
  EXPECT_EQ(q.formula(), "SiO_2");
  EXPECT_EQ(q.hardnessMin(), 14);
  EXPECT_EQ(q.hardnessMax(), 14);
  EXPECT_EQ(q.densityMin().whole, 2);
  EXPECT_EQ(q.densityMin().hundredths, 65);
  ASSERT_EQ(q.colours().size(), 2u);
  EXPECT_EQ(colourNameOf(q.colours()[0]), "farblos");
  EXPECT_EQ(colourNameOf(q.colours()[1]), "violett");
  ASSERT_EQ(q.streaks().size(), 1u);
  EXPECT_EQ(colourNameOf(q.streaks()[0]), "wei\xDF");
  EXPECT_EQ(q.lustre(), 0x0004);        // glas
  EXPECT_EQ(q.cleavage(), 0x01);        // keine
  EXPECT_EQ(q.fracture(), 0x0014);      // muschlig + spröde
  EXPECT_EQ(q.transparency(), 0x0001);  // durchsichtig
  EXPECT_EQ(q.crystalSystems(), 0x0040);
  EXPECT_EQ(q.strunz().cls, 4);
  EXPECT_EQ(q.strunz().subclass, 'D');
  EXPECT_EQ(q.strunz().group, 1);
  const auto cells = q.crystalData();
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].classes, 1u << 19);  // "32"
  EXPECT_DOUBLE_EQ(cells[0].a0, 4.913);   // the curated value, not the source's 4.91
  EXPECT_DOUBLE_EQ(cells[0].c0, 5.405);
  EXPECT_EQ(cells[0].b0, 0.0);
  EXPECT_EQ(cells[0].z, 0);  // a curated cell names every constant it keeps

  const BuiltEntry* galena = findEntry(minerals, "Galenit");
  ASSERT_NE(galena, nullptr);
  const MineralRecord& g = galena->record;
  EXPECT_EQ(g.flags(), kMineralNotImaRecognised | kMineralEnglishNames);  // status by its prefix
  EXPECT_EQ(g.hardnessMin(), 5);
  EXPECT_EQ(g.hardnessMax(), 6);  // 2.75 is rounded to the half step 3
  ASSERT_EQ(g.colours().size(), 2u);
  EXPECT_EQ(colourNameOf(g.colours()[0]), "bleigrau");
  EXPECT_EQ(colourNameOf(g.colours()[1]), "grau");
  EXPECT_EQ(g.crystalData().at(0).classes, 1u << 31);
  EXPECT_EQ(g.crystalData().at(0).flags, 0);

  const BuiltEntry* wonder = findEntry(minerals, "Wonderit");
  ASSERT_NE(wonder, nullptr);
  EXPECT_EQ(wonder->record.flags(), kMineralNotImaRecognised);
  EXPECT_EQ(wonder->record.formula(), "[]Ca_2");
  EXPECT_TRUE(wonder->record.colours().empty());
  EXPECT_NE(report.text().find("sparkly"), std::string::npos);  // listed as unmapped
}


TEST(MkdbMinerals, RowErrorsNameTheirLines) {
  ScratchDir dir;
  writeSources(dir);
  put(dir, "minerals.tsv",
      "english_name\tgerman_name\tformula\thardness_min\tima_status\n"
      "Longite\tEinsehrsehrsehrsehrsehrsehrlangerNamenit\tX\t\tapproved\n"
      "Softite\tSoftit\tX\tweich\tapproved\n");
  Report report;
  const Mappings mappings = Mappings::load(dir.path(), report);
  MineralBuilder builder(mappings, report);
  const auto minerals = builder.buildFullMinerals(dir.path());
  const std::string errors = report.errorText();
  EXPECT_NE(errors.find("minerals.tsv:2"), std::string::npos) << errors;  // name over 39 bytes
  EXPECT_NE(errors.find("minerals.tsv:3"), std::string::npos) << errors;  // hardness "weich"
  EXPECT_EQ(minerals.size(), 1u);  // Softit is kept, without the unreadable hardness
}

TEST(MkdbAliases, NamesSentencesAndEnglishSpellings) {
  ScratchDir dir;
  writeSources(dir);
  Report report;
  const Mappings mappings = Mappings::load(dir.path(), report);
  MineralBuilder builder(mappings, report);
  const auto minerals = builder.buildFullMinerals(dir.path());
  const auto aliases = builder.buildAliases(dir.path(), minerals);
  ASSERT_FALSE(report.hasErrors()) << report.errorText();

  const BuiltEntry* blei = findEntry(aliases, "Bleiglanz");
  ASSERT_NE(blei, nullptr);
  EXPECT_FALSE(blei->record.isFullMineral());
  EXPECT_EQ(blei->record.aliasTarget(), "Galenit");
  const BuiltEntry* amethyst = findEntry(aliases, "Amethyst");
  ASSERT_NE(amethyst, nullptr);
  EXPECT_EQ(amethyst->record.aliasTarget(), utf8ToCp1252Lossy("Die violette Varietät von @Quarz@."));
  // English names the "-e" rule cannot make are found under their own spelling.
  const BuiltEntry* quartz = findEntry(aliases, "Quartz");
  ASSERT_NE(quartz, nullptr);
  EXPECT_EQ(quartz->record.aliasTarget(), "Quarz");
  EXPECT_EQ(quartz->record.flags(), kMineralEnglishNames);
  EXPECT_EQ(quartz->record.englishAliasName(), "Quartz");
  EXPECT_NE(findEntry(aliases, "Galena"), nullptr);

  put(dir, "aliases.tsv",
      "alias\ttarget\tkind\ttext\n"
      "Rubin\tKorund\tname\t\n"
      "Citrin\tQuarz\tsentence\tDie gelbe Varietät von Quarz.\n");
  Report bad;
  MineralBuilder again(mappings, bad);
  again.buildAliases(dir.path(), minerals);
  EXPECT_NE(bad.errorText().find("aliases.tsv:2"), std::string::npos);  // no such mineral
  EXPECT_NE(bad.errorText().find("aliases.tsv:3"), std::string::npos);  // target not between "@"
}

TEST(MkdbTextFiles, SystematicsAreOrderedWithTheShortSeparatorLine) {
  ScratchDir dir;
  writeSources(dir);
  Report report;
  const auto sy = buildSystematicsFile(dir.path(), report);
  ASSERT_TRUE(sy) << report.errorText();
  const std::string text(sy->begin(), sy->end());
  EXPECT_EQ(text,
            "II/\tSulfide\r\n"
            "IV/\tOxide und Hydroxide\r\n"
            "IV/D\tmit SiO2\r\n"
            "IV/D.01\tQuarzgruppe\r\n"
            "\r\n"
            "8\tSilikate\r\n");
}

TEST(MkdbTextFiles, GlossaryIsSortedGermanAndReferencesMustResolve) {
  ScratchDir dir;
  writeSources(dir);
  Report report;
  const auto gl = buildGlossary(dir.path(), report);
  ASSERT_TRUE(gl) << report.errorText();
  const auto glossary = Glossary::fromBytes(*gl);
  ASSERT_TRUE(glossary);
  ASSERT_EQ(glossary->entryCount(), 3);
  // "Ätzfigur" sorts as "Aetzfigur", before "Mohshärte".
  EXPECT_EQ(glossary->entry(0), utf8ToCp1252Lossy("#Ätzfigur#~Vertiefung auf einer Kristallfläche."));
  EXPECT_EQ(glossary->entry(1), utf8ToCp1252Lossy("#Mohshärte#~Ritzhärte nach Mohs."));
  EXPECT_EQ(glossary->entry(2), utf8ToCp1252Lossy("#Strich#~Die Farbe des Pulvers, siehe @Mohshärte@."));

  put(dir, "glossary.tsv", "term\ttext\nStrich\tsiehe @Glanz@\n");
  Report bad;
  EXPECT_FALSE(buildGlossary(dir.path(), bad));
  EXPECT_NE(bad.errorText().find("@Glanz@"), std::string::npos);
}

TEST(MkdbTextFiles, LicenceTextIsUtf8WithBomAndCrlfAndNamesEverySource) {
  ScratchDir dir;
  writeSources(dir);
  Report report;
  const auto small = buildLicenceText(dir.path(), report);
  ASSERT_TRUE(small) << report.errorText();
  const std::string expected = "\xEF\xBB\xBFQuellen\r\nWikidata \xE2\x80\x93 CC0 1.0\r\n";
  EXPECT_EQ(std::string(small->begin(), small->end()), expected);

  // The shipped text: every source of the reference data with its licence and attribution.
  const char* source = std::getenv("KALVOR_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "KALVOR_SOURCE_DIR is not set (run through ctest)";
  Report shippedReport;
  const auto shipped = buildLicenceText(std::string(source) + "/data", shippedReport);
  ASSERT_TRUE(shipped) << shippedReport.errorText();
  const std::string text(shipped->begin(), shipped->end());
  ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
    }
  }
  for (const char* needed : {"Wikidata", "CC0 1.0", "Wikipedia contributors", "CC BY-SA 3.0",
                             "IMA\xE2\x80\x93"
                             "CNMNC",
                             "RRUFF", "Lafuente", "OpenThesaurus", "LGPL", "Kalvor-Projekt"})
    EXPECT_NE(text.find(needed), std::string::npos) << needed;
  Report missing;
  ScratchDir empty;
  EXPECT_FALSE(buildLicenceText(empty.path(), missing));
  EXPECT_TRUE(missing.hasErrors());
}

TEST(MkdbArtwork, LogoPicturesRoundTripThroughThePictureFile) {
  const auto pictures = makeLogoPictures();
  ASSERT_EQ(pictures.size(), 5u);
  EXPECT_EQ(pictures[0].bitmap.width(), 600);
  EXPECT_EQ(pictures[0].bitmap.height(), 230);
  EXPECT_EQ(pictures[1].caption, "Pyromorphit");
  PictureFileWriter writer;
  for (const auto& p : pictures)
    writer.addPicture(static_cast<std::uint16_t>(p.bitmap.width()), static_cast<std::uint16_t>(p.bitmap.height()),
                      p.caption, p.bitmap.bits());
  const Bytes bytes = writer.build();
  const auto file = PictureFile::fromBytes(bytes);
  ASSERT_TRUE(file);
  for (std::uint32_t i = 0; i < pictures.size(); ++i) {
    const auto picture = file->readPicture(*file->pictureOffset(i));
    ASSERT_TRUE(picture);
    // Pixel for pixel (the padding behind a row is the decoder's own).
    const MonoBitmap& drawn = pictures[i].bitmap;
    std::size_t ink = 0, differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        ink += drawn.isInk(x, y);
        differing += drawn.isInk(x, y) == pictureBit(picture->bitmap, drawn.width(), x, y);
      }
    }
    EXPECT_EQ(differing, 0u) << "picture " << i;
    // Every picture has ink and background.
    EXPECT_GT(ink, 0u);
    EXPECT_LT(ink, static_cast<std::size_t>(pictures[i].bitmap.width() * pictures[i].bitmap.height()));
  }
  // The GIF wrapper: signature, size, two colours, our stream, trailer.
  const auto header = file->readHeader(*file->pictureOffset(3));
  const Bytes gif = wrapPictureAsGif(bytes, *header);
  ASSERT_GT(gif.size(), 30u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(loadU16(gif.data() + 6), 24);
  EXPECT_EQ(gif[10], 0x80);
  EXPECT_EQ(gif[13 + 6], 0x2C);
  EXPECT_EQ(gif[13 + 6 + 10], bytes[header->dataOffset]);  // the minimum code size
  EXPECT_EQ(gif.back(), 0x3B);
}

TEST(MkdbCompile, SameSourcesGiveByteIdenticalFiles) {
  ScratchDir dir;
  writeSources(dir);
  ScratchDir out1, out2;
  Report r1, r2;
  ASSERT_TRUE(compileReferenceData(dir.path(), out1.path(), r1)) << r1.errorText();
  ASSERT_TRUE(compileReferenceData(dir.path(), out2.path(), r2)) << r2.errorText();
  for (const char* name : {"kalvor.mi", "kalvor.db", "kalvor.sy", "kalvor.gl", "kalvor.lf", "kalvor.kf",
                           "logos.pf", kLicenceTextName}) {
    const Bytes a = kalvor::testing::readFile(out1.file(name));
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, kalvor::testing::readFile(out2.file(name))) << name;
  }
  // Quartz is drawn from its own forms (two views), Galena from the forms of its class.
  EXPECT_EQ(r1.countOf("Arten mit Kristallformen der Art"), 1u);
  EXPECT_EQ(r1.countOf("Arten mit Standardformen der Klasse"), 1u);
  EXPECT_EQ(r1.countOf("Kristallzeichnungen"), 3u);
  // Entries stand in German alphabetical order, aliases among the minerals.
  const auto db = MineralDatabase::open(out1.path());
  ASSERT_TRUE(db);
  std::vector<std::string> names;
  for (MineralNumber n = 0; n < db->entryCount(); ++n) names.push_back(db->readMineralRecord(n).name());
  const std::vector<std::string> expected = {"Amethyst", "Bleiglanz", "Galena",  "Galenit",
                                             "Quartz",   "Quarz",     "Wonderit"};
  EXPECT_EQ(names, expected);
}

TEST(MkdbCompile, BadCrystalFormsFailTheBuild) {
  ScratchDir dir;
  writeSources(dir);
  put(dir, "crystal_forms.tsv",
      "english_name\tforms\tturn\tsource\n"
      "Quartz\t{1011}:1\t\ti is not -(h + k)\n");
  ScratchDir out;
  Report report;
  EXPECT_FALSE(compileReferenceData(dir.path(), out.path(), report));
  EXPECT_NE(report.errorText().find("crystal_forms.tsv:2: Formen unlesbar"), std::string::npos) << report.errorText();

  put(dir, "crystal_forms.tsv",
      "english_name\tforms\tturn\tsource\n"
      "Galena\t{100}:1\t400\tturned too far\n"
      "Quartz\t{10-10}:1 {10-11}:2\t\t\n"
      "Quartz\t{10-10}:1 {10-11}:2\t\tagain\n");
  Report second;
  EXPECT_FALSE(compileReferenceData(dir.path(), out.path(), second));
  const std::string errors = second.errorText();
  EXPECT_NE(errors.find("crystal_forms.tsv:2: Drehung 400"), std::string::npos) << errors;
  EXPECT_NE(errors.find("crystal_forms.tsv:3: Quelle fehlt"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Quartz steht doppelt"), std::string::npos) << errors;
}

}  // namespace
}  // namespace kalvor::mkdb
