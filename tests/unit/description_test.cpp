// Mineral and alias descriptions on the measuring canvas (standard metrics:
// text font 8 per character, 13 + 3 high; heading 11; small 6; average
// character width 7) and on the text canvas (one column per character), and
// the number formats of the crystal data.
#include <gtest/gtest.h>

#include <map>

#include "determination/crystal_data_text.h"
#include "determination/description.h"
#include "platform/settings.h"
#include "render/measuring_canvas.h"
#include "render/text_canvas.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

constexpr std::uint32_t kClassMonoclinicPrism = 1u << 5;   // 2/m
constexpr std::uint32_t kClassHexagonal6mmm = 1u << 17;    // 6/mmm
constexpr std::uint32_t kClassTetragonal422 = 1u << 20;    // 422
constexpr std::uint32_t kClassTrigonal32 = 1u << 19;       // 32
constexpr std::uint32_t kClassTrigonal3m = 1u << 26;       // \3m
constexpr std::uint32_t kClassTriclinic1 = 1u << 22;       // \1
constexpr std::uint32_t kClassCubic23 = 1u << 27;          // 23
constexpr std::uint32_t kClassCubicM3m = 1u << 31;         // m3m

CrystalDataEntry entry(std::uint32_t classes, int z, double a, double b, double c, double alpha,
                       double beta, double gamma, std::uint8_t flags = 0) {
  CrystalDataEntry e;
  e.classes = classes;
  e.z = static_cast<std::uint8_t>(z);
  e.flags = flags;
  e.a0 = a;
  e.b0 = b;
  e.c0 = c;
  e.alpha = alpha;
  e.beta = beta;
  e.gamma = gamma;
  return e;
}

TEST(CrystalDataText, LatticeTextsAndVolumesByLatticeKind) {
  // Cubic: 5.64^3 = 179.406...
  EXPECT_EQ(latticeText(entry(kClassCubicM3m, 4, 5.64, 0, 0, 0, 0, 0), false),
            cp(", Z=4, a_0=5.64 Å, V = 179.41Å^3"));
  // Trigonal classes use the hexagonal cell: 4.91^2 * 5.40 * sin 60° = 112.742...
  EXPECT_EQ(latticeText(entry(kClassTrigonal32, 3, 4.91, 0, 5.40, 0, 0, 0), false),
            cp(", Z=3, a_0=4.91, c_0=5.40 Å, V = 112.74Å^3"));
  // Tetragonal: a0^2 c0 without the factor.
  EXPECT_DOUBLE_EQ(cellVolume(entry(kClassTetragonal422, 0, 4, 0, 5, 0, 0, 0)), 80.0);
  // Monoclinic: 9.7 * 8.9 * 5.3 * sin 75° = 441.958...
  EXPECT_EQ(latticeText(entry(kClassMonoclinicPrism, 2, 9.7, 8.9, 5.3, 0, 105, 0), false),
            cp(", Z=2, a_0=9.70, b_0=8.90, c_0=5.30 Å, beta=105.00°, V = 441.96Å^3"));
  // Triclinic by the textbook formula abc sqrt(1 - cos²α - cos²β - cos²γ + 2 cosα cosβ cosγ):
  // 5 * 6 * 7 with 80°, 95°, 100° gives 203.316...
  EXPECT_EQ(latticeText(entry(kClassTriclinic1, 0, 5, 6, 7, 80, 95, 100), false),
            cp(", a_0=5.00, b_0=6.00, c_0=7.00 Å, alpha=80.00°, beta=95.00°, gamma=100.00°, "
               "V = 203.32Å^3"));
  EXPECT_NEAR(cellVolume(entry(kClassTriclinic1, 0, 2, 2, 2, 90, 90, 90)), 8.0, 1e-9);
  // Angles that close no cell have no volume (the root of a negative number is none).
  EXPECT_EQ(cellVolume(entry(kClassTriclinic1, 0, 2, 2, 2, 10, 10, 170)), 0.0);
  // kX units; a mask without lattice kind gives only Z and volume 0.
  EXPECT_EQ(latticeText(entry(kClassCubicM3m, 0, 5.64, 0, 0, 0, 0, 0, 0x04), false),
            cp(", a_0=5.64 kX, V = 179.41Å^3"));
  EXPECT_EQ(latticeText(entry(0, 2, 5, 5, 5, 90, 90, 90), false), cp(", Z=2, V = 0.00Å^3"));
}

