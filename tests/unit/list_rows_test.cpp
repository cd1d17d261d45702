// The row renderers of the list views on the measuring canvas: text font 8
// pixels a character, and RowMetrics with an average character width of 8
// (a quarter width is 2 pixels) and a widest name of 100, so the narrow
// threshold is 30 * 8 / 4 + 100 = 160 pixels.
#include <gtest/gtest.h>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "platform/settings.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "render/measuring_canvas.h"
#include "render/text_canvas.h"
#include "tests/unit/collection_fixture.h"
#include "views/list_rows.h"

namespace kalvor::views {
namespace {

using testing::CollectionFixture;
using testing::cp;

constexpr RowMetrics kMetrics{8, 100};
constexpr int kRowHeight = 20;
constexpr int kBaseline = kRowHeight * 4 / 5;  // 16

// Entries 0 Quarz (IV/D.1, "SiO_2", hardness 7, density 2.65), 1 the alias
// Bergkristall, 2 Calcit without a Lapis/Strunz number.
MineralDatabase smallDatabase() {
  MineralFileWriter w;
  MineralRecord quarz;
  quarz.setFlags(kMineralImaRecognised);
  quarz.setName("Quarz");
  quarz.setFormula("SiO_2");
  quarz.setHardness(14, 14);
  quarz.setDensity(DensityValue{2, 65}, DensityValue{2, 65});
  quarz.setStrunz(StrunzField{4, 'D', 1, 0, 0});
  w.add(quarz);
  MineralRecord alias;
  alias.setName("Bergkristall");
  alias.setAliasTarget(cp("klare Varietät von @Quarz@"));
  w.add(alias);
  MineralRecord calcit;
  calcit.setFlags(kMineralImaRecognised);
  calcit.setName("Calcit");
  calcit.setFormula("CaCO_3");
  w.add(calcit);
  std::optional<MineralDatabase> db = MineralDatabase::fromBytes(w.indexFile(), w.recordFile());
  EXPECT_TRUE(db);
  return std::move(*db);
}

// The texts drawn, in order, as "x,baseline:text".
std::vector<std::string> drawn(const MeasuringCanvas& canvas) {
  std::vector<std::string> out;
  for (const DrawnText& t : canvas.texts())
    out.push_back(std::to_string(t.x) + "," + std::to_string(t.baseline) + ":" + t.text);
  return out;
}

TEST(MineralRows, WideRowShowsNameSystematicsFormulaEachClippedToItsCell) {
  const MineralDatabase db = smallDatabase();
  ColumnLayout layout = defaultMineralLayout();
  MineralRowRenderer rows(db, layout, kMetrics);
  MeasuringCanvas canvas;
  // Mineralname 80 quarters = 160 px, Systematik 55 = 110 px, Formel to the end.
  EXPECT_EQ(rows.drawRow(canvas, 10, 100, kRowHeight, 600, 0), 1);
  const int baseline = 100 + kBaseline;
  ASSERT_EQ(canvas.texts().size(), 4u);
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{
                               "10," + std::to_string(baseline) + ":Quarz",
                               "170," + std::to_string(baseline) + ":IV/D.1",
                               "280," + std::to_string(baseline) + ":SiO",
                               // the "2" is lowered in the index font behind "SiO"
                               "304," + std::to_string(baseline + 4) + ":2"}));
  EXPECT_EQ(canvas.texts()[3].font, FontSlot::kSmall);
  EXPECT_EQ(canvas.texts()[0].clip, (ClipRect{10, 100, 170, 120}));
  EXPECT_EQ(canvas.texts()[1].clip, (ClipRect{170, 100, 280, 120}));
  EXPECT_EQ(canvas.texts()[2].clip, (ClipRect{280, 100, 610, 120}));
  EXPECT_FALSE(canvas.clip()) << "the clip is lifted after the row";

