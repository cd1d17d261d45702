// The printed reports on the measuring canvas: an A4 page at 300 dpi whose
// fonts get the measuring metrics (em height h: advance h / 2, ascent h,
// descent h / 4), so that the 11-point text font is 44 units high, its lines
// 55 units apart and its characters 22 units wide.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "refdb/drawing_blocks.h"
#include "render/measuring_canvas.h"
#include "reports/collection_list.h"
#include "reports/locality_report.h"
#include "reports/mineral_profile.h"
#include "reports/page_flow.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

constexpr PageGeometry kA4{2400, 3400, 300, 300, 0, 0};

class Sources : public DescriptionSources {
 public:
  std::map<MineralNumber, MineralRecord> records;
  std::map<std::string, MineralNumber> names;
  mutable int beeps = 0;
  MineralRecord mineralRecord(MineralNumber n) const override {
    const auto it = records.find(n);
    if (it != records.end()) return it->second;
    MineralRecord none;
    none.setFlags(kMineralNoEntry);
    return none;
  }
  std::optional<MineralNumber> findMineral(std::string_view name) const override {
    const auto it = names.find(std::string(name));
    if (it == names.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view) const override { return {}; }
  std::string colourName(std::uint16_t c) const override {
    return "ein recht langer Farbname Nummer " + std::to_string(c);
  }
  std::optional<std::string> strunzText(const StrunzNumber&) const override { return {}; }
  std::optional<std::string> heyText(const HeyNumber&) const override { return {}; }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber) const override { return {}; }
  void beep() const override { ++beeps; }
};

MineralRecord quartz(int colourCount = 2) {
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Quarz");
  r.setFormula("SiO_2");
  r.setHardness(14, 14);
  std::vector<std::uint16_t> colours;
  for (int i = 1; i <= colourCount; ++i) colours.push_back(static_cast<std::uint16_t>(i));
  r.setColours(colours);
  return r;
}

MeasuringCanvas a4() {
  MeasuringCanvas c;
  c.setGeometry(kA4);
  return c;
}

// The texts drawn, in drawing order.
std::vector<std::string> textsOf(const MeasuringCanvas& c) {
  std::vector<std::string> out;
  for (const DrawnText& t : c.texts()) out.push_back(t.text);
  return out;
}

const DrawnText* findText(const MeasuringCanvas& c, std::string_view text) {
  for (const DrawnText& t : c.texts())
    if (t.text == text) return &t;
  return nullptr;
}

int rightEnd(const MeasuringCanvas& c, const DrawnText& t) {
  const std::optional<FontRequest>& r = c.fontRequest(t.font);
  const int advance = r ? measuringFontMetrics(*r).charWidth : 8;
  return t.x + advance * static_cast<int>(t.text.size());
}

class Progress : public PrintProgress {
 public:
  std::vector<std::string> shown;
  std::size_t stopAfter = SIZE_MAX;
  void show(std::string_view text) override { shown.emplace_back(text); }
  bool cancelled() override { return shown.size() >= stopAfter; }
};

class ReportCollection : public ::testing::Test {
 protected:
  std::uint16_t addLocality(const std::string& name, const std::string& place) {
    Locality l;
    l.name = name;
    l.nearestPlace = place;
    l.country = "Deutschland";
    const std::optional<std::uint32_t> n = saveLocalityFromForm(f_.c(), l);
    EXPECT_TRUE(n);
    return static_cast<std::uint16_t>(n.value_or(0));
  }
  void addSpecimen(const std::string& index, const std::string& main, std::uint16_t locality,
                   bool collectionPiece = true, const std::string& description = "") {
    SpecimenFormFields s;
    s.mainMinerals = main;
    s.index = index;
    s.localityItem = static_cast<std::uint16_t>(locality == 0 ? 0 : locality + 1);
    s.collectionPiece = collectionPiece;
    s.storagePlace = "Schrank 1";
    s.description = description;
    ASSERT_EQ(collectAndSaveSpecimen(f_.c(), s, 0).status, FormStatus::kSaved);
  }

  CollectionFixture f_;
  Sources sources_;
};