TEST(CrystalDataText, AnglesAndDates) {
  EXPECT_EQ(formatCellAngle(92.5, false), cp("92.50°"));
  EXPECT_EQ(formatCellAngle(103.5, true), cp("103°30'"));
  EXPECT_EQ(formatCellAngle(98.75, true), cp("98°45'"));
  // 0.999° + 0.01 allowance would make 60 minutes: carried into the degrees.
  EXPECT_EQ(formatCellAngle(92.999, true), cp("93°00'"));
  EXPECT_EQ(formatCellAngle(90.0, true), cp("90°00'"));
  EXPECT_EQ(latticeText(entry(kClassMonoclinicPrism, 0, 1, 1, 1, 0, 103.5, 0), true),
            cp(", a_0=1.00, b_0=1.00, c_0=1.00 Å, beta=103°30', V = 0.97Å^3"));

  EXPECT_EQ(formatDate(0), "");
  EXPECT_EQ(formatDate(1984u * 65536 + 3 * 256 + 25), "25.3.1984");
  EXPECT_EQ(formatDate(1988u * 65536 + 8 * 256), "8.1988");
  EXPECT_EQ(formatDate(1991u * 65536), "1991");
}

// Reference data and collection of the tests.
class FakeSources : public DescriptionSources {
 public:
  std::map<MineralNumber, MineralRecord> records;
  std::map<std::string, MineralNumber> names;
  std::map<std::string, std::uint16_t> glossary;
  std::map<MineralNumber, std::vector<MineralLocality>> localities;
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
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const override {
    const auto it = glossary.find(std::string(word));
    if (it == glossary.end()) return std::nullopt;
    return it->second;
  }
  std::string colourName(std::uint16_t colour) const override {
    switch (colour & 0xFFF) {
      case 1: return cp("grün");
      case 2: return cp("dunkelgrün-metallisch");
      case 3: return cp("hellgrün");
      default: return "";
    }
  }
  std::optional<std::string> strunzText(const StrunzNumber&) const override {
    return std::string("Lapis/Strunz-V/C.1: Karbonate");
  }
  std::optional<std::string> heyText(const HeyNumber&) const override {
    return std::string("Heys-11.1: Carbonate");
  }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const override {
    const auto it = localities.find(n);
    return it == localities.end() ? std::vector<MineralLocality>{} : it->second;
  }
  void beep() const override { ++beeps; }

  void addAlias(MineralNumber n, const char* name, const char* target) {
    MineralRecord r;
    r.setName(cp(name));
    r.setAliasTarget(cp(target));
    records[n] = r;
    names[cp(name)] = n;
  }
};

MineralRecord malachite() {
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Malachit");
  r.setFormula("Cu_2CO_3(OH)_2");
  r.setHardness(7, 8);
  r.setDensity(DensityValue{3, 60}, DensityValue{4, 5});
  const std::uint16_t colours[] = {1, 2};
  r.setColours(colours);
  const std::uint16_t streaks[] = {3};
  r.setStreaks(streaks);
  r.setCrystalSystems(0x0008);  // monoklin
  r.setCleavage(0x08);          // vollkommen
  r.setFracture(0x0014);        // muschlig, spröde
  r.setLustre(0x0006);          // seiden, glas
  r.setStrunz(StrunzField{5, 'C', 1, 0, 0});
  r.setHey(HeyField{11, 1, 0});
  const CrystalDataEntry data[] = {entry(kClassMonoclinicPrism, 4, 9.50, 11.97, 3.24, 0, 98.75, 0)};
  r.setCrystalData(data);
  return r;
}