  // Calcit has no systematic number: nothing between name and formula.
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 600, 2);
  ASSERT_GE(canvas.texts().size(), 2u);
  EXPECT_EQ(canvas.texts()[0].text, "Calcit");
  EXPECT_EQ(canvas.texts()[1].text, "CaCO");
  EXPECT_EQ(canvas.texts()[1].x, 270);

  // Hardness and density shown as the description writes them, on line 2
  // the colours: a two-line record.
  layout.columns[kHardnessColumn].order = 4;
  layout.columns[kDensityColumn].order = 5;
  layout.columns[kColourColumn].order = 6;
  layout.columns[kFormulaColumn].width = 60;  // a -1 column would hide those behind it
  EXPECT_EQ(rows.linesPerRecord(800), 2);
  canvas.clearRecord();
  EXPECT_EQ(rows.drawRow(canvas, 0, 0, kRowHeight, 800, 0), 2);
  std::vector<std::string> texts;
  for (const DrawnText& t : canvas.texts()) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Quarz", "IV/D.1", "SiO", "2", "7.0", "2.65"}));
  EXPECT_EQ(canvas.texts()[4].x, 390);  // 160 + 110 + 120
  EXPECT_EQ(canvas.texts()[5].x, 490);  // + 50 quarters
}

TEST(MineralRows, AliasNarrowAndUnreadableRows) {
  const MineralDatabase db = smallDatabase();
  ColumnLayout layout = defaultMineralLayout();
  MineralRowRenderer rows(db, layout, kMetrics);
  MeasuringCanvas canvas;
  // Alias: its name, then the target text without "@" at
  // ((80 + 2) * 8) / 4 + ((55 + 2) * 8) / 4 = 164 + 114 behind the left edge.
  EXPECT_EQ(rows.drawRow(canvas, 10, 0, kRowHeight, 600, 1), 1);
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"10,16:Bergkristall",
                                                     "288,16:" + cp("klare Varietät von Quarz")}));
  EXPECT_EQ(canvas.texts()[0].clip->right, 170);
  EXPECT_EQ(canvas.texts()[1].clip->right, 610);

  // Mineral rows have no narrow form (the list control draws plain names
  // then): a tight row cuts the cells at its edge, the later ones are empty.
  canvas.clearRecord();
  EXPECT_EQ(rows.drawRow(canvas, 0, 0, kRowHeight, 150, 0), 1);
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"0,16:Quarz"}));
  EXPECT_EQ(canvas.texts()[0].clip->right, 150);
  const std::vector<HeaderCell> headers = rows.headerCells(150);
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_EQ(headers[1].name, "Systematik");
  EXPECT_EQ(headers[1].left, 150);
  EXPECT_EQ(headers[1].right, 150);
  EXPECT_FALSE(headers[2].resizable);

  // A number past the database draws nothing.
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 600, 3);
  rows.drawRow(canvas, 0, 0, kRowHeight, 600, -1);
  EXPECT_TRUE(canvas.texts().empty());
  EXPECT_EQ(rows.firstCharacter(0), -1);
}

// Collection fixture names: 0 Quarz, 1 Calcit, 2 Fluorit, 3 Baryt,
// 4 Bergkristall (alias), 5 Äschynit.
class CollectionRows : public ::testing::Test {
 protected:
  std::uint32_t addLocality(const char* name, std::vector<std::uint16_t> minerals) {
    Locality l;
    l.name = name;
    l.nearestPlace = "Oberwolfach";
    l.region = "Schwarzwald";
    l.country = "Deutschland";
    l.minerals = std::move(minerals);
    EXPECT_TRUE(writeLocality(f.c(), 0, l));
    return l.number;
  }
  std::uint32_t addSpecimen(const char* index, std::vector<std::uint16_t> ids,
                            std::uint16_t mainCount, std::uint32_t locality) {
    Specimen s;
    s.flags = specimen_format::kFlagCollection | specimen_format::kFlagBought;
    s.index = index;
    s.minerals = std::move(ids);
    s.mainCount = mainCount;
    s.localityValue = static_cast<std::uint16_t>(locality == 0 ? 0 : locality + 1);
    s.purchasePrice = 12.5f;
    s.date = 1984u * 65536 + 3 * 256 + 25;
    EXPECT_TRUE(writeSpecimen(f.c(), 0, s));
    return s.number;
  }

  CollectionFixture f;
  ColumnLayouts layouts;
};