TEST_F(ReportCollection, ThreeSpecimensFitOnePageWithItsFooter) {
  const std::uint16_t clara = addLocality("Grube Clara", "Oberwolfach");
  addSpecimen("B2", "Calcit", clara, false);
  addSpecimen("A1", "Quarz, Fluorit", clara);
  addSpecimen("C3", "Baryt", 0);
  // Sorted by the index text, the list runs A1, B2, C3.
  f_.settings().writeInt("Optionen", "Stufensortierung", 2);
  ASSERT_TRUE(f_.c().resortSpecimens());
  MeasuringCanvas c = a4();
  Progress progress;
  const PrintResult r = printSpecimenList(c, f_.c(), std::nullopt, sources_, &progress);
  EXPECT_EQ(r.outcome, PrintOutcome::kPrinted);
  EXPECT_EQ(r.pages, 1);
  EXPECT_EQ(c.pagesBegun(), 1);
  EXPECT_EQ(c.pagesEnded(), 1);
  EXPECT_EQ(progress.shown,
            (std::vector<std::string>{"Bearbeite Stufe 1/3", "Bearbeite Stufe 2/3", "Bearbeite Stufe 3/3"}));
  const std::vector<std::string> t = textsOf(c);
  // Index order (the default sort order) and the footer last.
  auto pos = [&](const std::string& s) { return std::find(t.begin(), t.end(), s) - t.begin(); };
  EXPECT_LT(pos("A1"), pos("B2"));
  EXPECT_LT(pos("B2"), pos("C3"));
  EXPECT_EQ(t.back(), "- Sammlungsliste Seite 1 -");
  EXPECT_EQ(std::count(t.begin(), t.end(), "Sammlungsstufe"), 2);
  EXPECT_EQ(std::count(t.begin(), t.end(), "Tauschstufe"), 1);
  EXPECT_EQ(std::count(t.begin(), t.end(), "Grube Clara, Oberwolfach, Deutschland"), 2);
  EXPECT_EQ(std::count(t.begin(), t.end(), "unbekannt"), 1);
  // The mark stands right-aligned at the area's right edge (margin 236).
  const DrawnText* mark = findText(c, "Tauschstufe");
  ASSERT_TRUE(mark);
  EXPECT_EQ(rightEnd(c, *mark), 2400 - 236);
  // The footer is centred, 10/8 lines (68) above the bottom, and one rule per entry.
  const DrawnText& footer = c.texts().back();
  EXPECT_EQ(footer.x + rightEnd(c, footer), 236 + 2400 - 236);
  EXPECT_EQ(footer.baseline, 3400 - 68 + 44);
  EXPECT_EQ(c.lines().size(), 3u);
}

TEST_F(ReportCollection, SpecimenWithoutLocalityPrintsUnbekannt) {
  const std::uint16_t clara = addLocality("Grube Clara", "Oberwolfach");
  addSpecimen("A1", "Quarz", 0);
  addSpecimen("A2", "Quarz", clara);
  // A specimen saved after declining a new locality keeps the value 1: no locality either.
  std::optional<Specimen> s = readSpecimen(f_.c(), 2);
  ASSERT_TRUE(s);
  s->localityValue = 1;
  ASSERT_TRUE(writeSpecimen(f_.c(), 2, *s));
  MeasuringCanvas c = a4();
  printSpecimenList(c, f_.c(), std::nullopt, sources_, nullptr);
  int unknown = 0;
  for (std::size_t i = 0; i + 1 < c.texts().size(); ++i) {
    if (c.texts()[i].text != "Fundort:") continue;
    // The value shares the label's baseline.
    EXPECT_EQ(c.texts()[i + 1].baseline, c.texts()[i].baseline);
    if (c.texts()[i + 1].text == "unbekannt") ++unknown;
  }
  EXPECT_EQ(unknown, 2);
}