FakeSources malachiteSources() {
  FakeSources s;
  s.records[7] = malachite();
  s.names["Malachit"] = 7;
  s.glossary["Malachit"] = 42;
  s.localities[7] = {{"Grube Clara, Oberwolfach", true}, {"Tsumeb, Namibia", false}};
  return s;
}

std::string textPage(const FakeSources& sources, MineralNumber n, DescriptionOptions options = {},
                     int width = 78) {
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources, options);
  layout.describeEntry(LayoutArea{0, 0, width, 10000}, sources.mineralRecord(n), n);
  return canvas.renderText();
}

TEST(MineralDescription, FullMineralPageInOrderWithExactTexts) {
  const FakeSources sources = malachiteSources();
  // Value column: "Kristallsystem:" (15) plus one character. Lapis number at
  // the right edge of the name line, Hey number right-aligned on the next line.
  // 9.50 * 11.97 * 3.24 * sin 81.25° = 364.149; 98.75° as decimal degrees.
  const std::string expected =
      "Mineral:        Malachit                                                 V/C.1\n"
      "Kristallsystem: monoklin                                                  11.1\n"
      "Formel:         Cu\u2082CO\u2083(OH)\u2082\n"
      "H\u00e4rte:          3.5-4.0\n"
      "Farbe:          gr\u00fcn, dunkelgr\u00fcn\n"
      "Strichfarbe:    hellgr\u00fcn\n"
      "Dichte:         3.60-4.05\n"
      "Spaltbarkeit:   vollkommen\n"
      "Bruch:          muschlig, spr\u00f6de\n"
      "Glanz:          seiden, glas\n"
      "Kristallklasse: 2/m, Z=4, a\u2080=9.50, b\u2080=11.97, c\u2080=3.24 \u00c5, "
      "\u03b2=98.75\u00b0, V = 364.15\u00c5\u00b3\n"
      "------------------------------------------------------------------------------\n"
      "              \u2713 Grube Clara, Oberwolfach\n"
      "                Tsumeb, Namibia\n";
  EXPECT_EQ(textPage(sources, 7), expected);

  // Without the locality list option the page ends with the crystal data.
  DescriptionOptions noList;
  noList.mineralLocalityList = false;
  const std::string page = textPage(sources, 7, noList);
  EXPECT_EQ(page.find("Tsumeb"), std::string::npos);
  EXPECT_EQ(page.find("----"), std::string::npos);
}

TEST(MineralDescription, NumberFormatsAndMissingValues) {
  FakeSources sources;
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Leerit");
  sources.records[1] = r;
  const std::string page = textPage(sources, 1);
  EXPECT_NE(page.find("H\u00e4rte:          nicht bestimmt\n"), std::string::npos);
  EXPECT_NE(page.find("Dichte:         nicht bestimmt\n"), std::string::npos);
  EXPECT_NE(page.find("\nFarbe:\n"), std::string::npos);  // an empty colour list
  EXPECT_NE(page.find("\nKristallklasse:\n"), std::string::npos);  // no crystal data
  EXPECT_EQ(page.find("11.1"), std::string::npos);

  r.setHardness(11, 11);
  r.setDensity(DensityValue{2, 65}, DensityValue{2, 65});
  sources.records[1] = r;
  std::string p2 = textPage(sources, 1);
  EXPECT_NE(p2.find("H\u00e4rte:          5.5\n"), std::string::npos);
  EXPECT_NE(p2.find("Dichte:         2.65\n"), std::string::npos);
  r.setHardness(9, 10);
  r.setDensity(DensityValue{3, 50}, DensityValue{3, 70});
  sources.records[1] = r;
  p2 = textPage(sources, 1);
  EXPECT_NE(p2.find("H\u00e4rte:          4.5-5.0\n"), std::string::npos);
  EXPECT_NE(p2.find("Dichte:         3.50-3.70\n"), std::string::npos);
}