TEST_F(CollectionRows, LocalityRowsWideNarrowAndFirstCharacter) {
  using namespace testing;
  const std::uint32_t empty = addLocality("Grube Clara", {});
  // Stored out of name order; Quarz is marked as being on a specimen.
  const std::uint32_t many = addLocality(
      "Schauinsland", {kFluorit, 0x8000 | kQuarz, kCalcit, kAeschynit, kBaryt, kBergkristall});
  LocalityRowRenderer rows(f.c(), f.c().names(), layouts.localities, kMetrics);
  MeasuringCanvas canvas;

  // Wide: number 30 quarters = 60 px, then 80-quarter (160 px) columns; the
  // mineral list on the second row, indented by 10 quarters = 20 px.
  EXPECT_EQ(rows.linesPerRecord(900), 2);
  EXPECT_EQ(rows.drawRow(canvas, 0, 0, kRowHeight, 900, static_cast<std::int32_t>(empty)), 2);
  EXPECT_EQ(drawn(canvas),
            (std::vector<std::string>{"0,16:1", "60,16:Grube Clara", "220,16:Oberwolfach",
                                      "380,16:Schwarzwald", "540,16:Deutschland"}))
      << "a locality without minerals leaves its mineral column empty";

  // The "alle Minerale" cell is 220 - 20 = 200 px: 25 characters. In name
  // order Äschynit,Baryt,Bergkristall is 8+1+5+1+12 = 27 characters, so the
  // list stops after Baryt, without a trailing ",".
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 220, static_cast<std::int32_t>(many));
  ASSERT_FALSE(canvas.texts().empty());
  const DrawnText& list = canvas.texts().back();
  EXPECT_EQ(list.text, cp("Äschynit,Baryt"));
  EXPECT_EQ(list.x, 20);
  EXPECT_EQ(list.baseline, kRowHeight + kBaseline);
  // With room for all of them the whole sorted list is drawn.
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 900, static_cast<std::int32_t>(many));
  EXPECT_EQ(canvas.texts().back().text, cp("Äschynit,Baryt,Bergkristall,Calcit,Fluorit,Quarz"));

  // The columns of minerals on and not on specimens split the list by the mark.
  layouts.localities.columns[kAllMineralsColumn].order = 0;
  layouts.localities.columns[kMineralsOnSpecimensColumn].order = 6;
  layouts.localities.columns[kMineralsOnSpecimensColumn].width = 40;
  layouts.localities.columns[kMineralsNotOnSpecimensColumn].order = 7;
  layouts.localities.columns[kMineralsNotOnSpecimensColumn].line = 2;
  layouts.localities.columns[kMineralsNotOnSpecimensColumn].width = 200;
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 900, static_cast<std::int32_t>(many));
  ASSERT_GE(canvas.texts().size(), 2u);
  EXPECT_EQ(drawn(canvas)[canvas.texts().size() - 2], "20,36:Quarz");
  EXPECT_EQ(drawn(canvas).back(), "100,36:" + cp("Äschynit,Baryt,Bergkristall,Calcit,Fluorit"));

  // Narrow: the display line alone.
  canvas.clearRecord();
  EXPECT_EQ(rows.linesPerRecord(159), 1);
  EXPECT_EQ(rows.drawRow(canvas, 5, 40, kRowHeight, 159, static_cast<std::int32_t>(empty)), 1);
  EXPECT_EQ(drawn(canvas),
            (std::vector<std::string>{"5,56:Grube Clara, Oberwolfach, Schwarzwald, Deutschland"}));
  EXPECT_EQ(canvas.texts()[0].clip, (ClipRect{5, 40, 164, 60}));

  EXPECT_EQ(rows.firstCharacter(static_cast<std::int32_t>(many)), 'S');
  EXPECT_EQ(rows.firstCharacter(99), -1);
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 900, 99);
  EXPECT_TRUE(canvas.texts().empty()) << "a record that cannot be read draws nothing";
}