TEST_F(ReportCollection, LongListBreaksBetweenEntriesAndNumbersItsPages) {
  std::string longText;
  for (int i = 0; i < 60; ++i) longText += "Kristalle auf Matrix ";
  const std::uint16_t clara = addLocality("Grube Clara", "Oberwolfach");
  for (int i = 0; i < 300; ++i) {
    char index[16];
    std::snprintf(index, sizeof index, "S%03d", i);
    addSpecimen(index, i % 3 ? "Quarz, Calcit, Fluorit" : "Baryt", i % 2 ? clara : 0, i % 5 != 0,
                i % 7 == 0 ? longText : "");
  }
  MeasuringCanvas c = a4();
  Progress progress;
  const PrintResult r = printSpecimenList(c, f_.c(), std::nullopt, sources_, &progress);
  ASSERT_EQ(r.outcome, PrintOutcome::kPrinted);
  EXPECT_EQ(progress.shown.size(), 300u);
  EXPECT_EQ(progress.shown.back(), "Bearbeite Stufe 300/300");
  ASSERT_GT(r.pages, 10);
  EXPECT_EQ(c.pagesBegun(), r.pages);
  EXPECT_EQ(c.pagesEnded(), r.pages);
  // Every entry lies on one page, above the footer's space (20/8 lines = 137).
  std::vector<int> footerPages;
  int entryPage = 0;
  int entries = 0;
  for (const DrawnText& t : c.texts()) {
    if (t.text.rfind("- Sammlungsliste Seite ", 0) == 0) {
      footerPages.push_back(t.page);
      EXPECT_EQ(t.text, "- Sammlungsliste Seite " + std::to_string(t.page) + " -");
      continue;
    }
    if (t.text == "Sammlungsindex:") {
      entryPage = t.page;
      ++entries;
    }
    EXPECT_EQ(t.page, entryPage) << t.text;
    EXPECT_LE(t.baseline + 11, 3400 - 137) << t.text;
  }
  EXPECT_EQ(entries, 300);
  ASSERT_EQ(static_cast<int>(footerPages.size()), r.pages);
  for (int p = 0; p < r.pages; ++p) EXPECT_EQ(footerPages[p], p + 1);
  for (const DrawnLine& l : c.lines()) EXPECT_LE(l.y1, 3400 - 137);
}

TEST_F(ReportCollection, CancelStopsAfterTheCurrentEntry) {
  for (int i = 0; i < 20; ++i) addSpecimen("S" + std::to_string(10 + i), "Quarz", 0);
  MeasuringCanvas c = a4();
  Progress progress;
  progress.stopAfter = 5;
  const PrintResult r = printSpecimenList(c, f_.c(), std::nullopt, sources_, &progress);
  EXPECT_EQ(r.outcome, PrintOutcome::kCancelled);
  EXPECT_EQ(c.pagesBegun(), c.pagesEnded());
  const std::vector<std::string> t = textsOf(c);
  EXPECT_EQ(std::count(t.begin(), t.end(), "Sammlungsindex:"), 5);
  // An empty set prints nothing at all.
  MeasuringCanvas empty = a4();
  const PrintResult none = printSpecimenList(empty, f_.c(), RecordSet(), sources_, nullptr);
  EXPECT_EQ(none.outcome, PrintOutcome::kNothingToPrint);
  EXPECT_EQ(empty.pagesBegun(), 0);
}

// A device whose spooler refuses the second page.
class FailingCanvas : public MeasuringCanvas {
 public:
  bool beginPage() override { return pagesBegun() < 1 && MeasuringCanvas::beginPage(); }
};

TEST_F(ReportCollection, ARefusedPageStopsTheListAndSaysSo) {
  for (int i = 0; i < 40; ++i) addSpecimen("S" + std::to_string(10 + i), "Quarz", 0);
  FailingCanvas c;
  c.setGeometry(kA4);
  Progress progress;
  const PrintResult r = printSpecimenList(c, f_.c(), std::nullopt, sources_, &progress);
  EXPECT_EQ(r.outcome, PrintOutcome::kDeviceFailed);
  EXPECT_EQ(r.pages, 1);
  // Nothing more is laid out once the device failed.
  EXPECT_LT(progress.shown.size(), 40u);
  EXPECT_FALSE(printFailedText().empty());
}