TEST(MineralDescription, CrystalGroupsAlignAndLongLatticeTextsAreCut) {
  FakeSources sources;
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Zweiform");
  // Class only; the second doubtful.
  const CrystalDataEntry two[] = {entry(kClassHexagonal6mmm, 0, 0, 0, 0, 0, 0, 0, 0x02),
                                  entry(kClassTrigonal3m, 0, 0, 0, 0, 0, 0, 0, 0x03)};
  r.setCrystalData(two);
  sources.records[1] = r;
  // Classes start behind the widest prefix "tetragonal: " (12) at column 28.
  std::string page = textPage(sources, 1);
  EXPECT_NE(page.find("Kristallklasse: hexagonal:  6/m2/m2/m\n"
                      "                trigonal:   3\u03052m ?\n"),
            std::string::npos)
      << page;

  // Cubic 23 or m3m: " oder " before the last symbol, the bar over its 3.
  const CrystalDataEntry cubic[] = {entry(kClassCubic23 | kClassCubicM3m, 4, 5.64, 0, 0, 0, 0, 0)};
  r.setCrystalData(cubic);
  sources.records[1] = r;
  // The classes end at column 31; the lattice text is 30 columns wide. At 48
  // columns it is cut at its last blank that lets the first part fit:
  // ", Z=4, a0=5.64 Å," (17) ends at 48; the rest goes to the class column.
  page = textPage(sources, 1, {}, 48);
  EXPECT_NE(page.find("Kristallklasse: 23 oder 4/m3\u03052/m, Z=4, a\u2080=5.64 \u00c5,\n"
                      "                V = 179.41\u00c5\u00b3\n"),
            std::string::npos)
      << page;
  // One column less: the cut moves back to the blank before "Å".
  page = textPage(sources, 1, {}, 47);
  EXPECT_NE(page.find("Kristallklasse: 23 oder 4/m3\u03052/m, Z=4, a\u2080=5.64\n"
                      "                \u00c5, V = 179.41\u00c5\u00b3\n"),
            std::string::npos)
      << page;
  // When no blank lets the first part fit, the text is drawn whole.
  page = textPage(sources, 1, {}, 20);
  EXPECT_NE(page.find("Kristallklasse: 23 oder 4/m3\u03052/m, Z=4, a\u2080=5.64 \u00c5, V = "
                      "179.41\u00c5\u00b3\n"),
            std::string::npos)
      << page;
  // Wide enough: one line.
  page = textPage(sources, 1, {}, 78);
  EXPECT_NE(page.find("Kristallklasse: 23 oder 4/m3\u03052/m, Z=4, a\u2080=5.64 \u00c5, V = "
                      "179.41\u00c5\u00b3\n"),
            std::string::npos)
      << page;
}