TEST_F(CollectionRows, SettingsHideAColumnAndResizingSavesOnlyItsKey) {
  ASSERT_TRUE(f.settings().writeString("Fundortliste", "Feld1", "0,1,-1"));
  layouts.load(f.settings());
  const std::uint32_t n = addLocality("Grube Clara", {});
  LocalityRowRenderer rows(f.c(), f.c().names(), layouts.localities, kMetrics);
  MeasuringCanvas canvas;
  rows.drawRow(canvas, 0, 0, kRowHeight, 900, static_cast<std::int32_t>(n));
  // Order 2 is gone, so the walk over the orders stops after the number.
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"0,16:1"}));

  // Back to the defaults; the list's header drags "Region" (line 1, position 3).
  layouts = ColumnLayouts{};
  LocalityRowRenderer wide(f.c(), f.c().names(), layouts.localities, kMetrics);
  EXPECT_TRUE(wide.columnResizable(1, 3));
  EXPECT_FALSE(wide.columnResizable(2, 0)) << "alle Minerale runs to the row end";
  EXPECT_FALSE(wide.columnResizable(1, 9));
  wide.setColumnWidth(2, 0, 50);  // ignored
  wide.setColumnWidth(1, 9, 50);  // no such column
  wide.setColumnWidth(1, 3, 120);
  EXPECT_EQ(layouts.localities.columns[kRegionColumn].width, 120);
  EXPECT_EQ(layouts.localities.columns[kAllMineralsColumn].width, -1);
  EXPECT_EQ(layouts.localities, [] {
    ColumnLayout expected = defaultLocalityLayout();
    expected.columns[kRegionColumn].width = 120;
    expected.columns[kRegionColumn].changed = true;
    return expected;
  }());

  ASSERT_TRUE(f.settings().deleteKey("Fundortliste", "Feld1"));
  ASSERT_TRUE(layouts.save(f.settings()));
  for (const char* section : {"Mineralliste", "Fundortliste", "Stufenliste"}) {
    for (int i = 0; i < 11; ++i) {
      const std::string key = "Feld" + std::to_string(i);
      const bool region = std::string(section) == "Fundortliste" && i == 3;
      EXPECT_EQ(f.settings().getString(section, key, "absent"), region ? "4,1,120" : "absent")
          << section << " " << key;
    }
  }
  // The next start takes the width back.
  ColumnLayouts next;
  next.load(f.settings());
  EXPECT_EQ(next.localities.columns[kRegionColumn].width, 120);
}

TEST_F(CollectionRows, HeaderCellsFollowTheLayout) {
  LocalityRowRenderer rows(f.c(), f.c().names(), layouts.localities, kMetrics);
  EXPECT_TRUE(rows.headerCells(159).empty());
  const std::vector<HeaderCell> cells = rows.headerCells(800);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[0].name, "Fundstellennummer");
  EXPECT_EQ(cells[0].left, 0);
  EXPECT_EQ(cells[0].right, 60);
  EXPECT_EQ(cells[2].name, cp("nächster Ort"));
  EXPECT_EQ(cells[2].left, 220);
  EXPECT_EQ(cells[2].right, 380);
  EXPECT_EQ(cells[2].position, 2);
  EXPECT_TRUE(cells[2].resizable);
  EXPECT_EQ(cells[5].name, "alle Minerale");
  EXPECT_EQ(cells[5].line, 2);
  EXPECT_EQ(cells[5].position, 0);
  EXPECT_EQ(cells[5].left, 20);
  EXPECT_EQ(cells[5].right, 800);
  EXPECT_FALSE(cells[5].resizable);
}

TEST_F(CollectionRows, SpecimenRowsWithAndWithoutLocality) {
  using namespace testing;
  const std::uint32_t clara = addLocality("Grube Clara", {});
  // Main minerals Quarz and Calcit (stored ids are numbers + 1), with Fluorit.
  const std::uint32_t lost = addSpecimen("A-17", {kQuarz + 1, kCalcit + 1, kFluorit + 1}, 2, 0);
  const std::uint32_t found = addSpecimen("B-2", {kBaryt + 1}, 1, clara);
  SpecimenRowRenderer rows(f.c(), f.c().names(), layouts.specimens, kMetrics);
  MeasuringCanvas canvas;

  // Sammlungsindex 160 px, Minerale 300 px, Begleitminerale to the end; the
  // locality on the second row at the indent of 20 px.
  EXPECT_EQ(rows.drawRow(canvas, 0, 0, kRowHeight, 800, static_cast<std::int32_t>(lost)), 2);
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"0,16:A-17", "160,16:Calcit,Quarz",
                                                     "460,16:Fluorit", "20,36:unbekannt"}));
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 800, static_cast<std::int32_t>(found));
  EXPECT_EQ(drawn(canvas).back(), "20,36:Grube Clara, Oberwolfach, Schwarzwald, Deutschland");

  // Number, date and price when they are switched on.
  layouts.specimens.columns[kSpecimenNumberColumn].order = 5;
  layouts.specimens.columns[kSpecimenNumberColumn].line = 2;
  layouts.specimens.columns[kDateColumn].order = 6;
  layouts.specimens.columns[kPriceColumn].order = 7;
  layouts.specimens.columns[kPriceColumn].line = 2;
  layouts.specimens.columns[kSpecimenLocalityColumn].width = 100;
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 800, static_cast<std::int32_t>(lost));
  const std::vector<std::string> texts = drawn(canvas);
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[4], "220,36:1");
  EXPECT_EQ(texts[5], "300,36:25.3.1984");
  EXPECT_EQ(texts[6], "500,36:12.500000");

  // Narrow: "index, main minerals".
  canvas.clearRecord();
  EXPECT_EQ(rows.linesPerRecord(100), 1);
  EXPECT_EQ(rows.drawRow(canvas, 0, 0, kRowHeight, 100, static_cast<std::int32_t>(lost)), 1);
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"0,16:A-17, Calcit,Quarz"}));
  EXPECT_EQ(rows.firstCharacter(static_cast<std::int32_t>(lost)), -1);
  const std::uint32_t unindexed = addSpecimen("", {kFluorit + 1, kQuarz + 1}, 2, clara);
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 100, static_cast<std::int32_t>(unindexed));
  EXPECT_EQ(drawn(canvas), (std::vector<std::string>{"0,16:Fluorit,Quarz"}));

  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 800, 42);
  EXPECT_TRUE(canvas.texts().empty());
}