TEST(PageFlow, BlocksMoveWholeOrBreakBetweenLinesAndATallLineGetsItsOwnPage) {
  MeasuringCanvas c = a4();
  PrintFrame f;
  f.area = LayoutArea{0, 0, 2400, 1000};
  f.pageTop = 100;
  std::vector<int> tops;
  PageFlow flow(c, f, 1000, &tops);
  ASSERT_TRUE(flow.start());
  // Lines of 100 rows, one text each, tops recorded.
  auto lines = [&](int count, const std::string& name) {
    return [&, count, name](int y) {
      for (int i = 0; i < count; ++i, y += 100) {
        tops.push_back(y);
        flow.canvas().drawText(0, y + 80, name + std::to_string(i));
      }
      return y;
    };
  };
  ASSERT_TRUE(flow.place(lines(5, "a"), true));    // rows 100-600
  ASSERT_TRUE(flow.place(lines(5, "b"), true));    // does not fit: next page, 100-600
  ASSERT_TRUE(flow.place(lines(12, "c"), false));  // 4 lines here, 9 on the next page, ...
  ASSERT_TRUE(flow.place(
      [&](int y) {  // one line taller than a page
        flow.canvas().drawText(0, y + 50, "hoch");
        return y + 2000;
      },
      true));
  ASSERT_TRUE(flow.finish());
  std::map<std::string, std::pair<int, int>> at;  // page, baseline
  for (const DrawnText& t : c.texts()) at[t.text] = {t.page, t.baseline};
  EXPECT_EQ(at.size(), 23u);  // nothing twice, nothing lost
  EXPECT_EQ(at["a0"], std::make_pair(1, 180));
  EXPECT_EQ(at["b0"], std::make_pair(2, 180));
  EXPECT_EQ(at["c0"], std::make_pair(2, 680));
  EXPECT_EQ(at["c3"], std::make_pair(2, 980));
  EXPECT_EQ(at["c4"], std::make_pair(3, 180));
  EXPECT_EQ(at["c11"], std::make_pair(3, 880));
  EXPECT_EQ(at["hoch"], std::make_pair(4, 150));
  EXPECT_EQ(c.pagesBegun(), 4);
  EXPECT_EQ(c.pagesEnded(), 4);
}

Locality localityWith(int minerals, const std::string& description = "") {
  Locality l;
  l.number = 1;
  l.name = "Grube Clara";
  l.nearestPlace = "Oberwolfach";
  l.region = "Schwarzwald";
  l.country = "Deutschland";
  l.description = description;
  for (int i = 0; i < minerals; ++i)
    l.minerals.push_back(static_cast<std::uint16_t>(i % 2 ? i : i | locality_format::kFromSpecimen));
  return l;
}

MineralNameList manyNames(int count) {
  std::vector<NameSource> list;
  for (int i = 0; i < count; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "Mineral%03d", i);
    list.push_back({false, name});
  }
  return MineralNameList::build(list);
}

TEST(LocalityReport, SevenMineralsFillThreeColumnsOfThreeThreeAndOne) {
  const MineralNameList names = manyNames(7);
  Sources sources;
  MeasuringCanvas c = a4();
  const PrintResult r = printLocalityDescription(c, localityWith(7), names, sources);
  EXPECT_EQ(r.pages, 1);
  const std::vector<std::string> t = textsOf(c);
  ASSERT_GE(t.size(), 10u);
  EXPECT_EQ(t[0], "Fundort:");
  EXPECT_EQ(t[1], "Grube Clara");
  EXPECT_EQ(t[2], cp("Nächster Ort:"));
  std::map<int, std::vector<std::string>> columns;
  std::set<int> rows;
  for (const DrawnText& d : c.texts()) {
    if (d.text.rfind("Mineral0", 0) != 0) continue;
    columns[d.x].push_back(d.text);
    rows.insert(d.baseline);
  }
  ASSERT_EQ(columns.size(), 3u);
  auto it = columns.begin();
  EXPECT_EQ(it->second, (std::vector<std::string>{"Mineral000", "Mineral001", "Mineral002"}));
  EXPECT_EQ((++it)->second, (std::vector<std::string>{"Mineral003", "Mineral004", "Mineral005"}));
  EXPECT_EQ((++it)->second, (std::vector<std::string>{"Mineral006"}));
  EXPECT_EQ(rows.size(), 3u);
  // Seven boxes of four sides; the four minerals on specimens (0, 2, 4, 6) crossed.
  EXPECT_EQ(c.lines().size(), 7u * 4 + 4u * 2);
}