TEST(MineralDescription, PositionsOnTheMeasuringCanvas) {
  FakeSources sources;
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName("Quarz");
  r.setFormula("SiO_2^{x}");
  const CrystalDataEntry cubic[] = {entry(kClassCubic23 | kClassCubicM3m, 0, 1, 0, 0, 0, 0, 0, 0x02)};
  r.setCrystalData(cubic);
  MeasuringCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  const LayoutArea area{0, 0, 600, 2000};
  // Widest label: "Kristallsystem:" 15 x 8 = 120, plus the average width 7.
  EXPECT_EQ(layout.valueColumn(area), 127);
  const int end = layout.describeMineral(area, r, 0);

  auto find = [&](std::string_view text) -> const DrawnText* {
    for (const DrawnText& t : canvas.texts())
      if (t.text == text) return &t;
    return nullptr;
  };
  // Name line: heading label (ascent 18) sets the baseline; the line is 22 high.
  const DrawnText* label = find("Mineral:");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->font, FontSlot::kHeading);
  EXPECT_EQ(label->baseline, 18);
  const DrawnText* name = find("Quarz");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->font, FontSlot::kSmall);
  EXPECT_EQ(name->x, 127);
  EXPECT_EQ(name->baseline, 18);
  // Kristallsystem at top 22; the formula line at 38 lowers its baseline by
  // the room above (3) and advances by 16 + 3 + 3.
  EXPECT_EQ(find("Kristallsystem:")->baseline, 22 + 13);
  EXPECT_EQ(find("Formel:")->baseline, 38 + 3 + 13);
  EXPECT_EQ(find("SiO")->baseline, 54);
  EXPECT_EQ(find(cp("H\u00e4rte:"))->baseline, 60 + 13);
  // Seven more lines of 16, then the class line at 172.
  const DrawnText* classLabel = find("Kristallklasse:");
  ASSERT_NE(classLabel, nullptr);
  EXPECT_EQ(classLabel->baseline, 172 + 13);
  EXPECT_EQ(end, 188);
  // "23 oder 4/m" (11 x 8) then the barred 3 at 127 + 88, bar 1.2 x ink 10 above.
  const DrawnText* three = nullptr;
  for (const DrawnText& t : canvas.texts())
    if (t.text == "3" && t.x == 215) three = &t;
  ASSERT_NE(three, nullptr);
  ASSERT_EQ(canvas.lines().size(), 1u);
  EXPECT_EQ(canvas.lines()[0].x1, 215);
  EXPECT_EQ(canvas.lines()[0].x2, 223);
  EXPECT_EQ(canvas.lines()[0].y1, 185 - 12);
  // Line tops for scrolling: one per line drawn.
  EXPECT_EQ(layout.lineTops().front(), 0);
  EXPECT_EQ(layout.lineTops().back(), 172);
}

TEST(MineralDescription, CommaWrappingAtANarrowWidth) {
  FakeSources sources;
  MeasuringCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  // "rot, grün," is 80 wide, + "," 88 < 100; with " blau," it would be 128.
  const int end = layout.drawLabelledLine(127, 10, kLabelColour, cp(" rot, grün, blau, gelb"), 100, 0);
  EXPECT_EQ(end, 10 + 16 + 16);
  ASSERT_EQ(canvas.texts().size(), 3u);
  EXPECT_EQ(canvas.texts()[0].text, "Farbe:");
  EXPECT_EQ(canvas.texts()[1].text, cp("rot, grün,"));
  EXPECT_EQ(canvas.texts()[1].baseline, 23);
  EXPECT_EQ(canvas.texts()[2].text, "blau, gelb");
  EXPECT_EQ(canvas.texts()[2].x, 127);
  EXPECT_EQ(canvas.texts()[2].baseline, 39);
  EXPECT_EQ(layout.lineTops(), (std::vector<int>{10, 26}));

  // A piece wider than the wrap width stands alone on its line.
  canvas.clearRecord();
  layout.drawLabelledLine(127, 0, kLabelColour, "dunkelgrau,rot", 40, 0);
  ASSERT_EQ(canvas.texts().size(), 3u);
  EXPECT_EQ(canvas.texts()[1].text, "dunkelgrau,");
  EXPECT_EQ(canvas.texts()[2].text, "rot");
}