TEST(GlossaryRows, TermBetweenHashesIsDrawnClippedToTheRow) {
  EXPECT_EQ(glossaryTerm(cp("#Achat# Ein gebänderter Chalcedon")), "Achat");
  EXPECT_EQ(glossaryTerm("##leer"), "");
  EXPECT_EQ(glossaryTerm("#offen\r\nText"), "offen");
  EXPECT_FALSE(glossaryTerm("Kein Begriff #x#"));
  EXPECT_FALSE(glossaryTerm(""));

  const std::vector<std::string> entries = {cp("#Achat# Ein gebänderter Chalcedon"),
                                            "ohne Begriff", cp("#Öffnung#")};
  const std::optional<Glossary> glossary = Glossary::fromBytes(buildGlossaryFile(entries));
  ASSERT_TRUE(glossary);
  GlossaryRowRenderer rows(*glossary);
  MeasuringCanvas canvas;
  EXPECT_EQ(rows.drawRow(canvas, 4, 20, kRowHeight, 24, 1), 1);
  ASSERT_EQ(canvas.texts().size(), 1u);
  EXPECT_EQ(canvas.texts()[0].text, "Achat");
  EXPECT_EQ(canvas.texts()[0].baseline, 36);
  EXPECT_EQ(canvas.visibleText(canvas.texts()[0]), "Ach") << "24 px hold three characters";
  canvas.clearRecord();
  rows.drawRow(canvas, 0, 0, kRowHeight, 300, 2);  // no term
  rows.drawRow(canvas, 0, 0, kRowHeight, 300, 0);  // before the first entry
  rows.drawRow(canvas, 0, 0, kRowHeight, 300, 4);  // past the last
  EXPECT_TRUE(canvas.texts().empty());
  EXPECT_EQ(rows.firstCharacter(1), 'A');
  EXPECT_EQ(rows.firstCharacter(3), 0xD6);  // Ö in Windows-1252
  EXPECT_EQ(rows.firstCharacter(2), -1);
  EXPECT_EQ(rows.linesPerRecord(1000), 1);
  EXPECT_TRUE(rows.headerCells(1000).empty());
}

TEST(CanvasClip, TextCanvasKeepsOnlyTheColumnsAndRowsInsideTheClip) {
  TextCanvas canvas;  // one column per character, baselines are rows
  {
    ScopedClip clip(canvas, 2, 0, 5, 4);
    canvas.drawText(0, 3, "abcdefg");
    canvas.drawText(0, 7, "below");  // baseline outside the clip's rows
    EXPECT_EQ(canvas.clip(), (ClipRect{2, 0, 5, 4}));
  }
  EXPECT_FALSE(canvas.clip());
  canvas.drawText(10, 3, "frei");
  EXPECT_EQ(canvas.renderLines(), (std::vector<std::string>{"  cde     frei"}));
  EXPECT_EQ(canvas.visibleText(canvas.texts()[0]), "cde");
  EXPECT_EQ(canvas.visibleText(canvas.texts()[1]), "");
  EXPECT_EQ(canvas.visibleText(canvas.texts()[2]), "frei");
}

}  // namespace
}  // namespace kalvor::views