TEST(LocalityReport, LongDescriptionAndListGoOnOverFurtherPages) {
  std::string description;
  for (int i = 0; i < 900; ++i) description += "Wort" + std::to_string(i) + " ";
  const MineralNameList names = manyNames(400);
  Sources sources;
  MeasuringCanvas c = a4();
  const PrintResult r = printLocalityDescription(c, localityWith(400, description), names, sources);
  EXPECT_EQ(r.outcome, PrintOutcome::kPrinted);
  EXPECT_GE(r.pages, 3);
  EXPECT_EQ(c.pagesBegun(), r.pages);
  // Every word and every mineral printed exactly once, none below 14/8 lines
  // (96) above the area bottom.
  std::map<std::string, int> seen;
  for (const DrawnText& t : c.texts()) {
    EXPECT_LE(t.baseline + 11, 3400 - 96) << t.text;
    std::size_t from = 0;
    while (from < t.text.size()) {
      std::size_t to = t.text.find(' ', from);
      if (to == std::string::npos) to = t.text.size();
      if (to > from) ++seen[t.text.substr(from, to - from)];
      from = to + 1;
    }
  }
  for (int i = 0; i < 900; ++i) EXPECT_EQ(seen["Wort" + std::to_string(i)], 1) << i;
  for (int i = 0; i < 400; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "Mineral%03d", i);
    EXPECT_EQ(seen[name], 1) << name;
  }
  // The description starts on the first page and continues on the second.
  EXPECT_EQ(findText(c, "Beschreibung:")->page, 1);
  int wordPages = 0;
  for (const DrawnText& t : c.texts())
    if (t.text.find("Wort899") != std::string::npos) wordPages = t.page;
  EXPECT_GE(wordPages, 2);
  for (const DrawnLine& l : c.lines()) EXPECT_LE(std::max(l.y1, l.y2), 3400 - 96);
}

TEST_F(ReportCollection, MineralWithoutSpecimensPrintsOnlyItsDescription) {
  sources_.records[kQuarz] = quartz();
  MeasuringCanvas c = a4();
  const MineralProfileSources ps{sources_, DescriptionOptions{}, &f_.c(), nullptr};
  const PrintResult r = printMineralProfile(c, ps, kQuarz);
  EXPECT_EQ(r.outcome, PrintOutcome::kPrinted);
  EXPECT_EQ(r.pages, 1);
  // The same texts as the description alone, laid out with the same fonts.
  MeasuringCanvas alone = a4();
  setReportFonts(alone);
  DescriptionLayout layout(alone, sources_, DescriptionOptions{}, LabelFontTable::kPrint);
  alone.beginPage();
  layout.describeMineral(LayoutArea{236, 0, 2400 - 236, 3400}, quartz(), 100);
  EXPECT_EQ(textsOf(c), textsOf(alone));
  // On paper the name is as large as its label "Mineral:", not in the index font.
  ASSERT_TRUE(findText(c, "Mineral:"));
  ASSERT_TRUE(findText(c, "Quarz"));
  EXPECT_EQ(findText(c, "Quarz")->font, FontSlot::kHeading);
  EXPECT_EQ(findText(c, "Quarz")->font, findText(c, "Mineral:")->font);
  EXPECT_EQ(findText(c, "Quarz")->baseline, findText(c, "Mineral:")->baseline);
  EXPECT_FALSE(findText(c, "Stufen:"));
  EXPECT_FALSE(findText(c, "Fundorte:"));

  // With a specimen and a locality both lists follow.
  const std::uint16_t clara = addLocality("Grube Clara", "Oberwolfach");
  addSpecimen("Q7", "Quarz", clara);
  addSpecimen("Q8", "Quarz", 0);
  MeasuringCanvas withLists = a4();
  printMineralProfile(withLists, ps, kQuarz);
  const std::vector<std::string> t = textsOf(withLists);
  const auto stufen = std::find(t.begin(), t.end(), "Stufen:");
  ASSERT_NE(stufen, t.end());
  EXPECT_EQ(*(stufen + 1), "Q7 von Grube Clara, Oberwolfach, Deutschland");
  // The empty label of the following lines draws nothing.
  EXPECT_EQ(*(stufen + 2), "Q8 von unbekannt");
  const auto fundorte = std::find(t.begin(), t.end(), "Fundorte:");
  ASSERT_NE(fundorte, t.end());
  EXPECT_EQ(*(fundorte + 1), "Grube Clara, Oberwolfach, Deutschland");
}