TEST(AliasDescription, SingleNameSentenceAndChains) {
  FakeSources sources = malachiteSources();
  sources.addAlias(1, "Atlaserz", "Malachit");
  std::string page = textPage(sources, 1);
  EXPECT_EQ(page.substr(0, page.find('\n') + 1), "Atlaserz ist ein anderer Name f\u00fcr:\n");
  EXPECT_NE(page.find("Mineral:        Malachit"), std::string::npos);
  EXPECT_NE(page.find("Tsumeb"), std::string::npos);

  // A sentence: the name between "@" is looked up; the reference is a link.
  sources.addAlias(2, "Gemengeerz", "ein Gemenge aus @Malachit@ und Ton");
  MeasuringCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  layout.describeEntry(LayoutArea{0, 0, 600, 2000}, sources.mineralRecord(2), 2);
  ASSERT_EQ(layout.links().size(), 1u);
  const DescriptionLink& link = layout.links()[0];
  EXPECT_EQ(link.glossaryNumber, 42);
  EXPECT_EQ(link.kind, 1);
  // "Gemengeerz" 80 + " — " 24 + "ein Gemenge aus " 128.
  EXPECT_EQ(link.left, 232);
  EXPECT_EQ(link.right, 232 + 64);
  EXPECT_EQ(link.top, 13 - 10);
  EXPECT_EQ(link.bottom, 3 + 16);
  bool greenWord = false;
  for (const DrawnText& t : canvas.texts())
    if (t.text == "Malachit" && t.colour == Rgb{0, 127, 0} && t.baseline == 13) greenWord = true;
  EXPECT_TRUE(greenWord);
  page = textPage(sources, 2);
  EXPECT_EQ(page.substr(0, page.find('\n') + 1),
            "Gemengeerz \u2014 ein Gemenge aus Malachit und Ton\n");
  EXPECT_NE(page.find("Mineral:        Malachit"), std::string::npos);

  // A reference word missing from the glossary is plain text without a link.
  sources.glossary.clear();
  MeasuringCanvas plain;
  DescriptionLayout plainLayout(plain, sources, DescriptionOptions{});
  plainLayout.describeEntry(LayoutArea{0, 0, 600, 2000}, sources.mineralRecord(2), 2);
  EXPECT_TRUE(plainLayout.links().empty());
  int plainWords = 0;
  for (const DrawnText& t : plain.texts()) {
    if (t.text == "Malachit" && t.baseline == 13) {
      EXPECT_EQ(t.colour, Rgb{});
      ++plainWords;
    }
  }
  EXPECT_EQ(plainWords, 1);

  // An unknown target ends the page after its first line.
  sources.addAlias(3, "Irrtum", "Unbekanntit");
  EXPECT_EQ(textPage(sources, 3), "Irrtum ist ein anderer Name f\u00fcr:\n");

  // A chain of aliases leads to the mineral; a cycle stops after five pages.
  sources.addAlias(4, "Alt", "Atlaserz");
  page = textPage(sources, 4);
  EXPECT_NE(page.find("Alt ist ein anderer Name f\u00fcr:\nAtlaserz ist ein anderer Name f\u00fcr:\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("Mineral:        Malachit"), std::string::npos);
  sources.addAlias(5, "Hin", "Her");
  sources.addAlias(6, "Her", "Hin");
  page = textPage(sources, 5);
  EXPECT_EQ(page,
            "Hin ist ein anderer Name f\u00fcr:\nHer ist ein anderer Name f\u00fcr:\n"
            "Hin ist ein anderer Name f\u00fcr:\nHer ist ein anderer Name f\u00fcr:\n"
            "Hin ist ein anderer Name f\u00fcr:\n");
  EXPECT_EQ(sources.beeps, 1);
}

// The drawing window shows the drawings of the mineral whose page the
// description shows: for an alias, the mineral it leads to.
TEST(AliasDescription, ReportsTheMineralWhosePageItShows) {
  FakeSources sources = malachiteSources();
  sources.addAlias(1, "Atlaserz", "Malachit");
  sources.addAlias(4, "Alt", "Atlaserz");
  sources.addAlias(3, "Irrtum", "Unbekanntit");
  MeasuringCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  const LayoutArea area{0, 0, 600, 2000};
  layout.describeEntry(area, sources.mineralRecord(7), 7);
  EXPECT_EQ(layout.describedMineral(), std::optional<MineralNumber>(7));
  layout.describeEntry(area, sources.mineralRecord(4), 4);
  EXPECT_EQ(layout.describedMineral(), std::optional<MineralNumber>(7));
  layout.describeEntry(area, sources.mineralRecord(3), 3);
  EXPECT_EQ(layout.describedMineral(), std::nullopt);
}

TEST(MineralDescription, SystematicsAsTextAndRichTextWrapping) {
  FakeSources sources = malachiteSources();
  DescriptionOptions options;
  options.systematicsAsText = true;
  options.mineralLocalityList = false;
  const std::string page = textPage(sources, 7, options);
  EXPECT_NE(page.find("Mineral:        Malachit\n"
                      "Systematik:     Lapis/Strunz-V/C.1: Karbonate\n"
                      "                Heys-11.1: Carbonate\n"
                      "Kristallsystem: monoklin\n"),
            std::string::npos)
      << page;

  // Words wrap at the width; a blank inside a reference does not break.
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources, options);
  layout.drawRichText(0, 0, FontSlot::kText, "eins zwei @drei vier@ fuenf $H_2O$ sechs", 14, 0);
  EXPECT_EQ(canvas.renderText(), "eins zwei\ndrei vier\nfuenf H\u2082O\nsechs\n");
}

// Sources that have a radioactivity picture of 48 x 48.
class PictureSources : public FakeSources {
 public:
  mutable int pictures = 0;
  TextExtent drawRadioactivityPicture(Canvas&, int right, int top) const override {
    ++pictures;
    EXPECT_EQ(right, 600);
    EXPECT_EQ(top, 0);
    return TextExtent{48, 48};
  }
};

TEST(MineralDescription, RadioactiveMineralsKeepTheirHeaderClearOfThePicture) {
  PictureSources sources;
  MineralRecord r = malachite();
  r.setName("Torbernit");
  r.setFormula("Cu(UO_2)_2(PO_4)_2");
  MeasuringCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  layout.describeMineral(LayoutArea{0, 0, 600, 2000}, r, 0);
  EXPECT_EQ(sources.pictures, 1);
  int checked = 0;
  for (const DrawnText& t : canvas.texts()) {
    // The Lapis number ends at the picture's left edge, 600 - 48.
    if (t.text == "V/C.1") {
      EXPECT_EQ(t.x, 552 - 5 * 8);
      ++checked;
    }
    // The name line (22) is made as tall as the picture (48).
    if (t.text == "Kristallsystem:") {
      EXPECT_EQ(t.baseline, 48 + 13);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2);

  // Thorium too; a formula without either draws no picture ("Tl" is thallium).
  r.setFormula("ThSiO_4");
  layout.describeMineral(LayoutArea{0, 0, 600, 2000}, r, 0);
  EXPECT_EQ(sources.pictures, 2);
  r.setFormula("TlAsS_2");
  layout.describeMineral(LayoutArea{0, 0, 600, 2000}, r, 0);
  EXPECT_EQ(sources.pictures, 2);
}

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(DescriptionOptions, ReadFromTheSettingsWithDefaults) {
  testing::ScratchDir dir;
  const std::string ini = dir.file("kalvor.ini");
  ASSERT_TRUE(testing::writeFile(
      ini, bytesOf("[Optionen]\r\nWinkel mit Minuten=1\r\nRefFarbe=255 0 10\r\n"
                            "Mineral Fundortliste=0\r\n")));
  DescriptionOptions o = readDescriptionOptions(*openIniSettings(ini));
  EXPECT_TRUE(o.anglesWithMinutes);
  EXPECT_FALSE(o.systematicsAsText);
  EXPECT_TRUE(o.referenceColouring);
  EXPECT_EQ(o.referenceColour, (Rgb{255, 0, 10}));
  EXPECT_FALSE(o.mineralLocalityList);
  EXPECT_TRUE(o.aliasLocalityList);

  // No file: the defaults; a colour that is not three numbers keeps "0 127 0".
  o = readDescriptionOptions(*openIniSettings(dir.file("fehlt.ini")));
  EXPECT_FALSE(o.anglesWithMinutes);
  EXPECT_EQ(o.referenceColour, (Rgb{0, 127, 0}));
  EXPECT_TRUE(o.mineralLocalityList);
  ASSERT_TRUE(testing::writeFile(ini, bytesOf("[Optionen]\r\nRefFarbe=rot\r\n")));
  EXPECT_EQ(readDescriptionOptions(*openIniSettings(ini)).referenceColour, (Rgb{0, 127, 0}));
}

}  // namespace
}  // namespace kalvor