TEST(MineralProfile, AliasWithoutItsMineralPrintsTheAliasLineOnly) {
  Sources sources;
  MineralRecord alias;
  alias.setName("Bergkristall");
  alias.setAliasTarget("Quarz");
  sources.records[4] = alias;
  MeasuringCanvas c = a4();
  const MineralProfileSources ps{sources, DescriptionOptions{}, nullptr, nullptr};
  EXPECT_EQ(printMineralProfile(c, ps, 4).pages, 1);
  EXPECT_EQ(textsOf(c), (std::vector<std::string>{"Bergkristall", cp(" ist ein anderer Name für:")}));
  // With the mineral there, its description follows the alias line.
  sources.records[0] = quartz();
  sources.names["Quarz"] = 0;
  MeasuringCanvas chain = a4();
  printMineralProfile(chain, ps, 4);
  const std::vector<std::string> t = textsOf(chain);
  ASSERT_GT(t.size(), 3u);
  EXPECT_EQ(t[0], "Bergkristall");
  EXPECT_NE(std::find(t.begin(), t.end(), "Quarz"), t.end());
  EXPECT_GT(chain.texts()[2].baseline, chain.texts()[0].baseline);
  // An alias naming itself nests too deep: beep, the lines drawn, no loop.
  MineralRecord self;
  self.setName("Kreis");
  self.setAliasTarget("Kreis");
  sources.records[9] = self;
  sources.names["Kreis"] = 9;
  MeasuringCanvas loop = a4();
  printMineralProfile(loop, ps, 9);
  EXPECT_EQ(sources.beeps, 1);
  EXPECT_EQ(loop.texts().size(), 10u);
}

TEST(MineralProfile, DrawingsKeepTheirColumnFreeOfText) {
  Sources sources;
  sources.records[0] = quartz(20);  // twenty long colour names: many wrapped lines
  DrawingFileWriter writer(1);
  DrawingBlock block;
  // Two drawings: a square, visible edges then a hidden diagonal.
  const std::vector<std::uint32_t> square = {0x80000000u, 0x00000064u, 0x00640064u, 0x00640000u,
                                             0x00000000u, 0x80008000u, 0x00640064u};
  for (int i = 0; i < 2; ++i) {
    block.drawings.push_back(DrawingEntry{static_cast<std::uint16_t>(i * square.size()),
                                          static_cast<std::uint16_t>(square.size())});
    block.sources.push_back(DrawingSource::make(0, 0, 0, "berechnet"));
    block.values.insert(block.values.end(), square.begin(), square.end());
  }
  ASSERT_TRUE(writer.setBlock(0, block));
  const DrawingFile drawings = DrawingFile::fromBytes(writer.build(), 1);
  MeasuringCanvas c = a4();
  const MineralProfileSources ps{sources, DescriptionOptions{}, nullptr, &drawings};
  printMineralProfile(c, ps, 0);
  // Column: 70 quarters of 22 = 385 from the right edge 2164; box 10 quarters in.
  const int columnLeft = 2164 - 385;
  std::size_t solid = 0, dotted = 0;
  for (const DrawnLine& l : c.lines()) {
    if (std::min(l.x1, l.x2) < columnLeft) continue;
    (l.dotted ? dotted : solid) += 1;
    EXPECT_GE(std::min(l.x1, l.x2), columnLeft + 55);
    EXPECT_LE(std::max(l.x1, l.x2), columnLeft + 55 + 324);
  }
  EXPECT_EQ(solid, 2u * 4);
  EXPECT_EQ(dotted, 2u);
  int wrapped = 0;
  for (const DrawnText& t : c.texts()) {
    EXPECT_LE(rightEnd(c, t), columnLeft) << t.text;
    if (t.text.rfind("ein recht langer", 0) == 0) ++wrapped;
  }
  EXPECT_GT(wrapped, 2);
}

}  // namespace
}  // namespace kalvor
